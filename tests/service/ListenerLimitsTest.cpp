#include "HTTPTexts.h"
#include "LoopbackClient.h"
#include "ServiceTest.h"
#include "SingleHTTPSocket.h"

#include <QTimer>
#include <memory>
#include <vector>

namespace {

using namespace HTTPTexts;
using namespace std::chrono_literals;

// Room past a limit for the event loop and a loaded machine.
constexpr std::chrono::milliseconds Margin = 5s;

using Clients = std::vector<std::unique_ptr<LoopbackClient>>;

Clients connectClients(int port, int count)
{
    Clients clients;
    for (int n = 0; n < count; ++n)
        clients.push_back(std::make_unique<LoopbackClient>(port));
    return clients;
}

// Units with long names, so that the light list fills every socket buffer
// between the listener and a client that does not read.
QString unitsWithLongNames(int count, qsizetype nameLength)
{
    QStringList units;
    for (int n = 0; n < count; ++n)
        units.append(QStringLiteral(R"({"name":"%1","ID":"%2","dimmable":"true","value":"40"})")
                         .arg(QString(nameLength, QLatin1Char('a')) + QString::number(n))
                         .arg(n));
    return '[' + units.join(',') + ']';
}

class ListenerLimitsTest : public ServiceTest {};

// Each held client's limit runs from its own accept, side by side with the
// others', so a crowd of idle clients costs one limit, not one each.
TEST_F(ListenerLimitsTest, IdleClientsCostOnlyTheirOwnTime)
{
    constexpr int SilentCount = 20;
    constexpr int SlowCount = 20;
    const int port = startListener(SingleHTTPSocket::RequestTimeLimit);
    ASSERT_NE(port, 0);
    const Clients silent = connectClients(port, SilentCount);
    const Clients slow = connectClients(port, SlowCount);
    QTimer drip;
    QObject::connect(&drip, &QTimer::timeout, [&] {
        for (const auto& client : slow)
            client->write("G");
    });
    drip.start(1s);

    LoopbackClient normal(port);
    normal.write(get("/description.xml"));
    ASSERT_TRUE(normal.waitForClose(SingleHTTPSocket::RequestTimeLimit + Margin));
    drip.stop();
    EXPECT_TRUE(normal.received().startsWith(XMLHead));
    normal.runFor(LoopbackClient::SettleTime);
    for (const Clients* group : {&silent, &slow}) {
        for (const auto& client : *group) {
            EXPECT_TRUE(client->closedByServer());
            EXPECT_TRUE(client->received().isEmpty());
        }
    }
    EXPECT_EQ(logLines(), QStringList{"Inbound Request: GET /description.xml HTTP/1.1"});
}

TEST_F(ListenerLimitsTest, ReplyThatMakesNoProgressIsAbandonedAndTheNextClientServed)
{
    constexpr int UnitCount = 4000;
    constexpr qsizetype NameLength = 4000;
    setUnits(unitsWithLongNames(UnitCount, NameLength));
    const int port = startListener();
    ASSERT_NE(port, 0);
    LoopbackClient stalled(port);
    stalled.stopReading();
    stalled.send(get("/api/u/lights"));

    LoopbackClient next(port);
    next.write(get("/description.xml"));
    ASSERT_TRUE(next.waitForClose(TCPSocket::SendProgressLimit + Margin));
    EXPECT_TRUE(next.received().startsWith(XMLHead));
    EXPECT_TRUE(next.received().endsWith("</root>"));
}

// The held client's request is complete with its head; what it sends later
// waits with TCP and, without a Content-Length, is no body.
TEST_F(ListenerLimitsTest, HeldRequestWithoutContentLengthTakesNoLaterBody)
{
    const int port = startListener();
    ASSERT_NE(port, 0);
    LoopbackClient silent(port);
    LoopbackClient held(port);
    held.send("PUT /api/u/lights/0/state HTTP/1.1\r\nHost: a\r\n\r\n");
    held.send(R"({"on":true})");
    ASSERT_TRUE(held.waitForClose());
    EXPECT_TRUE(silent.closedByServer());
    EXPECT_EQ(held.received(), JSONHead);
    EXPECT_TRUE(host().commands().isEmpty());
}

} // namespace
