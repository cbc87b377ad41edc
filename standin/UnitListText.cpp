#include "UnitListText.h"

namespace {

const QString Record = QStringLiteral(R"({"name":"%1","ID":"%2","dimmable":"%3","value":"%4"})");
const QString True = QStringLiteral("true");
const QString False = QStringLiteral("false");
constexpr QChar Open = u'[';
constexpr QChar Separator = u',';
constexpr QChar Close = u']';
constexpr QChar Backslash = u'\\';
constexpr QChar Quote = u'"';
// U+0000-U+001F are written as \u00 and two lower-case hexadecimal digits.
constexpr char16_t LastControl = 0x1F;
const QString ControlEscape = QStringLiteral("\\u%1");
constexpr int ControlEscapeDigits = 4;
constexpr int Hexadecimal = 16;

} // namespace

QString UnitListText::render(const QList<Unit>& units)
{
    const Unit& last = units.last();
    QString text(Open);
    for (const Unit& unit : units) {
        if (unit.name.compare(last.name, Qt::CaseInsensitive) != 0)
            text += record(unit) + Separator;
    }
    return text + record(last) + Close;
}

// The other two values are the texts of a boolean and of an integer, which
// escaping leaves as they are.
QString UnitListText::record(const Unit& unit)
{
    return Record.arg(escaped(unit.name), escaped(unit.id), unit.dimmable ? True : False,
                      QString::number(unit.value));
}

QString UnitListText::escaped(const QString& value)
{
    QString text;
    text.reserve(value.size());
    for (const QChar c : value) {
        if (c == Backslash || c == Quote)
            text.append(Backslash).append(c);
        else if (c.unicode() <= LastControl)
            text.append(ControlEscape.arg(c.unicode(), ControlEscapeDigits, Hexadecimal, QLatin1Char('0')));
        else
            text.append(c);
    }
    return text;
}
