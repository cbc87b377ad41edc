#include "InstanceLock.h"

#include "AbandonedLock.h"

#include <QFileInfo>
#include <sys/file.h>

InstanceLock::InstanceLock(const QString& fileName) : m_lock(fileName)
{
    // A copy may run for months: age never makes its lock stale.
    m_lock.setStaleLockTime(0);
    if (m_lock.tryLock(0) || m_lock.error() != QLockFile::LockFailedError)
        return;
    if (AbandonedLock::remove(fileName) && m_lock.tryLock(0))
        return;
    m_heldElsewhere = m_lock.error() == QLockFile::LockFailedError && !holdLeftover(fileName);
}

// Where the folder can be written, QLockFile and AbandonedLock have removed
// a lock that nobody holds, so what is left is held, or being made by a copy
// that started at the same moment. Where it cannot, nothing is removed or
// made there, and the native lock that every holder keeps on its file says
// whether anybody still does.
bool InstanceLock::holdLeftover(const QString& fileName)
{
    if (QFileInfo(QFileInfo(fileName).absolutePath()).isWritable())
        return false;
    m_leftover.setFileName(fileName);
    if (m_leftover.open(QIODevice::ReadOnly) && ::flock(m_leftover.handle(), LOCK_EX | LOCK_NB) == 0)
        return true;
    m_leftover.close();
    return false;
}
