#include "StandinTest.h"

#include <QJsonDocument>
#include <limits>
#include <vector>

namespace {

const Unit Dimmer{"Lamp", "1", true, 60};
const Unit Switch{"Lamp", "1", false, 1};
const Unit Bystander{"Other", "2", true, 33};

struct CommandCase {
    const char* name;
    Unit unit;
    QString script;
    qint64 value;
};

void PrintTo(const CommandCase& row, std::ostream* out)
{
    *out << row.name;
}

Unit withValue(Unit unit, qint64 value)
{
    unit.value = value;
    return unit;
}

std::vector<CommandCase> commandCases()
{
    const QString on = HostScripts::switchScript(localHeader(), "Lamp", true);
    const QString off = HostScripts::switchScript(localHeader(), "Lamp", false);
    const auto brighten = [](qint64 level) { return HostScripts::brightnessScript(localHeader(), "Lamp", level); };
    return {
        {"TurnOnDimmable", withValue(Dimmer, 0), on, 100},
        {"TurnOnSwitch", withValue(Switch, 0), on, 1},
        {"TurnOffDimmable", Dimmer, off, 0},
        {"TurnOffSwitch", Switch, off, 0},
        {"BrightenDimmable", Dimmer, brighten(25), 25},
        {"BrightenDimmableToZero", Dimmer, brighten(0), 0},
        {"BrightenDimmableNotClamped", Dimmer, brighten(117), 117},
        {"BrightenDimmableNegative", Dimmer, brighten(-5), -5},
        {"BrightenDimmableLargest", Dimmer, brighten(std::numeric_limits<qint64>::max()),
         std::numeric_limits<qint64>::max()},
        {"BrightenSwitchOn", withValue(Switch, 0), brighten(40), 1},
        {"BrightenSwitchZero", Switch, brighten(0), 0},
        {"BrightenSwitchNegative", Switch, brighten(-3), 0},
    };
}

class CommandTest : public StandinTest, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(CommandTest, SetsTheUnitsLevel)
{
    writeStore({GetParam().unit, Bystander});
    const ScriptResult result = execute(GetParam().script);
    ASSERT_TRUE(result.hasResult());
    EXPECT_EQ(result.text, "");
    EXPECT_EQ(storedUnits(), (QList<Unit>{withValue(GetParam().unit, GetParam().value), Bystander}));
}

INSTANTIATE_TEST_SUITE_P(Commands, CommandTest, ::testing::ValuesIn(commandCases()),
                         [](const auto& info) { return std::string(info.param.name); });

class CommandRuleTest : public StandinTest {};

TEST_F(CommandRuleTest, EveryUnitOfTheNameChangesAndCaseCounts)
{
    writeStore({{"Lamp", "1", true, 5}, {"lamp", "2", true, 5}, {"Lamp", "3", false, 0}});
    ASSERT_TRUE(execute(HostScripts::switchScript(localHeader(), "Lamp", true)).hasResult());
    EXPECT_EQ(storedUnits(),
              (QList<Unit>{{"Lamp", "1", true, 100}, {"lamp", "2", true, 5}, {"Lamp", "3", false, 1}}));
}

TEST_F(CommandRuleTest, EscapedQuoteAndBackslashInName)
{
    const QString name = QStringLiteral(R"(Say "hi" \ there)");
    writeStore({{name, "1", true, 0}});
    ASSERT_TRUE(execute(HostScripts::brightnessScript(localHeader(), name, 30)).hasResult());
    EXPECT_EQ(storedUnits(), (QList<Unit>{{name, "1", true, 30}}));
}

// Names as the program sends them, each beside a unit whose name differs
// only where the escaped character stands.
struct NameCase {
    const char* name;
    QString unitName;
    QString bystanderName;
};

void PrintTo(const NameCase& row, std::ostream* out)
{
    *out << row.name;
}

std::vector<NameCase> nameCases()
{
    return {
        {"Quote", R"(65" TV)", "65 TV"},
        {"Backslash", R"(Back\Door)", "BackDoor"},
        {"LineFeed", "Line\nFeed", "LineFeed"},
        {"CarriageReturn", "Carriage\rReturn", "CarriageReturn"},
        {"BothLineEnds", "Both\r\nEnds", "Both\nEnds"},
        {"Tab", "Tab\tbed", "Tab bed"},
        {"OtherControlCharacters", "Bell\x07" "and\x1f", "Bell and"},
        {"ByteOrderMarkFirst", QStringLiteral("\ufeffBOM"), "BOM"},
    };
}

class CommandNameTest : public StandinTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(CommandNameTest, ReachesTheUnitOfThatName)
{
    const QString name = GetParam().unitName;
    const QList<Unit> units = {{GetParam().bystanderName, "1", true, 5}, {name, "2", true, 5}};
    writeStore(units);
    ASSERT_TRUE(execute(HostScripts::brightnessScript(localHeader(), name, 30)).hasResult());
    ASSERT_TRUE(execute(HostScripts::switchScript(localHeader(), name, false)).hasResult());
    ASSERT_TRUE(execute(HostScripts::brightnessScript(localHeader(), name, 70)).hasResult());
    EXPECT_EQ(storedUnits(), (QList<Unit>{units[0], {name, "2", true, 70}}));
}

INSTANTIATE_TEST_SUITE_P(Names, CommandNameTest, ::testing::ValuesIn(nameCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandRuleTest, UnknownUnitFailsAndLeavesStore)
{
    writeStore({Dimmer});
    const QByteArray before = storeText();
    const StandinRun result = run(HostScripts::switchScript(localHeader(), "Nobody", false));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(QString::fromUtf8(result.err), errorLine(R"(Halvory has no unit "Nobody".)"));
    EXPECT_EQ(storeText(), before);
}

TEST_F(CommandRuleTest, StoreStaysIndentedJSON)
{
    writeStore({Dimmer});
    ASSERT_TRUE(execute(HostScripts::switchScript(localHeader(), "Lamp", false)).hasResult());
    const QByteArray text = storeText();
    EXPECT_EQ(text, QJsonDocument::fromJson(text).toJson(QJsonDocument::Indented));
}

} // namespace
