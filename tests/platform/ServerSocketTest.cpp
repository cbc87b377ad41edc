#include "EventLoopWait.h"
#include "ServerSocket.h"
#include "TCPSocket.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpSocket>
#include <chrono>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <sys/socket.h>

namespace {
using namespace std::chrono_literals;

const QString Loopback = QStringLiteral("127.0.0.1");

// Answers each line-terminated request once and closes when the answer is
// out, as the bridge's connections do. Every event is noted in `log`, with
// the connection's number, so tests can check order across connections.
class EchoSocket : public TCPSocket {
public:
    EchoSocket(int number, QStringList& log) : m_number(number), m_log(log) {}
    EchoSocket(int number, QStringList& log, std::chrono::milliseconds requestTimeLimit)
        : TCPSocket(requestTimeLimit), m_number(number), m_log(log)
    {
    }

protected:
    void Event_Connected() override
    {
        note("connected");
        note("local " + LocalAddress() + ":" + QString::number(Port()));
    }
    void Event_DataAvailable() override
    {
        m_buffer += ReadAll();
        note("data " + QString::fromLatin1(m_buffer.trimmed()));
        if (m_buffer.endsWith('\n')) {
            Write("reply " + m_buffer);
            Flush();
        }
    }
    void Event_SendComplete(bool aborted) override
    {
        note(aborted ? "aborted" : "sent");
        Close();
    }
    bool isRequestComplete(QByteArrayView received) const override
    {
        return received.endsWith('\n');
    }

private:
    void note(const QString& event) { m_log.append(QString::number(m_number) + " " + event); }

    int m_number;
    QStringList& m_log;
    QByteArray m_buffer;
};

struct Server {
    ServerSocket listener;
    QStringList log;
    QList<QPointer<EchoSocket>> made;
    // Request time limits by connection number; the others have none.
    std::map<int, std::chrono::milliseconds> limits;

    explicit Server(std::map<int, std::chrono::milliseconds> requestTimeLimits = {})
        : limits(std::move(requestTimeLimits))
    {
        listener.setPort(0);
        listener.AddSocket = [this] {
            const int number = made.size() + 1;
            const auto limit = limits.find(number);
            auto* socket = limit == limits.end() ? new EchoSocket(number, log)
                                                 : new EchoSocket(number, log, limit->second);
            made.append(socket);
            return socket;
        };
        EXPECT_TRUE(listener.Listen());
    }

    // The log without the local address lines.
    QStringList events() const
    {
        QStringList result;
        for (const QString& line : log)
            if (!line.contains(" local "))
                result.append(line);
        return result;
    }

    std::unique_ptr<QTcpSocket> connectClient()
    {
        auto client = std::make_unique<QTcpSocket>();
        client->connectToHost(QHostAddress(Loopback), quint16(listener.boundPort()));
        EXPECT_TRUE(EventLoopWait::until([&] { return client->state() == QAbstractSocket::ConnectedState; }));
        return client;
    }
};

QByteArray readUntilClosed(QTcpSocket& client)
{
    QByteArray received;
    EventLoopWait::until([&] {
        received += client.readAll();
        return client.state() == QAbstractSocket::UnconnectedState;
    });
    return received + client.readAll();
}
} // namespace

TEST(ServerSocketTest, ConnectionSeesConnectedThenDataThenSendComplete)
{
    Server server;
    EXPECT_EQ(server.made.size(), 1); // the spare, ready before any client
    auto client = server.connectClient();
    client->write("hello\n");

    EXPECT_EQ(readUntilClosed(*client), QByteArray("reply hello\n"));
    const QString local = "1 local 127.0.0.1:" + QString::number(server.listener.boundPort());
    EXPECT_EQ(server.log, (QStringList{"1 connected", local, "1 data hello", "1 sent"}));
    EXPECT_TRUE(EventLoopWait::until([&] { return server.made.first().isNull(); })); // dropped once closed
}

TEST(ServerSocketTest, SecondClientIsServedAfterTheFirstCloses)
{
    Server server;
    auto first = server.connectClient();
    ASSERT_TRUE(EventLoopWait::until([&] { return server.log.contains("1 connected"); }));
    auto second = server.connectClient();
    second->write("two\n"); // arrives while the second client waits its turn
    EventLoopWait::settle();
    EXPECT_EQ(server.listener.openConnections(), 1);
    EXPECT_EQ(server.events(), QStringList{"1 connected"});

    first->write("one\n");
    EXPECT_EQ(readUntilClosed(*first), QByteArray("reply one\n"));
    EXPECT_EQ(readUntilClosed(*second), QByteArray("reply two\n"));
    EXPECT_EQ(server.events(), (QStringList{"1 connected", "1 data one", "1 sent", "2 connected", "2 data two",
                                       "2 sent"}));
}

TEST(ServerSocketTest, ClientThatLeftWhileWaitingDoesNotHoldTheQueue)
{
    Server server;
    auto first = server.connectClient();
    ASSERT_TRUE(EventLoopWait::until([&] { return server.log.contains("1 connected"); }));
    auto quitter = server.connectClient();
    auto third = server.connectClient();
    third->write("three\n");
    quitter->abort();
    EventLoopWait::settle();

    first->write("one\n");
    EXPECT_EQ(readUntilClosed(*first), QByteArray("reply one\n"));
    EXPECT_EQ(readUntilClosed(*third), QByteArray("reply three\n"));
    EXPECT_TRUE(EventLoopWait::until([&] { return server.listener.openConnections() == 0; }));
}

TEST(ServerSocketTest, ClientClosingFirstEndsTheConnection)
{
    Server server;
    auto client = server.connectClient();
    ASSERT_TRUE(EventLoopWait::until([&] { return server.log.contains("1 connected"); }));
    client->write("no line end");
    ASSERT_TRUE(EventLoopWait::until([&] { return server.log.contains("1 data no line end"); }));
    client->disconnectFromHost();
    EXPECT_TRUE(EventLoopWait::until([&] { return server.listener.openConnections() == 0; }));

    auto next = server.connectClient();
    next->write("next\n");
    EXPECT_EQ(readUntilClosed(*next), QByteArray("reply next\n"));
}

TEST(ServerSocketTest, ManyWaitingClientsAreServedOneAfterAnother)
{
    constexpr int ClientCount = 8;
    Server server;
    std::vector<std::unique_ptr<QTcpSocket>> clients;
    for (int n = 0; n < ClientCount; ++n) {
        clients.push_back(server.connectClient());
        clients.back()->write(QByteArray::number(n) + "\n");
    }
    QStringList replies;
    for (auto& client : clients)
        replies.append(QString::fromLatin1(readUntilClosed(*client)));

    QStringList expectedReplies;
    for (int n = 0; n < ClientCount; ++n)
        expectedReplies.append("reply " + QString::number(n) + "\n");
    EXPECT_EQ(replies, expectedReplies);
    // Each connection ends before the next one starts.
    const QStringList events = server.events();
    ASSERT_EQ(events.size(), 3 * ClientCount);
    for (int n = 0; n < ClientCount; ++n) {
        const QString number = QString::number(n + 1);
        EXPECT_EQ(events.mid(3 * n, 3), (QStringList{number + " connected", number + " data " + QString::number(n),
                                                     number + " sent"}));
    }
}

namespace {
constexpr std::chrono::milliseconds ShortLimit = 200ms;

struct HeldCase {
    const char* name;
    QByteArray sent; // by the held client, which has the short limit
};

void PrintTo(const HeldCase& row, std::ostream* out)
{
    *out << row.name;
}

const HeldCase heldCases[] = {
    {"Silent", ""},
    {"Partial", "tw"},
};

class HeldClientTest : public ::testing::TestWithParam<HeldCase> {};
} // namespace

// A held client past its limit without a whole request is dropped without
// ever reaching its connection object, and the next one keeps its place.
TEST_P(HeldClientTest, PastItsLimitIsDroppedUnseen)
{
    Server server({{2, ShortLimit}});
    auto first = server.connectClient();
    ASSERT_TRUE(EventLoopWait::until([&] { return server.log.contains("1 connected"); }));
    auto held = server.connectClient();
    if (!GetParam().sent.isEmpty())
        held->write(GetParam().sent);
    auto third = server.connectClient();
    third->write("three\n");

    EXPECT_EQ(readUntilClosed(*held), QByteArray());
    first->write("one\n");
    EXPECT_EQ(readUntilClosed(*first), QByteArray("reply one\n"));
    EXPECT_EQ(readUntilClosed(*third), QByteArray("reply three\n"));
    EXPECT_EQ(server.events(), (QStringList{"1 connected", "1 data one", "1 sent", "3 connected",
                                            "3 data three", "3 sent"}));
}

INSTANTIATE_TEST_SUITE_P(Clients, HeldClientTest, ::testing::ValuesIn(heldCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The limit is for receiving the request: one that is in keeps its place
// however late its turn comes.
TEST(ServerSocketTest, HeldClientWithItsWholeRequestIsServedPastItsLimit)
{
    Server server({{2, ShortLimit}});
    auto first = server.connectClient();
    ASSERT_TRUE(EventLoopWait::until([&] { return server.log.contains("1 connected"); }));
    auto held = server.connectClient();
    held->write("two\n");
    EventLoopWait::settle(ShortLimit * 3);
    EXPECT_EQ(held->state(), QAbstractSocket::ConnectedState);

    first->write("one\n");
    EXPECT_EQ(readUntilClosed(*first), QByteArray("reply one\n"));
    EXPECT_EQ(readUntilClosed(*held), QByteArray("reply two\n"));
    EXPECT_EQ(server.events(),
              (QStringList{"1 connected", "1 data one", "1 sent", "2 connected", "2 data two", "2 sent"}));
}

// Past the held ones, clients wait in the backlog, and are still served in
// the order they came.
TEST(ServerSocketTest, HoldsAtMostItsLimitOfWaitingClients)
{
    constexpr int WaitingCount = ServerSocket::MaximumConnectionsWaiting + 6;
    Server server;
    auto first = server.connectClient();
    ASSERT_TRUE(EventLoopWait::until([&] { return server.log.contains("1 connected"); }));
    std::vector<std::unique_ptr<QTcpSocket>> waiting;
    for (int n = 0; n < WaitingCount; ++n) {
        waiting.push_back(server.connectClient());
        waiting.back()->write(QByteArray::number(n) + "\n");
    }
    EventLoopWait::settle();
    // The open connection, the held ones and one spare.
    EXPECT_EQ(server.made.size(), 1 + ServerSocket::MaximumConnectionsWaiting + 1);

    first->write("one\n");
    EXPECT_EQ(readUntilClosed(*first), QByteArray("reply one\n"));
    for (int n = 0; n < WaitingCount; ++n)
        EXPECT_EQ(readUntilClosed(*waiting[std::size_t(n)]), "reply " + QByteArray::number(n) + "\n");
}

// Clients that came all at once and each closed its sending side after its
// whole request: every one is answered, those held and those still in the
// backlog when the held ones reached their limit.
TEST(ServerSocketTest, ClientsThatClosedTheirSendingSideAfterTheRequestAreAnswered)
{
    constexpr int ClientCount = ServerSocket::MaximumConnectionsWaiting + 40;
    Server server;
    auto first = server.connectClient();
    ASSERT_TRUE(EventLoopWait::until([&] { return server.log.contains("1 connected"); }));
    // Connected without the listener's turn of the event loop, so that they
    // all wait in the backlog together.
    std::vector<std::unique_ptr<QTcpSocket>> clients;
    for (int n = 0; n < ClientCount; ++n) {
        auto client = std::make_unique<QTcpSocket>();
        client->connectToHost(QHostAddress(Loopback), quint16(server.listener.boundPort()));
        ASSERT_TRUE(client->waitForConnected(int(EventLoopWait::DefaultLimit.count())));
        client->write(QByteArray::number(n) + "\n");
        ASSERT_TRUE(client->flush());
        ASSERT_EQ(::shutdown(int(client->socketDescriptor()), SHUT_WR), 0);
        clients.push_back(std::move(client));
    }

    first->write("one\n");
    EXPECT_EQ(readUntilClosed(*first), QByteArray("reply one\n"));
    for (int n = 0; n < ClientCount; ++n)
        EXPECT_EQ(readUntilClosed(*clients[std::size_t(n)]), "reply " + QByteArray::number(n) + "\n") << n;
}
