#include "Bridge.h"
#include "DiscoveryResponder.h"
#include "PrivateSubnets.h"
#include "ServiceTest.h"
#include "UDPSocket.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QTimer>
#include <QUdpSocket>
#include <array>

namespace {

constexpr std::chrono::milliseconds ReplyWait{500};

const QByteArray BasicSearch = "M-SEARCH * HTTP/1.1\r\n"
                               "HOST: 239.255.255.250:1900\r\n"
                               "MAN: \"ssdp:discover\"\r\n"
                               "MX: 3\r\n"
                               "ST: urn:schemas-upnp-org:device:basic:1\r\n\r\n";
const QByteArray AllSearch = "M-SEARCH * HTTP/1.1\r\n"
                             "HOST: 239.255.255.250:1900\r\n"
                             "MAN: \"ssdp:discover\"\r\n"
                             "MX: 3\r\n"
                             "ST: ssdp:all\r\n\r\n";
const QByteArray Notify = "NOTIFY * HTTP/1.1\r\n"
                          "HOST: 239.255.255.250:1900\r\n"
                          "NT: urn:schemas-upnp-org:device:basic:1\r\n"
                          "NTS: ssdp:alive\r\n\r\n";

// One assistant on loopback: sends searches from its own port and collects
// the replies that reach it.
class Searcher {
public:
    Searcher() { m_socket.bind(QHostAddress::LocalHost, 0); }
    int port() const { return m_socket.localPort(); }
    void search(int responderPort, const QByteArray& datagram)
    {
        m_socket.writeDatagram(datagram, QHostAddress::LocalHost, quint16(responderPort));
    }
    QList<QByteArray> replies()
    {
        QList<QByteArray> result;
        while (m_socket.hasPendingDatagrams())
            result.append(m_socket.receiveDatagram().data());
        return result;
    }

private:
    QUdpSocket m_socket;
};

// The discovery and reply sockets on an ephemeral port of every local
// address, wired as the window wires them.
class Responder {
public:
    Responder()
    {
        m_upnp.setPort(0);
        m_upnp.Connect();
        // Port is what the reply's LOCATION line is derived from.
        m_upnp.setPort(m_upnp.boundPort());
        m_send.setBindsPort(false);
        QObject::connect(&m_upnp, &UDPSocket::DataAvailable, [this] {
            DiscoveryResponder::UPnPSocket_DataAvailable(m_upnp, m_send);
        });
    }
    ~Responder()
    {
        m_upnp.Close();
        m_send.Close();
    }
    int port() const { return m_upnp.Port(); }

private:
    UDPSocket m_upnp;
    UDPSocket m_send;
};

class DiscoveryResponderTest : public ServiceTest {
protected:
    int responderPort() const { return m_responder.port(); }
    static void runLoop(std::chrono::milliseconds duration)
    {
        QEventLoop loop;
        QTimer::singleShot(duration, &loop, &QEventLoop::quit);
        loop.exec();
    }
    QByteArray expectedReply() const { return expectedReply(QStringLiteral("127.0.0.1"), responderPort()); }
    static QByteArray expectedReply(const QString& localAddress, int discoveryPort)
    {
        return "HTTP/1.1 200 OK\r\n"
               "CACHE-CONTROL: max-age=100\r\n"
               "EXT:\r\n"
               "LOCATION: http://"
               + localAddress.toUtf8() + ':' + QByteArray::number(discoveryPort + 1)
               + "/description.xml\r\n"
                 "SERVER: FreeRTOS/7.4.2, UPnP/1.1, HalvoryHUB/0.0.1\r\n"
                 "ST: urn:schemas-upnp-org:device:basic:1\r\n"
                 "USN: uuid:"
               + Bridge::DeviceUUID.toUtf8() + "\r\n\r\n";
    }
    QStringList datagramLog(const Searcher& searcher, const QByteArray& data) const
    {
        const QStringList dataLines = QString::fromUtf8(data).split(QLatin1Char('\n'));
        return QStringList{"Detected Generic UPnP discovery packet. Checking if it came from Alexa",
                           "---- UPnP DATA START 127.0.0.1:" + QString::number(searcher.port())
                               + " ----"}
               + dataLines + QStringList{"---- UPnP DATA END ----"};
    }

private:
    Responder m_responder;
};

TEST_F(DiscoveryResponderTest, BasicSearchGetsTheReplyAtItsOwnPort)
{
    Searcher searcher;
    searcher.search(responderPort(), BasicSearch);
    runLoop(ReplyWait);
    EXPECT_EQ(searcher.replies(), QList<QByteArray>{expectedReply()});
    EXPECT_EQ(status.texts, QStringList{"Detected Generic UPnP discovery packet"});
    EXPECT_EQ(logLines(), datagramLog(searcher, BasicSearch)
                              + QStringList{"Detected Alexa UPnP discovery packet. Sending response"});
}

TEST_F(DiscoveryResponderTest, NotifyIsLoggedAndShownButNotAnswered)
{
    Searcher searcher;
    searcher.search(responderPort(), Notify);
    runLoop(ReplyWait);
    EXPECT_TRUE(searcher.replies().isEmpty());
    EXPECT_EQ(status.texts, QStringList{"Detected Generic UPnP discovery packet"});
    EXPECT_EQ(logLines(), datagramLog(searcher, Notify));
}

struct StrictnessCase {
    const char* name;
    QByteArray datagram;
    bool lessStrict;
    bool answered;
};

// Test names carry the row name; print it instead of the row's bytes.
void PrintTo(const StrictnessCase& row, std::ostream* out)
{
    *out << row.name;
}

const StrictnessCase strictnessCases[] = {
    {"BasicStrict", BasicSearch, false, true},
    {"BasicLessStrict", BasicSearch, true, true},
    {"AllStrict", AllSearch, false, false},
    {"AllLessStrict", AllSearch, true, true},
    {"NotifyLessStrict", Notify, true, false},
    {"SearchWithoutDiscover", "M-SEARCH * HTTP/1.1\r\nST: urn:schemas-upnp-org:device:basic:1\r\n\r\n",
     true, false},
    {"LowerCaseMethod", "m-search * HTTP/1.1\r\nMAN: \"ssdp:discover\"\r\nST: ssdp:all\r\n\r\n", true,
     false},
};

class DiscoveryStrictnessTest : public DiscoveryResponderTest,
                                public ::testing::WithParamInterface<StrictnessCase> {};

TEST_P(DiscoveryStrictnessTest, AnswersOnlyWhatPassesTheTest)
{
    const StrictnessCase& c = GetParam();
    app.LessStrictUPNP = c.lessStrict;
    Searcher searcher;
    searcher.search(responderPort(), c.datagram);
    runLoop(ReplyWait);
    EXPECT_EQ(searcher.replies().size(), c.answered ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Datagrams, DiscoveryStrictnessTest, ::testing::ValuesIn(strictnessCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DiscoveryResponderTest, TwoSearchersGetOneReplyEach)
{
    Searcher first;
    Searcher second;
    first.search(responderPort(), BasicSearch);
    second.search(responderPort(), BasicSearch);
    runLoop(ReplyWait);
    EXPECT_EQ(first.replies(), QList<QByteArray>{expectedReply()});
    EXPECT_EQ(second.replies(), QList<QByteArray>{expectedReply()});
}

// Searches from two interfaces, all waiting before the responder reads one:
// each reply names the address at which its own searcher reaches the bridge.
TEST_F(DiscoveryResponderTest, EachReplyNamesTheAddressOfItsSearchersInterface)
{
    PrivateSubnets subnets;
    TOLVANE_REQUIRE_PRIVATE_SUBNETS(subnets);
    Responder responder;
    std::array<QUdpSocket, 2> searchers;
    for (size_t end = 0; end < searchers.size(); ++end)
        ASSERT_TRUE(searchers[end].bind(QHostAddress(PrivateSubnets::Addresses[end]), 0));
    for (size_t end : {0, 1, 0, 1})
        searchers[end].writeDatagram(BasicSearch, QHostAddress(PrivateSubnets::Addresses[end]),
                                     quint16(responder.port()));
    runLoop(ReplyWait);

    for (size_t end = 0; end < searchers.size(); ++end) {
        const QByteArray reply = expectedReply(PrivateSubnets::Addresses[end], responder.port());
        QList<QByteArray> replies;
        while (searchers[end].hasPendingDatagrams())
            replies.append(searchers[end].receiveDatagram().data());
        EXPECT_EQ(replies, QList<QByteArray>({reply, reply})) << PrivateSubnets::Addresses[end].toStdString();
    }
    QStringList senders;
    for (const QString& line : logLines())
        if (line.startsWith("---- UPnP DATA START "))
            senders.append(line.section(' ', 4, 4).section(':', 0, 0));
    EXPECT_EQ(senders.join(' '), QStringList({PrivateSubnets::Addresses[0], PrivateSubnets::Addresses[1],
                                              PrivateSubnets::Addresses[0], PrivateSubnets::Addresses[1]})
                                     .join(' '));
}

TEST_F(DiscoveryResponderTest, LessStrictIsReadAtEachDatagram)
{
    Searcher searcher;
    searcher.search(responderPort(), AllSearch);
    runLoop(ReplyWait);
    app.LessStrictUPNP = true;
    searcher.search(responderPort(), AllSearch);
    runLoop(ReplyWait);
    EXPECT_EQ(searcher.replies().size(), 1);
}

TEST_F(DiscoveryResponderTest, NothingIsLoggedWhileLoggingIsOff)
{
    app.ShouldLog = false;
    Searcher searcher;
    searcher.search(responderPort(), BasicSearch);
    runLoop(ReplyWait);
    EXPECT_EQ(searcher.replies().size(), 1);
    EXPECT_TRUE(logLines().isEmpty());
}

TEST(DiscoveryReplyTest, ListenerPortIsOneAboveTheDiscoveryPort)
{
    const QByteArray reply = DiscoveryResponder::discoveryReply("192.168.1.20", Bridge::DiscoveryPort);
    EXPECT_TRUE(reply.contains("\r\nLOCATION: http://192.168.1.20:1901/description.xml\r\n"));
    EXPECT_TRUE(reply.endsWith("\r\nUSN: uuid:" + Bridge::DeviceUUID.toUtf8() + "\r\n\r\n"));
}

} // namespace
