// halvory-standin: an osascript-compatible stand-in for the Halvory host.
// Started without arguments it reads one script on standard input, carries it
// out against its unit store and prints the result and a line feed; a script
// that fails prints one line on standard error and exits 1.

#include "ScriptParser.h"
#include "StandinError.h"
#include "StandinHost.h"
#include "UnitStore.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

namespace {

constexpr int ScriptFailed = 1;

const QString ProgramName = QStringLiteral("halvory-standin");
const QString Description = QStringLiteral(
    "Stands in for the Halvory host: reads one host script on standard input, carries it out "
    "against the unit store and prints its result.");
const QString ListOption = QStringLiteral("list");
const QString ListHelp = QStringLiteral("Print the units and their levels instead of running a script.");
const QString StoreOption = QStringLiteral("store");
const QString StoreHelp = QStringLiteral("Use the unit store FILE instead of %1.");
const QString StoreValue = QStringLiteral("FILE");
const QString ErrorLine = QStringLiteral("%1: %2\n");
const QString ListLine = QStringLiteral("%1\n");
const QString UnitLine = QStringLiteral("  %1 (ID %2, %3): %4\n");
const QString Dimmable = QStringLiteral("dimmable");
const QString Switch = QStringLiteral("switch");

void printUnits(const UnitStore& store, QTextStream& out)
{
    for (auto list = store.lists().begin(); list != store.lists().end(); ++list) {
        out << ListLine.arg(list.key());
        for (const Unit& unit : *list)
            out << UnitLine.arg(unit.name, unit.id, unit.dimmable ? Dimmable : Switch,
                                QString::number(unit.value));
    }
}

QString runScript(UnitStore& store)
{
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        throw StandinError(in.errorString());
    StandinHost host(store);
    return host.run(ScriptParser::parse(QString::fromUtf8(in.readAll())));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(ProgramName);

    QCommandLineParser parser;
    parser.setApplicationDescription(Description);
    parser.addHelpOption();
    parser.addOption({ListOption, ListHelp});
    parser.addOption({StoreOption, StoreHelp.arg(UnitStore::defaultPath()), StoreValue});
    parser.process(application);

    QTextStream out(stdout);
    try {
        UnitStore store(parser.isSet(StoreOption) ? parser.value(StoreOption) : UnitStore::defaultPath());
        if (parser.isSet(ListOption))
            printUnits(store, out);
        else
            out << runScript(store) << '\n';
        return 0;
    } catch (const StandinError& error) {
        out.flush();
        QTextStream(stderr) << ErrorLine.arg(ProgramName, error.message());
        return ScriptFailed;
    }
}
