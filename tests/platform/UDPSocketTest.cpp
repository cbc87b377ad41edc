#include "DottedAddress.h"
#include "EventLoopWait.h"
#include "LocalAddressFinder.h"
#include "PrivateSubnets.h"
#include "TestEnvironment.h"
#include "UDPSocket.h"

#include <QHostAddress>
#include <QNetworkInterface>
#include <QUdpSocket>
#include <array>
#include <gtest/gtest.h>

namespace {
const QString Loopback = QStringLiteral("127.0.0.1");
const QString SSDPGroup = QStringLiteral("239.255.255.250");

// A receiver on an ephemeral port of every local address that reads one
// datagram per DataAvailable, noting what LocalAddress says for each.
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
            datagrams.append(socket.Read());
            localAddresses.append(socket.LocalAddress());
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
    sender.Write(Loopback, "M-SEARCH * HTTP/1.1\r\n\r\n");

    ASSERT_TRUE(EventLoopWait::until([&] { return receiver.events == 1; }));
    const Datagram& datagram = receiver.datagrams.first();
    EXPECT_EQ(datagram.Address, Loopback);
    EXPECT_EQ(datagram.Port, sender.boundPort());
    EXPECT_EQ(datagram.Data, QByteArray("M-SEARCH * HTTP/1.1\r\n\r\n"));
    EXPECT_EQ(receiver.localAddresses.first(), Loopback);
    EXPECT_EQ(receiver.socket.LocalAddress(), Loopback); // of the last one read
}

TEST(UDPSocketTest, EachDatagramRaisesOneEventWithoutRecursion)
{
    Receiver receiver;
    UDPSocket sender;
    aimAt(sender, receiver.socket.boundPort());
    sender.Write(Loopback, "first");
    sender.Write(Loopback, "second");

    ASSERT_TRUE(EventLoopWait::until([&] { return receiver.events == 2; }));
    EventLoopWait::settle();
    EXPECT_EQ(receiver.events, 2);
    EXPECT_EQ(receiver.deepest, 1);
    EXPECT_EQ(receiver.datagrams.at(0).Data, QByteArray("first"));
    EXPECT_EQ(receiver.datagrams.at(1).Data, QByteArray("second"));
    EXPECT_TRUE(receiver.socket.Read().Data.isEmpty());
}

// Searches that wait together, from two interfaces: each one read must give
// the address of its own sender's interface, not that of the next in line.
TEST(UDPSocketTest, LocalAddressIsThatOfTheDatagramLastRead)
{
    PrivateSubnets subnets;
    TOLVANE_REQUIRE_PRIVATE_SUBNETS(subnets);
    Receiver receiver;
    std::array<QUdpSocket, 2> senders;
    for (size_t end = 0; end < senders.size(); ++end)
        ASSERT_TRUE(senders[end].bind(QHostAddress(PrivateSubnets::Addresses[end]), 0));
    const size_t order[] = {0, 1, 0, 1};
    for (size_t end : order)
        senders[end].writeDatagram("search", QHostAddress(PrivateSubnets::Addresses[end]),
                                   quint16(receiver.socket.boundPort()));

    ASSERT_TRUE(EventLoopWait::until([&] { return receiver.events == 4; }));
    QStringList senderAddresses;
    for (const Datagram& datagram : receiver.datagrams)
        senderAddresses.append(datagram.Address);
    const QStringList expected = {PrivateSubnets::Addresses[0], PrivateSubnets::Addresses[1],
                                  PrivateSubnets::Addresses[0], PrivateSubnets::Addresses[1]};
    EXPECT_EQ(senderAddresses.join(' '), expected.join(' '));
    EXPECT_EQ(receiver.localAddresses.join(' '), expected.join(' '));
}

// Whoever saw a reply knows the reply socket's port; what they send there
// must not pile up in it.
TEST(UDPSocketTest, SendOnlySocketDropsWhatArrivesAtItsPort)
{
    constexpr int FloodCount = 1000;
    Receiver requester;
    UDPSocket replySocket;
    aimAt(replySocket, requester.socket.boundPort());
    int events = 0;
    QObject::connect(&replySocket, &UDPSocket::DataAvailable, [&] { ++events; });
    QUdpSocket flooder;
    for (int i = 0; i < FloodCount; ++i)
        flooder.writeDatagram("flood", QHostAddress(Loopback), quint16(replySocket.boundPort()));

    EventLoopWait::settle();
    EXPECT_EQ(events, 0);
    EXPECT_TRUE(replySocket.Read().Data.isEmpty());
    replySocket.Write(Loopback, "reply");
    ASSERT_TRUE(EventLoopWait::until([&] { return requester.events == 1; }));
    EXPECT_EQ(requester.datagrams.first().Data, QByteArray("reply"));
}

// With a handler that reads nothing, what arrives stays queued: past the
// bound it is dropped, and the datagrams kept are the first, in order.
TEST(UDPSocketTest, QueueHoldsAtMostItsBoundOfDatagrams)
{
    constexpr qsizetype Sent = 4 * UDPSocket::MaximumDatagramsWaiting;
    // Sent between two drains; far fewer than the kernel's buffer holds.
    constexpr qsizetype Batch = 32;
    UDPSocket receiver;
    receiver.setPort(0);
    ASSERT_TRUE(receiver.Connect());
    QUdpSocket sender;
    for (qsizetype n = 0; n < Sent; EventLoopWait::settle(std::chrono::milliseconds{5}))
        for (const qsizetype end = n + Batch; n < end; ++n)
            sender.writeDatagram(QByteArray::number(n), QHostAddress(Loopback), quint16(receiver.boundPort()));

    QByteArrayList kept;
    for (Datagram datagram = receiver.Read(); !datagram.Data.isEmpty(); datagram = receiver.Read())
        kept.append(datagram.Data);
    QByteArrayList first;
    for (qsizetype n = 0; n < UDPSocket::MaximumDatagramsWaiting; ++n)
        first.append(QByteArray::number(n));
    EXPECT_EQ(kept.size(), UDPSocket::MaximumDatagramsWaiting);
    EXPECT_EQ(kept, first);

    int events = 0;
    QObject::connect(&receiver, &UDPSocket::DataAvailable, [&] { ++events; });
    sender.writeDatagram("after", QHostAddress(Loopback), quint16(receiver.boundPort()));
    ASSERT_TRUE(EventLoopWait::until([&] { return events == 1; }));
    EXPECT_EQ(receiver.Read().Data, QByteArray("after"));
}

TEST(UDPSocketTest, ReplyReachesTheSendersOwnPort)
{
    Receiver requester;
    Receiver responder;
    // Sent from the requester's own bound port, where the reply must come.
    requester.socket.setPort(responder.socket.boundPort());
    requester.socket.Write(Loopback, "search");
    ASSERT_TRUE(EventLoopWait::until([&] { return responder.events == 1; }));

    UDPSocket replySocket;
    aimAt(replySocket, responder.datagrams.first().Port);
    replySocket.Write(responder.datagrams.first().Address, "reply");
    ASSERT_TRUE(EventLoopWait::until([&] { return requester.events == 1; }));
    EXPECT_EQ(requester.datagrams.first().Data, QByteArray("reply"));
}

TEST(UDPSocketTest, ConnectAfterNewPortSendsThere)
{
    Receiver first;
    Receiver second;
    UDPSocket sender;
    aimAt(sender, first.socket.boundPort());
    sender.Write(Loopback, "one");
    aimAt(sender, second.socket.boundPort());
    sender.Write(Loopback, "two");

    ASSERT_TRUE(EventLoopWait::until([&] { return first.events == 1 && second.events == 1; }));
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
    sender.Write(Loopback, "x");
    ASSERT_TRUE(EventLoopWait::until([&] { return !completions.isEmpty(); }));
    EXPECT_EQ(completions, QList<bool>{false});
}

TEST(UDPSocketTest, MulticastGroupMemberReceivesOverLoopback)
{
    TOLVANE_REQUIRE_NETNS();
    Receiver member;
    EXPECT_TRUE(member.socket.JoinMulticastGroup(SSDPGroup));
    UDPSocket sender;
    aimAt(sender, member.socket.boundPort());
    sender.Write(SSDPGroup, "NOTIFY * HTTP/1.1\r\n\r\n");

    ASSERT_TRUE(EventLoopWait::until([&] { return member.events == 1; }));
    EXPECT_EQ(member.datagrams.first().Address, Loopback);
    EXPECT_EQ(member.localAddresses.first(), Loopback);
    member.socket.LeaveMulticastGroup(SSDPGroup);
}

// A join binds a socket that is not bound yet; the group must still be the
// one it is a member of, and the one a leave later leaves. Linux hands a
// socket the datagrams of every group joined anywhere in the namespace, so
// the group is one that no other test, and no bridge, joins.
TEST(UDPSocketTest, JoinOnAnUnboundSocketBindsItAndJoins)
{
    TOLVANE_REQUIRE_NETNS();
    const QString group = QStringLiteral("239.255.77.1");
    UDPSocket member;
    member.setPort(0);
    int events = 0;
    QObject::connect(&member, &UDPSocket::DataAvailable, [&] {
        member.Read();
        ++events;
    });
    EXPECT_TRUE(member.JoinMulticastGroup(group));
    UDPSocket sender;
    aimAt(sender, member.boundPort());
    sender.Write(group, "NOTIFY * HTTP/1.1\r\n\r\n");
    ASSERT_TRUE(EventLoopWait::until([&] { return events == 1; }));

    member.LeaveMulticastGroup(group);
    sender.Write(group, "NOTIFY * HTTP/1.1\r\n\r\n");
    EventLoopWait::settle();
    EXPECT_EQ(events, 1);
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
        {"mapped Loopback", "::ffff:127.0.0.1", "127.0.0.1"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(DottedAddress::text(QHostAddress(row.address)), row.dotted) << row.name;
}

TEST(LocalAddressTest, LoopbackPeersSeeLoopbackAddress)
{
    for (const char* peer : {"127.0.0.1", "127.3.4.5", "::ffff:127.0.0.1"})
        EXPECT_EQ(LocalAddressFinder::forPeer(QHostAddress(QString(peer))), Loopback) << peer;
}

TEST(LocalAddressTest, PeerOnALocalSubnetSeesThatInterfacesAddress)
{
    PrivateSubnets subnets;
    TOLVANE_REQUIRE_PRIVATE_SUBNETS(subnets);
    for (int end = 0; end < PrivateSubnets::Addresses.size(); ++end) {
        const QString neighbour = PrivateSubnets::neighbour(end);
        EXPECT_EQ(LocalAddressFinder::forPeer(QHostAddress(neighbour)), PrivateSubnets::Addresses[end])
            << neighbour.toStdString();
    }
}

TEST(LocalAddressTest, PeerBeyondTheSubnetsGetsOneOfThisMachinesAddresses)
{
    const QString address = LocalAddressFinder::forPeer(QHostAddress(QStringLiteral("198.51.100.1")));
    const QHostAddress local(address);
    EXPECT_EQ(local.protocol(), QAbstractSocket::IPv4Protocol) << address.toStdString();
    EXPECT_TRUE(QNetworkInterface::allAddresses().contains(local)) << address.toStdString();
}
