#include "UDPSocket.h"

#include "DottedAddress.h"
#include "LocalAddressFinder.h"

#include <QHostAddress>
#include <QNetworkDatagram>
#include <QNetworkProxy>
#include <QUdpSocket>
#include <QVariant>

namespace {
// Other SSDP listeners (desktop services, media servers) bind port 1900 too;
// sharing the port keeps discovery working beside them.
constexpr auto BindMode = QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint;

bool isMulticastCandidate(const QNetworkInterface& interface)
{
    const auto flags = interface.flags();
    if (!flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::IsRunning)
        || !flags.testFlag(QNetworkInterface::CanMulticast))
        return false;
    for (const QNetworkAddressEntry& entry : interface.addressEntries())
        if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
            return true;
    return false;
}

// Every interface on which a multicast group should be joined; a lone
// invalid interface means the default one (a namespace with only lo, say).
QList<QNetworkInterface> multicastInterfaces()
{
    QList<QNetworkInterface> result;
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces())
        if (isMulticastCandidate(interface))
            result.append(interface);
    if (result.isEmpty())
        result.append(QNetworkInterface());
    return result;
}
} // namespace

UDPSocket::UDPSocket(QObject* parent) : QObject(parent) {}

UDPSocket::~UDPSocket() = default;

bool UDPSocket::Connect()
{
    // A send-only socket already bound to an ephemeral port is as good as a
    // new one: Port names only the destination. Keeping it spares every reply
    // a socket of its own.
    if (!m_bindsPort && m_socket && m_socket->state() == QAbstractSocket::BoundState) {
        applyOptions();
        return true;
    }
    Close();
    m_socket = new QUdpSocket(this);
    // Discovery lives on the local network and never goes through a proxy;
    // asking for the system's proxy would also cost each bind a lookup.
    m_socket->setProxy(QNetworkProxy::NoProxy);
    connect(m_socket, &QUdpSocket::readyRead, this, &UDPSocket::drainPending);
    connect(m_socket, &QUdpSocket::errorOccurred, this, &UDPSocket::Error);
    // A send-only socket takes a port of its own: with address sharing the
    // kernel may hand it a port that another socket of ours already holds,
    // and datagrams meant for that one would then reach this one.
    const quint16 port = m_bindsPort ? quint16(m_port) : 0;
    const auto mode = m_bindsPort ? BindMode : QAbstractSocket::DefaultForPlatform;
    if (!m_socket->bind(QHostAddress::AnyIPv4, port, mode))
        return false;
    applyOptions();
    return true;
}

void UDPSocket::applyOptions()
{
    m_socket->setSocketOption(QAbstractSocket::MulticastTtlOption, m_routerHops);
    m_socket->setSocketOption(QAbstractSocket::MulticastLoopbackOption, m_sendToSelf ? 1 : 0);
}

QUdpSocket* UDPSocket::socket()
{
    if (!m_socket || m_socket->state() != QAbstractSocket::BoundState)
        Connect();
    return m_socket;
}

bool UDPSocket::JoinMulticastGroup(const QString& group)
{
    const QHostAddress groupAddress(group);
    // Binding an unbound socket first closes it, which forgets every group
    // joined: the list of this one is taken only after.
    QUdpSocket* const bound = socket();
    QList<QNetworkInterface>& joined = m_joined[group];
    for (const QNetworkInterface& interface : multicastInterfaces())
        if (bound->joinMulticastGroup(groupAddress, interface))
            joined.append(interface);
    return !joined.isEmpty();
}

void UDPSocket::LeaveMulticastGroup(const QString& group)
{
    const QList<QNetworkInterface> joined = m_joined.take(group);
    if (!m_socket)
        return;
    for (const QNetworkInterface& interface : joined)
        m_socket->leaveMulticastGroup(QHostAddress(group), interface);
}

void UDPSocket::drainPending()
{
    while (m_socket && m_socket->hasPendingDatagrams()) {
        const QNetworkDatagram received = m_socket->receiveDatagram();
        if (!received.isValid())
            break;
        // Anyone who saw a reply knows the reply socket's port; what they
        // send there is read off the socket and dropped, so it can neither
        // pile up here nor fill the kernel's buffer.
        if (!m_bindsPort || m_queue.size() >= MaximumDatagramsWaiting)
            continue;
        m_queue.enqueue({DottedAddress::text(received.senderAddress()), received.senderPort(), received.data()});
    }
    if (!m_queue.isEmpty())
        raiseDataAvailable();
}

// DataAvailable always comes from the event loop, never from inside a socket
// signal or a handler, so a handler may rebind or close this socket.
void UDPSocket::raiseDataAvailable()
{
    if (m_raiseScheduled)
        return;
    m_raiseScheduled = true;
    QMetaObject::invokeMethod(this, &UDPSocket::deliverDataAvailable, Qt::QueuedConnection);
}

// One event per datagram: raised again only while the handler keeps reading,
// so a handler that reads nothing cannot spin the loop.
void UDPSocket::deliverDataAvailable()
{
    m_raiseScheduled = false;
    if (m_queue.isEmpty())
        return;
    const qsizetype waiting = m_queue.size();
    emit DataAvailable();
    if (!m_queue.isEmpty() && m_queue.size() < waiting)
        raiseDataAvailable();
}

Datagram UDPSocket::Read()
{
    if (m_queue.isEmpty())
        return {};
    Datagram datagram = m_queue.dequeue();
    m_lastSender = datagram.Address;
    return datagram;
}

QString UDPSocket::LocalAddress() const
{
    if (m_lastSender.isEmpty())
        return LocalAddressFinder::anyAddress();
    return LocalAddressFinder::forPeer(QHostAddress(m_lastSender));
}

int UDPSocket::boundPort() const
{
    return m_socket ? m_socket->localPort() : 0;
}

void UDPSocket::Write(const QString& address, const QByteArray& data)
{
    const qint64 sent = socket()->writeDatagram(data, QHostAddress(address), quint16(m_port));
    if (sent < 0) {
        emit Error();
        return;
    }
    QMetaObject::invokeMethod(this, [this] { emit SendComplete(false); }, Qt::QueuedConnection);
}

void UDPSocket::Close()
{
    m_queue.clear();
    m_joined.clear();
    if (!m_socket)
        return;
    m_socket->disconnect(this);
    m_socket->close();
    m_socket->deleteLater();
    m_socket = nullptr;
}
