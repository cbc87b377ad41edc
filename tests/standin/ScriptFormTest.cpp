#include "StandinScripts.h"
#include "StandinTest.h"

#include <QJsonObject>

namespace {

using S = StandinScripts;

const QList<StoredUnit> OneLamp{{"Lamp", "1", true, 40}};
const QString OneLampText = QStringLiteral(R"([{"name":"Lamp","ID":"1","dimmable":"true","value":"40"}])");
const QString NotUnderstood = QStringLiteral("Halvory does not understand this script.");

QJsonObject account(const QString& user, const QString& password, const QString& address)
{
    return {{QStringLiteral("user"), user}, {QStringLiteral("password"), password},
            {QStringLiteral("address"), address}};
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

const RemoteCase remoteCases[] = {
    {"Matching", account("anna", "secret", "10.0.0.2"), S::remoteHeader("anna", "secret", "10.0.0.2"), true},
    {"EmptyCredentials", account("", "", ""), S::remoteHeader("", "", ""), true},
    {"EscapedQuotesAndBackslashes", account(R"(a"b)", R"(p\w"d)", R"(h"st)"),
     S::remoteHeader(R"(a"b)", R"(p\w"d)", R"(h"st)"), true},
    {"PasswordWithColonAndAt", account("anna", "x:y@z", "host"), S::remoteHeader("anna", "x:y@z", "host"), true},
    {"WrongPassword", account("anna", "secret", "10.0.0.2"), S::remoteHeader("anna", "Secret", "10.0.0.2"), false},
    {"WrongUser", account("anna", "secret", "10.0.0.2"), S::remoteHeader("ann", "secret", "10.0.0.2"), false},
    {"WrongAddress", account("anna", "secret", "10.0.0.2"), S::remoteHeader("anna", "secret", "10.0.0.3"), false},
};

class RemoteHeaderTest : public StandinTest, public ::testing::WithParamInterface<RemoteCase> {};

TEST_P(RemoteHeaderTest, AcceptsOnlyListedAccounts)
{
    writeStore(OneLamp, {GetParam().account});
    const ScriptResult result = execute(S::unitList(GetParam().header));
    EXPECT_EQ(result.hasResult(), GetParam().accepted);
    EXPECT_EQ(result.text, GetParam().accepted ? OneLampText : QString());
}

INSTANTIATE_TEST_SUITE_P(Headers, RemoteHeaderTest, ::testing::ValuesIn(remoteCases),
                         [](const auto& info) { return std::string(info.param.name); });

class ScriptFormTest : public StandinTest {};

TEST_F(ScriptFormTest, RefusedRemoteNamesMachineAndUser)
{
    writeStore(OneLamp);
    const StandinRun result = run(S::turnOn("Lamp", S::remoteHeader("anna", "secret", "10.0.0.2")));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(QString::fromUtf8(result.err),
              errorLine(R"(Remote access to Halvory at "10.0.0.2" was refused for user "anna".)"));
    EXPECT_EQ(storedUnits(), OneLamp);
}

TEST_F(ScriptFormTest, AcceptedRemoteCommandIsCarriedOut)
{
    writeStore(OneLamp, {account("anna", "secret", "10.0.0.2")});
    ASSERT_TRUE(execute(S::turnOff("Lamp", S::remoteHeader("anna", "secret", "10.0.0.2"))).hasResult());
    EXPECT_EQ(storedUnits(), (QList<StoredUnit>{{"Lamp", "1", true, 0}}));
}

// Line ends.

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
    QString script = (QStringList{S::localHeader()} + S::unitListBody()).join(GetParam().lineEnd);
    if (GetParam().endsWithLineEnd)
        script += GetParam().lineEnd;
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

QString replacedLine(const QString& script, qsizetype index, const QString& line)
{
    QStringList lines = script.split(u'\r');
    lines[index] = line;
    return lines.join(u'\r');
}

const UnknownCase unknownCases[] = {
    {"Empty", ""},
    {"HeaderOnly", S::lines({S::localHeader(), "end tell"})},
    {"HeaderInLowerCase", S::lines({R"(tell application "Halvory")", R"(turnon "Lamp")", "end tell"})},
    {"OtherApplication", S::lines({R"(tell Application "Finder")", R"(turnon "Lamp")", "end tell"})},
    {"RemoteWithoutScheme", S::lines({R"(tell Application "Halvory" of machine "anna:pw@host")", R"(turnon "Lamp")", "end tell"})},
    {"RemoteWithoutAt", S::lines({R"(tell Application "Halvory" of machine "eppc://anna:pw")", R"(turnon "Lamp")", "end tell"})},
    {"RemoteWithoutColon", S::lines({R"(tell Application "Halvory" of machine "eppc://anna@host")", R"(turnon "Lamp")", "end tell"})},
    {"RemoteUnescapedQuote", S::lines({R"(tell Application "Halvory" of machine "eppc://a"b:pw@host")", R"(turnon "Lamp")", "end tell"})},
    {"UnitListLineChanged", replacedLine(S::unitList(), 3, "set lastName to hvName of first item of tempUnits")},
    {"UnitListWithoutEndTell", S::lines(QStringList{S::localHeader()} + S::unitListBody().mid(0, 21))},
    {"UnitListTrailingBlank", replacedLine(S::unitList(), 21, "return retString ")},
    {"ExtraLineAfterEndTell", S::turnOn("Lamp") + "end tell\r"},
    {"BlankLineInside", S::lines({S::localHeader(), "", R"(turnon "Lamp")", "end tell"})},
    {"TwoCommands", S::lines({S::localHeader(), R"(turnon "Lamp")", R"(turnoff "Lamp")", "end tell"})},
    {"UnknownCommand", S::lines({S::localHeader(), R"(toggle "Lamp")", "end tell"})},
    {"UnquotedName", S::lines({S::localHeader(), "turnon Lamp", "end tell"})},
    {"TextAfterName", S::lines({S::localHeader(), R"(turnon "Lamp" now)", "end tell"})},
    {"UnescapedQuoteInName", S::lines({S::localHeader(), R"(turnon "La"mp")", "end tell"})},
    {"UnknownEscape", S::lines({S::localHeader(), R"(turnon "La\mp")", "end tell"})},
    {"UnclosedName", S::lines({S::localHeader(), R"(turnoff "Lamp)", "end tell"})},
    {"BrightenWithoutLevel", S::lines({S::localHeader(), R"(brighten "Lamp")", "end tell"})},
    {"BrightenEmptyLevel", S::lines({S::localHeader(), R"(brighten "Lamp" to )", "end tell"})},
    {"BrightenFraction", S::lines({S::localHeader(), R"(brighten "Lamp" to 5.5)", "end tell"})},
    {"BrightenPlusSign", S::lines({S::localHeader(), R"(brighten "Lamp" to +5)", "end tell"})},
    {"BrightenLoneMinus", S::lines({S::localHeader(), R"(brighten "Lamp" to -)", "end tell"})},
    {"BrightenBeyond64Bits", S::lines({S::localHeader(), R"(brighten "Lamp" to 9223372036854775808)", "end tell"})},
    {"BrightenDoubleBlank", S::lines({S::localHeader(), R"(brighten "Lamp"  to 5)", "end tell"})},
};

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

INSTANTIATE_TEST_SUITE_P(Scripts, UnknownScriptTest, ::testing::ValuesIn(unknownCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
