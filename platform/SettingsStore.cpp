#include "SettingsStore.h"

#include "AbandonedLock.h"
#include "JsonSettingsFormat.h"
#include "SystemFolders.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>

namespace {
const QString OrganisationName = QStringLiteral("Halvory");
const QString ApplicationName = QStringLiteral("Tolvane");
// A file that cannot be read keeps its contents under this suffix plus the
// time it was found, so the user can still recover it.
const QString UnreadableSuffix = QStringLiteral(".unreadable-");
const QString TimestampFormat = QStringLiteral("yyyyMMdd-HHmmss");
// QSettings guards every write of the file with a QLockFile of this name.
const QString SettingsLockSuffix = QStringLiteral(".lock");
// The password is kept in plain text: only its owner may read the file.
constexpr auto OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
// The mode bits proper; QFile also reports the current user's access.
constexpr QFileDevice::Permissions ModeBits = QFileDevice::ReadOwner | QFileDevice::WriteOwner
    | QFileDevice::ExeOwner | QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
    | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;

QString& defaultFileNameOverride()
{
    static QString fileName;
    return fileName;
}

bool isReadable(const QString& fileName)
{
    const QFileInfo info(fileName);
    if (!info.exists())
        return true;
    // Only a regular file can hold settings: a FIFO would block the read
    // until somebody writes to it, and a device need never end.
    if (!info.isFile())
        return false;
    QFile file(fileName);
    QSettings::SettingsMap ignored;
    return file.open(QIODevice::ReadOnly) && JsonSettingsFormat::read(file, ignored);
}

QString asideName(const QString& fileName)
{
    const QString stem = fileName + UnreadableSuffix + QDateTime::currentDateTime().toString(TimestampFormat);
    QString candidate = stem;
    for (int n = 1; QFileInfo::exists(candidate); ++n)
        candidate = stem + QLatin1Char('-') + QString::number(n);
    return candidate;
}

// False only when an unreadable file is still in the way.
bool moveAsideIfUnreadable(const QString& fileName)
{
    return isReadable(fileName) || QFile::rename(fileName, asideName(fileName));
}

// The file exists with owner-only permissions before QSettings first writes
// it, as a complete empty store: its atomic writer (a temporary file renamed
// over the old one) copies the permissions of the file it replaces, and a
// kill at any moment leaves either no file or a whole one.
void createOwnerOnly(const QString& fileName)
{
    if (QFileInfo::exists(fileName))
        return;
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    QSaveFile file(fileName);
    if (file.open(QIODevice::WriteOnly) && file.setPermissions(OwnerOnly)
        && JsonSettingsFormat::write(file, QSettings::SettingsMap()))
        file.commit();
}
} // namespace

class SettingsStore::Private {
public:
    // Null while an unreadable file could not be moved aside: the store is
    // then empty and writes nothing rather than overwrite that file.
    std::unique_ptr<QSettings> settings;
};

SettingsStore::SettingsStore() : SettingsStore(defaultFileName()) {}

SettingsStore::SettingsStore(const QString& fileName) : m_fileName(fileName), d(std::make_unique<Private>())
{
    if (moveAsideIfUnreadable(m_fileName))
        d->settings = std::make_unique<QSettings>(m_fileName, JsonSettingsFormat::format());
}

SettingsStore::~SettingsStore() = default;

SettingsValue SettingsStore::CopyAppValue(const QString& key) const
{
    return d->settings ? SettingsValue::fromVariant(d->settings->value(key)) : SettingsValue();
}

void SettingsStore::SetAppValue(const QString& key, const SettingsValue& value)
{
    if (!d->settings)
        return;
    // QSettings may write on its own from now on, at the latest when it is
    // destroyed.
    prepareWrite();
    if (value.type() == SettingsValue::Type::Absent)
        d->settings->remove(key);
    else
        d->settings->setValue(key, value.variant());
}

bool SettingsStore::AppSynchronize()
{
    if (!d->settings || !moveAsideIfUnreadable(m_fileName))
        return false;
    prepareWrite();
    d->settings->sync();
    if ((QFile::permissions(m_fileName) & ModeBits) != OwnerOnly)
        QFile::setPermissions(m_fileName, OwnerOnly);
    return d->settings->status() == QSettings::NoError;
}

// QSettings waits for its lock without end while the lock counts as held, and
// one left behind by a crash, empty, counts as held for half a minute.
void SettingsStore::prepareWrite()
{
    createOwnerOnly(m_fileName);
    AbandonedLock::remove(m_fileName + SettingsLockSuffix);
}

QString SettingsStore::defaultFileName()
{
    if (!defaultFileNameOverride().isEmpty())
        return defaultFileNameOverride();
    // Where QSettings keeps a user's store of this format, named without
    // asking QSettings: its constructor reads the file, and whatever is at
    // the path (a FIFO, a device) must wait for the check that a store
    // object makes before it reads.
    return QDir(SystemFolders::UserPreferences())
        .filePath(OrganisationName + QLatin1Char('/') + ApplicationName + QLatin1Char('.')
                  + JsonSettingsFormat::FileExtension);
}

void SettingsStore::setDefaultFileName(const QString& fileName)
{
    defaultFileNameOverride() = fileName;
}
