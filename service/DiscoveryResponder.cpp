#include "DiscoveryResponder.h"

#include "App.h"
#include "Bridge.h"
#include "UDPSocket.h"

namespace {

const QByteArray ReplyLineEnd = QByteArrayLiteral("\r\n");
const QByteArray ReplyStatus = QByteArrayLiteral("HTTP/1.1 200 OK");
const QByteArray ReplyCacheControl = QByteArrayLiteral("CACHE-CONTROL: max-age=100");
const QByteArray ReplyExt = QByteArrayLiteral("EXT:");
const QByteArray ReplyLocationStart = QByteArrayLiteral("LOCATION: http://");
const QByteArray ReplyLocationPath = QByteArrayLiteral("/description.xml");
const QByteArray ReplyServer =
    QByteArrayLiteral("SERVER: FreeRTOS/7.4.2, UPnP/1.1, HalvoryHUB/0.0.1");
const QByteArray ReplyST = QByteArrayLiteral("ST: urn:schemas-upnp-org:device:basic:1");
const QByteArray ReplyUSNStart = QByteArrayLiteral("USN: uuid:");

constexpr QByteArrayView SearchMethod = "M-SEARCH";
constexpr QByteArrayView SearchDiscover = "ssdp:discover";
constexpr QByteArrayView SearchBasicDevice = "urn:schemas-upnp-org:device:basic";

// The listener is found one port above the discovery port.
constexpr int ListenerPortOffset = 1;

const QString LogDetectedGeneric =
    QStringLiteral("Detected Generic UPnP discovery packet. Checking if it came from Alexa");
const QString LogDataStart = QStringLiteral("---- UPnP DATA START ");
const QString LogDataStartEnd = QStringLiteral(" ----");
const QString LogDataEnd = QStringLiteral("---- UPnP DATA END ----");
const QString LogDetectedAlexa =
    QStringLiteral("Detected Alexa UPnP discovery packet. Sending response");
const QString StatusDetectedGeneric = QStringLiteral("Detected Generic UPnP discovery packet");

} // namespace

void DiscoveryResponder::UPnPSocket_DataAvailable(UDPSocket& upnpSocket, UDPSocket& sendSocket)
{
    const Datagram datagram = upnpSocket.Read();

    App().WriteToLog(LogDetectedGeneric);
    App().ShowStatus(StatusDetectedGeneric);
    App().WriteToLog(LogDataStart + datagram.Address + ':' + QString::number(datagram.Port)
                     + LogDataStartEnd);
    App().WriteToLog(QString::fromUtf8(datagram.Data));
    App().WriteToLog(LogDataEnd);

    if (!passesDiscoveryTest(datagram.Data, App().LessStrictUPNP))
        return;
    App().WriteToLog(LogDetectedAlexa);
    // Only now, after the Read: the address must be the one that this
    // datagram's sender can reach, whatever else is waiting.
    const QByteArray reply = discoveryReply(upnpSocket.LocalAddress(), upnpSocket.Port());
    sendSocket.setPort(datagram.Port);
    sendSocket.Connect();
    sendSocket.Write(datagram.Address, reply);
}

QByteArray DiscoveryResponder::discoveryReply(const QString& localAddress, int discoveryPort)
{
    const QByteArray location = ReplyLocationStart + localAddress.toUtf8() + ':'
                                + QByteArray::number(discoveryPort + ListenerPortOffset)
                                + ReplyLocationPath;
    const QByteArray usn = ReplyUSNStart + Bridge::DeviceUUID.toUtf8();
    QByteArray reply;
    for (const QByteArray& line :
         {ReplyStatus, ReplyCacheControl, ReplyExt, location, ReplyServer, ReplyST, usn})
        reply += line + ReplyLineEnd;
    return reply + ReplyLineEnd;
}

bool DiscoveryResponder::passesDiscoveryTest(const QByteArray& data, bool lessStrict)
{
    return data.contains(SearchMethod) && data.contains(SearchDiscover)
           && (data.contains(SearchBasicDevice) || lessStrict);
}
