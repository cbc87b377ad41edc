#include "DottedAddress.h"
#include "EventLoopWait.h"
#include "LocalAddressFinder.h"
#include "TestEnvironment.h"
#include "UDPSocket.h"

#include <QHostAddress>
#include <QNetworkInterface>
#include <gtest/gtest.h>

namespace {
const QString loopback = QStringLiteral("127.0.0.1");
const QString ssdpGroup = QStringLiteral("239.255.255.250");

// A receiver on an ephemeral loopback-reachable port that reads one datagram
// per DataAvailable, noting what LocalAddress said before each read.
struct Receiver {
    UDPSocket socket;
    QList<Datagram> datagrams;
    QStringList localAddresses;
    int events = 0;
    int depth = 0;
    int deepest = 0;

    Receiver()
    {
        socket.setPort(0);
        EXPECT_TRUE(socket.Connect());
        QObject::connect(&socket, &UDPSocket::DataAvailable, [this] {
            ++events;
            deepest = std::max(deepest, ++depth);
            localAddresses.append(socket.LocalAddress());
            datagrams.append(socket.Read());
            --depth;
        });
    }
};

// A send-only socket aimed at port.
void aimAt(UDPSocket& sender, int port)
{
    sender.setBindsPort(false);
    sender.setPort(port);
    ASSERT_TRUE(sender.Connect());
}
} // namespace

TEST(UDPSocketTest, DatagramArrivesWithSenderAndLocalAddress)
{
    Receiver receiver;
    UDPSocket sender;
    aimAt(sender, receiver.socket.boundPort());
    sender.Write(loopback, "M-SEARCH * HTTP/1.1\r\n\r\n");

    ASSERT_TRUE(waitUntil([&] { return receiver.events == 1; }));
    const Datagram& datagram = receiver.datagrams.first();
    EXPECT_EQ(datagram.Address, loopback);
    EXPECT_EQ(datagram.Port, sender.boundPort());
    EXPECT_EQ(datagram.Data, QByteArray("M-SEARCH * HTTP/1.1\r\n\r\n"));
    EXPECT_EQ(receiver.localAddresses.first(), loopback);
    EXPECT_EQ(receiver.socket.LocalAddress(), loopback); // of the last one read
}

TEST(UDPSocketTest, EachDatagramRaisesOneEventWithoutRecursion)
{
    Receiver receiver;
    UDPSocket sender;
    aimAt(sender, receiver.socket.boundPort());
    sender.Write(loopback, "first");
    sender.Write(loopback, "second");

    ASSERT_TRUE(waitUntil([&] { return receiver.events == 2; }));
    settle();
    EXPECT_EQ(receiver.events, 2);
    EXPECT_EQ(receiver.deepest, 1);
    EXPECT_EQ(receiver.datagrams.at(0).Data, QByteArray("first"));
    EXPECT_EQ(receiver.datagrams.at(1).Data, QByteArray("second"));
    EXPECT_FALSE(receiver.socket.hasDatagram());
}

TEST(UDPSocketTest, ReplyReachesTheSendersOwnPort)
{
    Receiver requester;
    Receiver responder;
    aimAt(requester.socket, responder.socket.boundPort());
    requester.socket.Write(loopback, "search");
    ASSERT_TRUE(waitUntil([&] { return responder.events == 1; }));

    UDPSocket replySocket;
    aimAt(replySocket, responder.datagrams.first().Port);
    replySocket.Write(responder.datagrams.first().Address, "reply");
    ASSERT_TRUE(waitUntil([&] { return requester.events == 1; }));
    EXPECT_EQ(requester.datagrams.first().Data, QByteArray("reply"));
}

TEST(UDPSocketTest, ConnectAfterNewPortSendsThere)
{
    Receiver first;
    Receiver second;
    UDPSocket sender;
    aimAt(sender, first.socket.boundPort());
    sender.Write(loopback, "one");
    aimAt(sender, second.socket.boundPort());
    sender.Write(loopback, "two");

    ASSERT_TRUE(waitUntil([&] { return first.events == 1 && second.events == 1; }));
    EXPECT_EQ(first.datagrams.first().Data, QByteArray("one"));
    EXPECT_EQ(second.datagrams.first().Data, QByteArray("two"));
}

TEST(UDPSocketTest, WriteReportsSendComplete)
{
    Receiver receiver;
    UDPSocket sender;
    aimAt(sender, receiver.socket.boundPort());
    QList<bool> completions;
    QObject::connect(&sender, &UDPSocket::SendComplete, [&](bool aborted) { completions.append(aborted); });
    sender.Write(loopback, "x");
    ASSERT_TRUE(waitUntil([&] { return !completions.isEmpty(); }));
    EXPECT_EQ(completions, QList<bool>{false});
}

TEST(UDPSocketTest, MulticastGroupMemberReceivesOverLoopback)
{
    TOLVANE_REQUIRE_NETNS();
    Receiver member;
    EXPECT_TRUE(member.socket.JoinMulticastGroup(ssdpGroup));
    UDPSocket sender;
    aimAt(sender, member.socket.boundPort());
    sender.Write(ssdpGroup, "NOTIFY * HTTP/1.1\r\n\r\n");

    ASSERT_TRUE(waitUntil([&] { return member.events == 1; }));
    EXPECT_EQ(member.datagrams.first().Address, loopback);
    EXPECT_EQ(member.localAddresses.first(), loopback);
    member.socket.LeaveMulticastGroup(ssdpGroup);
}

TEST(LocalAddressTest, AddressesAreDottedIPv4)
{
    const struct {
        const char* name;
        QString address;
        QString dotted;
    } rows[] = {
        {"plain", "10.1.2.3", "10.1.2.3"},
        {"IPv4-mapped", "::ffff:10.1.2.3", "10.1.2.3"},
        {"mapped loopback", "::ffff:127.0.0.1", "127.0.0.1"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(dottedAddress(QHostAddress(row.address)), row.dotted) << row.name;
}

TEST(LocalAddressTest, LoopbackPeersSeeLoopbackAddress)
{
    for (const char* peer : {"127.0.0.1", "127.3.4.5", "::ffff:127.0.0.1"})
        EXPECT_EQ(LocalAddressFinder::forPeer(QHostAddress(QString(peer))), loopback) << peer;
}

TEST(LocalAddressTest, PeerOnALocalSubnetSeesThatInterfacesAddress)
{
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        if (!interface.flags().testFlag(QNetworkInterface::IsUp)
            || !interface.flags().testFlag(QNetworkInterface::IsRunning)
            || interface.flags().testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
            if (entry.ip().protocol() != QAbstractSocket::IPv4Protocol || entry.prefixLength() > 30)
                continue;
            const QHostAddress neighbour(entry.ip().toIPv4Address() ^ 1u);
            EXPECT_EQ(LocalAddressFinder::forPeer(neighbour), entry.ip().toString()) << neighbour.toString().toStdString();
            return;
        }
    }
    GTEST_SKIP() << "no interface with an IPv4 subnet besides loopback";
}

TEST(LocalAddressTest, PeerBeyondTheSubnetsGetsOneOfThisMachinesAddresses)
{
    const QString address = LocalAddressFinder::forPeer(QHostAddress(QStringLiteral("198.51.100.1")));
    const QHostAddress local(address);
    EXPECT_EQ(local.protocol(), QAbstractSocket::IPv4Protocol) << address.toStdString();
    EXPECT_TRUE(QNetworkInterface::allAddresses().contains(local)) << address.toStdString();
}
