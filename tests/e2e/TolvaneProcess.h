#pragma once

#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>

// The real tolvane executable, started offscreen in a home folder of its own
// with the stand-in host and a known unit list.
class TolvaneProcess {
public:
    static constexpr std::chrono::milliseconds StartLimit{15000};

    TolvaneProcess();
    ~TolvaneProcess();

    QString home() const { return m_home.path(); }
    QString settingsFile() const;
    QString logFile() const;
    QString unitStoreFile() const;

    void writeUnits(const QJsonArray& units);
    QJsonArray units() const;

    // Starts the program and waits until its listener accepts connections.
    bool start();
    // Starts the program and returns once it runs, listening or not.
    bool launch();
    // Starts a further copy in the same home and waits for it to end; its
    // exit code, or -1 when it did not end by itself in time.
    int runAnother(QByteArray* output);
    // Sets a process up as a further copy in the same home, started as this
    // one is.
    void setUpCopy(QProcess& copy) const;
    // Each start from now on sees `folder` read-only, for root too, as
    // through a read-only mount: in a mount namespace of its own.
    void seeReadOnly(const QString& folder);
    // Each start from now on is the second process of a pid namespace of
    // its own, under a shell, as in a container: its number there is 2.
    // Ending the start ends the namespace.
    void inPidNamespace();
    // Each start from now on runs as the user and group `id`, who from now
    // on owns the home folder and everything in it.
    void runAs(uint id);
    // Waits for the program to end by itself; true when it did so in time
    // and normally.
    bool waitForExit();
    int exitCode() const { return m_process.exitCode(); }
    // Waits for the program to end in any way; true when it did so in time.
    bool waitForEnd() { return m_process.waitForFinished(int(StartLimit.count())); }
    bool endedBySignal() const { return m_process.exitStatus() == QProcess::CrashExit; }
    // Ends it as a crash would, with nothing cleaned up.
    void killHard();
    // Quits it by SIGTERM; true when it ended by itself in time.
    bool stop();
    qint64 pid() const { return m_process.processId(); }
    QByteArray output() { return m_process.readAll(); }

private:
    QTemporaryDir m_home;
    QProcess m_process;
};
