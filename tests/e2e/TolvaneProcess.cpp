#include "TolvaneProcess.h"

#include "Bridge.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>
#include <QThread>
#include <csignal>
#include <unistd.h>

TolvaneProcess::TolvaneProcess()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", m_home.path());
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
        environment.remove(name);
    m_process.setProcessEnvironment(environment);
    m_process.setProgram(TestEnvironment::binDir() + "/tolvane");
    m_process.setProcessChannelMode(QProcess::MergedChannels);
}

TolvaneProcess::~TolvaneProcess()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(int(StartLimit.count()));
    }
}

QString TolvaneProcess::settingsFile() const
{
    return home() + "/.config/Halvory/Tolvane.json";
}

QString TolvaneProcess::logFile() const
{
    return home() + "/.local/share/logs/Halvory Tolvane/Halvory Tolvane.log";
}

QString TolvaneProcess::unitStoreFile() const
{
    return home() + "/.local/share/Halvory/units.json";
}

void TolvaneProcess::writeUnits(const QJsonArray& units)
{
    TestEnvironment::writeFile(unitStoreFile(),
                               QJsonDocument(QJsonObject{{"lists", QJsonObject{{"Tolvane", units}}}}).toJson());
}

QJsonArray TolvaneProcess::units() const
{
    return QJsonDocument::fromJson(TestEnvironment::fileBytes(unitStoreFile()))["lists"]["Tolvane"].toArray();
}

bool TolvaneProcess::launch()
{
    m_process.start();
    return m_process.waitForStarted(int(StartLimit.count()));
}

void TolvaneProcess::setUpCopy(QProcess& copy) const
{
    copy.setProcessEnvironment(m_process.processEnvironment());
    copy.setProcessChannelMode(QProcess::MergedChannels);
    copy.setProgram(m_process.program());
    copy.setArguments(m_process.arguments());
}

void TolvaneProcess::seeReadOnly(const QString& folder)
{
    // unshare and sh exec what follows, so the process is tolvane itself.
    m_process.setArguments({"--mount", "sh", "-c",
                            R"(mount --bind "$1" "$1" && mount -o remount,bind,ro "$1" && exec "$2")", "sh",
                            folder, TestEnvironment::binDir() + "/tolvane"});
    m_process.setProgram("unshare");
}

void TolvaneProcess::inPidNamespace()
{
    // The shell is the namespace's first process and waits for tolvane, the
    // second; when unshare ends, the shell is killed and the namespace with it.
    m_process.setArguments({"--pid", "--fork", "--mount-proc", "--kill-child", "sh", "-c", R"("$1" & wait "$!")", "sh",
                            TestEnvironment::binDir() + "/tolvane"});
    m_process.setProgram("unshare");
}

void TolvaneProcess::runAs(uint id)
{
    ::lchown(QFile::encodeName(home()).constData(), id, id);
    QDirIterator entries(home(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext())
        ::lchown(QFile::encodeName(entries.next()).constData(), id, id);
    const QString idText = QString::number(id);
    // setpriv execs tolvane, so the process is tolvane itself.
    m_process.setArguments({"--reuid=" + idText, "--regid=" + idText, "--clear-groups",
                            TestEnvironment::binDir() + "/tolvane"});
    m_process.setProgram("setpriv");
}

int TolvaneProcess::runAnother(QByteArray* output)
{
    QProcess another;
    setUpCopy(another);
    another.start();
    const bool ended = another.waitForFinished(int(StartLimit.count()));
    *output = another.readAll();
    if (!ended) {
        another.kill();
        another.waitForFinished(int(StartLimit.count()));
        return -1;
    }
    return another.exitStatus() == QProcess::NormalExit ? another.exitCode() : -1;
}

bool TolvaneProcess::waitForExit()
{
    return m_process.waitForFinished(int(StartLimit.count())) && m_process.exitStatus() == QProcess::NormalExit;
}

void TolvaneProcess::killHard()
{
    m_process.kill();
    m_process.waitForFinished(int(StartLimit.count()));
}

bool TolvaneProcess::start()
{
    if (!launch())
        return false;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < StartLimit.count() && m_process.state() == QProcess::Running) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, Bridge::HTTPPort);
        if (probe.waitForConnected(200)) {
            probe.abort();
            return true;
        }
        QThread::msleep(50);
    }
    return false;
}

bool TolvaneProcess::stop()
{
    ::kill(static_cast<pid_t>(m_process.processId()), SIGTERM);
    return m_process.waitForFinished(int(StartLimit.count())) && m_process.exitStatus() == QProcess::NormalExit;
}
