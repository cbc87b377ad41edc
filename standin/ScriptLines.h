#pragma once

#include <QStringView>
#include <array>

// The host script lines this host understands, without their line ends. A
// script is a header line, its body and "end tell"; quoted texts in it use the
// scripting language's escapes \" and \\.
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

inline constexpr QStringView NameRecord = uR"(set retString to retString & "\"name\":\"" & hvName of singleUnit & "\",")";
inline constexpr QStringView IDRecord = uR"(set retString to retString & "\"ID\":\"" & hvID of singleUnit & "\",")";
inline constexpr QStringView DimmableRecord = uR"(set retString to retString & "\"dimmable\":\"" & hvDimmable of singleUnit & "\",")";
inline constexpr QStringView ValueRecord = uR"(set retString to retString & "\"value\":\"" & hvValue of singleUnit & "\"")";

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
