#include "App.h"
#include "HeapTuning.h"
#include "InstanceLock.h"
#include "Program.h"
#include "QuitSignals.h"
#include "SettingsStore.h"
#include "Version.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace {

const char AlreadyRunning[] = "Tolvane is already running\n";
constexpr int AlreadyRunningStatus = 1;

// One copy runs per settings store: a second would answer discovery beside
// the first, fail to listen, and overwrite the first one's settings at quit.
// The lock lies beside the store, so every home folder has its own.
QString instanceLockFileName()
{
    const QFileInfo store(SettingsStore::defaultFileName());
    QDir().mkpath(store.absolutePath());
    return store.dir().filePath(store.completeBaseName() + QStringLiteral(".lock"));
}

} // namespace

int main(int argc, char** argv)
{
    // Until the program handles them, a quit signal waits instead of ending
    // it in the middle of start-up.
    QuitSignals::holdUntilHandled();
    HeapTuning::keepFreedMemory();
    // Before the application object: a second copy touches no socket and no
    // setting.
    const InstanceLock instance(instanceLockFileName());
    if (instance.isHeldElsewhere()) {
        std::fputs(AlreadyRunning, stderr);
        return AlreadyRunningStatus;
    }
    QApplication application(argc, argv);
    QCoreApplication::setApplicationVersion(ShortVersion);
    core::App app;
    ui::Program program(app);
    return program.exec();
}
