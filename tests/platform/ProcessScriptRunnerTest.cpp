#include "ProcessScriptRunner.h"
#include "QuitSignals.h"
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace {
using Status = ScriptResult::Status;

using namespace std::chrono_literals;

// A short limit keeps the timeout row quick; the other programs end at once.
constexpr std::chrono::milliseconds ShortLimit = 300ms;
// Far longer than a quit may take to end a run.
constexpr std::chrono::milliseconds LongLimit = 60s;

class ProcessScriptRunnerTest : public ::testing::Test {
protected:
    // Writes an executable shell program into the test's own folder.
    QString program(const QString& name, const QByteArray& body)
    {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(TestEnvironment::writeFile(path, "#!/bin/sh\n" + body + "\n"));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }
    QString path(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

struct Row {
    const char* name;
    QByteArray body;
    Status status;
    QString text;
};
} // namespace

TEST_F(ProcessScriptRunnerTest, ResultFollowsExitAndOutput)
{
    const Row rows[] = {
        {"result with one line feed", "cat >/dev/null; printf 'Lampe \\303\\251\\n'", Status::Success,
         QStringLiteral("Lampe é")},
        {"only one line feed removed", "printf 'a\\n\\n'", Status::Success, "a\n"},
        {"no line feed", "printf 'b'", Status::Success, "b"},
        {"empty result", "true", Status::Success, ""},
        {"exit 1 drops output", "printf 'partial\\n'; exit 1", Status::Failed, ""},
        {"crash", "kill -SEGV $$", Status::Failed, ""},
    };
    for (const Row& row : rows) {
        ProcessScriptRunner runner(program(row.name, row.body), ShortLimit * 10);
        const ScriptResult result = runner.execute("tell application \"Halvory\"\r");
        EXPECT_EQ(result.status, row.status) << row.name;
        EXPECT_EQ(result.text, row.text) << row.name;
    }
}

TEST_F(ProcessScriptRunnerTest, ScriptArrivesOnStandardInputExactly)
{
    const QString received = path("stdin");
    ProcessScriptRunner runner(program("record", "cat > '" + received.toUtf8() + "'"));
    const QString script = QStringLiteral("tell application \"Halvory\"\r\tturnon \"Küche\"\rend tell\r");
    EXPECT_TRUE(runner.execute(script).hasResult());

    QFile file(received);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), script.toUtf8());
}

TEST_F(ProcessScriptRunnerTest, MissingProgramFails)
{
    ProcessScriptRunner runner(path("no-such-program"));
    const ScriptResult result = runner.execute("x");
    EXPECT_EQ(result.status, Status::Failed);
    EXPECT_FALSE(result.hasResult());
}

TEST_F(ProcessScriptRunnerTest, ProgramPastTheLimitIsKilled)
{
    const QString pidFile = path("pid");
    ProcessScriptRunner runner(program("hang", "echo $$ > '" + pidFile.toUtf8() + "'; exec sleep 60"),
                               ShortLimit);
    EXPECT_EQ(runner.execute("x").status, Status::TimedOut);

    QFile file(pidFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const pid_t pid = file.readAll().trimmed().toInt();
    ASSERT_GT(pid, 0);
    EXPECT_NE(::kill(pid, 0), 0) << "the child still runs";
}

// The pid that a program started by the runner writes to `pidFile`, once
// it is there; 0 when it never comes.
static pid_t awaitPid(const QString& pidFile)
{
    for (int attempt = 0; attempt < 500; ++attempt) {
        QFile file(pidFile);
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray text = file.readAll();
            if (text.endsWith('\n'))
                return text.trimmed().toInt();
        }
        QThread::msleep(20);
    }
    return 0;
}

TEST_F(ProcessScriptRunnerTest, QuitSignalEndsTheRunAndReapsTheChild)
{
    const QString pidFile = path("pid");
    ProcessScriptRunner runner(program("slow host", "echo $$ > '" + pidFile.toUtf8() + "'; exec sleep 60"),
                               LongLimit);
    bool quitCalled = false;
    QuitSignals quitSignals([&] { quitCalled = true; });
    pid_t child = 0;
    std::thread sender([&] {
        child = awaitPid(pidFile);
        ::kill(::getpid(), SIGTERM);
    });
    const ScriptResult result = runner.execute("x");
    sender.join();

    EXPECT_EQ(result.status, Status::Failed) << "ended by the quit, not by the time limit";
    ASSERT_GT(child, 0);
    EXPECT_NE(::kill(child, 0), 0) << "the child still runs or was not reaped";
    EXPECT_TRUE(QuitSignals::received());
    EXPECT_EQ(runner.execute("x").status, Status::Failed) << "no new run once quitting";

    QCoreApplication::processEvents();
    EXPECT_TRUE(quitCalled) << "the quit still reaches the event loop";
}

TEST(ProcessScriptRunnerDefaults, ProgramIsTheBuildsRunner)
{
    EXPECT_FALSE(ProcessScriptRunner::defaultProgram().isEmpty());
    EXPECT_EQ(ProcessScriptRunner().program(), ProcessScriptRunner::defaultProgram());
}
