#pragma once

#include <QLockFile>
#include <QString>
#include <chrono>
#include <thread>

// Holds a QLockFile as a live writer does, and lets go after a while on a
// thread of its own, so that code that waits for the lock still ends.
class LockHolder {
public:
    LockHolder(const QString& fileName, std::chrono::milliseconds keep);
    ~LockHolder();

    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    // Whether it had the lock at first.
    bool tookIt() const { return m_took; }

private:
    QLockFile m_lock;
    bool m_took = false;
    std::thread m_lettingGo;
};
