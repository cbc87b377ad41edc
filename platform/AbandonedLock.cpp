#include "AbandonedLock.h"

#include <QLockFile>

bool AbandonedLock::remove(const QString& lockFileName)
{
    // Qt's own removal takes the native lock first and fails while a holder
    // keeps it, whatever the file says.
    return QLockFile(lockFileName).removeStaleLockFile();
}
