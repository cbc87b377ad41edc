#include "HostScripts.h"

#include <algorithm>
#include <iterator>

namespace {

const QString LocalHeader = QStringLiteral("tell Application \"Halvory\"");
const QString RemoteHeaderStart = QStringLiteral("tell Application \"Halvory\" of machine \"eppc://");
const QString EndTell = QStringLiteral("end tell");

// Defined at the script's top level, before its tell block, and called in it
// as "my escapedForJSON(...)": gives a host value as the text of a JSON
// string. A backslash or double quote gets a backslash before it and each
// control character U+0000-U+001F becomes \u00XX; any other value comes back
// as the scripting language joins it to text. The backslash goes first, so
// the escapes added after it are not escaped again.
const QStringList JSONTextHandlers = {
    QStringLiteral(R"(on escapedForJSON(theValue))"),
    QStringLiteral(R"(set savedDelimiters to AppleScript's text item delimiters)"),
    QStringLiteral(R"(set theText to replacedText(theValue as text, "\\", "\\\\"))"),
    QStringLiteral(R"(set theText to replacedText(theText, "\"", "\\\""))"),
    QStringLiteral(R"(repeat with codePoint from 0 to 31)"),
    QStringLiteral(R"(set theText to replacedText(theText, character id codePoint, "\\u00" & (codePoint div 16) & character (codePoint mod 16 + 1) of "0123456789abcdef"))"),
    QStringLiteral(R"(end repeat)"),
    QStringLiteral(R"(set AppleScript's text item delimiters to savedDelimiters)"),
    QStringLiteral(R"(return theText)"),
    QStringLiteral(R"(end escapedForJSON)"),
    QStringLiteral(R"(on replacedText(theText, oldText, newText))"),
    QStringLiteral(R"(set AppleScript's text item delimiters to oldText)"),
    QStringLiteral(R"(set theItems to text items of theText)"),
    QStringLiteral(R"(set AppleScript's text item delimiters to newText)"),
    QStringLiteral(R"(return theItems as text)"),
    QStringLiteral(R"(end replacedText)"),
};

// Joins one unit's record to the text, each value escaped.
const QStringList RecordLines = {
    QStringLiteral(R"(set retString to retString & "\"name\":\"" & my escapedForJSON(hvName of singleUnit) & "\",")"),
    QStringLiteral(R"(set retString to retString & "\"ID\":\"" & my escapedForJSON(hvID of singleUnit) & "\",")"),
    QStringLiteral(R"(set retString to retString & "\"dimmable\":\"" & my escapedForJSON(hvDimmable of singleUnit) & "\",")"),
    QStringLiteral(R"(set retString to retString & "\"value\":\"" & my escapedForJSON(hvValue of singleUnit) & "\"")"),
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

// The escapes of a quoted literal: the character and the letter after its
// backslash. Line breaks are escaped too, so that every literal stays on its
// line; other control characters go in as they are.
struct EscapeLetter {
    QChar character;
    QChar letter;
};
constexpr EscapeLetter EscapeLetters[] = {
    {u'\\', u'\\'}, {u'"', u'"'}, {u'\r', u'r'}, {u'\n', u'n'}, {u'\t', u't'},
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
    return lines(JSONTextHandlers) + script(header, UnitListLines);
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
        const auto letter = std::find_if(std::begin(EscapeLetters), std::end(EscapeLetters),
                                         [c](const EscapeLetter& e) { return e.character == c; });
        if (letter == std::end(EscapeLetters)) {
            result += c;
        } else {
            result += QLatin1Char('\\');
            result += letter->letter;
        }
    }
    return result;
}

QString HostScripts::script(const QString& header, const QStringList& body)
{
    return header + LineEnd + lines(body) + EndTell + LineEnd;
}

QString HostScripts::lines(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines)
        text += line + LineEnd;
    return text;
}
