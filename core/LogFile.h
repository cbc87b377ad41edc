#pragma once

#include <QDateTime>
#include <QString>

// The log file's one line format: local date and time, ": ", the message
// unchanged, and the platform's line end. A message with line breaks of its
// own goes on over several lines, only the first of them dated.
class LogFile {
public:
    static QString line(const QDateTime& when, const QString& message);

    // Opens the file for appending (creating it), writes one line stamped
    // with the current time and closes it again, so no handle is held between
    // messages. Returns false when the line did not reach the file: it could
    // not be opened, or the write or the close failed.
    static bool append(const QString& path, const QString& message);
};
