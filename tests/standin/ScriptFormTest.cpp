#include "StandinTest.h"

#include <QJsonObject>
#include <vector>

namespace {

const QList<Unit> OneLamp{{"Lamp", "1", true, 40}};
const QString OneLampText = QStringLiteral(R"([{"name":"Lamp","ID":"1","dimmable":"true","value":"40"}])");
const QString NotUnderstood = QStringLiteral("Halvory does not understand this script.");

QJsonObject account(const QString& user, const QString& password, const QString& address)
{
    return {{QStringLiteral("user"), user}, {QStringLiteral("password"), password},
            {QStringLiteral("address"), address}};
}

QString remoteHeader(const QString& user, const QString& password, const QString& address)
{
    return HostScripts::header(false, user, password, address);
}

// Remote headers against one accepted account.

struct RemoteCase {
    const char* name;
    QJsonObject account;
    QString header;
    bool accepted;
};

void PrintTo(const RemoteCase& row, std::ostream* out)
{
    *out << row.name;
}

std::vector<RemoteCase> remoteCases()
{
    return {
        {"Matching", account("anna", "secret", "10.0.0.2"), remoteHeader("anna", "secret", "10.0.0.2"), true},
        {"EmptyCredentials", account("", "", ""), remoteHeader("", "", ""), true},
        {"EscapedQuotesAndBackslashes", account(R"(a"b)", R"(p\w"d)", R"(h"st)"),
         remoteHeader(R"(a"b)", R"(p\w"d)", R"(h"st)"), true},
        {"PasswordWithColonAndAt", account("anna", "x:y@z", "host"), remoteHeader("anna", "x:y@z", "host"), true},
        {"WrongPassword", account("anna", "secret", "10.0.0.2"), remoteHeader("anna", "Secret", "10.0.0.2"), false},
        {"WrongUser", account("anna", "secret", "10.0.0.2"), remoteHeader("ann", "secret", "10.0.0.2"), false},
        {"WrongAddress", account("anna", "secret", "10.0.0.2"), remoteHeader("anna", "secret", "10.0.0.3"), false},
    };
}

class RemoteHeaderTest : public StandinTest, public ::testing::WithParamInterface<RemoteCase> {};

TEST_P(RemoteHeaderTest, AcceptsOnlyListedAccounts)
{
    writeStore(OneLamp, {GetParam().account});
    const ScriptResult result = execute(HostScripts::unitListScript(GetParam().header));
    EXPECT_EQ(result.hasResult(), GetParam().accepted);
    EXPECT_EQ(result.text, GetParam().accepted ? OneLampText : QString());
}

INSTANTIATE_TEST_SUITE_P(Headers, RemoteHeaderTest, ::testing::ValuesIn(remoteCases()),
                         [](const auto& info) { return std::string(info.param.name); });

class ScriptFormTest : public StandinTest {};

TEST_F(ScriptFormTest, RefusedRemoteNamesMachineAndUser)
{
    writeStore(OneLamp);
    const StandinRun result = run(HostScripts::switchScript(remoteHeader("anna", "secret", "10.0.0.2"), "Lamp", true));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(QString::fromUtf8(result.err),
              errorLine(R"(Remote access to Halvory at "10.0.0.2" was refused for user "anna".)"));
    EXPECT_EQ(storedUnits(), OneLamp);
}

TEST_F(ScriptFormTest, AcceptedRemoteCommandIsCarriedOut)
{
    writeStore(OneLamp, {account("anna", "secret", "10.0.0.2")});
    ASSERT_TRUE(execute(HostScripts::switchScript(remoteHeader("anna", "secret", "10.0.0.2"), "Lamp", false)).hasResult());
    EXPECT_EQ(storedUnits(), (QList<Unit>{{"Lamp", "1", true, 0}}));
}

// Line ends the program never sends: LF, CR LF, none after the last line.

struct LineEndCase {
    const char* name;
    QString lineEnd;
    bool endsWithLineEnd;
};

void PrintTo(const LineEndCase& row, std::ostream* out)
{
    *out << row.name;
}

const LineEndCase lineEndCases[] = {
    {"CR", "\r", true},
    {"LF", "\n", true},
    {"CRLF", "\r\n", true},
    {"CRWithoutLast", "\r", false},
};

class LineEndTest : public StandinTest, public ::testing::WithParamInterface<LineEndCase> {};

TEST_P(LineEndTest, UnitListScriptIsUnderstood)
{
    writeStore(OneLamp);
    QString script = HostScripts::unitListScript(localHeader()).replace(HostScripts::LineEnd, GetParam().lineEnd);
    if (!GetParam().endsWithLineEnd)
        script.chop(GetParam().lineEnd.size());
    const ScriptResult result = execute(script);
    ASSERT_TRUE(result.hasResult());
    EXPECT_EQ(result.text, OneLampText);
}

INSTANTIATE_TEST_SUITE_P(LineEnds, LineEndTest, ::testing::ValuesIn(lineEndCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Scripts that are not the host scripts.

struct UnknownCase {
    const char* name;
    QString script;
};

void PrintTo(const UnknownCase& row, std::ostream* out)
{
    *out << row.name;
}

// The program's script with one text in it replaced.
QString replaced(QString script, const QString& text, const QString& replacement)
{
    return script.replace(text, replacement);
}

// The program's script with count lines from index on replaced by lines.
QString spliced(const QString& script, qsizetype index, qsizetype count, const QStringList& lines)
{
    const QStringList all = script.split(HostScripts::LineEnd);
    return (all.first(index) + lines + all.sliced(index + count)).join(HostScripts::LineEnd);
}

// Each case changes a script the program sends, so that it is no longer one.
std::vector<UnknownCase> unknownCases()
{
    const QString unitList = HostScripts::unitListScript(localHeader());
    const QString handlers = unitList.first(unitList.indexOf(localHeader()));
    const QString tellBlock = unitList.sliced(handlers.size());
    const QString on = HostScripts::switchScript(localHeader(), "Lamp", true);
    const QString off = HostScripts::switchScript(localHeader(), "Lamp", false);
    const QString remoteOn = HostScripts::switchScript(remoteHeader("anna", "pw", "host"), "Lamp", true);
    const auto level = [](const QString& text) {
        return replaced(HostScripts::brightnessScript(localHeader(), "Lamp", 5), " to 5", text);
    };
    const auto named = [](const QString& name) { return HostScripts::switchScript(localHeader(), name, true); };
    return {
        {"Empty", ""},
        {"HeaderOnly", spliced(on, 1, 1, {})},
        {"HeaderInLowerCase", replaced(on, "tell Application", "tell application")},
        {"OtherApplication", replaced(on, "Halvory", "Finder")},
        {"RemoteWithoutScheme", replaced(remoteOn, "eppc://", "")},
        {"RemoteWithoutAt", replaced(remoteOn, "@host", "")},
        {"RemoteWithoutColon", replaced(remoteOn, ":pw", "")},
        {"RemoteUnescapedQuote",
         replaced(HostScripts::switchScript(remoteHeader(R"(a"b)", "pw", "host"), "Lamp", true), R"(\")", R"(")")},
        {"UnitListLineChanged", replaced(unitList, "last item", "first item")},
        {"UnitListWithoutEndTell", spliced(unitList, unitList.count(HostScripts::LineEnd) - 1, 1, {})},
        {"UnitListWithoutHandlers", tellBlock},
        {"UnitListHandlersAfterTheTellBlock", tellBlock + handlers},
        {"UnitListHandlerChanged", replaced(unitList, "from 0 to 31", "from 0 to 30")},
        {"UnitListRecordWithoutEscape",
         replaced(unitList, "my escapedForJSON(hvName of singleUnit)", "hvName of singleUnit")},
        {"HandlersBeforeACommand", handlers + on},
        {"UnitListTrailingBlank", replaced(unitList, "return retString", "return retString ")},
        {"ExtraLineAfterEndTell", spliced(on, 3, 0, {"end tell"})},
        {"BlankLineInside", spliced(on, 1, 0, {""})},
        {"TwoCommands", spliced(on, 2, 0, {off.split(HostScripts::LineEnd).at(1)})},
        {"UnknownCommand", replaced(on, "turnon", "toggle")},
        {"UnquotedName", replaced(on, R"("Lamp")", "Lamp")},
        {"TextAfterName", replaced(on, R"("Lamp")", R"("Lamp" now)")},
        {"UnescapedQuoteInName", replaced(named(R"(La"mp)"), R"(\")", R"(")")},
        {"UnknownEscape", replaced(named(R"(La\mp)"), R"(\\)", R"(\)")},
        {"EscapeOfAnotherControlCharacter", replaced(named("La\tmp"), R"(\t)", R"(\b)")},
        {"RawLineFeedInName", replaced(named("La\nmp"), R"(\n)", "\n")},
        {"UnclosedName", replaced(off, R"("Lamp")", R"("Lamp)")},
        {"BrightenWithoutLevel", level("")},
        {"BrightenEmptyLevel", level(" to ")},
        {"BrightenFraction", level(" to 5.5")},
        {"BrightenPlusSign", level(" to +5")},
        {"BrightenLoneMinus", level(" to -")},
        {"BrightenBeyond64Bits", level(" to 9223372036854775808")},
        {"BrightenDoubleBlank", level("  to 5")},
    };
}

class UnknownScriptTest : public StandinTest, public ::testing::WithParamInterface<UnknownCase> {};

TEST_P(UnknownScriptTest, FailsAndLeavesStore)
{
    writeStore(OneLamp);
    const StandinRun result = run(GetParam().script);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(QString::fromUtf8(result.err), errorLine(NotUnderstood));
    EXPECT_EQ(storedUnits(), OneLamp);
}

INSTANTIATE_TEST_SUITE_P(Scripts, UnknownScriptTest, ::testing::ValuesIn(unknownCases()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
