#pragma once

#include <QByteArray>
#include <QString>

// One received datagram: who sent it and what it carried.
struct Datagram {
    QString Address; // sender's IPv4 address, dotted text
    int Port = 0;    // sender's port
    QByteArray Data; // payload, no text encoding
};
