#pragma once

#include <QSettings>

// A QSettings file format that keeps value types: one JSON object whose
// members are the keys, case-sensitive. Booleans, texts and numbers come
// back as they went in, unlike INI, which turns everything into text.
class JsonSettingsFormat {
public:
    // The ending of a file in this format, without the dot.
    static const QString FileExtension;

    // Registered with QSettings on first use.
    static QSettings::Format format();

    // Reads a whole settings file; an empty file is an empty store. False
    // when the text is no JSON object.
    static bool read(QIODevice& device, QSettings::SettingsMap& map);
    static bool write(QIODevice& device, const QSettings::SettingsMap& map);
};
