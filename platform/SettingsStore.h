#pragma once

#include "SettingsValue.h"

#include <QString>
#include <memory>

// The current user's settings of this application, kept under exact keys in
// one file (JSON, so Booleans, texts and numbers keep their types). A store
// object keeps nothing between uses: every object reads the file anew.
//
// Sets may stay pending until AppSynchronize, which writes the file
// atomically and readable by its owner only. A file that cannot be read, or
// a path that is no regular file, is moved aside, never overwritten, and the
// store starts empty.
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
    bool AppSynchronize();

    const QString& fileName() const { return m_fileName; }

    // Where the application's own store lives; tests may point it elsewhere.
    static QString defaultFileName();
    static void setDefaultFileName(const QString& fileName);

private:
    void prepareWrite();

    class Private;
    QString m_fileName;
    std::unique_ptr<Private> d;
};
