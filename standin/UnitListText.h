#pragma once

#include "Unit.h"

#include <QList>
#include <QString>

// The text that the unit list script builds:
//
//   [{"name":"<name>","ID":"<ID>","dimmable":"true|false","value":"<level>"},...]
//
// The values go in as they are, unescaped, just as the script joins them to
// its text. A unit whose name equals the last unit's name, case ignored, is
// passed over; the last unit's record always ends the list.
class UnitListText {
public:
    // units must not be empty: the script then fails before it builds anything.
    static QString render(const QList<Unit>& units);

private:
    static QString record(const Unit& unit);
};
