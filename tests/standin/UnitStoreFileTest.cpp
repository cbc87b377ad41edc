#include "StandinTest.h"

#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>

namespace {

const QString DemoText = QStringLiteral(
    R"([{"name":"Kitchen Light","ID":"101","dimmable":"true","value":"60"},)"
    R"({"name":"Reading Lamp","ID":"102","dimmable":"true","value":"0"},)"
    R"({"name":"Porch Light","ID":"103","dimmable":"false","value":"1"},)"
    R"({"name":"Coffee Maker","ID":"104","dimmable":"false","value":"0"}])");

class UnitStoreFileTest : public StandinTest {};

TEST_F(UnitStoreFileTest, DemoStoreIsMadeOnFirstUse)
{
    ASSERT_FALSE(QFile::exists(storePath()));
    const ScriptResult result = execute(HostScripts::unitListScript(localHeader()));
    ASSERT_TRUE(result.hasResult());
    EXPECT_EQ(result.text, DemoText);
    EXPECT_EQ(storedUnits(), (QList<Unit>{{"Kitchen Light", "101", true, 60},
                                                {"Reading Lamp", "102", true, 0},
                                                {"Porch Light", "103", false, 1},
                                                {"Coffee Maker", "104", false, 0}}));
    EXPECT_TRUE(QJsonDocument::fromJson(storeText())["accounts"].toArray().isEmpty());
}

TEST_F(UnitStoreFileTest, BrokenStoreFailsEveryScriptAndStays)
{
    const QByteArray broken = R"({"lists": {"Tolvane": [)";
    writeStoreText(broken);
    for (const QString& script :
         {HostScripts::unitListScript(localHeader()), HostScripts::switchScript(localHeader(), "Lamp", true)}) {
        const StandinRun result = run(script);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(QString::fromUtf8(result.err),
                  errorLine(QStringLiteral("The unit store %1 does not parse: unterminated array at offset 23.")
                                .arg(storePath())));
    }
    EXPECT_EQ(storeText(), broken);
}

struct InvalidCase {
    const char* name;
    QByteArray store;
    QString problem;
};

void PrintTo(const InvalidCase& row, std::ostream* out)
{
    *out << row.name;
}

const InvalidCase invalidCases[] = {
    {"TopLevelArray", "[]", "does not hold a JSON object."},
    {"ListsNotObject", R"({"lists":[]})", R"(is not valid: "lists" is not an object.)"},
    {"ListNotArray", R"({"lists":{"Tolvane":{}}})", R"(is not valid: list "Tolvane" is not an array.)"},
    {"UnitNotObject", R"({"lists":{"Tolvane":[7]}})", R"(is not valid: unit 1 of list "Tolvane": is not an object.)"},
    {"NameMissing", R"({"lists":{"Tolvane":[{"ID":"1","dimmable":true,"value":1}]}})",
     R"(is not valid: unit 1 of list "Tolvane": "name" is not a text.)"},
    {"IDNumber", R"({"lists":{"Tolvane":[{"name":"A","ID":1,"dimmable":true,"value":1}]}})",
     R"(is not valid: unit 1 of list "Tolvane": "ID" is not a text.)"},
    {"DimmableText", R"({"lists":{"Tolvane":[{"name":"A","ID":"1","dimmable":"true","value":1}]}})",
     R"(is not valid: unit 1 of list "Tolvane": "dimmable" is not true or false.)"},
    {"ValueFraction",
     R"({"lists":{"Tolvane":[{"name":"A","ID":"1","dimmable":true,"value":1},{"name":"B","ID":"2","dimmable":true,"value":2.5}]}})",
     R"(is not valid: unit 2 of list "Tolvane": "value" is not a whole number.)"},
    {"AccountsNotArray", R"({"accounts":{}})", R"(is not valid: "accounts" is not an array.)"},
    {"AccountWithoutPassword", R"({"accounts":[{"user":"a","address":"h"}]})",
     R"(is not valid: account 1: "password" is not a text.)"},
};

class InvalidStoreTest : public StandinTest, public ::testing::WithParamInterface<InvalidCase> {};

TEST_P(InvalidStoreTest, FailsNamingTheProblem)
{
    writeStoreText(GetParam().store);
    const StandinRun result = run(HostScripts::unitListScript(localHeader()));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(QString::fromUtf8(result.err),
              errorLine(QStringLiteral("The unit store %1 %2").arg(storePath(), GetParam().problem)));
    EXPECT_EQ(storeText(), GetParam().store);
}

INSTANTIATE_TEST_SUITE_P(Stores, InvalidStoreTest, ::testing::ValuesIn(invalidCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(UnitStoreFileTest, ByteOrderMarkThatBeginsATextIsKept)
{
    writeStoreText("\xEF\xBB\xBF" R"({"lists":{"Tolvane":[{"name":"\ufeffA","ID":"1","dimmable":true,"value":1},)"
                   "{\"name\":\"\xEF\xBB\xBF" "B\xEF\xBB\xBF\",\"ID\":\"\xEF\xBB\xBF\",\"dimmable\":false,\"value\":0}]}}");
    const QString a = QStringLiteral("\ufeffA");
    const QString b = QStringLiteral("\ufeffB\ufeff");
    const QString id = QStringLiteral("\ufeff");
    const QString text = QStringLiteral(R"([{"name":"%1","ID":"1","dimmable":"true","value":"1"},)"
                                        R"({"name":"%2","ID":"%3","dimmable":"false","value":"0"}])")
                             .arg(a, b, id);
    EXPECT_EQ(execute(HostScripts::unitListScript(localHeader())).text, text);
    ASSERT_TRUE(execute(HostScripts::switchScript(localHeader(), b, true)).hasResult());
    EXPECT_EQ(storedUnits(), (QList<Unit>{{a, "1", true, 1}, {b, id, false, 1}}));
    EXPECT_EQ(execute(HostScripts::unitListScript(localHeader())).text,
              QString(text).replace(R"("value":"0")", R"("value":"1")"));
}

TEST_F(UnitStoreFileTest, ListOptionPrintsUnitsOfAnotherStore)
{
    QTemporaryDir dir;
    const QString other = dir.filePath("units.json");
    const StandinRun created = StandinProcess::run({"--store", other, "--list"});
    EXPECT_EQ(created.exitCode, 0);
    EXPECT_EQ(created.out, "Tolvane\n"
                           "  Kitchen Light (ID 101, dimmable): 60\n"
                           "  Reading Lamp (ID 102, dimmable): 0\n"
                           "  Porch Light (ID 103, switch): 1\n"
                           "  Coffee Maker (ID 104, switch): 0\n");
    EXPECT_TRUE(QFile::exists(other));
    EXPECT_FALSE(QFile::exists(storePath()));
}

TEST_F(UnitStoreFileTest, StoreOptionRunsScriptsOnThatFile)
{
    QTemporaryDir dir;
    const QString other = dir.filePath("units.json");
    const QString script = HostScripts::switchScript(localHeader(), "Kitchen Light", false);
    const StandinRun result = StandinProcess::run({"--store", other}, script.toUtf8());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(StandinProcess::run({"--store", other, "--list"}).out.split('\n').value(1),
              "  Kitchen Light (ID 101, dimmable): 0");
    EXPECT_FALSE(QFile::exists(storePath()));
}

} // namespace
