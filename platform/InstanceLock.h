#pragma once

#include <QLockFile>
#include <QString>

// Held for as long as the object lives, so that a second copy of the program
// that would share the same files can tell it is not alone. A lock left by a
// copy that ended without letting go (a crash, a kill) is taken at once.
class InstanceLock {
public:
    explicit InstanceLock(const QString& fileName);

    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when another live copy holds the lock. A lock that cannot be made
    // at all (a read-only folder) is no sign of one.
    bool isHeldElsewhere() const { return m_lock.error() == QLockFile::LockFailedError; }

private:
    QLockFile m_lock;
};
