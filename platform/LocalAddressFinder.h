#pragma once

#include <QHostAddress>
#include <QString>

// Finds this machine's IPv4 address as a given peer sees it: the address of
// the interface over which the peer is reached.
class LocalAddressFinder {
public:
    // Loopback peers get 127.0.0.1; otherwise the address whose subnet holds
    // the peer, else the source address the routing table picks for it, else
    // the first address of any interface that is up.
    static QString forPeer(const QHostAddress& peer);
    // The first IPv4 address of an up, non-loopback interface, else 127.0.0.1.
    static QString anyAddress();

private:
    static QString fromSubnets(const QHostAddress& peer);
    static QString fromRoutingTable(const QHostAddress& peer);
};
