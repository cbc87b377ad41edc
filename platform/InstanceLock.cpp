#include "InstanceLock.h"

#include "AbandonedLock.h"

InstanceLock::InstanceLock(const QString& fileName) : m_lock(fileName)
{
    // A copy may run for months: age never makes its lock stale.
    m_lock.setStaleLockTime(0);
    if (!m_lock.tryLock(0) && AbandonedLock::remove(fileName))
        m_lock.tryLock(0);
}
