#include "SystemFolders.h"

#include <QDir>
#include <QStandardPaths>

namespace {
const QString LogsFolderName = QStringLiteral("logs");
}

QString SystemFolders::UserLibrary()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString SystemFolders::UserLogs()
{
    return QDir(UserLibrary()).filePath(LogsFolderName);
}

QString SystemFolders::UserPreferences()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

void SystemFolders::makeStandardFolders()
{
    QDir().mkpath(UserLogs());
}
