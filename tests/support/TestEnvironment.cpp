#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <cstdlib>

namespace {
QTemporaryDir* homeDir = nullptr;
}

void TestEnvironment::isolateHome()
{
    homeDir = new QTemporaryDir(QDir::tempPath() + "/tolvane-test-home-XXXXXX");
    qputenv("HOME", homeDir->path().toLocal8Bit());
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        qunsetenv(name);
    // Qt wants a private runtime folder; one inside the test home will do.
    const QString runtime = homeDir->path() + "/runtime";
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    std::atexit([] { delete homeDir; });
}

QString TestEnvironment::home()
{
    return homeDir ? homeDir->path() : QDir::homePath();
}

bool TestEnvironment::inNetworkNamespace()
{
    return qgetenv("TOLVANE_TEST_NETNS") == "1";
}

QString TestEnvironment::binDir()
{
    return QStringLiteral(TOLVANE_BIN_DIR);
}

QByteArray TestEnvironment::lockOwnerDetails(qint64 pid, const QString& programName, const QString& host,
                                             const QByteArray& machineId)
{
    if (pid == 0)
        pid = QCoreApplication::applicationPid();
    const QString name =
        programName.isEmpty() ? QFileInfo(QCoreApplication::applicationFilePath()).fileName() : programName;
    const QString hostName = host.isEmpty() ? QSysInfo::machineHostName() : host;
    const QByteArray details = QByteArray::number(pid) + '\n' + name.toUtf8() + '\n' + hostName.toUtf8() + '\n';
    return machineId.isEmpty() ? details : details + machineId + '\n';
}

qint64 TestEnvironment::endedProcessId()
{
    QProcess process;
    process.start("/bin/true", {});
    if (!process.waitForStarted())
        return 0;
    // QProcess forgets the number once the process has ended.
    const qint64 pid = process.processId();
    return process.waitForFinished() ? pid : 0;
}

QString TestEnvironment::sourceDir()
{
    return QStringLiteral(TOLVANE_SOURCE_DIR);
}

QByteArray TestEnvironment::fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool TestEnvironment::writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size()
           && file.flush();
}
