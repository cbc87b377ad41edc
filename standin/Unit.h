#pragma once

#include <QString>

// One unit of the host: a dimmable unit's value is its level in percent, a
// switch's value is 1 when on and 0 when off.
struct Unit {
    QString name;
    QString id;
    bool dimmable = false;
    qint64 value = 0;

    friend bool operator==(const Unit&, const Unit&) = default;
};
