#pragma once

#include <QString>
#include <chrono>

// A QLockFile that names no owner (empty or garbled) and that nobody holds
// any more: a crash between making the file and writing its owner into it.
// QLockFile takes a lock whose named owner has ended, but one that names
// nobody it waits on until the file is older than its stale time, half a
// minute by default, or for ever when that is off.
//
// QLockFile makes its file first and writes the owner right after, so a
// file that names nobody may be a lock in the making. Only one that stays
// so for Grace counts as abandoned.
class AbandonedLock {
public:
    static constexpr std::chrono::seconds Grace{1};

    // Removes the lock file once it has named no owner for Grace, waiting
    // out what is left of Grace first; true when it was removed. A lock
    // that names an owner, one that a live holder keeps, and a missing one
    // are left as they are.
    static bool remove(const QString& lockFileName);
};
