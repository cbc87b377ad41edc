#include "LockHolder.h"
#include "SettingsStore.h"
#include "TestApp.h"

#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>

namespace {

// A write gives up on a held lock within a few seconds; the writer here lets
// go only after this, so a write that waits for it still ends.
constexpr std::chrono::seconds WriterKeepsTheLock{12};
constexpr std::chrono::seconds GiveUpBound{8};

class Settings : public ::testing::Test {
protected:
    void SetUp() override
    {
        SettingsStore::setDefaultFileName(m_dir.filePath("settings.json"));
    }

    void store(const QString& key, const QVariant& value)
    {
        SettingsStore store;
        store.SetAppValue(key, SettingsValue::fromVariant(value));
        ASSERT_TRUE(store.AppSynchronize());
    }

    QString fileName() const { return m_dir.filePath("settings.json"); }

    QTemporaryDir m_dir;
    TestApp t;
};

TEST_F(Settings, EmptyStoreGivesTheDefaultsAndStaysEmpty)
{
    t.app.ShouldLog = true;
    t.app.UserName = "start";
    t.app.ReadPrefs();
    EXPECT_TRUE(t.app.RunningLocal);
    EXPECT_FALSE(t.app.ShouldLog);
    EXPECT_FALSE(t.app.LessStrictUPNP);
    EXPECT_EQ(t.app.UserName, "");
    EXPECT_EQ(t.app.PW, "");
    EXPECT_EQ(t.app.IPAddress, "");
    EXPECT_FALSE(QFile::exists(fileName()));
}

TEST_F(Settings, ValuesOfAnotherTypeGiveTheDefault)
{
    struct Row {
        const char* name;
        QString key;
        QVariant stored;
        bool core::App::*flag;
        bool expected;
    };
    const Row rows[] = {
        {"number under Running Local", "Running Local", 0, &core::App::RunningLocal, true},
        {"text under Running Local", "Running Local", "false", &core::App::RunningLocal, true},
        {"Boolean under Running Local", "Running Local", false, &core::App::RunningLocal, false},
        {"Boolean under Should Log", "Should Log", true, &core::App::ShouldLog, true},
        {"number under Should Log", "Should Log", 1, &core::App::ShouldLog, false},
        {"text under Should Log", "Should Log", "true", &core::App::ShouldLog, false},
        {"the caption is not the key", "Less Strict UPnP", true, &core::App::LessStrictUPNP, false},
        {"Boolean under Less Strict UPNP", "Less Strict UPNP", true, &core::App::LessStrictUPNP, true},
    };
    for (const Row& row : rows) {
        QFile::remove(fileName());
        store(row.key, row.stored);
        t.app.ReadPrefs();
        EXPECT_EQ(t.app.*row.flag, row.expected) << row.name;
    }
}

TEST_F(Settings, TextsAreReadOnlyFromTexts)
{
    store("PW", "");
    store("IPAddress", true);
    store("User Name", 5);
    t.app.PW = t.app.IPAddress = t.app.UserName = "before";
    t.app.ReadPrefs();
    EXPECT_EQ(t.app.PW, "");
    EXPECT_EQ(t.app.IPAddress, "");
    EXPECT_EQ(t.app.UserName, "");
}

TEST_F(Settings, WrittenValuesComeBackInTheNextRun)
{
    t.app.RunningLocal = false;
    t.app.ShouldLog = true;
    t.app.LessStrictUPNP = true;
    t.app.UserName = "joe";
    t.app.PW = R"(pä"ss\word)";
    t.app.IPAddress = "";
    t.app.WritePref();
    t.app.WritePref();

    const SettingsStore stored;
    EXPECT_TRUE(stored.CopyAppValue("Running Local").isBoolean());
    EXPECT_TRUE(stored.CopyAppValue("IPAddress").isText());
    EXPECT_EQ(stored.CopyAppValue("PW").toText(), R"(pä"ss\word)");

    TestApp next;
    next.app.ReadPrefs();
    EXPECT_FALSE(next.app.RunningLocal);
    EXPECT_TRUE(next.app.ShouldLog);
    EXPECT_TRUE(next.app.LessStrictUPNP);
    EXPECT_EQ(next.app.UserName, "joe");
    EXPECT_EQ(next.app.PW, R"(pä"ss\word)");
    EXPECT_EQ(next.app.IPAddress, "");
}

TEST_F(Settings, WritePrefCommitsWhatWasSetBeforeIt)
{
    SettingsStore window;
    window.SetAppValue("List Box Size", SettingsValue::text("1,2,3,4"));
    t.app.WritePref();
    EXPECT_EQ(SettingsStore().CopyAppValue("List Box Size").toText(), "1,2,3,4");
}

TEST_F(Settings, AWritePrefThatCannotGetTheLockSaysSo)
{
    const LockHolder writer(fileName() + ".lock", WriterKeepsTheLock);
    ASSERT_TRUE(writer.tookIt());
    const auto started = std::chrono::steady_clock::now();
    t.app.WritePref();
    EXPECT_LT(std::chrono::steady_clock::now() - started, GiveUpBound) << "the write waited for the lock";
    EXPECT_EQ(t.status.current(), "Unable to store settings");
}

} // namespace
