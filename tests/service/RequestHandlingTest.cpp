#include "HTTPTexts.h"
#include "LoopbackClient.h"
#include "ServiceTest.h"

#include <QRandomGenerator>

namespace {

using namespace HTTPTexts;

// Well inside the test's time limit, even for a request sent byte by byte.
constexpr std::chrono::milliseconds PieceGap{10};

const QString LampOn = ServiceTest::hostScript(R"(turnon "Lamp")");
const QByteArray LampOnSuccess =
    R"([{"success":{"/lights/0/state/on":true}},{"success":{"/lights/0/state/bri":255}}])";

class RequestHandlingTest : public ServiceTest {
protected:
    void SetUp() override
    {
        port = startListener();
        ASSERT_NE(port, 0);
    }
    QByteArray exchange(const QByteArray& request) { return LoopbackClient::exchange(port, request); }
    int port = 0;
};

struct MethodCase {
    const char* name;
    QByteArray request;
    QByteArray replyStart; // the whole reply when it is the 400 reply
};

// Test names carry the row name; print it instead of the row's bytes.
void PrintTo(const MethodCase& row, std::ostream* out)
{
    *out << row.name;
}

const MethodCase methodCases[] = {
    {"GetMixedCase", "Get /description.xml HTTP/1.1\r\n\r\n", XMLHead},
    {"PutMixedCase", "pUT /api/u/lights/0/state HTTP/1.1\r\nContent-Length: 0\r\n\r\n", JSONHead},
    {"Post", "POST /description.xml HTTP/1.1\r\n\r\n", BadRequest},
    {"Delete", "DELETE /api/u/lights/0 HTTP/1.1\r\n\r\n", BadRequest},
    {"Head", "HEAD /description.xml HTTP/1.1\r\n\r\n", BadRequest},
    {"EmptyRequestLine", "\r\n\r\n", BadRequest},
    {"LeadingEmptyLine", "\r\nGET /description.xml HTTP/1.1\r\n\r\n", BadRequest},
    {"TwoBlanksMakeAnEmptyPath", "GET  /description.xml HTTP/1.1\r\n\r\n", BadRequest},
};

class RequestMethodTest : public RequestHandlingTest,
                          public ::testing::WithParamInterface<MethodCase> {};

TEST_P(RequestMethodTest, RoutesOnTheMethodInAnyCase)
{
    const MethodCase& c = GetParam();
    LoopbackClient client(port);
    client.send(c.request);
    ASSERT_TRUE(client.waitForClose());
    if (c.replyStart == BadRequest)
        EXPECT_EQ(client.received(), BadRequest);
    else
        EXPECT_TRUE(client.received().startsWith(c.replyStart)) << client.received().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Methods, RequestMethodTest, ::testing::ValuesIn(methodCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RequestHandlingTest, LogsTheRequestLineAndTheBody)
{
    exchange(get("/description.xml"));
    exchange("PUT /api/User/lights/0/state HTTP/1.1\r\nContent-Length: 11\r\n\r\n{\"on\":true}");
    EXPECT_EQ(logLines(), (QStringList{"Inbound Request: GET /description.xml HTTP/1.1",
                                       "Inbound Request: PUT /api/User/lights/0/state HTTP/1.1",
                                       "{\"on\":true}"}));
}

TEST_F(RequestHandlingTest, HeadInPiecesIsHandledWhenItCompletes)
{
    LoopbackClient client(port);
    for (const char* piece : {"GET /descr", "iption.xml HTTP/1.1\r", "\nHost: a\r\n\r"}) {
        client.send(piece, PieceGap * 5);
        EXPECT_TRUE(client.received().isEmpty());
        EXPECT_TRUE(client.isConnected());
    }
    client.send("\n");
    ASSERT_TRUE(client.waitForClose());
    EXPECT_TRUE(client.received().startsWith(XMLHead));
    EXPECT_EQ(logLines(), QStringList{"Inbound Request: GET /description.xml HTTP/1.1"});
}

TEST_F(RequestHandlingTest, RequestInRandomPiecesIsHandledOnce)
{
    const QByteArray request = put("/api/u/lights/0/state", R"({"on":true})");
    QRandomGenerator random(7);
    constexpr int Rounds = 4;
    for (int round = 0; round < Rounds; ++round) {
        host().clear();
        LoopbackClient client(port);
        for (qsizetype at = 0; at < request.size();) {
            const qsizetype piece = 1 + random.bounded(qsizetype(24));
            client.send(request.mid(at, piece), PieceGap);
            at += piece;
        }
        ASSERT_TRUE(client.waitForClose());
        EXPECT_EQ(client.received(), JSONHead + LampOnSuccess);
        EXPECT_EQ(host().commands(), QStringList{LampOn});
    }
}

TEST_F(RequestHandlingTest, BodyInALaterPieceIsWaitedForAndHandledOnce)
{
    LoopbackClient client(port);
    client.send("PUT /api/u/lights/0/state HTTP/1.1\r\nContent-Length: 11\r\n\r\n");
    EXPECT_TRUE(client.received().isEmpty());
    client.send(R"({"on":true})");
    client.send("{\"on\":false}");
    ASSERT_TRUE(client.waitForClose());
    EXPECT_EQ(client.received(), JSONHead + LampOnSuccess);
    EXPECT_EQ(host().commands(), QStringList{LampOn});
}

TEST_F(RequestHandlingTest, WithoutContentLengthTheBodyIsNotWaitedFor)
{
    LoopbackClient client(port);
    client.send("PUT /api/u/lights/0/state HTTP/1.1\r\n\r\n");
    client.send(R"({"on":true})");
    ASSERT_TRUE(client.waitForClose());
    EXPECT_EQ(client.received(), JSONHead);
    EXPECT_TRUE(host().commands().isEmpty());
}

TEST_F(RequestHandlingTest, WithoutContentLengthTheBodyThatCameWithTheHeadIsTaken)
{
    LoopbackClient client(port);
    client.send("PUT /api/u/lights/0/state HTTP/1.1\r\nHost: a\r\n\r\n{\"on\":true}");
    ASSERT_TRUE(client.waitForClose());
    EXPECT_EQ(client.received(), JSONHead + LampOnSuccess);
    EXPECT_EQ(host().commands(), QStringList{LampOn});
    EXPECT_EQ(logLines(), (QStringList{"Inbound Request: PUT /api/u/lights/0/state HTTP/1.1",
                                       "{\"on\":true}"}));
}

TEST_F(RequestHandlingTest, OnlyTheFirstOfTwoBackToBackRequestsIsHandled)
{
    const QByteArray reply = exchange(put("/api/u/lights/0/state", R"({"on":true})")
                                      + put("/api/u/lights/1/state", R"({"on":false})"));
    EXPECT_EQ(reply, JSONHead + LampOnSuccess);
    EXPECT_EQ(host().commands(), QStringList{LampOn});
    EXPECT_EQ(logLines().first(), "Inbound Request: PUT /api/u/lights/0/state HTTP/1.1");
    EXPECT_EQ(logLines().size(), 2);
}

TEST_F(RequestHandlingTest, HeadWithLineFeedsOnlyIsClosedUnansweredAtTheTimeLimit)
{
    LoopbackClient client(port);
    client.send("GET /description.xml HTTP/1.1\nHost: a\n\n");
    ASSERT_TRUE(client.waitForClose());
    EXPECT_TRUE(client.received().isEmpty());
    EXPECT_TRUE(logLines().isEmpty());
    EXPECT_TRUE(status.texts.isEmpty());
}

TEST_F(RequestHandlingTest, OversizeBufferGetsTheBadRequestReply)
{
    LoopbackClient client(port);
    client.send("GET /" + QByteArray(70 * 1024, 'a'));
    ASSERT_TRUE(client.waitForClose());
    EXPECT_EQ(client.received(), BadRequest);
    EXPECT_TRUE(logLines().isEmpty());
}

TEST_F(RequestHandlingTest, OversizeAnnouncedBodyIsRefusedAtOnce)
{
    LoopbackClient client(port);
    client.send("PUT /api/u/lights/0/state HTTP/1.1\r\nContent-Length: 100000\r\n\r\n");
    ASSERT_TRUE(client.waitForClose());
    EXPECT_EQ(client.received(), BadRequest);
    EXPECT_TRUE(host().scripts().isEmpty());
}

struct RefusedCase {
    const char* name;
    QByteArray request;
    QStringList log;
};

void PrintTo(const RefusedCase& row, std::ostream* out)
{
    *out << row.name;
}

const QByteArray PutLine = "PUT /api/u/lights/0/state HTTP/1.1";
const QString LoggedPutLine = "Inbound Request: " + QString::fromLatin1(PutLine);
const QByteArray OverTheCap(70 * 1024, 'a');

const RefusedCase refusedCases[] = {
    {"Chunked", PutLine + "\r\nTransfer-Encoding: chunked\r\n\r\nb\r\n{\"on\":true}\r\n0\r\n\r\n",
     {LoggedPutLine}},
    {"ConflictingLengths", PutLine + "\r\nContent-Length: 11\r\nContent-Length: 12\r\n\r\n{\"on\":true}",
     {LoggedPutLine}},
    {"LengthNotANumber", PutLine + "\r\nContent-Length: 11 bytes\r\n\r\n{\"on\":true}", {LoggedPutLine}},
    {"LengthPastTheCap", PutLine + "\r\nContent-Length: 100000\r\n\r\n{\"on\":true}", {LoggedPutLine}},
    {"HeadPastTheCap", PutLine + "\r\nX-Pad: " + OverTheCap + "\r\n\r\n{\"on\":true}", {LoggedPutLine}},
    {"UnfinishedHeadPastTheCap", PutLine + "\r\nX-Pad: " + OverTheCap, {LoggedPutLine}},
    {"NoRequestLine", "PUT /" + OverTheCap, {}},
};

class RefusedRequestTest : public RequestHandlingTest,
                           public ::testing::WithParamInterface<RefusedCase> {};

// A request its framing refuses is logged like any other, by its request
// line when it has one, and then refused without a command.
TEST_P(RefusedRequestTest, IsLoggedAndGetsTheBadRequestReply)
{
    const RefusedCase& c = GetParam();
    LoopbackClient client(port);
    client.send(c.request);
    ASSERT_TRUE(client.waitForClose());
    EXPECT_EQ(client.received(), BadRequest);
    EXPECT_TRUE(host().scripts().isEmpty());
    EXPECT_EQ(logLines(), c.log);
    EXPECT_TRUE(status.texts.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Framings, RefusedRequestTest, ::testing::ValuesIn(refusedCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RequestHandlingTest, SilentClientDoesNotKeepTheNextOneWaiting)
{
    LoopbackClient silent(port);
    silent.runFor(LoopbackClient::SettleTime);
    const QByteArray reply = exchange(get("/description.xml"));
    EXPECT_TRUE(reply.startsWith(XMLHead));
    EXPECT_TRUE(silent.closedByServer());
    EXPECT_TRUE(silent.received().isEmpty());
}

TEST_F(RequestHandlingTest, SlowClientDoesNotKeepTheNextOneWaiting)
{
    LoopbackClient slow(port);
    slow.send("GET /descr");
    const QByteArray reply = exchange(get("/api/u/lights/0"));
    EXPECT_TRUE(reply.startsWith(JSONHead));
    EXPECT_TRUE(slow.closedByServer());
}

} // namespace
