#include "ProcessScriptRunner.h"

#include "QuitSignals.h"

#include <QDeadlineTimer>
#include <QProcess>

#include <algorithm>

namespace {
using std::chrono::milliseconds;

// After a kill the child is gone at once; this only bounds the reaping.
constexpr milliseconds KillWait{1000};
// How soon a quit signal ends a run that blocks the event loop.
constexpr milliseconds QuitCheckInterval{50};

enum class Ending { Finished, TimedOut, Quit };

ScriptResult failed()
{
    return {ScriptResult::Status::Failed, QString()};
}

// The program ends its result with one line feed, as osascript does.
QString resultText(const QByteArray& output)
{
    QString text = QString::fromUtf8(output);
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

int msecs(milliseconds duration)
{
    return int(duration.count());
}

// Waits in short steps: a quit signal cannot wake a blocking wait.
Ending waitForEnd(QProcess& process, const QDeadlineTimer& deadline)
{
    while (process.state() != QProcess::NotRunning) {
        if (QuitSignals::received())
            return Ending::Quit;
        if (deadline.hasExpired())
            return Ending::TimedOut;
        const auto left = std::chrono::duration_cast<milliseconds>(deadline.remainingTimeAsDuration());
        process.waitForFinished(msecs(std::clamp(left, milliseconds{1}, QuitCheckInterval)));
    }
    return Ending::Finished;
}

void end(QProcess& process)
{
    process.kill();
    process.waitForFinished(msecs(KillWait));
}
} // namespace

QString ProcessScriptRunner::defaultProgram()
{
    return QStringLiteral(TOLVANE_SCRIPT_RUNNER);
}

ProcessScriptRunner::ProcessScriptRunner(QString program, milliseconds timeLimit)
    : m_program(std::move(program)), m_timeLimit(timeLimit)
{
}

ScriptResult ProcessScriptRunner::execute(const QString& source)
{
    if (QuitSignals::received())
        return failed();
    const QDeadlineTimer deadline(m_timeLimit);
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(m_program, QStringList());
    if (!process.waitForStarted(int(deadline.remainingTime())))
        return failed();
    process.write(source.toUtf8());
    process.closeWriteChannel();
    switch (waitForEnd(process, deadline)) {
    case Ending::TimedOut:
        end(process);
        return {ScriptResult::Status::TimedOut, QString()};
    case Ending::Quit:
        end(process);
        return failed();
    case Ending::Finished:
        break;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return failed();
    return {ScriptResult::Status::Success, resultText(process.readAllStandardOutput())};
}
