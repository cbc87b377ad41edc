#pragma once

#include <QString>

// The platform's standard folders.
class SystemFolders {
public:
    // The user's Library folder: the XDG data home on Linux. Asking makes
    // no folder.
    static QString UserLibrary();
    // The standard subfolder "logs" of the Library folder. Asking makes no
    // folder.
    static QString UserLogs();
    // Where the user's settings of every application are kept: the XDG
    // config home on Linux. Asking makes no folder.
    static QString UserPreferences();

    // Makes sure the Library folder and its standard subfolder "logs"
    // exist, as the platform keeps them; once, where the program starts.
    static void makeStandardFolders();
};
