#include "RecordingScriptRunner.h"

namespace {
bool isUnitListScript(const QString& source)
{
    return source.contains(QStringLiteral("with extract"));
}
} // namespace

ScriptResult RecordingScriptRunner::execute(const QString& source)
{
    m_scripts.append(source);
    if (!isUnitListScript(source))
        return {ScriptResult::Status::Success, QString()};
    if (!m_unitListText)
        return {ScriptResult::Status::Failed, QString()};
    return {ScriptResult::Status::Success, *m_unitListText};
}

QStringList RecordingScriptRunner::commands() const
{
    QStringList result;
    for (const QString& script : m_scripts)
        if (!isUnitListScript(script))
            result.append(script);
    return result;
}
