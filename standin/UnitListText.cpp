#include "UnitListText.h"

namespace {

const QString Record = QStringLiteral(R"({"name":"%1","ID":"%2","dimmable":"%3","value":"%4"})");
const QString True = QStringLiteral("true");
const QString False = QStringLiteral("false");
constexpr QChar Open = u'[';
constexpr QChar Separator = u',';
constexpr QChar Close = u']';

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

QString UnitListText::record(const Unit& unit)
{
    return Record.arg(unit.name, unit.id, unit.dimmable ? True : False, QString::number(unit.value));
}
