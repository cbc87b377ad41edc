#include "AbandonedLock.h"

#include "AsidePath.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {
using std::chrono::milliseconds;

// QLockFile's own removers serialise on this file beside the lock, so a
// lock is never judged by one and removed by another.
const QString RemovalLockSuffix = QStringLiteral(".rmlock");
// Another remover holds the removal lock only for a check and an unlink;
// one left empty by a crash counts as stale after Grace.
constexpr milliseconds RemovalLockWait = 2 * AbandonedLock::Grace;
constexpr milliseconds PollInterval{10};

// How long the file has named no owner; none when it is missing or names
// one.
std::optional<milliseconds> ownerlessAge(const QString& lockFileName)
{
    const QFileInfo info(lockFileName);
    if (!info.exists() || QLockFile(lockFileName).getLockInfo(nullptr, nullptr, nullptr))
        return std::nullopt;
    // A time in the future (a clock set back) counts as age, as QLockFile
    // counts it.
    return milliseconds(qAbs(info.lastModified().msecsTo(QDateTime::currentDateTime())));
}

bool isOwnerlessPastGrace(const QString& lockFileName)
{
    const std::optional<milliseconds> age = ownerlessAge(lockFileName);
    return age && *age >= AbandonedLock::Grace;
}

// A maker writes its owner within moments of making the file.
void waitWhileInTheMaking(const QString& lockFileName)
{
    for (std::optional<milliseconds> age = ownerlessAge(lockFileName); age && *age < AbandonedLock::Grace;
         age = ownerlessAge(lockFileName))
        std::this_thread::sleep_for(std::min(PollInterval, AbandonedLock::Grace - *age));
}

bool unlink(const QString& fileName)
{
    return ::unlink(QFile::encodeName(fileName).constData()) == 0;
}

// Under the removal lock, where nobody else removes or replaces the file.
// Read-only and non-blocking: the user need not own it, and what became a
// FIFO meanwhile must not hold the open.
bool removeUnheld(const QString& lockFileName)
{
    const int fd = ::open(QFile::encodeName(lockFileName).constData(),
                          O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return errno != ENOENT && AsidePath::moveAside(lockFileName);
    bool removed = false;
    switch (AbandonedLock::lockNatively(fd)) {
    case AbandonedLock::NativeHolder::Nobody:
        removed = unlink(lockFileName);
        break;
    case AbandonedLock::NativeHolder::Somebody:
        break;
    case AbandonedLock::NativeHolder::Unknown:
        removed = isOwnerlessPastGrace(lockFileName) && unlink(lockFileName);
        break;
    }
    ::close(fd);
    return removed;
}
} // namespace

bool AbandonedLock::remove(const QString& lockFileName)
{
    if (isNoFileAt(lockFileName))
        return AsidePath::moveAside(lockFileName);
    if (!QFileInfo::exists(lockFileName))
        return false;
    waitWhileInTheMaking(lockFileName);
    QLockFile removal(lockFileName + RemovalLockSuffix);
    removal.setStaleLockTime(Grace);
    return removal.tryLock(RemovalLockWait) && removeUnheld(lockFileName);
}

AbandonedLock::NativeHolder AbandonedLock::lockNatively(int fd)
{
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return NativeHolder::Nobody;
    return errno == EWOULDBLOCK ? NativeHolder::Somebody : NativeHolder::Unknown;
}

bool AbandonedLock::isNoFileAt(const QString& fileName)
{
    struct stat info = {};
    return ::lstat(QFile::encodeName(fileName).constData(), &info) == 0 && !S_ISREG(info.st_mode);
}
