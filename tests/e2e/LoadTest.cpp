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
#include <gtest/gtest.h>
#include <memory>
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

// Sends the same request from many clients at once and counts the 200 replies.
int concurrentLightRequests()
{
    std::vector<std::unique_ptr<QTcpSocket>> clients;
    std::vector<QByteArray> replies(ConcurrentClients);
    for (int i = 0; i < ConcurrentClients; ++i) {
        auto client = std::make_unique<QTcpSocket>();
        QByteArray* reply = &replies[static_cast<size_t>(i)];
        QObject::connect(client.get(), &QTcpSocket::readyRead, [c = client.get(), reply] { *reply += c->readAll(); });
        QObject::connect(client.get(), &QTcpSocket::connected,
                         [c = client.get()] { c->write("GET /api/load/lights HTTP/1.1\r\n\r\n"); });
        client->connectToHost(QHostAddress::LocalHost, Bridge::HTTPPort);
        clients.push_back(std::move(client));
    }
    QElapsedTimer timer;
    timer.start();
    auto open = [&] {
        return std::any_of(clients.begin(), clients.end(), [](const auto& c) {
            return c->state() != QAbstractSocket::UnconnectedState;
        });
    };
    while (open() && timer.elapsed() < ConcurrentLimit.count())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
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
