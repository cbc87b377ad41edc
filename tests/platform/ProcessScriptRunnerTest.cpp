#include "ProcessScriptRunner.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

namespace {
using Status = ScriptResult::Status;

// A short limit keeps the timeout row quick; the other programs end at once.
constexpr int shortLimitMs = 300;

class ProcessScriptRunnerTest : public ::testing::Test {
protected:
    // Writes an executable shell program into the test's own folder.
    QString program(const QString& name, const QByteArray& body)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + body + "\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
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
        ProcessScriptRunner runner(program(row.name, row.body), shortLimitMs * 10);
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
                               shortLimitMs);
    EXPECT_EQ(runner.execute("x").status, Status::TimedOut);

    QFile file(pidFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const pid_t pid = file.readAll().trimmed().toInt();
    ASSERT_GT(pid, 0);
    EXPECT_NE(::kill(pid, 0), 0) << "the child still runs";
}

TEST(ProcessScriptRunnerDefaults, ProgramIsTheBuildsRunner)
{
    EXPECT_FALSE(ProcessScriptRunner::defaultProgram().isEmpty());
    EXPECT_EQ(ProcessScriptRunner().program(), ProcessScriptRunner::defaultProgram());
}
