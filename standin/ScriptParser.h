#pragma once

#include "HostScript.h"

#include <QString>
#include <QStringList>
#include <QStringView>

// Reads a script text into a HostScript, or throws StandinError when it is
// not one of the scripts this host understands. Lines may end with CR, LF or
// CR LF; the last line end may be missing.
class ScriptParser {
public:
    static HostScript parse(const QString& text);

private:
    static QStringList splitLines(const QString& text);
    static std::optional<RemoteAccount> parseHeader(QStringView line);
    static RemoteAccount parseMachine(const QString& url);
    static bool startsWithHandlers(const QStringList& lines);
    static HostScript parseBody(const QStringList& body, bool unitList);
    static HostScript parseCommand(QStringView line);
    static qint64 parseLevel(QStringView text);
    // The text of the quoted literal that starts at line[pos]; pos moves past
    // its closing quote.
    static QString readQuoted(QStringView line, qsizetype& pos);
    // The character that a backslash and letter stand for in a literal.
    static QChar escapedCharacter(QChar letter);

    [[noreturn]] static void fail();
};
