#include "BridgeStart.h"

#include "App.h"
#include "Bridge.h"
#include "ServerSocket.h"
#include "UDPSocket.h"

namespace {
// %1: the port; %2: the group. Each must fit the status line whole at the
// window's font.
const QString UnableToBind = QStringLiteral("Unable to bind UDP port %1");
const QString UnableToJoin = QStringLiteral("Unable to join %2 on UDP port %1");
const QString UnableToListen = QStringLiteral("Unable to listen on TCP port %1");
} // namespace

void BridgeStart::startDiscovery(UDPSocket& upnpSocket)
{
    upnpSocket.setPort(Bridge::DiscoveryPort);
    // An unbound socket cannot join a group; its bind failure says it all.
    if (!upnpSocket.Connect())
        report(UnableToBind.arg(Bridge::DiscoveryPort));
    else if (!upnpSocket.JoinMulticastGroup(Bridge::MulticastGroup))
        report(UnableToJoin.arg(Bridge::DiscoveryPort).arg(Bridge::MulticastGroup));
}

void BridgeStart::startListener(ServerSocket& httpServer)
{
    if (!httpServer.Listen())
        report(UnableToListen.arg(httpServer.Port()));
}

void BridgeStart::report(const QString& text)
{
    App().WriteToLog(text);
    App().ShowStatus(text);
}
