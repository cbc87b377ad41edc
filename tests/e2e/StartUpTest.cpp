#include "SettingsStore.h"
#include "TestEnvironment.h"
#include "TolvaneProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLockFile>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QCoreApplication>
#include <algorithm>
#include <array>
#include <chrono>
#include <functional>
#include <vector>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A start after a crash once waited half a minute for a lock; a loaded
// machine still starts far sooner than this.
constexpr std::chrono::seconds StartAfterCrashBound{10};
// Copies started at the same instant once could both run in about one
// round in twenty.
constexpr int CopiesAtOnce = 8;
constexpr int RacingRounds = 40;
// How long a copy in the test takes between making its lock file and
// locking it: far longer than a real one, well within AbandonedLock's grace.
constexpr std::chrono::milliseconds LockMakingTime{300};
// Rounds in which a quit signal is tried before the program handles it; a
// round misses only when the program got past that moment unseen.
constexpr int EarlySignalAttempts = 5;
// A quit once waited half a minute on a settings lock that nobody held, and
// a write that cannot get its lock gives up after a few seconds.
constexpr std::chrono::seconds QuitBound{10};
// When quit signals are sent after the start: from while the dynamic loader
// still loads the libraries to after the handler is in place.
constexpr std::array<int, 6> EarlySignalDelaysMs = {0, 2, 5, 10, 20, 30};
// How long the program called tolvane below lives; it is ended sooner.
const QString NamesakeLifetimeSeconds = QStringLiteral("120");
// A user and group that is not root's: nobody on Debian.
constexpr uint OtherUserId = 65534;
const QByteArray OtherMachineId = "0123456789abcdef0123456789abcdef";
const QString OtherHost = QStringLiteral("another-machine.example");
const QString SettingsNotStored = QStringLiteral("Unable to store settings");

const QString ColumnWidthsKey = QStringLiteral("List Box Size");

QString instanceLock(const TolvaneProcess& tolvane)
{
    return QFileInfo(tolvane.settingsFile()).dir().filePath("Tolvane.lock");
}

QString settingsLock(const TolvaneProcess& tolvane)
{
    return tolvane.settingsFile() + ".lock";
}

// The two locks a copy takes: the instance lock as it starts, the settings
// lock for every write of the settings.
const struct LockPath {
    const char* name;
    QString (*of)(const TolvaneProcess&);
} LockPaths[] = {
    {"the instance lock", instanceLock},
    {"the settings lock", settingsLock},
};

// Waits until nobody holds the lock natively; false when somebody still
// does after the start limit.
bool awaitNobodyHolds(const QString& lockFileName)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < TolvaneProcess::StartLimit.count()) {
        const int fd = ::open(QFile::encodeName(lockFileName).constData(), O_RDONLY | O_CLOEXEC);
        const bool free = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        if (fd >= 0)
            ::close(fd);
        if (free)
            return true;
        QThread::msleep(10);
    }
    return false;
}

// A live process called tolvane that is no copy of it and holds no lock: a
// copy of sleep under that name.
class Namesake {
public:
    bool start()
    {
        const QString program = m_dir.filePath("tolvane");
        if (!QFile::copy("/bin/sleep", program))
            return false;
        m_process.start(program, {NamesakeLifetimeSeconds});
        return m_process.waitForStarted();
    }
    qint64 pid() const { return m_process.processId(); }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
};

// Starts the program and quits it, each well within its bound, and checks
// that the quit stored the settings.
void startAndQuitAtOnce(TolvaneProcess& tolvane)
{
    auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(tolvane.start()) << tolvane.output().toStdString();
    EXPECT_LT(std::chrono::steady_clock::now() - started, QuitBound) << "the start waited";
    started = std::chrono::steady_clock::now();
    ASSERT_TRUE(tolvane.stop()) << "the quit hangs";
    EXPECT_LT(std::chrono::steady_clock::now() - started, QuitBound) << "the quit waited";
    EXPECT_EQ(tolvane.exitCode(), 0);
    EXPECT_TRUE(SettingsStore(tolvane.settingsFile()).CopyAppValue(ColumnWidthsKey).isText())
        << "the settings were not stored";
}

// The processes whose parent is `parent`, from their /proc entries.
QList<pid_t> childrenOf(qint64 parent)
{
    QList<pid_t> children;
    const QStringList entries = QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool isPid = false;
        const pid_t pid = entry.toInt(&isPid);
        if (!isPid)
            continue;
        // "pid (comm) state ppid ...": the name may hold blanks and brackets.
        const QByteArray stat = TestEnvironment::fileBytes("/proc/" + entry + "/stat");
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields.at(1).toLongLong() == parent)
            children.append(pid);
    }
    return children;
}

bool isRunning(pid_t pid)
{
    return ::kill(pid, 0) == 0;
}

// Whether `signal` is in the mask of one line of /proc/<pid>/status, such
// as "SigBlk:\t0000000000004000".
bool statusHasSignal(const QByteArray& status, const QByteArray& field, int signal)
{
    for (const QByteArray& line : status.split('\n')) {
        if (line.startsWith(field + ':'))
            return (line.mid(field.size() + 1).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1;
    }
    return false;
}

// Sends `signal` at the first moment that the process is seen holding it
// back, before it handles it; false when it handles it, or ends, unseen.
bool sendWhileHeldBack(qint64 pid, int signal)
{
    const QString status = QStringLiteral("/proc/%1/status").arg(pid);
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < TolvaneProcess::StartLimit.count()) {
        const QByteArray now = TestEnvironment::fileBytes(status);
        if (now.isEmpty() || statusHasSignal(now, "SigCgt", signal))
            return false;
        if (statusHasSignal(now, "SigBlk", signal))
            return ::kill(static_cast<pid_t>(pid), signal) == 0;
    }
    return false;
}

QStringList asideEntries(const QString& path)
{
    const QFileInfo info(path);
    return info.dir().entryList({info.fileName() + ".unreadable-*"}, QDir::AllEntries | QDir::System | QDir::Hidden);
}

QStringList asideEntries(const TolvaneProcess& tolvane)
{
    return asideEntries(tolvane.settingsFile());
}

// What may stand at a path instead of a regular file, and how to tell that
// what was kept aside is still that thing.
struct StandIn {
    const char* name;
    std::function<bool(const QString&)> make;
    std::function<bool(const QFileInfo&)> isKept;
};

const StandIn StandIns[] = {
    {"a FIFO, which would hold whoever opens it",
     [](const QString& path) { return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0; },
     [](const QFileInfo& aside) {
         struct stat info = {};
         return ::lstat(QFile::encodeName(aside.filePath()).constData(), &info) == 0 && S_ISFIFO(info.st_mode);
     }},
    {"a folder", [](const QString& path) { return QDir().mkpath(path); },
     [](const QFileInfo& aside) { return aside.isDir(); }},
    {"a link to a device", [](const QString& path) { return QFile::link("/dev/null", path); },
     [](const QFileInfo& aside) { return aside.isSymLink() && aside.symLinkTarget() == "/dev/null"; }},
};

// Only at a lock path: QLockFile can neither make a lock through it nor remove it.
const StandIn DanglingLink = {"a dangling link", [](const QString& path) { return QFile::link(path + ".gone", path); },
                              [](const QFileInfo& aside) { return aside.isSymLink() && !aside.exists(); }};

// Runs check for each thing that may stand at a lock path, made at each of
// the two lock paths of a fresh copy; seeReadOnly when its folder is to be
// read-only to the copy.
void forEachStandInAtEachLock(bool seeReadOnly,
                              const std::function<void(const StandIn&, const LockPath&, TolvaneProcess&)>& check)
{
    std::vector<StandIn> rows(std::begin(StandIns), std::end(StandIns));
    rows.push_back(DanglingLink);
    for (const StandIn& row : rows) {
        for (const LockPath& lock : LockPaths) {
            SCOPED_TRACE(std::string(row.name) + " at " + lock.name);
            TolvaneProcess fresh;
            const QString folder = QFileInfo(fresh.settingsFile()).path();
            ASSERT_TRUE(QDir().mkpath(folder));
            ASSERT_TRUE(row.make(lock.of(fresh)));
            if (seeReadOnly)
                fresh.seeReadOnly(folder);
            check(row, lock, fresh);
        }
    }
}

class StartUp : public ::testing::Test {
protected:
    void SetUp() override { TOLVANE_REQUIRE_NETNS(); }

    TolvaneProcess tolvane;
};

TEST_F(StartUp, ASecondCopyForTheSameUserRefusesToRun)
{
    ASSERT_TRUE(tolvane.start()) << tolvane.output().toStdString();
    const QByteArray settingsBefore = TestEnvironment::fileBytes(tolvane.settingsFile());
    const QDateTime modifiedBefore = QFileInfo(tolvane.settingsFile()).lastModified();

    QByteArray output;
    EXPECT_EQ(tolvane.runAnother(&output), 1);
    EXPECT_EQ(output, "Tolvane is already running\n");
    EXPECT_EQ(TestEnvironment::fileBytes(tolvane.settingsFile()), settingsBefore);
    EXPECT_EQ(QFileInfo(tolvane.settingsFile()).lastModified(), modifiedBefore);
    EXPECT_EQ(TestEnvironment::fileText(tolvane.logFile()).count(": Halvory Tolvane has started."), 1)
        << "the second copy wrote to the log";

    // The first copy still serves, and stores its own settings at quit.
    ASSERT_TRUE(tolvane.stop());
    EXPECT_TRUE(SettingsStore(tolvane.settingsFile()).CopyAppValue(ColumnWidthsKey).isText());
    EXPECT_FALSE(QFile::exists(instanceLock(tolvane))) << "the lock goes with the copy that held it";
}

TEST_F(StartUp, LocksLeftByACrashDoNotHoldTheNextStart)
{
    ASSERT_TRUE(tolvane.start());
    tolvane.killHard();
    ASSERT_TRUE(QFile::exists(instanceLock(tolvane))) << "a killed copy leaves its lock";
    ASSERT_TRUE(tolvane.start()) << "the lock of a killed copy is taken at once";
    tolvane.killHard();

    // A crash between making a lock file and writing its owner into it
    // leaves it empty: the instance lock, and the lock of a settings write
    // that a crash during quit cut short.
    ASSERT_TRUE(TestEnvironment::writeFile(instanceLock(tolvane), ""));
    ASSERT_TRUE(TestEnvironment::writeFile(tolvane.settingsFile() + ".lock", ""));
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(tolvane.start()) << tolvane.output().toStdString();
    EXPECT_LT(std::chrono::steady_clock::now() - started, StartAfterCrashBound);
    EXPECT_TRUE(tolvane.stop());
}

TEST_F(StartUp, WhatStandsAtTheSettingsPathInsteadOfAFileIsMovedAsideAndTheStartGoesOn)
{
    for (const StandIn& row : StandIns) {
        SCOPED_TRACE(row.name);
        TolvaneProcess fresh;
        ASSERT_TRUE(QDir().mkpath(QFileInfo(fresh.settingsFile()).path()));
        ASSERT_TRUE(row.make(fresh.settingsFile()));

        ASSERT_TRUE(fresh.start()) << fresh.output().toStdString();
        const QStringList aside = asideEntries(fresh);
        ASSERT_EQ(aside.size(), 1) << aside.join(' ').toStdString();
        EXPECT_TRUE(row.isKept(QFileInfo(QFileInfo(fresh.settingsFile()).dir().filePath(aside.first()))));

        ASSERT_TRUE(fresh.stop());
        EXPECT_TRUE(QFileInfo(fresh.settingsFile()).isFile());
        EXPECT_TRUE(SettingsStore(fresh.settingsFile()).CopyAppValue("Running Local").isBoolean());
        EXPECT_EQ(asideEntries(fresh), aside);
    }
}

TEST_F(StartUp, OfCopiesStartedAtOnceExactlyOneRuns)
{
    // The first start writes the settings, as the window opens.
    ASSERT_TRUE(tolvane.start());
    ASSERT_TRUE(tolvane.stop());
    for (int round = 0; round < RacingRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const QByteArray settingsBefore = TestEnvironment::fileBytes(tolvane.settingsFile());
        std::array<QProcess, CopiesAtOnce> copies;
        for (QProcess& copy : copies)
            tolvane.setUpCopy(copy);
        for (QProcess& copy : copies)
            copy.start();

        // Every copy but the one that runs ends on its own at once.
        QElapsedTimer timer;
        timer.start();
        auto running = [&] {
            return std::count_if(copies.begin(), copies.end(), [](QProcess& copy) {
                return !copy.waitForFinished(10) && copy.state() != QProcess::NotRunning;
            });
        };
        while (running() > 1 && timer.elapsed() < TolvaneProcess::StartLimit.count()) {
        }
        ASSERT_EQ(running(), 1);

        for (QProcess& copy : copies) {
            if (copy.state() != QProcess::NotRunning)
                continue;
            EXPECT_EQ(copy.exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(copy.exitCode(), 1);
            EXPECT_EQ(copy.readAll(), "Tolvane is already running\n");
        }
        QProcess& winner = *std::find_if(copies.begin(), copies.end(),
                                         [](QProcess& copy) { return copy.state() != QProcess::NotRunning; });
        qint64 owner = 0;
        EXPECT_TRUE(QLockFile(instanceLock(tolvane)).getLockInfo(&owner, nullptr, nullptr));
        EXPECT_EQ(owner, winner.processId()) << "the lock names another copy";
        EXPECT_EQ(TestEnvironment::fileBytes(tolvane.settingsFile()), settingsBefore);

        ::kill(static_cast<pid_t>(winner.processId()), SIGTERM);
        ASSERT_TRUE(winner.waitForFinished(int(TolvaneProcess::StartLimit.count())));
        EXPECT_EQ(winner.exitCode(), 0);
    }
}

TEST_F(StartUp, ACopyThatStartsWhileAnotherMakesItsLockLeavesThatLockAlone)
{
    // As QLockFile makes a lock: the file first, then its native lock and
    // its owner. Here the moment between the two is drawn out.
    ASSERT_TRUE(QDir().mkpath(QFileInfo(instanceLock(tolvane)).path()));
    const int maker =
        ::open(QFile::encodeName(instanceLock(tolvane)).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    ASSERT_GE(maker, 0);
    QProcess copy;
    tolvane.setUpCopy(copy);
    copy.start();
    ASSERT_TRUE(copy.waitForStarted());
    QThread::msleep(LockMakingTime.count());
    EXPECT_EQ(::flock(maker, LOCK_EX | LOCK_NB), 0);
    const QByteArray details = TestEnvironment::lockOwnerDetails();
    EXPECT_EQ(::write(maker, details.constData(), details.size()), details.size());

    EXPECT_TRUE(copy.waitForFinished(int(TolvaneProcess::StartLimit.count()))) << "both copies run";
    EXPECT_EQ(copy.exitCode(), 1);
    EXPECT_EQ(copy.readAll(), "Tolvane is already running\n");
    struct stat made = {};
    struct stat now = {};
    ASSERT_EQ(::fstat(maker, &made), 0);
    EXPECT_EQ(::stat(QFile::encodeName(instanceLock(tolvane)).constData(), &now), 0) << "the lock was removed";
    EXPECT_EQ(now.st_ino, made.st_ino) << "the lock was replaced";
    ::close(maker);
}

TEST_F(StartUp, ALockLeftInAFolderThatIsNowReadOnlyRefusesNoStart)
{
    ASSERT_TRUE(tolvane.start());
    tolvane.killHard();
    ASSERT_TRUE(QFile::exists(instanceLock(tolvane)));

    tolvane.seeReadOnly(QFileInfo(tolvane.settingsFile()).path());
    ASSERT_TRUE(tolvane.start()) << tolvane.output().toStdString();
    // The lock it could not replace it holds, so one copy stays one copy.
    QByteArray output;
    EXPECT_EQ(tolvane.runAnother(&output), 1);
    EXPECT_EQ(output, "Tolvane is already running\n");
    EXPECT_TRUE(tolvane.stop());
}

TEST_F(StartUp, WhatCannotBeMovedAsideFromAReadOnlyFolderHoldsNoStartAndNoQuit)
{
    forEachStandInAtEachLock(true, [](const StandIn& row, const LockPath& lock, TolvaneProcess& fresh) {
        ASSERT_TRUE(fresh.start()) << fresh.output().toStdString();
        const auto quitting = std::chrono::steady_clock::now();
        ASSERT_TRUE(fresh.stop()) << "the quit hangs";
        EXPECT_LT(std::chrono::steady_clock::now() - quitting, QuitBound);
        EXPECT_EQ(fresh.exitCode(), 0);
        EXPECT_TRUE(row.isKept(QFileInfo(lock.of(fresh)))) << "it was moved from a read-only folder";
    });
}

TEST_F(StartUp, ALockThatNoLiveCopyHoldsIsTakenAtOnceWhateverItNames)
{
    Namesake namesake;
    ASSERT_TRUE(namesake.start());
    const qint64 ended = TestEnvironment::endedProcessId();
    ASSERT_GT(ended, 0);
    const struct {
        const char* name;
        QByteArray details;
    } rows[] = {
        {"a live process called tolvane that holds nothing", TestEnvironment::lockOwnerDetails(namesake.pid(), "tolvane")},
        {"a home folder copied from another machine: its id and an ended process",
         TestEnvironment::lockOwnerDetails(ended, "tolvane", OtherHost, OtherMachineId)},
        {"an old three-line lock from another host", TestEnvironment::lockOwnerDetails(ended, "tolvane", OtherHost)},
    };
    for (const auto& row : rows) {
        for (const LockPath& lock : LockPaths) {
            SCOPED_TRACE(std::string(lock.name) + " names " + row.name);
            TolvaneProcess fresh;
            ASSERT_TRUE(TestEnvironment::writeFile(lock.of(fresh), row.details));
            startAndQuitAtOnce(fresh);
        }
    }
}

TEST_F(StartUp, ARestartInAPidNamespaceOfItsOwnStartsAgain)
{
    tolvane.inPidNamespace();
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run == 0 ? "the first start" : "the restart");
        ASSERT_TRUE(tolvane.start()) << tolvane.output().toStdString();
        qint64 owner = 0;
        EXPECT_TRUE(QLockFile(instanceLock(tolvane)).getLockInfo(&owner, nullptr, nullptr));
        EXPECT_EQ(owner, 2) << "not the second process of its namespace";
        // Still one copy at a time, each in a namespace of its own.
        QByteArray output;
        EXPECT_EQ(tolvane.runAnother(&output), 1);
        EXPECT_EQ(output, "Tolvane is already running\n");
        tolvane.killHard();
        ASSERT_TRUE(QFile::exists(instanceLock(tolvane))) << "a killed copy leaves its lock";
        ASSERT_TRUE(awaitNobodyHolds(instanceLock(tolvane))) << "the killed copy lives on";
    }
}

TEST_F(StartUp, WhatStandsAtALockPathInsteadOfALockIsMovedAsideAndStartAndQuitGoOn)
{
    forEachStandInAtEachLock(false, [](const StandIn& row, const LockPath& lock, TolvaneProcess& fresh) {
        startAndQuitAtOnce(fresh);
        const QStringList aside = asideEntries(lock.of(fresh));
        EXPECT_EQ(aside.size(), 1) << aside.join(' ').toStdString();
        if (aside.size() == 1) {
            EXPECT_TRUE(row.isKept(QFileInfo(QFileInfo(lock.of(fresh)).dir().filePath(aside.first()))));
        }
    });
}

TEST_F(StartUp, ALockLeftByAnotherUserRefusesNoStartAndHoldsNoQuit)
{
    const qint64 ended = TestEnvironment::endedProcessId();
    ASSERT_GT(ended, 0);
    const struct {
        const char* name;
        QFileDevice::Permissions permissions;
    } rows[] = {
        {"that this user may read", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                        | QFileDevice::ReadOther},
        {"that only its owner may read", QFileDevice::ReadOwner | QFileDevice::WriteOwner},
    };
    for (const auto& row : rows) {
        for (const LockPath& lock : LockPaths) {
            SCOPED_TRACE(std::string(lock.name) + ", root's, " + row.name);
            TolvaneProcess fresh;
            ASSERT_TRUE(TestEnvironment::writeFile(lock.of(fresh), TestEnvironment::lockOwnerDetails(ended, "tolvane")));
            fresh.runAs(OtherUserId);
            ASSERT_EQ(::chown(QFile::encodeName(lock.of(fresh)).constData(), 0, 0), 0);
            ASSERT_TRUE(QFile::setPermissions(lock.of(fresh), row.permissions));
            startAndQuitAtOnce(fresh);
        }
    }
}

TEST_F(StartUp, ASettingsWriteThatCannotGetItsLockGivesUpAndTheQuitCompletes)
{
    {
        SettingsStore store(tolvane.settingsFile());
        store.SetAppValue("Should Log", SettingsValue::boolean(true));
        ASSERT_TRUE(store.AppSynchronize());
    }
    const QByteArray settingsBefore = TestEnvironment::fileBytes(tolvane.settingsFile());
    // A live writer that keeps the lock.
    QLockFile writer(settingsLock(tolvane));
    ASSERT_TRUE(writer.tryLock(0));

    ASSERT_TRUE(tolvane.start()) << tolvane.output().toStdString();
    const auto quitting = std::chrono::steady_clock::now();
    ASSERT_TRUE(tolvane.stop()) << "the quit hangs";
    EXPECT_LT(std::chrono::steady_clock::now() - quitting, QuitBound);
    EXPECT_EQ(tolvane.exitCode(), 0);
    EXPECT_EQ(TestEnvironment::fileBytes(tolvane.settingsFile()), settingsBefore);
    EXPECT_TRUE(TestEnvironment::fileText(tolvane.logFile()).contains(": " + SettingsNotStored + "\n"))
        << TestEnvironment::fileText(tolvane.logFile()).toStdString();
    EXPECT_TRUE(writer.isLocked());
    qint64 owner = 0;
    EXPECT_TRUE(writer.getLockInfo(&owner, nullptr, nullptr));
    EXPECT_EQ(owner, QCoreApplication::applicationPid()) << "the writer's lock was taken";
}

TEST_F(StartUp, AQuitSignalInTheFirstMomentsEndsTheProcessAndLosesNothing)
{
    ASSERT_TRUE(tolvane.start());
    ASSERT_TRUE(tolvane.stop());
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        for (int delay : EarlySignalDelaysMs) {
            SCOPED_TRACE(std::string(strsignal(signal)) + " after " + std::to_string(delay) + " ms");
            const QByteArray settingsBefore = TestEnvironment::fileBytes(tolvane.settingsFile());
            ASSERT_TRUE(tolvane.launch());
            QThread::msleep(delay);
            ::kill(static_cast<pid_t>(tolvane.pid()), signal);
            ASSERT_TRUE(tolvane.waitForEnd());
            EXPECT_FALSE(QFile::exists(instanceLock(tolvane))) << "a lock was left";
            // Ended before its own code ran, or quit through the quit
            // sequence, which stores the settings.
            if (tolvane.endedBySignal())
                EXPECT_EQ(TestEnvironment::fileBytes(tolvane.settingsFile()), settingsBefore);
            else
                EXPECT_EQ(tolvane.exitCode(), 0);
        }
    }
}

TEST_F(StartUp, AQuitSignalBeforeTheProgramHandlesItStillQuitsThroughTheQuitSequence)
{
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        bool sentEarly = false;
        for (int attempt = 0; attempt < EarlySignalAttempts && !sentEarly; ++attempt) {
            QFile::remove(tolvane.settingsFile());
            ASSERT_TRUE(tolvane.launch());
            sentEarly = sendWhileHeldBack(tolvane.pid(), signal);
            if (!sentEarly) {
                tolvane.stop();
                continue;
            }
            ASSERT_TRUE(tolvane.waitForExit()) << "ended by the signal";
            EXPECT_EQ(tolvane.exitCode(), 0);
            EXPECT_TRUE(SettingsStore(tolvane.settingsFile()).CopyAppValue(ColumnWidthsKey).isText())
                << "the window's close handling ran";
        }
        EXPECT_TRUE(sentEarly) << "the program never held the signal back before it handled it";
    }
}

// A FIFO as the stand-in's unit store holds the host in its first read,
// as a host that is slow to answer would, until its other end is opened.
class SlowHost : public StartUp {
protected:
    void SetUp() override
    {
        StartUp::SetUp();
        if (IsSkipped())
            return;
        QDir().mkpath(QFileInfo(tolvane.unitStoreFile()).path());
        ASSERT_EQ(::mkfifo(QFile::encodeName(tolvane.unitStoreFile()).constData(), 0600), 0);
    }

    void TearDown() override
    {
        // Lets a host that is still waiting read an empty store and end.
        const int fd = ::open(QFile::encodeName(tolvane.unitStoreFile()).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
        if (m_host > 0 && isRunning(m_host))
            ::kill(m_host, SIGKILL);
    }

    // The host program that tolvane has started, once it runs.
    pid_t awaitHost()
    {
        for (int attempt = 0; attempt < 300 && m_host == 0; ++attempt) {
            const QList<pid_t> children = childrenOf(tolvane.pid());
            if (!children.isEmpty())
                m_host = children.first();
            else
                QThread::msleep(50);
        }
        return m_host;
    }

    pid_t m_host = 0;
};

TEST_F(SlowHost, AQuitSignalDuringTheFirstHostReadQuitsThroughTheQuitSequence)
{
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        QFile::remove(tolvane.settingsFile());
        m_host = 0;
        ASSERT_TRUE(tolvane.launch());
        const pid_t host = awaitHost();
        ASSERT_GT(host, 0) << "the host program never started";

        ::kill(static_cast<pid_t>(tolvane.pid()), signal);
        ASSERT_TRUE(tolvane.waitForExit()) << tolvane.output().toStdString();
        EXPECT_EQ(tolvane.exitCode(), 0);
        EXPECT_FALSE(isRunning(host)) << "the host program was left running, or not reaped";

        const SettingsStore stored(tolvane.settingsFile());
        EXPECT_TRUE(stored.CopyAppValue(ColumnWidthsKey).isText()) << "the window's close handling ran";
        EXPECT_TRUE(stored.CopyAppValue("Running Local").isBoolean());
    }
}

} // namespace
