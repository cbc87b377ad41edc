#include "Bridge.h"
#include "HTTPTexts.h"
#include "LoopbackClient.h"
#include "ServiceTest.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

using namespace HTTPTexts;

// Light objects of ServiceTest::FourUnits as the core renders them.
const QByteArray Lamp =
    R"({"name":"Lamp","modelid":"VEZEZERIZ001","swversion":"00000001","type":"Dimmable light",)"
    R"("state":{"on":true,"bri":102,"reachable":true,"alert":"none"}})";
const QByteArray Fan =
    R"({"name":"Fan","modelid":"VEZEZERIZ001","swversion":"00000001","type":"Dimmable light",)"
    R"("state":{"on":true,"bri":255,"reachable":true,"alert":"none"}})";
const QByteArray PorchEscaped =
    R"({"name":"Porch\/Door","modelid":"VEZEZERIZ001","swversion":"00000001","type":"Dimmable light",)"
    R"("state":{"on":false,"bri":0,"reachable":true,"alert":"none"}})";
const QByteArray Desk =
    R"({"name":"Desk","modelid":"VEZEZERIZ001","swversion":"00000001","type":"Dimmable light",)"
    R"("state":{"on":false,"bri":0,"reachable":true,"alert":"none"}})";
const QByteArray AllLights = R"({"0":)" + Lamp + R"(,"1":)" + Fan + R"(,"2":)"
                             + QByteArray(PorchEscaped).replace("\\/", "/") + R"(,"3":)" + Desk
                             + "}";

QByteArray description(int port)
{
    return "<?xml version=\"1.0\"?>\r\n"
           "<root xmlns=\"urn:schemas-upnp-org:device-1-0\">\n"
           "    <specVersion>\n"
           "        <major>1</major>\n"
           "        <minor>0</minor>\n"
           "    </specVersion>\n"
           "    <URLBase>http://127.0.0.1:"
           + QByteArray::number(port)
           + "/</URLBase>\n"
             "    <device>\n"
             "        <deviceType>urn:schemas-upnp-org:device:Basic:1</deviceType>\n"
             "        <friendlyName>Halvory Hue Emulator</friendlyName>\n"
             "        <manufacturer>Royal Philips Electronics</manufacturer>\n"
             "        <manufacturerURL>http://www.philips.com</manufacturerURL>\n"
             "        <modelDescription>Philips hue Personal Wireless Lighting</modelDescription>\n"
             "        <modelName>Philips hue bridge 2012</modelName>\n"
             "        <modelNumber>101010101001</modelNumber>\n"
             "        <modelURL>http://www.meethue.com</modelURL>\n"
             "        <serialNumber>000000001111</serialNumber>\n"
             "        <UDN>uuid:"
           + Bridge::DeviceUUID.toUtf8()
           + "</UDN>\n"
             "        <presentationURL>index.html</presentationURL>\n"
             "        <iconList>\n"
             "            <icon>\n"
             "                <mimetype>image/png</mimetype>\n"
             "                <height>48</height>\n"
             "                <width>48</width>\n"
             "                <depth>24</depth>\n"
             "                <url>hue_logo_0.png</url>\n"
             "            </icon>\n"
             "            <icon>\n"
             "                <mimetype>image/png</mimetype>\n"
             "                <height>120</height>\n"
             "                <width>120</width>\n"
             "                <depth>24</depth>\n"
             "                <url>hue_logo_3.png</url>\n"
             "            </icon>\n"
             "        </iconList>\n"
             "    </device>\n"
             "</root>";
}

class ReadRoutesTest : public ServiceTest {
protected:
    void SetUp() override
    {
        port = startListener();
        ASSERT_NE(port, 0);
    }
    QByteArray get(const QByteArray& path) { return LoopbackClient::exchange(port, HTTPTexts::get(path)); }
    int port = 0;
};

enum class Reply { Description, AllLights, Lamp, Fan, Porch, Desk, BadRequest, NotFound };

struct RouteCase {
    const char* name;
    QByteArray path;
    Reply reply;
    const char* status; // null: the status text is not set
};

// Test names carry the row name; print it instead of the row's bytes.
void PrintTo(const RouteCase& row, std::ostream* out)
{
    *out << row.name;
}

const RouteCase routeCases[] = {
    {"Description", "/description.xml", Reply::Description, "Sending XML description"},
    {"DescriptionUpperCase", "/DESCRIPTION.XML", Reply::Description, "Sending XML description"},
    {"DescriptionWithMoreFields", "/description.xml/anything", Reply::Description,
     "Sending XML description"},
    {"DescriptionWithQuery", "/description.xml?x=1", Reply::BadRequest, nullptr},
    {"Root", "/", Reply::BadRequest, nullptr},
    {"EmptyPath", "", Reply::BadRequest, nullptr},
    {"ApiAlone", "/api", Reply::BadRequest, nullptr},
    {"Groups", "/api/u/groups", Reply::BadRequest, nullptr},
    {"AllLights", "/api/u/lights", Reply::AllLights, "Sending status for all lights"},
    {"AllLightsUpperCase", "/API/U/LIGHTS", Reply::AllLights, "Sending status for all lights"},
    {"AllLightsTrailingSlash", "/api/u/lights/", Reply::AllLights, "Sending status for all lights"},
    {"OneLight", "/api/u/lights/1", Reply::Fan, "Sending status for light 1"},
    {"LeadingZero", "/api/u/lights/01", Reply::Fan, "Sending status for light 01"},
    {"Fraction", "/api/u/lights/3.7", Reply::Desk, "Sending status for light 3.7"},
    {"NotANumberIsLightZero", "/api/u/lights/abc", Reply::Lamp, "Sending status for light abc"},
    {"MoreFieldsIgnored", "/api/u/lights/3/state", Reply::Desk, "Sending status for light 3"},
    {"SlashStaysEscapedInOneLight", "/api/u/lights/2", Reply::Porch, "Sending status for light 2"},
    {"NoSuchLight", "/api/u/lights/7", Reply::BadRequest, nullptr},
    {"NegativeLight", "/api/u/lights/-1", Reply::BadRequest, nullptr},
    {"Beyond64Bits", "/api/u/lights/99999999999999999999", Reply::BadRequest, nullptr},
    {"Logo0", "/hue_logo_0.png", Reply::NotFound, nullptr},
    {"Logo3", "/hue_logo_3.png", Reply::NotFound, nullptr},
    {"IndexPage", "/index.html", Reply::NotFound, nullptr},
};

class ReadRouteTest : public ReadRoutesTest, public ::testing::WithParamInterface<RouteCase> {
protected:
    QByteArray expected(Reply reply) const
    {
        switch (reply) {
        case Reply::Description: return XMLHead + description(port);
        case Reply::AllLights: return JSONHead + AllLights;
        case Reply::Lamp: return JSONHead + Lamp;
        case Reply::Fan: return JSONHead + Fan;
        case Reply::Porch: return JSONHead + PorchEscaped;
        case Reply::Desk: return JSONHead + Desk;
        case Reply::BadRequest: return BadRequest;
        case Reply::NotFound: return NotFound;
        }
        return {};
    }
};

TEST_P(ReadRouteTest, SendsItsReplyAndStatus)
{
    const RouteCase& c = GetParam();
    EXPECT_EQ(get(c.path), expected(c.reply));
    EXPECT_EQ(status.texts, c.status ? QStringList{c.status} : QStringList{});
}

INSTANTIATE_TEST_SUITE_P(Routes, ReadRouteTest, ::testing::ValuesIn(routeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReadRoutesTest, LightListKeepsEveryEscapeButThoseOfSlashes)
{
    setUnits(R"([{"name":"Back\\slash\"quote/slash","ID":"1","dimmable":"false","value":"1"}])");
    const QByteArray name = R"("name":"Back\\slash\"quote)";
    EXPECT_TRUE(get("/api/u/lights").contains(name + R"(/slash")"));
    EXPECT_TRUE(get("/api/u/lights/0").contains(name + R"(\/slash")"));
}

// A half of a UTF-16 pair that the host's text names on its own has no UTF-8
// form: both replies send it as its escape, so they stay UTF-8 and name the
// very code units the host gave.
TEST_F(ReadRoutesTest, LoneSurrogatesInNamesAreSentAsTheirEscapes)
{
    setUnits(R"([{"name":"\ud800","ID":"1","dimmable":"false","value":"1"},)"
             R"({"name":"\udca1\ud83d","ID":"2","dimmable":"false","value":"1"},)"
             R"({"name":"\ud83d\udca1","ID":"3","dimmable":"false","value":"1"}])");
    const QByteArray all = get("/api/u/lights").sliced(JSONHead.size());
    EXPECT_TRUE(all.isValidUtf8());
    EXPECT_TRUE(all.startsWith(R"({"0":{"name":"\ud800",)")) << all.toStdString();
    EXPECT_TRUE(all.contains(R"("1":{"name":"\udca1\ud83d",)")) << all.toStdString();
    EXPECT_TRUE(all.contains("\"2\":{\"name\":\"\xF0\x9F\x92\xA1\",")) << all.toStdString();
    const QJsonObject lights = QJsonDocument::fromJson(all).object();
    EXPECT_EQ(lights["0"]["name"].toString(), QString(QChar(0xD800)));
    EXPECT_EQ(lights["1"]["name"].toString(), QString::fromUtf16(u"\xDCA1\xD83D", 2));
    const QByteArray one = get("/api/u/lights/1").sliced(JSONHead.size());
    EXPECT_TRUE(one.isValidUtf8());
    EXPECT_TRUE(one.startsWith(R"({"name":"\udca1\ud83d",)")) << one.toStdString();
}

TEST_F(ReadRoutesTest, EveryLightReadRebuildsTheList)
{
    get("/api/u/lights");
    get("/api/u/lights/1");
    get("/description.xml");
    EXPECT_EQ(host().scripts().size(), 2);
    EXPECT_EQ(rows.rows.size(), 4);
}

TEST_F(ReadRoutesTest, WithNoLightsTheListIsEmptyAndNoLightIsFound)
{
    setUnits(std::nullopt);
    EXPECT_EQ(get("/api/u/lights"), JSONHead + "{}");
    EXPECT_EQ(get("/api/u/lights/abc"), BadRequest);
    EXPECT_EQ(get("/api/u/lights/0"), BadRequest);
}

TEST_F(ReadRoutesTest, UnparseableUnitListFailsLightReadsButNotTheDescription)
{
    setUnits(R"([{"name":"Bad"quote","ID":"1","dimmable":"false","value":"1"}])");
    EXPECT_EQ(get("/api/u/lights"), BadRequest);
    EXPECT_EQ(get("/api/u/lights/0"), BadRequest);
    EXPECT_EQ(get("/description.xml"), XMLHead + description(port));
    EXPECT_EQ(status.texts, QStringList{"Sending XML description"});
}

TEST_F(ReadRoutesTest, IconRequestDoesNotKeepTheNextClientWaiting)
{
    LoopbackClient icon(port);
    icon.send(HTTPTexts::get("/hue_logo_0.png"));
    EXPECT_EQ(get("/api/u/lights/0"), JSONHead + Lamp);
    EXPECT_TRUE(icon.closedByServer());
    EXPECT_EQ(icon.received(), NotFound);
}

} // namespace
