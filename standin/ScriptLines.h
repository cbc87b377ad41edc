#pragma once

#include <QStringView>
#include <array>

// The host script lines this host understands, without their line ends. A
// script is a header line, its body and "end tell", the unit list script with
// its handlers before them; quoted texts in it use the scripting language's
// escapes \", \\, \r, \n and \t.
namespace ScriptLines {

inline constexpr QStringView LocalHeader = uR"(tell Application "Halvory")";
// Followed by user ":" password "@" address and the closing double quote.
inline constexpr QStringView RemoteHeaderStart = uR"(tell Application "Halvory" of machine ")";
inline constexpr QStringView RemoteScheme = u"eppc://";
inline constexpr QStringView EndTell = u"end tell";

// Command lines: the keyword, a quoted unit name and, for brighten, " to "
// and a decimal level.
inline constexpr QStringView TurnOn = u"turnon ";
inline constexpr QStringView TurnOff = u"turnoff ";
inline constexpr QStringView Brighten = u"brighten ";
inline constexpr QStringView BrightenTo = u" to ";

// The handlers that the unit list script defines before its header. Its
// records call escapedForJSON on each value: the backslash and the double
// quote get a backslash, U+0000-U+001F become \u00XX.
inline constexpr std::array<QStringView, 16> UnitListHandlers = {
    uR"(on escapedForJSON(theValue))",
    uR"(set savedDelimiters to AppleScript's text item delimiters)",
    uR"(set theText to replacedText(theValue as text, "\\", "\\\\"))",
    uR"(set theText to replacedText(theText, "\"", "\\\""))",
    uR"(repeat with codePoint from 0 to 31)",
    uR"(set theText to replacedText(theText, character id codePoint, "\\u00" & (codePoint div 16) & character (codePoint mod 16 + 1) of "0123456789abcdef"))",
    u"end repeat",
    uR"(set AppleScript's text item delimiters to savedDelimiters)",
    u"return theText",
    u"end escapedForJSON",
    uR"(on replacedText(theText, oldText, newText))",
    uR"(set AppleScript's text item delimiters to oldText)",
    uR"(set theItems to text items of theText)",
    uR"(set AppleScript's text item delimiters to newText)",
    uR"(return theItems as text)",
    u"end replacedText",
};

inline constexpr QStringView NameRecord = uR"(set retString to retString & "\"name\":\"" & my escapedForJSON(hvName of singleUnit) & "\",")";
inline constexpr QStringView IDRecord = uR"(set retString to retString & "\"ID\":\"" & my escapedForJSON(hvID of singleUnit) & "\",")";
inline constexpr QStringView DimmableRecord = uR"(set retString to retString & "\"dimmable\":\"" & my escapedForJSON(hvDimmable of singleUnit) & "\",")";
inline constexpr QStringView ValueRecord = uR"(set retString to retString & "\"value\":\"" & my escapedForJSON(hvValue of singleUnit) & "\"")";

// Everything after the header of the unit list script, "end tell" included.
inline constexpr std::array<QStringView, 22> UnitListBody = {
    uR"(set tempUnits to all of list "Tolvane" with extract)",
    uR"(set retString to "[")",
    uR"(set lastName to hvName of last item of tempUnits)",
    uR"(repeat with singleUnit in tempUnits)",
    uR"(if lastName is not equal to hvName of singleUnit then)",
    uR"(set retString to retString & "{")",
    NameRecord,
    IDRecord,
    DimmableRecord,
    ValueRecord,
    uR"(set retString to retString & "},")",
    u"end if",
    u"end repeat",
    uR"(set retString to retString & "{")",
    NameRecord,
    IDRecord,
    DimmableRecord,
    ValueRecord,
    uR"(set retString to retString & "}")",
    uR"(set retString to retString & "]")",
    u"return retString",
    EndTell,
};

// The unit list that the unit list script reads.
inline constexpr QStringView UnitListName = u"Tolvane";

} // namespace ScriptLines
