#pragma once

#include <QHostAddress>
#include <QString>

// An address as the rest of the system writes it: dotted IPv4 text, never
// the IPv4-mapped IPv6 form (::ffff:a.b.c.d) that dual-stack sockets report.
// Addresses without an IPv4 form keep Qt's own text.
class DottedAddress {
public:
    static QString text(const QHostAddress& address);
};
