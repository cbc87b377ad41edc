#include "HostScripts.h"

namespace {

const QString LocalHeader = QStringLiteral("tell Application \"Halvory\"");
const QString RemoteHeaderStart = QStringLiteral("tell Application \"Halvory\" of machine \"eppc://");
const QString EndTell = QStringLiteral("end tell");

// Joins one unit's record to the text. The host's values go in as they are,
// without escaping.
const QStringList RecordLines = {
    QStringLiteral(R"(set retString to retString & "\"name\":\"" & hvName of singleUnit & "\",")"),
    QStringLiteral(R"(set retString to retString & "\"ID\":\"" & hvID of singleUnit & "\",")"),
    QStringLiteral(R"(set retString to retString & "\"dimmable\":\"" & hvDimmable of singleUnit & "\",")"),
    QStringLiteral(R"(set retString to retString & "\"value\":\"" & hvValue of singleUnit & "\"")"),
};

// Builds the unit list text: one record per unit, the last unit's record at
// the end, any earlier unit named like the last one (ignoring case) left out.
const QStringList UnitListLines = QStringList{
    QStringLiteral(R"(set tempUnits to all of list "Tolvane" with extract)"),
    QStringLiteral(R"(set retString to "[")"),
    QStringLiteral(R"(set lastName to hvName of last item of tempUnits)"),
    QStringLiteral(R"(repeat with singleUnit in tempUnits)"),
    QStringLiteral(R"(if lastName is not equal to hvName of singleUnit then)"),
    QStringLiteral(R"(set retString to retString & "{")"),
} + RecordLines + QStringList{
    QStringLiteral(R"(set retString to retString & "},")"),
    QStringLiteral(R"(end if)"),
    QStringLiteral(R"(end repeat)"),
    QStringLiteral(R"(set retString to retString & "{")"),
} + RecordLines + QStringList{
    QStringLiteral(R"(set retString to retString & "}")"),
    QStringLiteral(R"(set retString to retString & "]")"),
    QStringLiteral(R"(return retString)"),
};

QString quoted(const QString& text)
{
    return QLatin1Char('"') + HostScripts::escaped(text) + QLatin1Char('"');
}

} // namespace

QString HostScripts::header(bool runningLocal, const QString& userName, const QString& password,
                            const QString& address)
{
    if (runningLocal)
        return LocalHeader;
    return RemoteHeaderStart + escaped(userName) + QLatin1Char(':') + escaped(password)
           + QLatin1Char('@') + escaped(address) + QLatin1Char('"');
}

QString HostScripts::unitListScript(const QString& header)
{
    return script(header, UnitListLines);
}

QString HostScripts::switchScript(const QString& header, const QString& unitName, bool on)
{
    const QString command = on ? QStringLiteral("turnon ") : QStringLiteral("turnoff ");
    return script(header, {command + quoted(unitName)});
}

QString HostScripts::brightnessScript(const QString& header, const QString& unitName, qint64 level)
{
    return script(header, {QStringLiteral("brighten ") + quoted(unitName) + QStringLiteral(" to ")
                           + QString::number(level)});
}

QString HostScripts::escaped(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('"'))
            result += QLatin1Char('\\');
        result += c;
    }
    return result;
}

QString HostScripts::script(const QString& header, const QStringList& lines)
{
    QString text = header + LineEnd;
    for (const QString& line : lines)
        text += line + LineEnd;
    return text + EndTell + LineEnd;
}
