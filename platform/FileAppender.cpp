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
    file.write(bytes);
    return true;
}

void FileAppender::createFolder(const QString& path)
{
    QDir().mkdir(path);
}
