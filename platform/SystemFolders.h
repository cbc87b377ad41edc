#pragma once

#include <QString>

// The platform's standard folders.
class SystemFolders {
public:
    // The user's Library folder: the XDG data home on Linux. Its standard
    // subfolder "logs" is made sure to exist, as the platform does for it.
    static QString UserLibrary();
};
