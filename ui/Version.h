#pragma once

#include <QString>

// The application's short version, set by the build.
inline const QString ShortVersion = QStringLiteral(TOLVANE_SHORT_VERSION);
