#include "FileAppender.h"

#include <QDir>
#include <QFile>

bool FileAppender::append(const QString& path, const QByteArray& bytes)
{
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    // A full volume shows only here: the open succeeds, and the buffered
    // bytes fail when they are flushed on close.
    const bool written = file.write(bytes) == bytes.size();
    file.close();
    return written && file.error() == QFileDevice::NoError;
}

void FileAppender::createFolder(const QString& path)
{
    QDir().mkdir(path);
}
