#pragma once

#include <QString>

// A QLockFile that nobody holds any more. QLockFile takes a lock whose
// recorded owner has ended, but one left empty or garbled (a crash between
// creating the file and writing its owner into it) it waits on until the
// file is older than its stale time, half a minute by default. A holder
// keeps a native lock on the file for as long as it holds it, so that lock,
// not the file's contents, says whether anybody still does.
class AbandonedLock {
public:
    // Removes the lock file unless a live holder keeps it; true when it was
    // removed. A missing file is left missing.
    static bool remove(const QString& lockFileName);
};
