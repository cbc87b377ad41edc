#include "LightStateChange.h"

namespace {

constexpr double FullBrightness = 255.0;
constexpr double FullPercent = 100.0;
constexpr qint64 OnBrightness = 255;
constexpr qint64 OffBrightness = 0;

QByteArray successPair(const QString& lightNumber, bool on, qint64 bri)
{
    const QByteArray light = lightNumber.toUtf8();
    return "{\"success\":{\"/lights/" + light + "/state/on\":" + (on ? "true" : "false") + "}},"
           + "{\"success\":{\"/lights/" + light + "/state/bri\":" + QByteArray::number(bri) + "}}";
}

} // namespace

qint64 LightStateChange::brightnessPercent(qint64 bri)
{
    return static_cast<qint64>(static_cast<double>(bri) / FullBrightness * FullPercent);
}

QByteArray LightStateChange::onSuccess(const QString& lightNumber, bool on)
{
    return successPair(lightNumber, on, on ? OnBrightness : OffBrightness);
}

QByteArray LightStateChange::briSuccess(const QString& lightNumber, qint64 bri)
{
    return successPair(lightNumber, true, bri);
}

QByteArray LightStateChange::successResponse(const QByteArrayList& successes)
{
    if (successes.isEmpty())
        return {};
    return '[' + successes.join(',') + ']';
}
