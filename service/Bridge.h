#pragma once

#include <QString>

// Where the emulated bridge can be found on the network.
namespace Bridge {
constexpr int DiscoveryPort = 1900;
constexpr int HTTPPort = 1901;
inline const QString MulticastGroup = QStringLiteral("239.255.255.250");
// Carried by the discovery reply's USN line and the description's UDN.
inline const QString DeviceUUID = QStringLiteral("2f402f80-da50-11e1-9b23-00178829d301");
} // namespace Bridge
