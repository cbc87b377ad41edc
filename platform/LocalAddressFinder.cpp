#include "LocalAddressFinder.h"

#include "DottedAddress.h"

#include <QNetworkInterface>
#include <QNetworkProxy>
#include <QUdpSocket>
#include <chrono>

namespace {
const QString LoopbackText = QStringLiteral("127.0.0.1");
// A connected UDP socket sends nothing; connecting only asks the kernel for
// the route, which is answered at once.
constexpr std::chrono::milliseconds RouteLookupTimeout{200};
// Any port will do for the route lookup; discard is as good as any.
constexpr quint16 RouteLookupPort = 9;

bool isUsable(const QNetworkInterface& interface)
{
    const auto flags = interface.flags();
    return flags.testFlag(QNetworkInterface::IsUp) && flags.testFlag(QNetworkInterface::IsRunning);
}
} // namespace

QString LocalAddressFinder::forPeer(const QHostAddress& peer)
{
    bool isIPv4 = false;
    const QHostAddress peerIPv4(peer.toIPv4Address(&isIPv4));
    if (!isIPv4)
        return anyAddress();
    if (peerIPv4.isLoopback())
        return LoopbackText;
    QString address = fromSubnets(peerIPv4);
    if (address.isEmpty())
        address = fromRoutingTable(peerIPv4);
    return address.isEmpty() ? anyAddress() : address;
}

QString LocalAddressFinder::anyAddress()
{
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        if (!isUsable(interface) || interface.flags().testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& entry : interface.addressEntries())
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
                return entry.ip().toString();
    }
    return LoopbackText;
}

QString LocalAddressFinder::fromSubnets(const QHostAddress& peer)
{
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        if (!isUsable(interface))
            continue;
        for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol
                && peer.isInSubnet(entry.ip(), entry.prefixLength()))
                return entry.ip().toString();
        }
    }
    return {};
}

QString LocalAddressFinder::fromRoutingTable(const QHostAddress& peer)
{
    QUdpSocket probe;
    // The route is the kernel's own; a proxy has no say in it.
    probe.setProxy(QNetworkProxy::NoProxy);
    probe.connectToHost(peer, RouteLookupPort);
    if (!probe.waitForConnected(int(RouteLookupTimeout.count())))
        return {};
    const QHostAddress local = probe.localAddress();
    if (local.isNull() || local == QHostAddress::AnyIPv4)
        return {};
    return DottedAddress::text(local);
}
