#pragma once

#include <QString>
#include <QStringList>

// The host scripts that read the unit list "Tolvane" from Halvory and send it
// its commands. Every line, the last one included, ends with CR alone.
//
// Texts inserted into a quoted literal have backslash, double quote, CR, LF
// and tab escaped, so a unit name or a password holding any of them cannot
// end the literal or its line early or change the script; other texts go in
// unchanged.
class HostScripts {
public:
    static constexpr QChar LineEnd = QChar(13);

    // The line that opens the tell block of every script: Halvory on this
    // machine, or on a remote machine reached by remote Apple events.
    static QString header(bool runningLocal, const QString& userName, const QString& password,
                          const QString& address);

    // The tell block that builds the unit list text, after the handlers it
    // calls, which escape every value the host gives for a JSON string.
    static QString unitListScript(const QString& header);
    static QString switchScript(const QString& header, const QString& unitName, bool on);
    static QString brightnessScript(const QString& header, const QString& unitName, qint64 level);

    // The text between the quotes of a literal that stands for text.
    static QString escaped(const QString& text);

private:
    static QString script(const QString& header, const QStringList& body);
    static QString lines(const QStringList& lines);
};
