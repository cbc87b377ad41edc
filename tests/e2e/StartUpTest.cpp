#include "SettingsStore.h"
#include "TestEnvironment.h"
#include "TolvaneProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A start after a crash once waited half a minute for a lock; a loaded
// machine still starts far sooner than this.
constexpr std::chrono::seconds StartAfterCrashBound{10};

const QString ColumnWidthsKey = QStringLiteral("List Box Size");

QString instanceLock(const TolvaneProcess& tolvane)
{
    return QFileInfo(tolvane.settingsFile()).dir().filePath("Tolvane.lock");
}

// The processes whose parent is `parent`, from their /proc entries.
QList<pid_t> childrenOf(qint64 parent)
{
    QList<pid_t> children;
    const QStringList entries = QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool isPid = false;
        const pid_t pid = entry.toInt(&isPid);
        if (!isPid)
            continue;
        // "pid (comm) state ppid ...": the name may hold blanks and brackets.
        const QByteArray stat = TestEnvironment::fileBytes("/proc/" + entry + "/stat");
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields.at(1).toLongLong() == parent)
            children.append(pid);
    }
    return children;
}

bool isRunning(pid_t pid)
{
    return ::kill(pid, 0) == 0;
}

class StartUp : public ::testing::Test {
protected:
    void SetUp() override { TOLVANE_REQUIRE_NETNS(); }

    TolvaneProcess tolvane;
};

TEST_F(StartUp, ASecondCopyForTheSameUserRefusesToRun)
{
    ASSERT_TRUE(tolvane.start()) << tolvane.output().toStdString();
    const QByteArray settingsBefore = TestEnvironment::fileBytes(tolvane.settingsFile());
    const QDateTime modifiedBefore = QFileInfo(tolvane.settingsFile()).lastModified();

    QByteArray output;
    EXPECT_EQ(tolvane.runAnother(&output), 1);
    EXPECT_EQ(output, "Tolvane is already running\n");
    EXPECT_EQ(TestEnvironment::fileBytes(tolvane.settingsFile()), settingsBefore);
    EXPECT_EQ(QFileInfo(tolvane.settingsFile()).lastModified(), modifiedBefore);
    EXPECT_EQ(TestEnvironment::fileText(tolvane.logFile()).count(": Halvory Tolvane has started."), 1)
        << "the second copy wrote to the log";

    // The first copy still serves, and stores its own settings at quit.
    ASSERT_TRUE(tolvane.stop());
    EXPECT_TRUE(SettingsStore(tolvane.settingsFile()).CopyAppValue(ColumnWidthsKey).isText());
    EXPECT_FALSE(QFile::exists(instanceLock(tolvane))) << "the lock goes with the copy that held it";
}

TEST_F(StartUp, LocksLeftByACrashDoNotHoldTheNextStart)
{
    ASSERT_TRUE(tolvane.start());
    tolvane.killHard();
    ASSERT_TRUE(QFile::exists(instanceLock(tolvane))) << "a killed copy leaves its lock";
    ASSERT_TRUE(tolvane.start()) << "the lock of a killed copy is taken at once";
    tolvane.killHard();

    // A crash between making a lock file and writing its owner into it
    // leaves it empty: the instance lock, and the lock of a settings write
    // that a crash during quit cut short.
    ASSERT_TRUE(TestEnvironment::writeFile(instanceLock(tolvane), ""));
    ASSERT_TRUE(TestEnvironment::writeFile(tolvane.settingsFile() + ".lock", ""));
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(tolvane.start()) << tolvane.output().toStdString();
    EXPECT_LT(std::chrono::steady_clock::now() - started, StartAfterCrashBound);
    EXPECT_TRUE(tolvane.stop());
}

// A FIFO as the stand-in's unit store holds the host in its first read,
// as a host that is slow to answer would, until its other end is opened.
class SlowHost : public StartUp {
protected:
    void SetUp() override
    {
        StartUp::SetUp();
        if (IsSkipped())
            return;
        QDir().mkpath(QFileInfo(tolvane.unitStoreFile()).path());
        ASSERT_EQ(::mkfifo(QFile::encodeName(tolvane.unitStoreFile()).constData(), 0600), 0);
    }

    void TearDown() override
    {
        // Lets a host that is still waiting read an empty store and end.
        const int fd = ::open(QFile::encodeName(tolvane.unitStoreFile()).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
        if (m_host > 0 && isRunning(m_host))
            ::kill(m_host, SIGKILL);
    }

    // The host program that tolvane has started, once it runs.
    pid_t awaitHost()
    {
        for (int attempt = 0; attempt < 300 && m_host == 0; ++attempt) {
            const QList<pid_t> children = childrenOf(tolvane.pid());
            if (!children.isEmpty())
                m_host = children.first();
            else
                QThread::msleep(50);
        }
        return m_host;
    }

    pid_t m_host = 0;
};

TEST_F(SlowHost, AQuitSignalDuringTheFirstHostReadQuitsThroughTheQuitSequence)
{
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        QFile::remove(tolvane.settingsFile());
        m_host = 0;
        ASSERT_TRUE(tolvane.launch());
        const pid_t host = awaitHost();
        ASSERT_GT(host, 0) << "the host program never started";

        ::kill(static_cast<pid_t>(tolvane.pid()), signal);
        ASSERT_TRUE(tolvane.waitForExit()) << tolvane.output().toStdString();
        EXPECT_EQ(tolvane.exitCode(), 0);
        EXPECT_FALSE(isRunning(host)) << "the host program was left running, or not reaped";

        const SettingsStore stored(tolvane.settingsFile());
        EXPECT_TRUE(stored.CopyAppValue(ColumnWidthsKey).isText()) << "the window's close handling ran";
        EXPECT_TRUE(stored.CopyAppValue("Running Local").isBoolean());
    }
}

} // namespace
