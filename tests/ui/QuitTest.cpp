#include "Bridge.h"
#include "MainMenuBar.h"
#include "MainWindow.h"
#include "LightListBox.h"
#include "Program.h"
#include "SettingsStore.h"
#include "TestEnvironment.h"
#include "WindowFixture.h"

#include <QAction>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QTest>
#include <QDirIterator>
#include <QHeaderView>
#include <QProcess>
#include <QTcpSocket>
#include <QTimer>
#include <chrono>
#include <csignal>
#include <functional>
#include <thread>
#include <unistd.h>

namespace {

class Quit : public WindowFixture {
protected:
    // Starts the program, changes a column width and a field, asks it to
    // quit as `ask` does, and returns the event loop's exit code.
    int runAndQuit(const std::function<void()>& ask)
    {
        ui::Program program(m_app);
        MainWindow().lbLights()->header()->resizeSection(1, 111);
        MainWindow().tfIPAddress()->setText("10.9.8.7");
        m_widths = MainWindow().lbLights()->columnWidths();
        QTimer::singleShot(0, ask);
        QTimer::singleShot(QuitTimeout, [] { QCoreApplication::exit(QuitTimedOut); });
        return program.exec();
    }

    void expectStored()
    {
        EXPECT_EQ(stored(ColumnWidthsKey).toText(), m_widths);
        EXPECT_EQ(stored("IPAddress").toText(), "10.9.8.7");
        EXPECT_EQ(m_app.Activity, nullptr);
    }

    QString m_widths;
};

TEST_F(Quit, QuitItemStoresSettingsAndColumnWidths)
{
    TOLVANE_REQUIRE_NETNS();
    EXPECT_EQ(runAndQuit([] { QTest::keyClick(&MainWindow(), Qt::Key_Q, Qt::ControlModifier); }), 0);
    expectStored();
}

TEST_F(Quit, SigtermQuitsThroughTheSameSequence)
{
    TOLVANE_REQUIRE_NETNS();
    EXPECT_EQ(runAndQuit([] { ::kill(::getpid(), SIGTERM); }), 0);
    expectStored();
}

TEST_F(Quit, SignalHandledBeforeTheEventLoopRunsStillQuits)
{
    TOLVANE_REQUIRE_NETNS();
    ui::Program program(m_app);
    MainWindow().tfIPAddress()->setText("10.9.8.7");
    // Start-up may handle events of its own before the loop runs, and with
    // them the signal.
    ::kill(::getpid(), SIGTERM);
    QCoreApplication::processEvents();
    QTimer::singleShot(QuitTimeout, [] { QCoreApplication::exit(QuitTimedOut); });
    EXPECT_EQ(program.exec(), 0);
    EXPECT_EQ(stored("IPAddress").toText(), "10.9.8.7");
    EXPECT_EQ(m_app.Activity, nullptr);
}

// The file under `folder` that holds `text`, or an empty name.
QString fileHolding(const QString& folder, const QByteArray& text)
{
    QDirIterator files(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (file.open(QIODevice::ReadOnly) && file.readAll().contains(text))
            return file.fileName();
    }
    return QString();
}

// How long the real program may take to start listening, and how long one
// probe waits for it.
constexpr std::chrono::milliseconds ListenerWait{10000};
constexpr std::chrono::milliseconds ProbeWait{100};

bool waitForListener(int port)
{
    const QDeadlineTimer deadline(ListenerWait);
    while (!deadline.hasExpired()) {
        QTcpSocket probe;
        probe.connectToHost(QStringLiteral("127.0.0.1"), port);
        if (probe.waitForConnected(static_cast<int>(ProbeWait.count())))
            return true;
        std::this_thread::sleep_for(ProbeWait);
    }
    return false;
}

TEST(QuitProgram, SigtermStoresColumnWidthsOfTheRealProgram)
{
    TOLVANE_REQUIRE_NETNS();
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", home.path());
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(TestEnvironment::binDir() + "/tolvane", {});
    ASSERT_TRUE(program.waitForStarted());
    ASSERT_TRUE(waitForListener(Bridge::HTTPPort));

    program.terminate();
    ASSERT_TRUE(program.waitForFinished(static_cast<int>(WindowFixture::QuitTimeout.count())));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);

    const QString settingsFile = fileHolding(home.path(), WindowFixture::ColumnWidthsKey.toUtf8());
    ASSERT_FALSE(settingsFile.isEmpty());
    SettingsStore settings(settingsFile);
    EXPECT_EQ(settings.CopyAppValue(WindowFixture::ColumnWidthsKey).toText().count(','), 3);
    EXPECT_TRUE(settings.CopyAppValue("Running Local").toBool());
}

} // namespace
