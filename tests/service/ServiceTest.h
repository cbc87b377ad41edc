#pragma once

#include "ServerSocket.h"
#include "TestApp.h"

#include <QStringList>
#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

// A registered application object whose host is a RecordingScriptRunner, with
// a fake status line and light rows and a log file in a temporary folder, and
// an HTTP listener on an ephemeral loopback port.
class ServiceTest : public ::testing::Test {
public:
    // A whole script to the host: the header line, the command, end tell.
    static QString hostScript(const QString& command);

protected:
    // A short time limit, so tests of silent clients need not wait long.
    static constexpr std::chrono::milliseconds TestRequestTimeLimit{1000};

    ServiceTest();

    // Four units: light 0 "Lamp" dimmable at 40, 1 "Fan" on, 2 "Porch/Door"
    // dimmable and off, 3 "Desk" off.
    static const QString FourUnits;

    void setUnits(const std::optional<QString>& unitListText) { host().setUnitListText(unitListText); }
    int startListener(std::chrono::milliseconds requestTimeLimit = TestRequestTimeLimit);

    // The log file's lines, the date and time prefix removed.
    QStringList logLines() const;

    RecordingScriptRunner& host() { return *m_testApp.host; }

private:
    TestApp m_testApp;
    QTemporaryDir m_logFolder;
    std::unique_ptr<ServerSocket> m_listener;

protected:
    FakeStatusLine& status = m_testApp.status;
    FakeLightRows& rows = m_testApp.rows;
    core::App& app = m_testApp.app;
};
