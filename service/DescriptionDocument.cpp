#include "DescriptionDocument.h"

namespace {

constexpr QByteArrayView HostPlaceholder = "<<host>>";
constexpr QByteArrayView PortPlaceholder = "<<port>>";
constexpr QByteArrayView UUIDPlaceholder = "<<uuid>>";

// 37 lines, four blanks per level of nesting.
constexpr QByteArrayView Template =
    "<?xml version=\"1.0\"?>\n"
    "<root xmlns=\"urn:schemas-upnp-org:device-1-0\">\n"
    "    <specVersion>\n"
    "        <major>1</major>\n"
    "        <minor>0</minor>\n"
    "    </specVersion>\n"
    "    <URLBase>http://<<host>>:<<port>>/</URLBase>\n"
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
    "        <UDN>uuid:<<uuid>></UDN>\n"
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

void replaceFirst(QByteArray& text, QByteArrayView placeholder, const QByteArray& value)
{
    const qsizetype at = text.indexOf(placeholder);
    if (at >= 0)
        text.replace(at, placeholder.size(), value);
}

} // namespace

QByteArray DescriptionDocument::render(const QString& host, int port, const QString& uuid)
{
    QByteArray text = Template.toByteArray();
    replaceFirst(text, HostPlaceholder, host.toUtf8());
    replaceFirst(text, PortPlaceholder, QByteArray::number(port));
    replaceFirst(text, UUIDPlaceholder, uuid.toUtf8());
    return text;
}
