#include "HTTPTexts.h"
#include "LightStateChange.h"
#include "LoopbackClient.h"
#include "ServiceTest.h"

namespace {

using namespace HTTPTexts;

QString command(const char* line)
{
    return ServiceTest::hostScript(QString::fromUtf8(line));
}

QByteArray success(const char* light, const char* on, const char* bri)
{
    return QByteArray(R"({"success":{"/lights/)") + light + R"(/state/on":)" + on + R"(}},)"
           + R"({"success":{"/lights/)" + light + R"(/state/bri":)" + bri + "}}";
}

QByteArray successes(std::initializer_list<QByteArray> pairs)
{
    return JSONHead + '[' + QByteArrayList(pairs).join(',') + ']';
}

struct StateCase {
    const char* name;
    QByteArray path;
    QByteArray body;
    QByteArray reply;
    QStringList commands;
    QStringList statusTexts;
};

// Test names carry the row name; print it instead of the row's bytes.
void PrintTo(const StateCase& row, std::ostream* out)
{
    *out << row.name;
}

const QString LampOn = command(R"(turnon "Lamp")");

const StateCase stateCases[] = {
    {"OnTrue", "/api/u/lights/0/state", R"({"on":true})", successes({success("0", "true", "255")}),
     {LampOn}, {"Sent ON for light Lamp"}},
    {"OnFalse", "/api/u/lights/1/state", R"({"on":false})",
     successes({success("1", "false", "0")}), {command(R"(turnoff "Fan")")},
     {"Sent OFF for light Fan"}},
    {"Bri0", "/api/u/lights/0/state", R"({"bri":0})", successes({success("0", "true", "0")}),
     {command(R"(brighten "Lamp" to 0)")}, {"Sent BRI for light Lamp to 0"}},
    {"Bri1", "/api/u/lights/0/state", R"({"bri":1})", successes({success("0", "true", "1")}),
     {command(R"(brighten "Lamp" to 0)")}, {"Sent BRI for light Lamp to 0"}},
    {"Bri254", "/api/u/lights/0/state", R"({"bri":254})", successes({success("0", "true", "254")}),
     {command(R"(brighten "Lamp" to 99)")}, {"Sent BRI for light Lamp to 99"}},
    {"Bri255", "/api/u/lights/0/state", R"({"bri":255})", successes({success("0", "true", "255")}),
     {command(R"(brighten "Lamp" to 100)")}, {"Sent BRI for light Lamp to 100"}},
    {"Bri300", "/api/u/lights/0/state", R"({"bri":300})", successes({success("0", "true", "300")}),
     {command(R"(brighten "Lamp" to 117)")}, {"Sent BRI for light Lamp to 117"}},
    {"Bri1173", "/api/u/lights/0/state", R"({"bri":1173})",
     successes({success("0", "true", "1173")}), {command(R"(brighten "Lamp" to 459)")},
     {"Sent BRI for light Lamp to 459"}},
    {"BriMinus1", "/api/u/lights/0/state", R"({"bri":-1})", successes({success("0", "true", "-1")}),
     {command(R"(brighten "Lamp" to 0)")}, {"Sent BRI for light Lamp to 0"}},
    {"BriMinus3", "/api/u/lights/0/state", R"({"bri":-3})", successes({success("0", "true", "-3")}),
     {command(R"(brighten "Lamp" to -1)")}, {"Sent BRI for light Lamp to -1"}},
    {"BriBeyond32Bits", "/api/u/lights/0/state", R"({"bri":2147483648})",
     successes({success("0", "true", "2147483648")}),
     {command(R"(brighten "Lamp" to 842150450)")}, {"Sent BRI for light Lamp to 842150450"}},
    {"OnAndBriInOneArray", "/api/u/lights/3/state", R"({"bri":128,"on":true})",
     successes({success("3", "true", "255"), success("3", "true", "128")}),
     {command(R"(turnon "Desk")"), command(R"(brighten "Desk" to 50)")},
     {"Sent ON for light Desk", "Sent BRI for light Desk to 50"}},
    {"NameWithSlash", "/api/u/lights/2/state", R"({"on":true})",
     successes({success("2", "true", "255")}), {command(R"(turnon "Porch/Door")")},
     {"Sent ON for light Porch/Door"}},
    {"OtherMembersIgnored", "/api/u/lights/0/state", R"({"ON":true,"alert":"select"})", JSONHead, {},
     {}},
    {"EmptyObject", "/api/u/lights/0/state", "{}", JSONHead, {}, {}},
    {"EmptyBody", "/api/u/lights/0/state", "", JSONHead, {}, {}},
    {"BlankBody", "/api/u/lights/0/state", " \r\n\t", JSONHead, {}, {}},
    {"TopLevelArray", "/api/u/lights/0/state", R"([{"on":true}])", JSONHead, {}, {}},
    {"UpperCaseAction", "/api/u/lights/0/STATE", R"({"on":true})",
     successes({success("0", "true", "255")}), {LampOn}, {"Sent ON for light Lamp"}},
    {"Groups", "/api/anyone/groups/0/state", R"({"on":true})",
     successes({success("0", "true", "255")}), {LampOn}, {"Sent ON for light Lamp"}},
    {"TrailingSlash", "/api/u/lights/0/state/", R"({"on":true})",
     successes({success("0", "true", "255")}), {LampOn}, {"Sent ON for light Lamp"}},
    {"MoreFields", "/api/u/lights/0/state/more", R"({"on":true})",
     successes({success("0", "true", "255")}), {LampOn}, {"Sent ON for light Lamp"}},
    {"LeadingZeroIsNoLight", "/api/u/lights/03/state", R"({"on":true})", BadRequest, {}, {}},
    {"NoSuchLight", "/api/u/lights/4/state", R"({"on":true})", BadRequest, {}, {}},
    {"NoAction", "/api/u/lights/3", R"({"on":true})", BadRequest, {}, {}},
    {"NoLightNumber", "/api/u/lights", R"({"on":true})", BadRequest, {}, {}},
    {"Root", "/", R"({"on":true})", BadRequest, {}, {}},
    {"Query", "/api/u/lights/0/state?x=1", R"({"on":true})", BadRequest, {}, {}},
    {"OtherAction", "/api/u/lights/0/name", R"({"on":true})", BadRequest, {}, {}},
    {"TruncatedBody", "/api/u/lights/0/state", R"({"on":)", BadRequest, {}, {}},
    {"NotJSON", "/api/u/lights/0/state", "on=true", BadRequest, {}, {}},
    {"OnAsString", "/api/u/lights/0/state", R"({"on":"true"})", BadRequest, {}, {}},
    {"OnAsNumber", "/api/u/lights/0/state", R"({"on":1})", BadRequest, {}, {}},
    {"OnAsNull", "/api/u/lights/0/state", R"({"on":null})", BadRequest, {}, {}},
    {"BriAsFraction", "/api/u/lights/0/state", R"({"bri":12.5})", BadRequest, {}, {}},
    {"BriWithExponent", "/api/u/lights/0/state", R"({"bri":1e2})", BadRequest, {}, {}},
    {"BriAsString", "/api/u/lights/0/state", R"({"bri":"128"})", BadRequest, {}, {}},
    {"BriAsObject", "/api/u/lights/0/state", R"({"bri":{}})", BadRequest, {}, {}},
    {"BriAsArray", "/api/u/lights/0/state", R"({"bri":[128]})", BadRequest, {}, {}},
    {"OnKeptWhenBriFails", "/api/u/lights/0/state", R"({"on":true,"bri":"x"})", BadRequest,
     {LampOn}, {"Sent ON for light Lamp"}},
};

class StateChangeTest : public ServiceTest, public ::testing::WithParamInterface<StateCase> {
protected:
    void SetUp() override
    {
        port = startListener();
        ASSERT_NE(port, 0);
    }
    int port = 0;
};

TEST_P(StateChangeTest, SendsItsCommandsAndReply)
{
    const StateCase& c = GetParam();
    EXPECT_EQ(LoopbackClient::exchange(port, put(c.path, c.body)), c.reply);
    EXPECT_EQ(host().commands(), c.commands);
    EXPECT_EQ(status.texts, c.statusTexts);
    // The list is rebuilt before anything of the request is looked at.
    EXPECT_EQ(host().scripts().size(), c.commands.size() + 1);
    EXPECT_EQ(rows.rows.size(), 4);
}

INSTANTIATE_TEST_SUITE_P(Bodies, StateChangeTest, ::testing::ValuesIn(stateCases),
                         [](const auto& info) { return std::string(info.param.name); });

class StateChangeWithoutLightsTest : public ServiceTest {};

TEST_F(StateChangeWithoutLightsTest, EveryChangeGetsTheBadRequestReply)
{
    setUnits(std::nullopt);
    const int port = startListener();
    ASSERT_NE(port, 0);
    for (const char* light : {"0", "1", "abc"}) {
        const QByteArray path = "/api/u/lights/" + QByteArray(light) + "/state";
        EXPECT_EQ(LoopbackClient::exchange(port, put(path, R"({"on":true})")), BadRequest) << light;
    }
    EXPECT_TRUE(host().commands().isEmpty());
}

class StateChangeNameTest : public ServiceTest {};

TEST_F(StateChangeNameTest, CommandNamesTheUnitWithEveryCharacter)
{
    setUnits(QStringLiteral(R"([{"name":"\ufeffBOM","ID":"1","dimmable":"true","value":"0"},)"
                            "{\"name\":\"B\uFEFFOM\",\"ID\":\"2\",\"dimmable\":\"true\",\"value\":\"0\"},"
                            R"({"name":"Line\nFeed \"A\"\\B","ID":"3","dimmable":"true","value":"0"}])"));
    const int port = startListener();
    ASSERT_NE(port, 0);
    for (const char* light : {"0", "1", "2"})
        LoopbackClient::exchange(port, put("/api/u/lights/" + QByteArray(light) + "/state", R"({"on":true})"));
    EXPECT_EQ(host().commands(),
              QStringList({hostScript(QStringLiteral("turnon \"\uFEFFBOM\"")),
                           hostScript(QStringLiteral("turnon \"B\uFEFFOM\"")),
                           hostScript(QStringLiteral(R"(turnon "Line\nFeed \"A\"\\B")"))}));
}

// For every Hue brightness the level is the integer part of bri * 100 / 255.
TEST(BrightnessPercentTest, IsTheIntegerPartOfThePercent)
{
    for (qint64 bri = 0; bri <= 255; ++bri)
        ASSERT_EQ(LightStateChange::brightnessPercent(bri), bri * 100 / 255) << bri;
    EXPECT_EQ(LightStateChange::brightnessPercent(1173), 459);
    EXPECT_EQ(LightStateChange::brightnessPercent(-3), -1);
}

} // namespace
