#include "InstanceLock.h"

#include "AbandonedLock.h"

#include <QFileInfo>

InstanceLock::InstanceLock(const QString& fileName) : m_lock(fileName)
{
    // A copy may run for months: age never makes its lock stale.
    m_lock.setStaleLockTime(0);
    // Before QLockFile reads what is there: it would block on a FIFO.
    AbandonedLock::remove(fileName);
    if (AbandonedLock::isNoFileAt(fileName))
        return;
    if (m_lock.tryLock(0) || m_lock.error() != QLockFile::LockFailedError)
        return;
    m_heldElsewhere = !holdLeftover(fileName);
}

// Where the folder can be written, AbandonedLock has removed a lock that
// nobody holds, so what is left is held, or being made by a copy that started
// at the same moment. Where it cannot, nothing is removed or made there, and
// the native lock that every holder keeps on its file says whether anybody
// still does; a file this user may not open says nothing, as no lock can be
// made there.
bool InstanceLock::holdLeftover(const QString& fileName)
{
    if (QFileInfo(QFileInfo(fileName).absolutePath()).isWritable())
        return false;
    m_leftover.setFileName(fileName);
    if (!m_leftover.open(QIODevice::ReadOnly))
        return true;
    if (AbandonedLock::lockNatively(m_leftover.handle()) == AbandonedLock::NativeHolder::Nobody)
        return true;
    m_leftover.close();
    return false;
}
