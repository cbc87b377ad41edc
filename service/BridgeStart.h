#pragma once

#include <QString>

class ServerSocket;
class UDPSocket;

// Brings up the bridge's sockets as the window opens. A port that another
// program holds leaves the bridge deaf on it, so each failure is shown as the
// status text, naming the port, and logged; nothing is retried, and the rest
// of the open handling goes on.
class BridgeStart {
public:
    // Binds the discovery socket to the discovery port and joins the
    // multicast group on it.
    static void startDiscovery(UDPSocket& upnpSocket);
    // Starts the listener on its port.
    static void startListener(ServerSocket& httpServer);

private:
    static void report(const QString& text);
};
