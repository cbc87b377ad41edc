#include "LogFile.h"

#include <QFile>

QString LogFile::line(const QDateTime& when, const QString& message)
{
    return when.toString(DateTimeFormat) + QStringLiteral(": ") + message + QLatin1Char('\n');
}

bool LogFile::append(const QString& path, const QString& message)
{
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return false;
    // A failed write after a successful open is not reported: callers go on
    // as if the line was written.
    file.write(line(QDateTime::currentDateTime(), message).toUtf8());
    return true;
}
