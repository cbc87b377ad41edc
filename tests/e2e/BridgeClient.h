#pragma once

#include "Bridge.h"

#include <QByteArray>
#include <QString>
#include <chrono>

// Blocking clients of the bridge running in another process, each bounded in
// time.
class BridgeClient {
public:
    static constexpr std::chrono::milliseconds TimeLimit{10000};

    // One HTTP exchange on a new connection: the whole reply, up to the
    // server's close. Empty when the server does not answer in time.
    static QByteArray http(const QByteArray& method, const QByteArray& path,
                           const QByteArray& body = QByteArray(), int port = Bridge::HTTPPort);

    // Sends one SSDP search to the address's discovery port and gives the first datagram
    // that comes back (empty after the time limit).
    static QByteArray search(const QString& address, const QByteArray& datagram);

    // The body of an HTTP reply: what follows its empty line.
    static QByteArray body(const QByteArray& reply);

    static QByteArray mSearch(const QByteArray& searchTarget);
};
