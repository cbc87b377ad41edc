#pragma once

#include "SettingsValue.h"

#include <QString>
#include <memory>

// The current user's settings of this application, kept under exact keys in
// one file (JSON, so Booleans, texts and numbers keep their types). A store
// object keeps nothing between uses: every object reads the file anew.
//
// Sets stay pending in the process until AppSynchronize, which writes the
// file atomically and readable by its owner only; every store object of the
// file sees them, and one synchronise commits them all. A file that cannot
// be read, or a path that is no regular file, is moved aside, never
// overwritten, and the store starts empty.
class SettingsStore {
public:
    // The application's own store.
    SettingsStore();
    explicit SettingsStore(const QString& fileName);
    ~SettingsStore();

    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    SettingsValue CopyAppValue(const QString& key) const;
    void SetAppValue(const QString& key, const SettingsValue& value);
    // False when nothing could be written; the sets then stay pending.
    bool AppSynchronize();
    // Whether the last AppSynchronize gave up because the file's lock
    // stayed held, or could not be made, for a few seconds.
    bool lockWasUnavailable() const { return m_lockUnavailable; }

    const QString& fileName() const { return m_fileName; }

    // Where the application's own store lives; tests may point it elsewhere.
    static QString defaultFileName();
    static void setDefaultFileName(const QString& fileName);

private:
    bool prepareWrite();

    class Private;
    QString m_fileName;
    bool m_lockUnavailable = false;
    std::unique_ptr<Private> d;
};
