#pragma once

#include <QString>

// Host scripts put together as the program sends them: every line ends with
// CR alone, and texts inside quoted literals have backslash and double quote
// escaped.
class StandinScripts {
public:
    static QString localHeader();
    static QString remoteHeader(const QString& user, const QString& password, const QString& address);

    static QString unitList(const QString& header = localHeader());
    static QString turnOn(const QString& name, const QString& header = localHeader());
    static QString turnOff(const QString& name, const QString& header = localHeader());
    static QString brighten(const QString& name, qint64 level, const QString& header = localHeader());

    // The unit list script's lines after the header, end tell included.
    static QStringList unitListBody();
    static QString quoted(const QString& text);
    static QString lines(const QStringList& lines);
};
