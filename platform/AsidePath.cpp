#include "AsidePath.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {
const QString UnreadableSuffix = QStringLiteral(".unreadable-");
const QString TimestampFormat = QStringLiteral("yyyyMMdd-HHmmss");

// QFileInfo::exists follows links, and a dangling one is in the way too.
bool isTaken(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QString asideName(const QString& path)
{
    const QString stem = path + UnreadableSuffix + QDateTime::currentDateTime().toString(TimestampFormat);
    QString candidate = stem;
    for (int n = 1; isTaken(candidate); ++n)
        candidate = stem + QLatin1Char('-') + QString::number(n);
    return candidate;
}
} // namespace

bool AsidePath::moveAside(const QString& path)
{
    // QFile::rename refuses a dangling link, which it takes for no file.
    return std::rename(QFile::encodeName(path).constData(), QFile::encodeName(asideName(path)).constData()) == 0;
}
