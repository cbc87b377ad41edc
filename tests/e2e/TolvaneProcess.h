#pragma once

#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>

// The real tolvane executable, started offscreen in a home folder of its own
// with the stand-in host and a known unit list.
class TolvaneProcess {
public:
    static constexpr int StartLimitMs = 15000;

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
    // Quits it by SIGTERM; true when it ended by itself in time.
    bool stop();
    qint64 pid() const { return m_process.processId(); }
    QByteArray output() { return m_process.readAll(); }

private:
    QTemporaryDir m_home;
    QProcess m_process;
};
