#include "AbandonedLock.h"
#include "TestEnvironment.h"

#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The details of a lock whose owner has ended: a process that has been
// started, has exited and has been reaped.
QByteArray endedOwnerDetails()
{
    QProcess process;
    process.start("/bin/true", {});
    if (!process.waitForStarted() || !process.waitForFinished())
        return QByteArray();
    return QByteArray::number(process.processId()) + "\ntrue\n" + QSysInfo::machineHostName().toUtf8() + "\n";
}

class AbandonedLockTest : public ::testing::Test {
protected:
    QString lockFileName() const { return m_dir.filePath("Tolvane.lock"); }

    void writeLock(const QByteArray& contents) const
    {
        ASSERT_TRUE(TestEnvironment::writeFile(lockFileName(), contents));
    }

private:
    QTemporaryDir m_dir;
};

TEST_F(AbandonedLockTest, ALockNobodyHoldsIsRemovedWhateverItSays)
{
    const struct {
        const char* name;
        QByteArray contents;
    } rows[] = {
        {"empty: its owner died before writing itself into it", ""},
        {"garbled", "not a lock\n\xff\n"},
        {"cut short after the process number", "4242\n"},
        {"its owner has ended", endedOwnerDetails()},
    };
    for (const auto& row : rows) {
        writeLock(row.contents);
        EXPECT_TRUE(AbandonedLock::remove(lockFileName())) << row.name;
        EXPECT_FALSE(QFile::exists(lockFileName())) << row.name;

        QLockFile next(lockFileName());
        EXPECT_TRUE(next.tryLock(0)) << row.name;
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

TEST_F(AbandonedLockTest, AMissingLockStaysMissing)
{
    EXPECT_FALSE(AbandonedLock::remove(lockFileName()));
    EXPECT_FALSE(QFile::exists(lockFileName()));
}

} // namespace
