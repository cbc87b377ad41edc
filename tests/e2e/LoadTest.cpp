#include "BridgeClient.h"
#include "TestEnvironment.h"
#include "TolvaneProcess.h"

#include <algorithm>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonObject>
#include <QTcpSocket>
#include <QThread>
#include <QUdpSocket>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <sys/socket.h>
#include <vector>

namespace {

constexpr int SequentialRequests = 2000;
constexpr int ConcurrentClients = 20;
constexpr std::chrono::milliseconds ConcurrentLimit{60000};
// Resident memory may move by what the allocator keeps for reuse, not more.
constexpr qint64 ResidentSlackKiB = 1024;

// AddressSanitizer holds freed memory in quarantine, so resident memory says
// nothing about leaks in such a build.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool ResidentMemoryMeaningful = false;
#else
constexpr bool ResidentMemoryMeaningful = true;
#endif

int openFileDescriptors(qint64 pid)
{
    return static_cast<int>(QDir(QString("/proc/%1/fd").arg(pid)).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size());
}

qint64 residentKiB(qint64 pid)
{
    QFile status(QString("/proc/%1/status").arg(pid));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return -1;
}

using Clients = std::vector<std::unique_ptr<QTcpSocket>>;

// Connects `count` clients at once, each noting what it receives in its reply
// and sending `request`, if any, as soon as it is connected.
Clients connectClients(int count, std::vector<QByteArray>& replies, const QByteArray& request = {})
{
    Clients clients;
    replies.assign(static_cast<size_t>(count), QByteArray());
    for (int i = 0; i < count; ++i) {
        auto client = std::make_unique<QTcpSocket>();
        QByteArray* reply = &replies[static_cast<size_t>(i)];
        QObject::connect(client.get(), &QTcpSocket::readyRead, [c = client.get(), reply] { *reply += c->readAll(); });
        if (!request.isEmpty())
            QObject::connect(client.get(), &QTcpSocket::connected, [c = client.get(), request] { c->write(request); });
        client->connectToHost(QHostAddress::LocalHost, Bridge::HTTPPort);
        clients.push_back(std::move(client));
    }
    return clients;
}

// Runs the event loop until every client's connection has ended, or the time
// runs out.
void waitUntilAllClosed(const Clients& clients, std::chrono::milliseconds limit)
{
    QElapsedTimer timer;
    timer.start();
    auto open = [&] {
        return std::any_of(clients.begin(), clients.end(), [](const auto& c) {
            return c->state() != QAbstractSocket::UnconnectedState;
        });
    };
    while (open() && timer.elapsed() < limit.count())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

// Sends the same request from many clients at once and counts the 200 replies.
int concurrentLightRequests()
{
    std::vector<QByteArray> replies;
    const Clients clients = connectClients(ConcurrentClients, replies, "GET /api/load/lights HTTP/1.1\r\n\r\n");
    waitUntilAllClosed(clients, ConcurrentLimit);
    return static_cast<int>(std::count_if(replies.begin(), replies.end(), [](const QByteArray& r) {
        return r.startsWith("HTTP/1.1 200 OK\r\n") && r.endsWith("}}");
    }));
}

TEST(Load, ManyRequestsLeaveNoDescriptorOrMemoryBehind)
{
    TOLVANE_REQUIRE_NETNS();
    TolvaneProcess tolvane;
    tolvane.writeUnits({QJsonObject{{"name", "Lamp"}, {"ID", "1"}, {"dimmable", true}, {"value", 30}}});
    ASSERT_TRUE(tolvane.start());
    for (int i = 0; i < 50; ++i)
        BridgeClient::http("GET", "/description.xml");
    BridgeClient::http("GET", "/api/load/lights");
    const int descriptorsBefore = openFileDescriptors(tolvane.pid());
    const qint64 residentBefore = residentKiB(tolvane.pid());

    int answered = 0;
    for (int i = 0; i < SequentialRequests; ++i)
        answered += BridgeClient::http("GET", "/description.xml").startsWith("HTTP/1.1 200 OK\r\n");
    EXPECT_EQ(answered, SequentialRequests);
    EXPECT_EQ(concurrentLightRequests(), ConcurrentClients);

    EXPECT_EQ(openFileDescriptors(tolvane.pid()), descriptorsBefore);
    if (ResidentMemoryMeaningful) {
        EXPECT_LE(residentKiB(tolvane.pid()), residentBefore + ResidentSlackKiB);
    }
    EXPECT_TRUE(tolvane.stop());
}

} // namespace

namespace {

constexpr int HalfClosingClients = 200;
constexpr std::chrono::milliseconds HalfClosingLimit{60000};

const QByteArray DescriptionRequest = "GET /description.xml HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";

// What many clients send, all connected before the first of them sends, so
// that most wait their turn in the listener.
struct ClientEndRow {
    const char* name;
    QByteArray sent;
    bool closesSendingSide; // shutdown(SHUT_WR) once it is sent
    bool answered;          // else closed without a byte
};

void PrintTo(const ClientEndRow& row, std::ostream* out)
{
    *out << row.name;
}

class ClientEnd : public ::testing::TestWithParam<ClientEndRow> {};

TEST_P(ClientEnd, AWholeRequestIsAnsweredWhateverTheClientClosed)
{
    TOLVANE_REQUIRE_NETNS();
    const ClientEndRow& row = GetParam();
    TolvaneProcess tolvane;
    ASSERT_TRUE(tolvane.start());
    const QByteArray description = BridgeClient::http("GET", "/description.xml");
    ASSERT_TRUE(description.startsWith("HTTP/1.1 200 OK\r\n"));

    std::vector<QByteArray> replies;
    const Clients clients = connectClients(HalfClosingClients, replies);
    for (const auto& client : clients) {
        ASSERT_TRUE(client->waitForConnected(int(BridgeClient::TimeLimit.count())));
        client->write(row.sent);
        ASSERT_TRUE(client->flush());
        if (row.closesSendingSide) {
            ASSERT_EQ(::shutdown(int(client->socketDescriptor()), SHUT_WR), 0);
        }
    }
    waitUntilAllClosed(clients, HalfClosingLimit);

    int answered = 0;
    int closedWithout = 0;
    for (size_t i = 0; i < clients.size(); ++i) {
        EXPECT_EQ(clients[i]->state(), QAbstractSocket::UnconnectedState) << "client " << i;
        answered += replies[i] == description;
        closedWithout += replies[i].isEmpty();
    }
    EXPECT_EQ(answered, row.answered ? HalfClosingClients : 0);
    EXPECT_EQ(closedWithout, row.answered ? 0 : HalfClosingClients);
    EXPECT_TRUE(tolvane.stop());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ClientEnd,
    ::testing::Values(ClientEndRow{"WholeRequestThenSendingSideClosed", DescriptionRequest, true, true},
                      ClientEndRow{"WholeRequestConnectionKeptOpen", DescriptionRequest, false, true},
                      ClientEndRow{"PartOfARequestThenSendingSideClosed",
                                   DescriptionRequest.first(DescriptionRequest.size() - 2), true, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

namespace {

constexpr int FloodDatagrams = 100'000;
constexpr int FloodRounds = 3;
constexpr int FloodHTTPClients = 2;
// Each HTTP client's requests, at most, while the floods last.
constexpr int FloodHTTPRequests = 20'000;
constexpr std::chrono::milliseconds AnsweredAfterFlood{1000};
constexpr std::chrono::milliseconds SearchRepeat{100};
constexpr qint64 FloodResidentSlackKiB = 4096;

const QByteArray BasicDeviceSearch = BridgeClient::mSearch("urn:schemas-upnp-org:device:basic:1");

// One flood of searches, sent from one socket as fast as it can send.
void floodDiscovery()
{
    QUdpSocket flooder;
    flooder.bind(QHostAddress::LocalHost, 0);
    for (int i = 0; i < FloodDatagrams; ++i)
        flooder.writeDatagram(BasicDeviceSearch, QHostAddress::LocalHost, Bridge::DiscoveryPort);
}

// How long a search takes to be answered, asked every SearchRepeat as SSDP
// clients repeat theirs: right after a flood the kernel's buffer may still be
// full and drop one, as it drops any datagram then. Nothing after the limit.
std::optional<std::chrono::milliseconds> searchAnsweredAfter(std::chrono::milliseconds limit)
{
    QUdpSocket searcher;
    searcher.bind(QHostAddress::LocalHost, 0);
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < limit.count()) {
        searcher.writeDatagram(BasicDeviceSearch, QHostAddress::LocalHost, Bridge::DiscoveryPort);
        if (searcher.waitForReadyRead(int(SearchRepeat.count())))
            return std::chrono::milliseconds(timer.elapsed());
    }
    return std::nullopt;
}

// Clients that fetch the description one after another on threads of their
// own until told to stop, so the bridge serves HTTP all through the floods.
class DescriptionReaders {
public:
    DescriptionReaders()
    {
        for (int i = 0; i < FloodHTTPClients; ++i) {
            m_threads.emplace_back(QThread::create([this] {
                for (int n = 0; n < FloodHTTPRequests && !m_stop; ++n)
                    BridgeClient::http("GET", "/description.xml");
            }));
            m_threads.back()->start();
        }
    }
    ~DescriptionReaders()
    {
        m_stop = true;
        for (const auto& thread : m_threads)
            thread->wait();
    }

private:
    std::atomic<bool> m_stop = false;
    std::vector<std::unique_ptr<QThread>> m_threads;
};

TEST(Load, SearchAfterADiscoveryFloodIsAnsweredAtOnceAndMemoryStaysFlat)
{
    TOLVANE_REQUIRE_NETNS();
    TolvaneProcess tolvane;
    ASSERT_TRUE(tolvane.start());
    ASSERT_TRUE(searchAnsweredAfter(BridgeClient::TimeLimit));
    const qint64 residentBefore = residentKiB(tolvane.pid());

    {
        const DescriptionReaders readers;
        for (int round = 0; round < FloodRounds; ++round) {
            floodDiscovery();
            const auto answered = searchAnsweredAfter(BridgeClient::TimeLimit);
            ASSERT_TRUE(answered) << "round " << round;
            EXPECT_LE(answered->count(), AnsweredAfterFlood.count()) << "round " << round;
        }
    }
    if (ResidentMemoryMeaningful) {
        EXPECT_LE(residentKiB(tolvane.pid()), residentBefore + FloodResidentSlackKiB);
    }
    EXPECT_TRUE(tolvane.stop());
}

} // namespace
