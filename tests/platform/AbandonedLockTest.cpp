#include "AbandonedLock.h"
#include "TestEnvironment.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>
#include <chrono>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace {

// How long the lock in the making below takes to name its owner.
constexpr std::chrono::milliseconds MakingTime{200};
// A machine id that is not this machine's.
const QByteArray OtherMachineId = "0123456789abcdef0123456789abcdef";
const QString OtherHost = QStringLiteral("another-machine.example");

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

    QStringList asideEntries() const
    {
        return QDir(m_dir.path()).entryList({"Tolvane.lock.unreadable-*"}, QDir::AllEntries | QDir::System);
    }

    // Opens the lock and holds it natively, as its holder does.
    int holdNatively() const
    {
        const int fd = ::open(QFile::encodeName(lockFileName()).constData(), O_RDONLY | O_CLOEXEC);
        EXPECT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
        return fd;
    }

    void expectTakenNext() const
    {
        QLockFile next(lockFileName());
        next.setStaleLockTime(0);
        EXPECT_TRUE(next.tryLock(0));
    }

private:
    QTemporaryDir m_dir;
};

TEST_F(AbandonedLockTest, ALockThatNobodyHoldsIsRemovedWhateverItNames)
{
    const qint64 ended = TestEnvironment::endedProcessId();
    ASSERT_GT(ended, 0);
    const struct {
        const char* name;
        QByteArray contents;
        bool old;
    } rows[] = {
        {"empty: its owner died before writing itself into it", "", true},
        {"garbled", "not a lock\n\xff\n", true},
        {"no process number on its first line", "\n4242\ntolvane\n", true},
        {"empty and younger than the grace, which is waited out", "", false},
        {"its owner has ended", TestEnvironment::lockOwnerDetails(ended, "true"), false},
        {"a live process of that number and name, which holds nothing", TestEnvironment::lockOwnerDetails(), false},
        {"another machine's id and an ended process",
         TestEnvironment::lockOwnerDetails(ended, "tolvane", OtherHost, OtherMachineId), false},
        {"another host, in the three lines before machine ids",
         TestEnvironment::lockOwnerDetails(ended, "tolvane", OtherHost), false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        writeLock(row.contents);
        if (row.old)
            ageLock();
        EXPECT_TRUE(AbandonedLock::remove(lockFileName()));
        EXPECT_FALSE(QFile::exists(lockFileName()));
        expectTakenNext();
        QFile::remove(lockFileName());
    }
}

TEST_F(AbandonedLockTest, ALockInTheMakingStays)
{
    // As QLockFile makes a lock: the file, its native lock, then its owner.
    const int maker =
        ::open(QFile::encodeName(lockFileName()).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    ASSERT_GE(maker, 0);
    std::thread making([&] {
        std::this_thread::sleep_for(MakingTime);
        ::flock(maker, LOCK_EX | LOCK_NB);
        const QByteArray details = TestEnvironment::lockOwnerDetails();
        [[maybe_unused]] auto written = ::write(maker, details.constData(), details.size());
    });
    EXPECT_FALSE(AbandonedLock::remove(lockFileName()));
    making.join();
    EXPECT_TRUE(QFile::exists(lockFileName()));
    ::close(maker);
}

TEST_F(AbandonedLockTest, ALockThatIsHeldNativelyStaysWhateverItNames)
{
    const qint64 ended = TestEnvironment::endedProcessId();
    const struct {
        const char* name;
        QByteArray contents;
    } rows[] = {
        {"this process", TestEnvironment::lockOwnerDetails()},
        {"an ended process, as a copy in a pid namespace of its own seems from outside",
         TestEnvironment::lockOwnerDetails(ended, "tolvane")},
        {"another machine", TestEnvironment::lockOwnerDetails(ended, "tolvane", OtherHost, OtherMachineId)},
        {"nobody, long after it was made", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        writeLock(row.contents);
        ageLock();
        const int holder = holdNatively();
        EXPECT_FALSE(AbandonedLock::remove(lockFileName()));
        EXPECT_EQ(TestEnvironment::fileBytes(lockFileName()), row.contents);
        ::close(holder);
    }
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

TEST_F(AbandonedLockTest, WhatIsNoLockFileIsMovedAsideAsItWas)
{
    const struct {
        const char* name;
        std::function<bool(const QString&)> make;
        std::function<bool(const QFileInfo&)> isKept;
    } rows[] = {
        {"a folder", [](const QString& path) { return QDir().mkpath(path); },
         [](const QFileInfo& aside) { return aside.isDir(); }},
        {"a dangling link", [](const QString& path) { return QFile::link(path + ".gone", path); },
         [](const QFileInfo& aside) { return aside.isSymLink() && !aside.exists(); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(row.make(lockFileName()));
        EXPECT_TRUE(AbandonedLock::isNoFileAt(lockFileName()));
        EXPECT_TRUE(AbandonedLock::remove(lockFileName()));
        EXPECT_FALSE(AbandonedLock::isNoFileAt(lockFileName()));
        const QStringList aside = asideEntries();
        ASSERT_EQ(aside.size(), 1);
        EXPECT_TRUE(row.isKept(QFileInfo(QFileInfo(lockFileName()).dir().filePath(aside.first()))));
        expectTakenNext();
        QFile::remove(lockFileName());
        const QString asidePath = QFileInfo(lockFileName()).dir().filePath(aside.first());
        EXPECT_TRUE(QDir().rmdir(asidePath) || QFile::remove(asidePath));
    }
}

TEST_F(AbandonedLockTest, AMissingLockStaysMissing)
{
    EXPECT_FALSE(AbandonedLock::remove(lockFileName()));
    EXPECT_FALSE(QFile::exists(lockFileName()));
    EXPECT_FALSE(AbandonedLock::isNoFileAt(lockFileName()));
}

} // namespace
