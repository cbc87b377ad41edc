#include "BridgeClient.h"
#include "TestEnvironment.h"
#include "TolvaneProcess.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <vector>

namespace {

// A unit name that the host may hold, listed between two plain ones.
struct NameRow {
    const char* name;
    QString unitName;
};

void PrintTo(const NameRow& row, std::ostream* out)
{
    *out << row.name;
}

std::vector<NameRow> nameRows()
{
    return {
        {"Quote", QStringLiteral(R"(65" TV)")},
        {"Backslash", QStringLiteral(R"(Back\Door)")},
        {"ShapedLikeMoreRecords", QStringLiteral(R"(A","dimmable":"true","value":"100"},{"name":"Injected)")},
        {"ControlCharacters", QStringLiteral("Tab\tLine\nReturn\r\x01 and \x1f")},
        {"EscapesAsText", QStringLiteral(R"(\u0041\ud800\n)")},
        {"ByteOrderMarkFirst", QStringLiteral("\ufeffBOM")},
        {"ByteOrderMarkInside", QStringLiteral("B\ufeffOM")},
        {"PlainNonAscii", QStringLiteral("Küche ☀")},
    };
}

QJsonObject unit(const QString& name, const char* id, bool dimmable)
{
    return {{"name", name}, {"ID", id}, {"dimmable", dimmable}, {"value", 0}};
}

QByteArray statePath(int light)
{
    return "/api/alexa/lights/" + QByteArray::number(light) + "/state";
}

class AnyUnitName : public ::testing::TestWithParam<NameRow> {
protected:
    void SetUp() override { TOLVANE_REQUIRE_NETNS(); }

    QList<int> values() const
    {
        QList<int> levels;
        for (const QJsonValue& unit : tolvane.units())
            levels.append(unit["value"].toInt());
        return levels;
    }

    TolvaneProcess tolvane;
};

TEST_P(AnyUnitName, EveryLightIsListedOnceByItsNameAndItsCommandsReachItsUnit)
{
    const QString name = GetParam().unitName;
    tolvane.writeUnits({unit("A", "1", true), unit(name, "2", true), unit("Fan", "3", false)});
    ASSERT_TRUE(tolvane.start()) << tolvane.output().toStdString();

    const QByteArray all = BridgeClient::body(BridgeClient::http("GET", "/api/alexa/lights"));
    ASSERT_TRUE(all.isValidUtf8());
    QJsonParseError error;
    const QJsonObject lights = QJsonDocument::fromJson(all, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << all.toStdString();
    EXPECT_EQ(lights.keys(), QStringList({"0", "1", "2"})) << all.toStdString();
    EXPECT_EQ(lights["0"]["name"].toString(), "A");
    EXPECT_EQ(lights["1"]["name"].toString(), name);
    EXPECT_EQ(lights["2"]["name"].toString(), "Fan");
    const QByteArray one = BridgeClient::body(BridgeClient::http("GET", "/api/alexa/lights/1"));
    EXPECT_EQ(QJsonDocument::fromJson(one)["name"].toString(), name) << one.toStdString();

    EXPECT_EQ(BridgeClient::body(BridgeClient::http("PUT", statePath(1), R"({"on":true})")),
              R"([{"success":{"/lights/1/state/on":true}},{"success":{"/lights/1/state/bri":255}}])");
    EXPECT_EQ(values(), QList<int>({0, 100, 0}));
    EXPECT_EQ(BridgeClient::body(BridgeClient::http("PUT", statePath(1), R"({"bri":128})")),
              R"([{"success":{"/lights/1/state/on":true}},{"success":{"/lights/1/state/bri":128}}])");
    EXPECT_EQ(values(), QList<int>({0, 50, 0}));
    BridgeClient::http("PUT", statePath(0), R"({"bri":128})");
    EXPECT_EQ(values(), QList<int>({50, 50, 0}));
    ASSERT_TRUE(tolvane.stop());
}

INSTANTIATE_TEST_SUITE_P(Names, AnyUnitName, ::testing::ValuesIn(nameRows()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
