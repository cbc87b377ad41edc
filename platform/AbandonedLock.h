#pragma once

#include <QString>
#include <chrono>

// A QLockFile's file that no live copy holds any more: its holder ended
// without letting go (a crash, a kill), or a crash came between making the
// file and locking it.
//
// Every holder keeps a native lock (flock) on its file for as long as it
// holds it, so a file that nobody holds natively is abandoned, whatever
// owner it names. QLockFile judges by the named owner instead: a live
// process of that number and name counts as holding it, and in a pid
// namespace of its own a restarted copy has the number of the one before.
//
// QLockFile makes its file first and locks it and writes its owner right
// after, so a file that names nobody and is younger than Grace may be a lock
// in the making: it is waited for.
//
// What QLockFile cannot take or remove (a FIFO, which would hold it in
// opening it, a folder, a link, a file another user owns) is moved aside.
class AbandonedLock {
public:
    static constexpr std::chrono::seconds Grace{1};

    // What the native lock of an open file tells of its holders.
    enum class NativeHolder {
        Nobody, // the caller holds it now, until it closes the file
        Somebody,
        Unknown, // the file system offers no native locking
    };

    // Clears the way for a new lock: removes a lock file that nobody holds,
    // waiting out what is left of Grace first while it names no owner, or
    // moves aside what is no lock file of this user's. True when the path is
    // free now. A held lock and a missing one are left as they are; where
    // nothing can be locked natively, only one that has named no owner for
    // Grace is removed, and one that names an owner is left to QLockFile.
    static bool remove(const QString& lockFileName);

    static NativeHolder lockNatively(int fd);

    // True when something other than a regular file stands at the path: a
    // link, dangling or not, counts.
    static bool isNoFileAt(const QString& fileName);
};
