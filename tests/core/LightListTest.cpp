#include "JSONException.h"
#include "JSONItem.h"
#include "LightList.h"
#include "TestApp.h"

#include <gtest/gtest.h>

namespace {

QString unit(const QString& name, const QString& dimmable, const QString& value)
{
    return QStringLiteral(R"({"name":"%1","ID":"7","dimmable":"%2","value":"%3"})")
        .arg(name, dimmable, value);
}

QString unitList(const QStringList& units)
{
    return QLatin1Char('[') + units.join(QLatin1Char(',')) + QLatin1Char(']');
}

QString units(int count, const QString& prefix)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << unit(prefix + QString::number(i), "false", "0");
    return unitList(list);
}

TEST(LightList, StateOfOneUnit)
{
    struct Row {
        const char* dimmable;
        const char* value;
        bool on;
        std::int64_t bri;
        QString stateCell, valueCell;
    };
    const Row rows[] = {
        {"true", "0", false, 0, "Off", "0"},
        {"true", "-5", false, 0, "Off", "-5"},
        {"true", "100", true, 255, "On", "100"},
        {"true", "60", true, 153, "On", "60"},
        {"true", "abc", false, 0, "Off", "abc"},
        {"false", "1", true, 255, "On", "---"},
        {"false", "100", false, 0, "Off", "---"},
        {"false", "2", false, 0, "Off", "---"},
        {"yes", "1", true, 255, "On", "---"},
        {"", "0", false, 0, "Off", "---"},
        {"TRUE", "50", false, 0, "Off", "---"},
    };
    for (const Row& row : rows) {
        const LightList::State state = LightList::stateOf(row.dimmable, row.value);
        const std::string name = std::string(row.dimmable) + "/" + row.value;
        EXPECT_EQ(state.on, row.on) << name;
        EXPECT_EQ(state.bri, row.bri) << name;
        EXPECT_EQ(state.stateCell, row.stateCell) << name;
        EXPECT_EQ(state.valueCell, row.valueCell) << name;
    }
}

TEST(LightList, ScaledLevelIsNotClamped)
{
    const std::pair<std::int64_t, std::int64_t> rows[] = {
        {1, 3}, {20, 51}, {99, 252}, {100, 255}, {101, 258}, {200, 510}, {10, 26}, {50, 128},
    };
    for (const auto& [value, bri] : rows)
        EXPECT_EQ(LightList::scaledLevel(value), bri) << value;
}

TEST(LightList, LevelOfAValueText)
{
    const std::pair<const char*, std::int64_t> rows[] = {
        {"60", 60}, {"-5", -5}, {"", 0}, {"abc", 0}, {" 7", 7}, {"3.7", 3},
        {"99999999999999999999", std::numeric_limits<std::int64_t>::max()},
    };
    for (const auto& [text, level] : rows)
        EXPECT_EQ(LightList::levelOf(text), level) << text;
}

TEST(LightList, RebuildMakesOneLightObjectPerRecord)
{
    TestApp t(unitList({unit("Lamp", "true", "60"), unit("Fan", "false", "1")}));
    t.app.RefreshLightArray();
    EXPECT_EQ(t.app.LightArray->ToString(),
              R"({"0":{"name":"Lamp","modelid":"VEZEZERIZ001","swversion":"00000001",)"
              R"("type":"Dimmable light","state":{"on":true,"bri":153,"reachable":true,"alert":"none"}},)"
              R"("1":{"name":"Fan","modelid":"VEZEZERIZ001","swversion":"00000001",)"
              R"("type":"Dimmable light","state":{"on":true,"bri":255,"reachable":true,"alert":"none"}}})");
    EXPECT_EQ(t.rows.rows, (QList<QStringList>{{"0", "Lamp", "On", "60"}, {"1", "Fan", "On", "---"}}));
}

TEST(LightList, RowsShowEveryCharacterOfNameAndLevel)
{
    const QString first = QStringLiteral("\ufeffBOM");
    const QString inside = QStringLiteral("B\ufeffOM");
    const QString level = QStringLiteral("\ufeff5");
    TestApp t(unitList({unit(first, "true", level), unit(inside, "false", "1")}));
    t.app.RefreshLightArray();
    const QList<QStringList> rows = {{"0", first, "Off", level}, {"1", inside, "On", "---"}};
    EXPECT_EQ(t.rows.rows, rows);
    t.app.RefreshLightArray();
    EXPECT_EQ(t.rows.rows, rows);
}

TEST(LightList, RowsAreOverwrittenAppendedOrLeftAsTheyWere)
{
    TestApp t(units(5, "old"));
    t.app.RefreshLightArray();
    t.host->setUnitListText(units(3, "new"));
    t.app.RefreshLightArray();
    ASSERT_EQ(t.rows.ListCount(), 5);
    EXPECT_EQ(t.rows.rows[2], (QStringList{"2", "new2", "Off", "---"}));
    EXPECT_EQ(t.rows.rows[3], (QStringList{"3", "old3", "Off", "---"}));
    EXPECT_EQ(t.app.LightArray->Count(), 3);
    EXPECT_FALSE(t.app.LightArray->HasName("3"));

    t.host->setUnitListText(units(7, "more"));
    t.app.RefreshLightArray();
    ASSERT_EQ(t.rows.ListCount(), 7);
    EXPECT_EQ(t.rows.rows[4], (QStringList{"4", "more4", "Off", "---"}));
    EXPECT_EQ(t.rows.rows[6], (QStringList{"6", "more6", "Off", "---"}));
}

TEST(LightList, LightNumbersAreDecimalPositionsAndNamesNeedNotBeUnique)
{
    QStringList list;
    for (int i = 0; i < 11; ++i)
        list << unit("Same", "true", "1");
    TestApp t(unitList(list));
    t.app.RefreshLightArray();
    EXPECT_EQ(t.app.LightArray->Count(), 11);
    EXPECT_EQ(t.app.LightArray->Value("10").toItem()->Value("name").toText(), "Same");
    EXPECT_EQ(t.rows.rows[10][0], "10");
}

TEST(LightList, NoUnitsGiveAnEmptyListAndKeepTheRows)
{
    for (const std::optional<QString>& text : {std::optional<QString>(), std::optional<QString>("{}"),
                                               std::optional<QString>("  \r\n")}) {
        TestApp t(units(2, "x"));
        t.app.RefreshLightArray();
        t.host->setUnitListText(text);
        t.app.RefreshLightArray();
        EXPECT_EQ(t.app.LightArray->ToString(), "{}");
        EXPECT_EQ(t.rows.ListCount(), 2);
        EXPECT_EQ(t.rows.rows[1], (QStringList{"1", "x1", "Off", "---"}));
    }
}

TEST(LightList, UnitListThatDoesNotParseFailsAndLeavesAnEmptyList)
{
    TestApp t(units(2, "x"));
    t.app.RefreshLightArray();
    t.host->setUnitListText(unitList({unit(R"(The "Big" One)", "true", "5")}));
    EXPECT_THROW(t.app.RefreshLightArray(), JSONException);
    ASSERT_TRUE(t.app.LightArray);
    EXPECT_EQ(t.app.LightArray->ToString(), "{}");
    EXPECT_EQ(t.rows.rows[0], (QStringList{"0", "x0", "Off", "---"}));
}

} // namespace
