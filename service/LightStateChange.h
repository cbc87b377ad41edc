#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QtGlobal>

// The arithmetic and the wire texts of a light state change.
//
// Each member carried out ("on" or "bri") is reported by two success objects:
//   {"success":{"/lights/<n>/state/on":<on>}},{"success":{"/lights/<n>/state/bri":<bri>}}
// and the reply body is one JSON array of all of them, or empty when nothing
// was carried out.
class LightStateChange {
public:
    // The host's level for a Hue brightness: bri / 255 * 100 in doubles,
    // truncated toward zero, not clamped.
    static qint64 brightnessPercent(qint64 bri);

    // "on" reports "bri" as 255 or 0; "bri" reports "on" as true and echoes
    // the brightness as received, not the percent.
    static QByteArray onSuccess(const QString& lightNumber, bool on);
    static QByteArray briSuccess(const QString& lightNumber, qint64 bri);
    static QByteArray successResponse(const QByteArrayList& successes);
};
