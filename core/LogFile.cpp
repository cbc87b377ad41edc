#include "LogFile.h"

#include "FileAppender.h"

namespace {
const QString DateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
} // namespace

QString LogFile::line(const QDateTime& when, const QString& message)
{
    return when.toString(DateTimeFormat) + QStringLiteral(": ") + message + QLatin1Char('\n');
}

bool LogFile::append(const QString& path, const QString& message)
{
    return FileAppender::append(path, line(QDateTime::currentDateTime(), message).toUtf8());
}
