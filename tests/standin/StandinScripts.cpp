#include "StandinScripts.h"

#include <QStringList>

namespace {
constexpr QChar LineEnd = u'\r';
}

QString StandinScripts::localHeader()
{
    return QStringLiteral(R"(tell Application "Halvory")");
}

QString StandinScripts::remoteHeader(const QString& user, const QString& password, const QString& address)
{
    return QStringLiteral(R"(tell Application "Halvory" of machine )")
        + quoted(QStringLiteral("eppc://") + user + u':' + password + u'@' + address);
}

QStringList StandinScripts::unitListBody()
{
    const QString name = QStringLiteral(R"(set retString to retString & "\"name\":\"" & hvName of singleUnit & "\",")");
    const QString id = QStringLiteral(R"(set retString to retString & "\"ID\":\"" & hvID of singleUnit & "\",")");
    const QString dimmable = QStringLiteral(R"(set retString to retString & "\"dimmable\":\"" & hvDimmable of singleUnit & "\",")");
    const QString value = QStringLiteral(R"(set retString to retString & "\"value\":\"" & hvValue of singleUnit & "\"")");
    return {
        QStringLiteral(R"(set tempUnits to all of list "Tolvane" with extract)"),
        QStringLiteral(R"(set retString to "[")"),
        QStringLiteral(R"(set lastName to hvName of last item of tempUnits)"),
        QStringLiteral(R"(repeat with singleUnit in tempUnits)"),
        QStringLiteral(R"(if lastName is not equal to hvName of singleUnit then)"),
        QStringLiteral(R"(set retString to retString & "{")"),
        name, id, dimmable, value,
        QStringLiteral(R"(set retString to retString & "},")"),
        QStringLiteral("end if"),
        QStringLiteral("end repeat"),
        QStringLiteral(R"(set retString to retString & "{")"),
        name, id, dimmable, value,
        QStringLiteral(R"(set retString to retString & "}")"),
        QStringLiteral(R"(set retString to retString & "]")"),
        QStringLiteral("return retString"),
        QStringLiteral("end tell"),
    };
}

QString StandinScripts::unitList(const QString& header)
{
    return lines(QStringList{header} + unitListBody());
}

QString StandinScripts::turnOn(const QString& name, const QString& header)
{
    return lines({header, QStringLiteral("turnon ") + quoted(name), QStringLiteral("end tell")});
}

QString StandinScripts::turnOff(const QString& name, const QString& header)
{
    return lines({header, QStringLiteral("turnoff ") + quoted(name), QStringLiteral("end tell")});
}

QString StandinScripts::brighten(const QString& name, qint64 level, const QString& header)
{
    return lines({header, QStringLiteral("brighten ") + quoted(name) + QStringLiteral(" to ") + QString::number(level),
                  QStringLiteral("end tell")});
}

QString StandinScripts::quoted(const QString& text)
{
    QString escaped = text;
    escaped.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    return u'"' + escaped + u'"';
}

QString StandinScripts::lines(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines)
        text += line + LineEnd;
    return text;
}
