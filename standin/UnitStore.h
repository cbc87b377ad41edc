#pragma once

#include "StoreContents.h"

#include <QString>

// The host's units, kept in one indented JSON file that people may edit (its
// layout is StoreJson's). A missing file is made with a demo list; a file that
// cannot be read is never written.
class UnitStore {
public:
    // Halvory/units.json in the user's data folder.
    static QString defaultPath();

    // Reads the file at path, first writing the demo store there when there
    // is none. Throws StandinError when the file cannot be read.
    explicit UnitStore(QString path);

    const QString& path() const { return m_path; }
    QMap<QString, QList<Unit>>& lists() { return m_contents.lists; }
    const QMap<QString, QList<Unit>>& lists() const { return m_contents.lists; }
    bool accepts(const RemoteAccount& account) const;

    // Replaces the file as a whole, so a reader never sees half of it.
    void save() const;

private:
    static StoreContents demo();
    void load();

    QString m_path;
    StoreContents m_contents;
};
