#pragma once

#include <QFile>
#include <QLockFile>
#include <QString>

// Held for as long as the object lives, so that a second copy of the program
// that would share the same files can tell it is not alone. A lock left by a
// copy that ended without letting go (a crash, a kill) is taken at once,
// whatever owner it names, or after AbandonedLock::Grace when it names none.
class InstanceLock {
public:
    explicit InstanceLock(const QString& fileName);

    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when another live copy holds the lock. A lock that cannot be made
    // at all (a read-only folder), or something left behind where it cannot
    // be removed or moved aside, is no sign of one.
    bool isHeldElsewhere() const { return m_heldElsewhere; }

private:
    bool holdLeftover(const QString& fileName);

    QLockFile m_lock;
    // A lock file left by a copy that ended, in a folder where it cannot be
    // replaced: held natively, as its owner held it, so that a further copy
    // still finds it held. Closed when it cannot be held.
    QFile m_leftover;
    bool m_heldElsewhere = false;
};
