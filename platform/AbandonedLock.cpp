#include "AbandonedLock.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLockFile>
#include <optional>
#include <thread>

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
// one, which QLockFile judges itself.
std::optional<milliseconds> ownerlessAge(const QString& lockFileName)
{
    const QFileInfo info(lockFileName);
    if (!info.exists() || QLockFile(lockFileName).getLockInfo(nullptr, nullptr, nullptr))
        return std::nullopt;
    // A time in the future (a clock set back) counts as age, as QLockFile
    // counts it.
    return milliseconds(qAbs(info.lastModified().msecsTo(QDateTime::currentDateTime())));
}

bool isAbandoned(const std::optional<milliseconds>& age)
{
    return age && *age >= AbandonedLock::Grace;
}

// Waits while the file names no owner but is younger than Grace: a maker
// writes its owner within moments.
std::optional<milliseconds> ageAfterGrace(const QString& lockFileName)
{
    std::optional<milliseconds> age = ownerlessAge(lockFileName);
    while (age && !isAbandoned(age)) {
        std::this_thread::sleep_for(std::min(PollInterval, AbandonedLock::Grace - *age));
        age = ownerlessAge(lockFileName);
    }
    return age;
}
} // namespace

bool AbandonedLock::remove(const QString& lockFileName)
{
    if (!isAbandoned(ageAfterGrace(lockFileName)))
        return false;
    QLockFile removal(lockFileName + RemovalLockSuffix);
    removal.setStaleLockTime(Grace);
    if (!removal.tryLock(RemovalLockWait))
        return false;
    // Judged again under the removal lock: another remover may have
    // replaced the file meanwhile. Qt's own removal then takes the native
    // lock first and fails while a holder keeps it, whatever the file says.
    return isAbandoned(ownerlessAge(lockFileName)) && QLockFile(lockFileName).removeStaleLockFile();
}
