#pragma once

#include "Awaiting.h"

#include <QString>
#include <chrono>
#include <gtest/gtest.h>
#include <optional>

// What a test binary knows of the machine it runs on.
class TestEnvironment {
public:
    // Points HOME at a fresh folder of its own and drops the XDG folder
    // variables, so settings, logs and the stand-in's units never touch the
    // user's own. Call before Qt starts.
    static void isolateHome();
    static QString home();

    // True inside the suite's private network namespace, where multicast
    // stays on loopback and ports 1900 and 1901 are free.
    static bool inNetworkNamespace();

    // The build's executables (tolvane, halvory-standin).
    static QString binDir();
    // A file's bytes; empty when it cannot be read.
    static QByteArray fileBytes(const QString& path);
    static QString fileText(const QString& path) { return QString::fromUtf8(fileBytes(path)); }
    // Writes a file whole, making its folder first; says whether it did.
    static bool writeFile(const QString& path, const QByteArray& bytes);
    // What QLockFile writes into a lock for its owner: the process number,
    // the program's name and the host, as before Qt 5.10, and a machine id
    // after them when one is given. With no arguments, this process.
    static QByteArray lockOwnerDetails(qint64 pid = 0, const QString& programName = QString(),
                                       const QString& host = QString(), const QByteArray& machineId = QByteArray());
    // The number of a process that has been started, has ended and has been
    // reaped; 0 when none could be run.
    static qint64 endedProcessId();
    static QString sourceDir();

    // A test binary's main: every test, under an application object of type
    // Application, in a home folder of its own.
    template <typename Application>
    static int runAllTests(int argc, char** argv);

    // Long enough for a loaded machine to connect to a display.
    static constexpr std::chrono::seconds DisplayWait{30};
};

template <typename Application>
int TestEnvironment::runAllTests(int argc, char** argv)
{
    // Before Qt starts: its standard folders are taken from the home folder.
    isolateHome();
    // Test discovery at build time runs the binary without CTest's
    // environment, and there may be no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // On an X server the application object connects to it, and waits for
    // its answer as long as it takes.
    std::optional<Awaiting> connecting;
    if (qgetenv("QT_QPA_PLATFORM") == "xcb")
        connecting.emplace("the X server on " + qEnvironmentVariable("DISPLAY").toStdString()
                               + " to take the test's connection",
                           DisplayWait);
    Application application(argc, argv);
    connecting.reset();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#define TOLVANE_REQUIRE_NETNS()                                                                    \
    do {                                                                                           \
        if (!TestEnvironment::inNetworkNamespace())                                                \
            GTEST_SKIP() << "needs the suite's private network namespace "                       \
                            "(run scripts/test as root)";                                         \
    } while (0)
