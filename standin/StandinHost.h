#pragma once

#include "HostScript.h"

#include <QString>

class UnitStore;
struct Unit;

// Carries out understood scripts against a unit store, as the real host
// would: the unit list script gives the unit list text, a command changes the
// level of every unit of that name, in every list, and saves the store.
class StandinHost {
public:
    explicit StandinHost(UnitStore& store);

    // The script's result text (empty for a command). Throws StandinError
    // when the script fails on the host's side.
    QString run(const HostScript& script);

private:
    void checkMachine(const HostScript& script) const;
    QString unitList() const;
    void command(const HostScript& script);
    static qint64 newValue(const HostScript& script, const Unit& unit);

    UnitStore& m_store;
};
