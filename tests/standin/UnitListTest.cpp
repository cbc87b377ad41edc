#include "StandinTest.h"

#include <QJsonDocument>

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
    {"QuoteAndBackslashAreEscaped",
     {{R"(Say "hi")", R"(a\b)", false, 0}},
     R"([{"name":"Say \"hi\"","ID":"a\\b","dimmable":"false","value":"0"}])"},
    {"ControlCharactersAreEscaped",
     {{QStringLiteral("\t\n\r\x01\x1f\0 "), QStringLiteral("\b\f"), true, 1}},
     R"([{"name":"\u0009\u000a\u000d\u0001\u001f\u0000 ","ID":"\u0008\u000c","dimmable":"true","value":"1"}])"},
    {"EscapesInTheNameStayText",
     {{R"(\u0041\n\")", "1", true, 1}},
     R"([{"name":"\\u0041\\n\\\"","ID":"1","dimmable":"true","value":"1"}])"},
    {"NameShapedLikeMoreRecordsStaysOneName",
     {{R"(A","dimmable":"true","value":"100"},{"name":"Injected)", "1", false, 0}, {"A", "2", false, 0}},
     R"([{"name":"A\",\"dimmable\":\"true\",\"value\":\"100\"},{\"name\":\"Injected","ID":"1",)"
     R"("dimmable":"false","value":"0"},{"name":"A","ID":"2","dimmable":"false","value":"0"}])"},
    {"DelAndLaterCharactersAsTheyAre",
     {{QStringLiteral("\x7f\x80\u2028\ufeffX"), "1", true, 1}},
     QStringLiteral("[{\"name\":\"\x7f\x80\u2028\ufeffX\",\"ID\":\"1\",\"dimmable\":\"true\",\"value\":\"1\"}]")},
    {"LoneSurrogateComesOutAsReplacementCharacter",
     {{QString(QChar(0xD800)) + QStringLiteral("X"), "1", true, 1}},
     QStringLiteral("[{\"name\":\"\ufffdX\",\"ID\":\"1\",\"dimmable\":\"true\",\"value\":\"1\"}]")},
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

TEST_F(UnitListRunTest, AnyNamesComeBackExactAsJSON)
{
    const QList<Unit> units = {
        {"Desk Lamp", "1", true, 0},
        {R"(65" TV)", "2", true, 10},
        {R"(Back\Door)", R"(\)", false, 1},
        {R"(A","dimmable":"true","value":"100"},{"name":"Injected)", "4", false, 0},
        {QStringLiteral("Tab\tLine\nReturn\r\x01\0End"), "5", true, 20},
        {R"(\ud800\")", "6", true, 30},
        {"Fan", "7", false, 0},
    };
    writeStore(units);
    const ScriptResult result = execute(HostScripts::unitListScript(localHeader()));
    ASSERT_TRUE(result.hasResult());
    QJsonParseError error;
    const QJsonArray records = QJsonDocument::fromJson(result.text.toUtf8(), &error).array();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    ASSERT_EQ(records.size(), units.size());
    for (qsizetype i = 0; i < units.size(); ++i) {
        EXPECT_EQ(records[i][QStringLiteral("name")].toString(), units[i].name) << i;
        EXPECT_EQ(records[i][QStringLiteral("ID")].toString(), units[i].id) << i;
    }
}

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
