#include "BridgeClient.h"
#include "SettingsStore.h"
#include "TestEnvironment.h"
#include "TolvaneProcess.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QThread>
#include <QUdpSocket>
#include <chrono>
#include <gtest/gtest.h>

namespace {

// The browser searches for 10 s; this bounds its whole run.
constexpr std::chrono::seconds BrowseLimit{20};

QJsonObject unit(const char* name, const char* id, bool dimmable, int value)
{
    return {{"name", name}, {"ID", id}, {"dimmable", dimmable}, {"value", value}};
}

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        TOLVANE_REQUIRE_NETNS();
        tolvane.writeUnits({unit("Desk Lamp", "1", true, 0), unit("Hall Light", "2", true, 40),
                            unit("Fan", "3", false, 0)});
    }

    // Turns "Debug to Log" on before the first start, as a user would have.
    void storeSettings()
    {
        SettingsStore store(tolvane.settingsFile());
        store.SetAppValue("Should Log", SettingsValue::boolean(true));
        store.SetAppValue("List Box Size", SettingsValue::text("10,200,50,40"));
        ASSERT_TRUE(store.AppSynchronize());
    }

    TolvaneProcess tolvane;
};

TEST_F(EndToEnd, OneVoiceCommandFromSearchToHost)
{
    storeSettings();
    ASSERT_TRUE(tolvane.start()) << tolvane.output().toStdString();

    const QByteArray reply =
        BridgeClient::search("127.0.0.1", BridgeClient::mSearch("urn:schemas-upnp-org:device:basic:1"));
    ASSERT_TRUE(reply.startsWith("HTTP/1.1 200 OK\r\n")) << reply.toStdString();
    const QRegularExpressionMatch location =
        QRegularExpression("LOCATION: http://127\\.0\\.0\\.1:1901(/description\\.xml)\r\n")
            .match(QString::fromLatin1(reply));
    ASSERT_TRUE(location.hasMatch()) << reply.toStdString();

    const QByteArray description = BridgeClient::http("GET", location.captured(1).toLatin1());
    EXPECT_TRUE(description.contains("<URLBase>http://127.0.0.1:1901/</URLBase>"));

    const QByteArray lights = BridgeClient::body(BridgeClient::http("GET", "/api/alexa/lights"));
    EXPECT_TRUE(lights.startsWith(R"({"0":{"name":"Desk Lamp",)")) << lights.toStdString();
    EXPECT_TRUE(lights.contains(R"("2":{"name":"Fan",)"));

    const QByteArray one = BridgeClient::body(BridgeClient::http("GET", "/api/alexa/lights/1"));
    EXPECT_TRUE(one.contains(R"("state":{"on":true,"bri":102,)")) << one.toStdString();

    EXPECT_EQ(BridgeClient::body(BridgeClient::http("PUT", "/api/alexa/lights/0/state", R"({"on":true})")),
              R"([{"success":{"/lights/0/state/on":true}},{"success":{"/lights/0/state/bri":255}}])");
    EXPECT_EQ(BridgeClient::body(BridgeClient::http("PUT", "/api/alexa/lights/1/state", R"({"bri":128})")),
              R"([{"success":{"/lights/1/state/on":true}},{"success":{"/lights/1/state/bri":128}}])");
    EXPECT_EQ(tolvane.units()[0].toObject()["value"].toInt(), 100);
    EXPECT_EQ(tolvane.units()[1].toObject()["value"].toInt(), 50);

    const QString log = TestEnvironment::fileText(tolvane.logFile());
    EXPECT_TRUE(log.contains(": Halvory Tolvane has started.\n"));
    EXPECT_TRUE(log.contains(": Detected Alexa UPnP discovery packet. Sending response\n"));
    EXPECT_TRUE(log.contains(": Inbound Request: PUT /api/alexa/lights/1/state HTTP/1.1\n"));
    EXPECT_TRUE(log.contains(": {\"bri\":128}\n"));

    ASSERT_TRUE(tolvane.stop());
    const SettingsStore stored(tolvane.settingsFile());
    EXPECT_TRUE(stored.CopyAppValue("Should Log").toBool());
    EXPECT_TRUE(stored.CopyAppValue("Running Local").isBoolean());
    EXPECT_TRUE(stored.CopyAppValue("PW").isText());
    const SettingsValue widths = stored.CopyAppValue("List Box Size");
    ASSERT_TRUE(widths.isText());
    EXPECT_EQ(widths.toText().count(','), 3);

    // The next run starts from what the last one stored.
    ASSERT_TRUE(tolvane.start());
    ASSERT_TRUE(tolvane.stop());
    EXPECT_EQ(TestEnvironment::fileText(tolvane.logFile()).count(": Halvory Tolvane has started.\n"), 2);
    EXPECT_EQ(SettingsStore(tolvane.settingsFile()).CopyAppValue("List Box Size").toText(), widths.toText());
}

// Another program holds one of the bridge's ports, bound without address
// sharing as most programs bind, while Tolvane starts.
struct HeldPortRow {
    const char* name;
    bool holdsDiscovery; // else the listener's port
    const char* logLine;
};

void PrintTo(const HeldPortRow& row, std::ostream* out)
{
    *out << row.name;
}

class HeldPortAtStart : public EndToEnd, public ::testing::WithParamInterface<HeldPortRow> {
protected:
    // Whether the log file gets the line within the start limit.
    bool logged(const QString& line)
    {
        QElapsedTimer timer;
        timer.start();
        while (!TestEnvironment::fileText(tolvane.logFile()).contains(": " + line + "\n")) {
            if (timer.elapsed() > TolvaneProcess::StartLimit.count())
                return false;
            QThread::msleep(50);
        }
        return true;
    }
};

TEST_P(HeldPortAtStart, IsLoggedAndTheOtherPortServes)
{
    const HeldPortRow& row = GetParam();
    storeSettings();
    QUdpSocket discoveryHolder;
    QTcpServer listenerHolder;
    if (row.holdsDiscovery) {
        ASSERT_TRUE(discoveryHolder.bind(QHostAddress::AnyIPv4, Bridge::DiscoveryPort,
                                         QAbstractSocket::DontShareAddress));
        ASSERT_TRUE(tolvane.start()) << tolvane.output().toStdString();
        EXPECT_TRUE(logged(row.logLine));
        EXPECT_TRUE(BridgeClient::http("GET", "/api/alexa/lights").startsWith("HTTP/1.1 200 OK\r\n"));
    } else {
        ASSERT_TRUE(listenerHolder.listen(QHostAddress::AnyIPv4, Bridge::HTTPPort));
        // The listener starts last; its line says the open handling is over.
        ASSERT_TRUE(tolvane.launch());
        EXPECT_TRUE(logged(row.logLine)) << TestEnvironment::fileText(tolvane.logFile()).toStdString();
        EXPECT_TRUE(BridgeClient::search("127.0.0.1", BridgeClient::mSearch("urn:schemas-upnp-org:device:basic:1"))
                        .startsWith("HTTP/1.1 200 OK\r\n"));
    }
    ASSERT_TRUE(tolvane.stop());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, HeldPortAtStart,
    ::testing::Values(HeldPortRow{"Discovery", true, "Unable to bind UDP port 1900"},
                      HeldPortRow{"Listener", false, "Unable to listen on TCP port 1901"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EndToEnd, MulticastSearchIsAnswered)
{
    ASSERT_TRUE(tolvane.start());
    const QByteArray reply = BridgeClient::search(
        "239.255.255.250", BridgeClient::mSearch("urn:schemas-upnp-org:device:basic:1"));
    EXPECT_TRUE(reply.contains("\r\nST: urn:schemas-upnp-org:device:basic:1\r\n")) << reply.toStdString();
    EXPECT_TRUE(reply.contains("\r\nLOCATION: http://127.0.0.1:1901/description.xml\r\n"));
}

TEST_F(EndToEnd, AnSsdpClientOfAnotherStackFindsTheBridge)
{
    ASSERT_TRUE(tolvane.start());
    QProcess browser;
    browser.start("/usr/bin/python3", {TestEnvironment::sourceDir() + "/tests/e2e/ssdp_browse.py", "lo",
                                       "urn:schemas-upnp-org:device:basic:1", "10"});
    ASSERT_TRUE(browser.waitForFinished(int(std::chrono::milliseconds(BrowseLimit).count())));
    const QString found = QString::fromUtf8(browser.readAllStandardOutput());
    EXPECT_EQ(browser.exitCode(), 0) << browser.readAllStandardError().toStdString();
    EXPECT_TRUE(found.startsWith("uuid:")) << found.toStdString();
    EXPECT_TRUE(found.contains("http://127.0.0.1:1901/description.xml"));
}

} // namespace
