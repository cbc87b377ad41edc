#pragma once

#include "RemoteAccount.h"

#include <QString>
#include <optional>

// One script as this host understands it.
struct HostScript {
    enum class Kind { UnitList, TurnOn, TurnOff, Brighten };

    Kind kind = Kind::UnitList;
    std::optional<RemoteAccount> machine; // set for a remote header
    QString unitName;                     // the commands' unit
    qint64 level = 0;                     // brighten's level
};
