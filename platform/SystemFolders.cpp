#include "SystemFolders.h"

#include <QDir>
#include <QStandardPaths>

namespace {
const QString logsFolderName = QStringLiteral("logs");
}

QString SystemFolders::UserLibrary()
{
    const QString library = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QDir().mkpath(QDir(library).filePath(logsFolderName));
    return library;
}
