#include "LockHolder.h"
#include "SettingsStore.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
using Type = SettingsValue::Type;

constexpr auto OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

class SettingsStoreTest : public ::testing::Test {
protected:
    QString fileName() const { return m_dir.filePath("Tolvane.json"); }

    void writeFile(const QByteArray& contents) const
    {
        ASSERT_TRUE(TestEnvironment::writeFile(fileName(), contents));
    }
    QJsonObject fileObject() const { return QJsonDocument::fromJson(TestEnvironment::fileBytes(fileName())).object(); }
    QStringList asideFiles(QDir::Filters kinds = QDir::Files) const
    {
        return QDir(m_dir.path()).entryList({"Tolvane.json.unreadable-*"}, kinds | QDir::System);
    }
    QString path(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

struct stat statOf(const QString& fileName)
{
    struct stat info = {};
    ::stat(QFile::encodeName(fileName).constData(), &info);
    return info;
}

mode_t modeOf(const QString& fileName)
{
    return statOf(fileName).st_mode & 0777;
}

// The entries of a folder that were written to from its making on, as the
// kernel reports them.
class WrittenEntries {
public:
    explicit WrittenEntries(const QString& folder) : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        m_watching = m_fd >= 0 && inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), IN_MODIFY) >= 0;
    }
    ~WrittenEntries()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    WrittenEntries(const WrittenEntries&) = delete;
    WrittenEntries& operator=(const WrittenEntries&) = delete;

    bool watching() const { return m_watching; }

    QStringList names() const
    {
        QStringList names;
        alignas(inotify_event) char buffer[4096];
        for (ssize_t got; (got = ::read(m_fd, buffer, sizeof buffer)) > 0;) {
            for (const char* at = buffer; at < buffer + got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                if (event->len > 0 && !names.contains(QFile::decodeName(event->name)))
                    names.append(QFile::decodeName(event->name));
                at += sizeof(inotify_event) + event->len;
            }
        }
        return names;
    }

private:
    int m_fd;
    bool m_watching = false;
};
} // namespace

TEST_F(SettingsStoreTest, ValuesKeepTheirTypesAcrossStoreObjects)
{
    {
        SettingsStore writer(fileName());
        writer.SetAppValue("Running Local", SettingsValue::boolean(false));
        writer.SetAppValue("Should Log", SettingsValue::boolean(true));
        writer.SetAppValue("User Name", SettingsValue::text("Ann Example"));
        writer.SetAppValue("PW", SettingsValue::text(""));
        EXPECT_TRUE(writer.AppSynchronize());
    }
    SettingsStore reader(fileName());
    const struct {
        const char* key;
        Type type;
        QVariant value;
    } rows[] = {
        {"Running Local", Type::Boolean, false},
        {"Should Log", Type::Boolean, true},
        {"User Name", Type::Text, "Ann Example"},
        {"PW", Type::Text, ""},
        {"IPAddress", Type::Absent, QVariant()},
        {"should log", Type::Absent, QVariant()},
    };
    for (const auto& row : rows) {
        const SettingsValue value = reader.CopyAppValue(row.key);
        EXPECT_EQ(value.type(), row.type) << row.key;
        EXPECT_EQ(value.variant(), row.value) << row.key;
    }
    // On disk too: JSON Booleans and strings, not texts standing for them.
    EXPECT_TRUE(fileObject().value("Should Log").isBool());
    EXPECT_TRUE(fileObject().value("PW").isString());
}

TEST_F(SettingsStoreTest, OtherJSONTypesAreOther)
{
    writeFile(R"({"Should Log": 1, "Running Local": "true", "IPAddress": true, "List": [1], "Null": null})");
    SettingsStore store(fileName());
    EXPECT_EQ(store.CopyAppValue("Should Log").type(), Type::Other);
    EXPECT_EQ(store.CopyAppValue("Running Local").type(), Type::Text);
    EXPECT_EQ(store.CopyAppValue("IPAddress").type(), Type::Boolean);
    EXPECT_EQ(store.CopyAppValue("List").type(), Type::Other);
    EXPECT_EQ(store.CopyAppValue("Null").type(), Type::Other);
}

TEST_F(SettingsStoreTest, SetValueIsPendingUntilSynchronised)
{
    SettingsStore store(fileName());
    store.SetAppValue("List Box Size", SettingsValue::text("1,2,3,4"));
    EXPECT_FALSE(fileObject().contains("List Box Size"));
    EXPECT_TRUE(store.AppSynchronize());
    EXPECT_EQ(fileObject().value("List Box Size").toString(), "1,2,3,4");
}

TEST_F(SettingsStoreTest, FileIsReplacedWholeAndOwnerOnly)
{
    SettingsStore store(fileName());
    store.SetAppValue("PW", SettingsValue::text("secret"));
    ASSERT_TRUE(store.AppSynchronize());
    EXPECT_EQ(modeOf(fileName()), 0600u);

    const ino_t before = statOf(fileName()).st_ino;
    store.SetAppValue("PW", SettingsValue::text("other"));
    ASSERT_TRUE(store.AppSynchronize());
    EXPECT_NE(statOf(fileName()).st_ino, before) << "written in place, not through a renamed temporary file";
    EXPECT_EQ(modeOf(fileName()), 0600u);
}

TEST_F(SettingsStoreTest, WiderPermissionsAreNarrowedAtSync)
{
    writeFile("{}");
    QFile::setPermissions(fileName(), OwnerOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    SettingsStore store(fileName());
    store.SetAppValue("PW", SettingsValue::text("secret"));
    ASSERT_TRUE(store.AppSynchronize());
    EXPECT_EQ(modeOf(fileName()), 0600u);
}

TEST_F(SettingsStoreTest, ReadingAnEmptyStoreWritesNothing)
{
    SettingsStore store(fileName());
    EXPECT_EQ(store.CopyAppValue("Running Local").type(), Type::Absent);
    EXPECT_FALSE(QFile::exists(fileName()));
}

TEST_F(SettingsStoreTest, UnreadableFileIsMovedAsideAndKept)
{
    const QByteArray broken = "{\"Should Log\": tru";
    writeFile(broken);
    SettingsStore store(fileName());
    EXPECT_EQ(store.CopyAppValue("Should Log").type(), Type::Absent);
    store.SetAppValue("Should Log", SettingsValue::boolean(true));
    ASSERT_TRUE(store.AppSynchronize());

    const QStringList aside = asideFiles();
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(TestEnvironment::fileBytes(QDir(QFileInfo(fileName()).path()).filePath(aside.first())), broken);
    EXPECT_TRUE(fileObject().value("Should Log").toBool());
}

TEST(SettingsStoreDefaults, DefaultFileIsTheUsersOwnApplicationStore)
{
    const QString expected = TestEnvironment::home() + "/.config/Halvory/Tolvane.json";
    EXPECT_EQ(SettingsStore::defaultFileName(), expected);
    EXPECT_EQ(SettingsStore().fileName(), expected);
}

TEST_F(SettingsStoreTest, LiveStoreObjectsSeeEachOthersSynchronisedValues)
{
    SettingsStore first(fileName());
    SettingsStore second(fileName());
    first.SetAppValue("IPAddress", SettingsValue::text("10.0.0.2"));
    ASSERT_TRUE(first.AppSynchronize());
    EXPECT_EQ(second.CopyAppValue("IPAddress").toText(), "10.0.0.2");
}

TEST_F(SettingsStoreTest, NewStoreObjectReadsTheFileAnew)
{
    {
        SettingsStore earlier(fileName());
        earlier.SetAppValue("PW", SettingsValue::text("old"));
        ASSERT_TRUE(earlier.AppSynchronize());
    }
    writeFile(R"({"PW": "changed elsewhere", "Should Log": true})");
    SettingsStore later(fileName());
    EXPECT_EQ(later.CopyAppValue("PW").toText(), "changed elsewhere");
    EXPECT_TRUE(later.CopyAppValue("Should Log").isBoolean());
}

namespace {
// The old wait on a lock left empty was the lock's stale time, half a minute;
// a machine under load still takes far less than this.
constexpr std::chrono::seconds LeftLockBound{10};

struct OddPath {
    const char* name;
    // Puts something other than a regular file at the path.
    bool (*make)(const QString& path);
    QDir::Filters kind;
};

bool makeFifo(const QString& path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

bool makeFolder(const QString& path)
{
    return QDir().mkdir(path);
}

// A device that never ends, behind a link as a user might leave one.
bool makeDeviceLink(const QString& path)
{
    return QFile::link("/dev/zero", path);
}

class SettingsStoreOddPath : public SettingsStoreTest, public ::testing::WithParamInterface<OddPath> {};
} // namespace

TEST_P(SettingsStoreOddPath, IsKeptAsideAndTheStoreStartsEmpty)
{
    ASSERT_TRUE(GetParam().make(fileName()));
    SettingsStore store(fileName());
    EXPECT_EQ(store.CopyAppValue("Should Log").type(), Type::Absent);
    store.SetAppValue("Should Log", SettingsValue::boolean(true));
    ASSERT_TRUE(store.AppSynchronize());

    EXPECT_TRUE(QFileInfo(fileName()).isFile());
    EXPECT_TRUE(fileObject().value("Should Log").toBool());
    EXPECT_EQ(asideFiles(GetParam().kind).size(), 1) << "kept aside as it was";
}

INSTANTIATE_TEST_SUITE_P(NotARegularFile, SettingsStoreOddPath,
                         ::testing::Values(OddPath{"Fifo", makeFifo, QDir::AllEntries},
                                           OddPath{"Folder", makeFolder, QDir::Dirs | QDir::NoDotAndDotDot},
                                           OddPath{"DeviceLink", makeDeviceLink, QDir::AllEntries}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsStoreTest, FirstWriteNeverLeavesAnEmptyFile)
{
    // A kill can come between any two steps; at each the file is either not
    // there yet or a whole store that only its owner may read. So it is never
    // written in place, where a kill would leave part of it.
    const WrittenEntries written(path("."));
    ASSERT_TRUE(written.watching());
    SettingsStore store(fileName());
    store.SetAppValue("PW", SettingsValue::text("secret"));
    if (QFile::exists(fileName())) {
        EXPECT_GT(QFileInfo(fileName()).size(), 0);
        EXPECT_TRUE(QJsonDocument::fromJson(TestEnvironment::fileBytes(fileName())).isObject());
        EXPECT_EQ(modeOf(fileName()), 0600u);
    }
    ASSERT_TRUE(store.AppSynchronize());
    EXPECT_EQ(fileObject().value("PW").toString(), "secret");
    EXPECT_EQ(modeOf(fileName()), 0600u);
    EXPECT_TRUE(QDir(path(".")).entryList({"Tolvane.json.*"}, QDir::Files | QDir::Hidden).isEmpty())
        << "no temporary file left";
    EXPECT_FALSE(written.names().contains("Tolvane.json")) << "written in place";
}

TEST_F(SettingsStoreTest, LockLeftByACrashDoesNotHoldTheWrite)
{
    const struct {
        const char* name;
        QByteArray contents;
    } rows[] = {
        {"empty", ""},
        {"garbled", "not a lock\n"},
        {"naming this live process, which holds nothing", TestEnvironment::lockOwnerDetails()},
        {"from another machine", TestEnvironment::lockOwnerDetails(TestEnvironment::endedProcessId(), "tolvane",
                                                                   "another-machine.example",
                                                                   "0123456789abcdef0123456789abcdef")},
    };
    for (const auto& row : rows) {
        ASSERT_TRUE(TestEnvironment::writeFile(fileName() + ".lock", row.contents));
        const auto started = std::chrono::steady_clock::now();
        {
            SettingsStore store(fileName());
            store.SetAppValue("PW", SettingsValue::text(row.name));
            EXPECT_TRUE(store.AppSynchronize()) << row.name;
        }
        EXPECT_LT(std::chrono::steady_clock::now() - started, LeftLockBound) << row.name;
        EXPECT_EQ(fileObject().value("PW").toString(), row.name);
    }
}

namespace {
// A write gives up on a held lock within a few seconds; the holder here lets
// go only after this, so a write that waits for it still ends.
constexpr std::chrono::seconds HolderKeepsTheLock{12};
constexpr std::chrono::seconds GiveUpBound{8};
} // namespace

TEST_F(SettingsStoreTest, AWriteGivesUpOnALockThatStaysHeldAndKeepsItsSets)
{
    writeFile(R"({"PW": "before"})");
    auto holder = std::make_unique<LockHolder>(fileName() + ".lock", HolderKeepsTheLock);
    ASSERT_TRUE(holder->tookIt());
    const auto started = std::chrono::steady_clock::now();
    {
        SettingsStore store(fileName());
        store.SetAppValue("PW", SettingsValue::text("after"));
        EXPECT_FALSE(store.AppSynchronize());
        EXPECT_TRUE(store.lockWasUnavailable());
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, GiveUpBound);
    EXPECT_EQ(fileObject().value("PW").toString(), "before");
    holder.reset();

    // The set stays pending for the next write that gets the lock.
    SettingsStore next(fileName());
    EXPECT_EQ(next.CopyAppValue("PW").toText(), "after");
    EXPECT_TRUE(next.AppSynchronize());
    EXPECT_FALSE(next.lockWasUnavailable());
    EXPECT_EQ(fileObject().value("PW").toString(), "after");
}
