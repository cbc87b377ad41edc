#pragma once

#include <QByteArray>
#include <QString>

// Files that grow line by line and are never held open between lines.
class FileAppender {
public:
    // Opens the file for appending (creating it), writes the bytes and closes
    // it again. False when the file cannot be opened, or when the write or
    // the close fails (a full volume, say).
    static bool append(const QString& path, const QByteArray& bytes);

    // Creates the folder's last level; whether it already existed does not
    // matter.
    static void createFolder(const QString& path);
};
