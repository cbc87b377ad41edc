#include "SettingsStore.h"

#include "AbandonedLock.h"
#include "AsidePath.h"
#include "JsonSettingsFormat.h"
#include "SystemFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QSaveFile>
#include <QSettings>
#include <chrono>
#include <utility>

namespace {
const QString OrganisationName = QStringLiteral("Halvory");
const QString ApplicationName = QStringLiteral("Tolvane");
// QSettings guards every write of the file with a QLockFile of this name.
const QString SettingsLockSuffix = QStringLiteral(".lock");
// QSettings waits for that lock without end; a write gives up after this.
constexpr std::chrono::seconds SettingsLockWait{3};
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

// False only when an unreadable file is still in the way.
bool moveAsideIfUnreadable(const QString& fileName)
{
    return isReadable(fileName) || AsidePath::moveAside(fileName);
}

// Sets not yet synchronised, per file and in the order they were made: like
// the platform's preferences, they belong to the process, not to a store
// object, so one synchronise commits what every object set before it.
using PendingSets = QList<std::pair<QString, SettingsValue>>;

QHash<QString, PendingSets>& pendingSets()
{
    static QHash<QString, PendingSets> sets;
    return sets;
}

// Whether the settings lock can be had within SettingsLockWait. Let go at
// once for QSettings to take: a writer that takes it in between holds it
// only while it writes.
bool settingsLockFree(const QString& lockFileName)
{
    QLockFile lock(lockFileName);
    return lock.tryLock(SettingsLockWait);
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
    if (!d->settings)
        return SettingsValue();
    const PendingSets& pending = pendingSets().value(m_fileName);
    for (auto set = pending.rbegin(); set != pending.rend(); ++set) {
        if (set->first == key)
            return set->second;
    }
    return SettingsValue::fromVariant(d->settings->value(key));
}

// Kept from QSettings until the synchronise: it writes on its own, at the
// latest when it is destroyed, and waits for its lock without end.
void SettingsStore::SetAppValue(const QString& key, const SettingsValue& value)
{
    if (d->settings)
        pendingSets()[m_fileName].append({key, value});
}

bool SettingsStore::AppSynchronize()
{
    m_lockUnavailable = false;
    if (!d->settings || !moveAsideIfUnreadable(m_fileName))
        return false;
    if (!prepareWrite()) {
        m_lockUnavailable = true;
        return false;
    }
    for (const auto& [key, value] : pendingSets().take(m_fileName)) {
        if (value.type() == SettingsValue::Type::Absent)
            d->settings->remove(key);
        else
            d->settings->setValue(key, value.variant());
    }
    d->settings->sync();
    if ((QFile::permissions(m_fileName) & ModeBits) != OwnerOnly)
        QFile::setPermissions(m_fileName, OwnerOnly);
    return d->settings->status() == QSettings::NoError;
}

// QSettings takes its lock as QLockFile judges it, by the owner it names,
// and one left behind by a crash, empty, counts as held for half a minute.
// False when the lock stays unavailable.
bool SettingsStore::prepareWrite()
{
    createOwnerOnly(m_fileName);
    const QString lockFileName = m_fileName + SettingsLockSuffix;
    AbandonedLock::remove(lockFileName);
    return !AbandonedLock::isNoFileAt(lockFileName) && settingsLockFree(lockFileName);
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
