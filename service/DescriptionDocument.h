#pragma once

#include <QByteArray>
#include <QString>

// The UPnP device description that the discovery reply points to.
class DescriptionDocument {
public:
    // The template with the first <<host>>, <<port>> and <<uuid>> filled in.
    // Its lines end with LF alone and no line break follows the last one.
    static QByteArray render(const QString& host, int port, const QString& uuid);
};
