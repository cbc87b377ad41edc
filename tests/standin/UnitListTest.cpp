#include "StandinTest.h"

namespace {

struct UnitListCase {
    const char* name;
    QList<Unit> units;
    QString text;
};

void PrintTo(const UnitListCase& row, std::ostream* out)
{
    *out << row.name;
}

const UnitListCase unitListCases[] = {
    {"OneUnit",
     {{"Lamp", "7", true, 40}},
     R"([{"name":"Lamp","ID":"7","dimmable":"true","value":"40"}])"},
    {"SwitchValues",
     {{"Fan", "1", false, 1}, {"Heater", "2", false, 0}},
     R"([{"name":"Fan","ID":"1","dimmable":"false","value":"1"},)"
     R"({"name":"Heater","ID":"2","dimmable":"false","value":"0"}])"},
    {"FirstOfThreeSharesLastName",
     {{"A", "1", true, 10}, {"B", "2", false, 1}, {"A", "3", true, 30}},
     R"([{"name":"B","ID":"2","dimmable":"false","value":"1"},)"
     R"({"name":"A","ID":"3","dimmable":"true","value":"30"}])"},
    {"DuplicatesBeforeOtherLastAreKept",
     {{"A", "1", true, 10}, {"A", "2", true, 20}, {"B", "3", false, 0}},
     R"([{"name":"A","ID":"1","dimmable":"true","value":"10"},)"
     R"({"name":"A","ID":"2","dimmable":"true","value":"20"},)"
     R"({"name":"B","ID":"3","dimmable":"false","value":"0"}])"},
    {"CaseOnlyDifferenceIsLeftOut",
     {{"lamp", "1", true, 5}, {"Lamp", "2", true, 6}},
     R"([{"name":"Lamp","ID":"2","dimmable":"true","value":"6"}])"},
    {"LevelsBeyondPercentAndNegative",
     {{"High", "1", true, 117}, {"Low", "2", true, -5}},
     R"([{"name":"High","ID":"1","dimmable":"true","value":"117"},)"
     R"({"name":"Low","ID":"2","dimmable":"true","value":"-5"}])"},
    {"QuoteAndBackslashGoInRaw",
     {{R"(Say "hi")", R"(a\b)", false, 0}},
     R"([{"name":"Say "hi"","ID":"a\b","dimmable":"false","value":"0"}])"},
    {"NonAsciiName",
     {{QStringLiteral("Küche ☀"), "1", true, 1}},
     QStringLiteral(R"([{"name":"Küche ☀","ID":"1","dimmable":"true","value":"1"}])")},
};

class UnitListTest : public StandinTest, public ::testing::WithParamInterface<UnitListCase> {};

TEST_P(UnitListTest, GivesTheUnitListText)
{
    writeStore(GetParam().units);
    const ScriptResult result = execute(HostScripts::unitListScript(localHeader()));
    ASSERT_TRUE(result.hasResult());
    EXPECT_EQ(result.text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Units, UnitListTest, ::testing::ValuesIn(unitListCases),
                         [](const auto& info) { return std::string(info.param.name); });

class UnitListRunTest : public StandinTest {};

TEST_F(UnitListRunTest, EmptyListFails)
{
    writeStore({});
    EXPECT_FALSE(execute(HostScripts::unitListScript(localHeader())).hasResult());
    const StandinRun result = run(HostScripts::unitListScript(localHeader()));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(QString::fromUtf8(result.err), errorLine(R"(The list "Tolvane" of Halvory has no units.)"));
}

TEST_F(UnitListRunTest, MissingListFails)
{
    writeStoreText(R"({"lists":{"Other":[{"name":"A","ID":"1","dimmable":true,"value":1}]}})");
    const StandinRun result = run(HostScripts::unitListScript(localHeader()));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(QString::fromUtf8(result.err), errorLine(R"(Halvory has no list "Tolvane".)"));
}

TEST_F(UnitListRunTest, ResultEndsWithOneLineFeed)
{
    writeStore({{"Lamp", "7", true, 40}});
    const StandinRun result = run(HostScripts::unitListScript(localHeader()));
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, R"([{"name":"Lamp","ID":"7","dimmable":"true","value":"40"}])" "\n");
    EXPECT_EQ(result.err, "");
}

} // namespace
