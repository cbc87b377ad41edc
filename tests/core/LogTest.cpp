#include "LogFile.h"
#include "ProcessInfo.h"
#include "SettingsStore.h"
#include "SystemFolders.h"
#include "TestApp.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class Log : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.app.LogFI = m_dir.filePath("Halvory Tolvane.log");
        t.app.ShouldLog = true;
    }

    QTemporaryDir m_dir;
    TestApp t;
};

TEST(LogLine, DateTimeColonAndMessage)
{
    const QDateTime when(QDate(2026, 1, 2), QTime(3, 4, 5));
    EXPECT_EQ(LogFile::line(when, "Halvory Tolvane has started."),
              "2026-01-02 03:04:05: Halvory Tolvane has started.\n");
    EXPECT_EQ(LogFile::line(when, "a\r\nb"), "2026-01-02 03:04:05: a\r\nb\n");
}

TEST_F(Log, LinesAreAppendedWhileLoggingIsOn)
{
    t.app.WriteToLog("first");
    t.app.WriteToLog("M-SEARCH * HTTP/1.1\r\nMAN: \"ssdp:discover\"");
    t.app.ShouldLog = false;
    t.app.WriteToLog("not written");
    const QRegularExpression expected(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d: first\n)"
                                      R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d: M-SEARCH \* HTTP/1.1\r\n)"
                                      R"(MAN: "ssdp:discover"\n$)");
    EXPECT_TRUE(expected.match(TestEnvironment::fileText(t.app.LogFI)).hasMatch()) << TestEnvironment::fileText(t.app.LogFI).toStdString();
    EXPECT_TRUE(t.status.texts.isEmpty());
}

TEST_F(Log, NothingIsCreatedWhileLoggingIsOff)
{
    t.app.ShouldLog = false;
    t.app.WriteToLog("x");
    EXPECT_FALSE(QFile::exists(t.app.LogFI));
    EXPECT_TRUE(t.status.texts.isEmpty());
}

TEST_F(Log, LineThatDoesNotReachTheFileSetsTheStatusEveryTime)
{
    const struct {
        const char* name;
        QString path;
    } rows[] = {
        {"cannot be opened", m_dir.filePath("missing folder/Halvory Tolvane.log")},
        // Opens like any file; every write fails as on a full volume.
        {"full volume", QStringLiteral("/dev/full")},
    };
    const QString reachable = t.app.LogFI;
    for (const auto& row : rows) {
        t.status.texts.clear();
        t.app.LogFI = row.path;
        t.app.WriteToLog("one");
        t.app.WriteToLog("two");
        EXPECT_EQ(t.status.texts, QStringList({"Unable to create log file", "Unable to create log file"}))
            << row.name;
        // Logging goes on: the next line that can be written is.
        t.app.LogFI = reachable;
        t.app.WriteToLog(row.name);
        EXPECT_EQ(t.status.texts.size(), 2) << row.name;
        EXPECT_TRUE(TestEnvironment::fileText(reachable).endsWith(QString(": ") + row.name + "\n")) << row.name;
    }
    EXPECT_FALSE(QFile::exists(rows[0].path));
}

TEST_F(Log, StatusSetBeforeTheWindowExistsIsShownWhenItIsAttached)
{
    t.app.setStatusLine(nullptr);
    t.app.LogFI.clear();
    t.app.WriteToLog("lost");
    FakeStatusLine later;
    t.app.setStatusLine(&later);
    EXPECT_EQ(later.texts, QStringList{"Unable to create log file"});
}

TEST_F(Log, OpenHandlingWritesTheStartLineWhateverShouldLogHolds)
{
    SettingsStore::setDefaultFileName(m_dir.filePath("settings.json"));
    SettingsStore store;
    store.SetAppValue("Should Log", SettingsValue::boolean(false));
    ASSERT_TRUE(store.AppSynchronize());

    SystemFolders::makeStandardFolders();
    core::App app;
    app.Event_Open();
    const QString folder = QDir(SystemFolders::UserLibrary()).filePath("logs/Halvory Tolvane");
    EXPECT_EQ(app.LogFI, folder + "/Halvory Tolvane.log");
    EXPECT_TRUE(TestEnvironment::fileText(app.LogFI).endsWith(": Halvory Tolvane has started.\n"));
    EXPECT_FALSE(app.ShouldLog);
    ASSERT_TRUE(app.Activity);
    EXPECT_EQ(app.Activity->options(), 255u);
    EXPECT_EQ(app.Activity->reason(), "Starting HTTP Server that cannot Nap");
    app.Event_Close();
    EXPECT_FALSE(app.Activity);
}

} // namespace
