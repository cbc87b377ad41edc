#pragma once

#include "Unit.h"

#include <QList>
#include <QString>

// The text that the unit list script builds:
//
//   [{"name":"<name>","ID":"<ID>","dimmable":"true|false","value":"<level>"},...]
//
// Each value is escaped for a JSON string as the script's handler does it:
// a backslash before each backslash and double quote, \u00XX for each
// control character U+0000-U+001F, everything else as it is. A unit whose
// name equals the last unit's name, case ignored, is passed over; the last
// unit's record always ends the list.
class UnitListText {
public:
    // units must not be empty: the script then fails before it builds anything.
    static QString render(const QList<Unit>& units);

private:
    static QString record(const Unit& unit);
    static QString escaped(const QString& value);
};
