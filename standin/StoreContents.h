#pragma once

#include "RemoteAccount.h"
#include "Unit.h"

#include <QList>
#include <QMap>
#include <QString>

// What the unit store holds: the unit lists by name, and the remote accounts
// whose scripts the host accepts.
struct StoreContents {
    QMap<QString, QList<Unit>> lists;
    QList<RemoteAccount> accounts;
};
