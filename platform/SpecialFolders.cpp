#include "SpecialFolders.h"

#include <QDir>
#include <QStandardPaths>

namespace {
const QString logsFolderName = QStringLiteral("logs");
}

QString SpecialFolders::UserLibrary()
{
    const QString library = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QDir().mkpath(QDir(library).filePath(logsFolderName));
    return library;
}
