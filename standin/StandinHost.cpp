#include "StandinHost.h"

#include "ScriptLines.h"
#include "StandinError.h"
#include "UnitListText.h"
#include "UnitStore.h"

namespace {

const QString Refused = QStringLiteral("Remote access to Halvory at \"%1\" was refused for user \"%2\".");
const QString NoList = QStringLiteral("Halvory has no list \"%1\".");
const QString EmptyList = QStringLiteral("The list \"%1\" of Halvory has no units.");
const QString NoUnit = QStringLiteral("Halvory has no unit \"%1\".");

constexpr qint64 Off = 0;
constexpr qint64 SwitchOn = 1;
constexpr qint64 FullLevel = 100;

} // namespace

StandinHost::StandinHost(UnitStore& store)
    : m_store(store)
{
}

QString StandinHost::run(const HostScript& script)
{
    checkMachine(script);
    if (script.kind == HostScript::Kind::UnitList)
        return unitList();
    command(script);
    return {};
}

// The password stays out of the message: it goes to standard error.
void StandinHost::checkMachine(const HostScript& script) const
{
    if (script.machine && !m_store.accepts(*script.machine))
        throw StandinError(Refused.arg(script.machine->address, script.machine->user));
}

QString StandinHost::unitList() const
{
    const QString listName = ScriptLines::UnitListName.toString();
    const auto list = m_store.lists().constFind(listName);
    if (list == m_store.lists().constEnd())
        throw StandinError(NoList.arg(listName));
    if (list->isEmpty())
        throw StandinError(EmptyList.arg(listName));
    return UnitListText::render(*list);
}

void StandinHost::command(const HostScript& script)
{
    bool found = false;
    for (QList<Unit>& units : m_store.lists()) {
        for (Unit& unit : units) {
            if (unit.name == script.unitName) {
                unit.value = newValue(script, unit);
                found = true;
            }
        }
    }
    if (!found)
        throw StandinError(NoUnit.arg(script.unitName));
    m_store.save();
}

qint64 StandinHost::newValue(const HostScript& script, const Unit& unit)
{
    switch (script.kind) {
    case HostScript::Kind::TurnOn:
        return unit.dimmable ? FullLevel : SwitchOn;
    case HostScript::Kind::TurnOff:
        return Off;
    case HostScript::Kind::Brighten:
        if (unit.dimmable)
            return script.level;
        return script.level > 0 ? SwitchOn : Off;
    case HostScript::Kind::UnitList:
        break;
    }
    return unit.value;
}
