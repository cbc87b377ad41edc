#pragma once

#include <QString>

// Keeps what stands in the way at a path the program needs (a file it cannot
// read, a FIFO, a folder, a link) under a name of its own beside it, so the
// user can still recover it, instead of deleting or overwriting it.
class AsidePath {
public:
    // Renames whatever is at `path` to `path` plus ".unreadable-" and the
    // time it was found; false when it could not be moved.
    static bool moveAside(const QString& path);
};
