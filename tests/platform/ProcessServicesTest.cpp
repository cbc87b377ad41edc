#include "EventLoopWait.h"
#include "ProcessInfo.h"
#include "QuitSignals.h"
#include "SystemFolders.h"
#include "TestEnvironment.h"

#include <QDir>
#include <csignal>
#include <gtest/gtest.h>

TEST(QuitSignalsTest, EachQuitSignalCallsBackOnTheEventLoop)
{
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        int calls = 0;
        QuitSignals quitSignals([&] { ++calls; });
        ::raise(signal);
        EXPECT_EQ(calls, 0) << "called inside the signal handler";
        EXPECT_TRUE(EventLoopWait::until([&] { return calls == 1; })) << signal;
        EventLoopWait::settle(std::chrono::milliseconds{20});
        EXPECT_EQ(calls, 1) << signal;
    }
}

TEST(ProcessInfoTest, ActivityTokenRecordsWhatWasAsked)
{
    const auto token = ProcessInfo::processInfo().beginActivity(255, "Starting HTTP Server that cannot Nap");
    ASSERT_TRUE(token);
    EXPECT_EQ(token->options(), 255u);
    EXPECT_EQ(token->reason(), "Starting HTTP Server that cannot Nap");
}

TEST(SystemFoldersTest, UserLibraryIsTheDataHomeAndItsLogsFolderIsMadeOnlyWhenAsked)
{
    const QString library = SystemFolders::UserLibrary();
    EXPECT_EQ(library, TestEnvironment::home() + "/.local/share");
    EXPECT_EQ(SystemFolders::UserLogs(), library + "/logs");
    QDir(library + "/logs").removeRecursively();
    SystemFolders::UserLibrary();
    SystemFolders::UserLogs();
    EXPECT_FALSE(QDir(library + "/logs").exists()) << "asking for the folder made one";

    SystemFolders::makeStandardFolders();
    EXPECT_TRUE(QDir(library + "/logs").exists());
    SystemFolders::makeStandardFolders();
    EXPECT_TRUE(QDir(library + "/logs").exists());
}
