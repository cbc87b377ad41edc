#include "ProcessScriptRunner.h"

#include <QDeadlineTimer>
#include <QProcess>

namespace {
// After a kill the child is gone at once; this only bounds the reaping.
constexpr int killWaitMs = 1000;

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
} // namespace

QString ProcessScriptRunner::defaultProgram()
{
    return QStringLiteral(TOLVANE_SCRIPT_RUNNER);
}

ProcessScriptRunner::ProcessScriptRunner(QString program, int timeLimitMs)
    : m_program(std::move(program)), m_timeLimitMs(timeLimitMs)
{
}

ScriptResult ProcessScriptRunner::execute(const QString& source)
{
    const QDeadlineTimer deadline(m_timeLimitMs);
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(m_program, QStringList());
    if (!process.waitForStarted(int(deadline.remainingTime())))
        return failed();
    process.write(source.toUtf8());
    process.closeWriteChannel();
    if (!process.waitForFinished(int(deadline.remainingTime())) && process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(killWaitMs);
        return {ScriptResult::Status::TimedOut, QString()};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return failed();
    return {ScriptResult::Status::Success, resultText(process.readAllStandardOutput())};
}
