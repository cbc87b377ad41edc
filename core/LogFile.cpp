#include "LogFile.h"

#include "FileAppender.h"

QString LogFile::line(const QDateTime& when, const QString& message)
{
    return when.toString(DateTimeFormat) + QStringLiteral(": ") + message + QLatin1Char('\n');
}

bool LogFile::append(const QString& path, const QString& message)
{
    // A failed write after a successful open is not reported: callers go on
    // as if the line was written.
    return FileAppender::append(path, line(QDateTime::currentDateTime(), message).toUtf8());
}
