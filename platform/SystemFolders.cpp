#include "SystemFolders.h"

#include <QDir>
#include <QStandardPaths>

namespace {
const QString logsFolderName = QStringLiteral("logs");
}

QString SystemFolders::UserLibrary()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

void SystemFolders::makeStandardFolders()
{
    QDir().mkpath(QDir(UserLibrary()).filePath(logsFolderName));
}
