#include "LockHolder.h"

LockHolder::LockHolder(const QString& fileName, std::chrono::milliseconds keep) : m_lock(fileName)
{
    m_took = m_lock.tryLock(0);
    m_lettingGo = std::thread([this, keep] {
        std::this_thread::sleep_for(keep);
        m_lock.unlock();
    });
}

LockHolder::~LockHolder()
{
    m_lettingGo.join();
}
