#pragma once

#include <QByteArray>
#include <QString>

class UDPSocket;

// Answers the SSDP searches of the voice assistant.
//
// A datagram passes when it holds "M-SEARCH", "ssdp:discover" and, unless
// the application's LessStrictUPNP is on, "urn:schemas-upnp-org:device:basic"
// anywhere in its text (case matters). Each passing datagram gets one reply
// at once, unicast to its sender's address and port:
//
//   HTTP/1.1 200 OK
//   CACHE-CONTROL: max-age=100
//   EXT:
//   LOCATION: http://<local address>:<discovery port + 1>/description.xml
//   SERVER: FreeRTOS/7.4.2, UPnP/1.1, HalvoryHUB/0.0.1
//   ST: urn:schemas-upnp-org:device:basic:1
//   USN: uuid:<device UUID>
//   (empty line)
//
// every line ended by CR LF. The responder keeps no state between datagrams.
class DiscoveryResponder {
public:
    // The handler of one DataAvailable event of the discovery socket: reads
    // one datagram, logs and shows it, and sends the reply from sendSocket.
    static void UPnPSocket_DataAvailable(UDPSocket& upnpSocket, UDPSocket& sendSocket);

    static QByteArray discoveryReply(const QString& localAddress, int discoveryPort);
    static bool passesDiscoveryTest(const QByteArray& data, bool lessStrict);
};
