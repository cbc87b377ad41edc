#include "AbandonedLock.h"
#include "TestEnvironment.h"

#include <QDateTime>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace {

// How long the lock in the making below takes to name its owner.
constexpr std::chrono::milliseconds MakingTime{200};

// The details of a lock whose owner has ended: a process that has been
// started, has exited and has been reaped.
QByteArray endedOwnerDetails()
{
    QProcess process;
    process.start("/bin/true", {});
    if (!process.waitForStarted())
        return QByteArray();
    // QProcess forgets the number once the process has ended.
    const qint64 pid = process.processId();
    return process.waitForFinished() ? TestEnvironment::lockOwnerDetails(pid, "true") : QByteArray();
}

class AbandonedLockTest : public ::testing::Test {
protected:
    QString lockFileName() const { return m_dir.filePath("Tolvane.lock"); }

    void writeLock(const QByteArray& contents) const
    {
        ASSERT_TRUE(TestEnvironment::writeFile(lockFileName(), contents));
    }

    // As a crash long enough ago would have left it.
    void ageLock() const
    {
        QFile lock(lockFileName());
        ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
        ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
    }

private:
    QTemporaryDir m_dir;
};

TEST_F(AbandonedLockTest, ALockThatNamesNobodyIsRemoved)
{
    const struct {
        const char* name;
        QByteArray contents;
        bool old;
    } rows[] = {
        {"empty: its owner died before writing itself into it", "", true},
        {"garbled", "not a lock\n\xff\n", true},
        {"no process number on its first line", "\n4242\ntolvane\n", true},
        {"empty and younger than the grace, which is waited out", "", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        writeLock(row.contents);
        if (row.old)
            ageLock();
        EXPECT_TRUE(AbandonedLock::remove(lockFileName()));
        EXPECT_FALSE(QFile::exists(lockFileName()));

        QLockFile next(lockFileName());
        EXPECT_TRUE(next.tryLock(0));
    }
}

TEST_F(AbandonedLockTest, ALockInTheMakingStays)
{
    writeLock("");
    std::thread maker([&] {
        std::this_thread::sleep_for(MakingTime);
        writeLock(TestEnvironment::lockOwnerDetails());
    });
    EXPECT_FALSE(AbandonedLock::remove(lockFileName()));
    maker.join();
    EXPECT_TRUE(QFile::exists(lockFileName()));
}

TEST_F(AbandonedLockTest, ALockThatNamesAnEndedOwnerIsLeftForQLockFileToTake)
{
    writeLock(endedOwnerDetails());
    ageLock();
    EXPECT_FALSE(AbandonedLock::remove(lockFileName()));
    ASSERT_TRUE(QFile::exists(lockFileName()));

    QLockFile next(lockFileName());
    next.setStaleLockTime(0);
    EXPECT_TRUE(next.tryLock(0));
}

TEST_F(AbandonedLockTest, AHeldLockStays)
{
    QLockFile holder(lockFileName());
    ASSERT_TRUE(holder.tryLock(0));
    EXPECT_FALSE(AbandonedLock::remove(lockFileName()));
    EXPECT_TRUE(QFile::exists(lockFileName()));
    EXPECT_TRUE(holder.isLocked());

    QLockFile second(lockFileName());
    EXPECT_FALSE(second.tryLock(0));
}

TEST_F(AbandonedLockTest, AMissingLockStaysMissing)
{
    EXPECT_FALSE(AbandonedLock::remove(lockFileName()));
    EXPECT_FALSE(QFile::exists(lockFileName()));
}

} // namespace
