#include "PrivateSubnets.h"

#include "TestEnvironment.h"

#include <QDeadlineTimer>
#include <QNetworkInterface>
#include <QProcess>
#include <chrono>
#include <fcntl.h>
#include <sched.h>
#include <thread>
#include <unistd.h>

namespace {
const QStringList EndNames = {QStringLiteral("tolvane0"), QStringLiteral("tolvane1")};
// Each end's subnet is 10.77.<end + 1>.0/24.
constexpr int FirstSubnet = 1;
constexpr int OwnHost = 1;
constexpr int NeighbourHost = 9;
// ip(8) answers at once; a hung one must not hold the test.
constexpr std::chrono::seconds CommandTimeLimit{10};
// A veth end reports its carrier a moment after both ends are up.
constexpr std::chrono::seconds CarrierTimeLimit{2};
constexpr std::chrono::milliseconds CarrierPoll{10};

QString address(int end, int host)
{
    return QStringLiteral("10.77.%1.%2").arg(end + FirstSubnet).arg(host);
}

// Empty when the command succeeded, else what went wrong.
QString runIp(const QStringList& arguments)
{
    QProcess ip;
    ip.setProcessChannelMode(QProcess::MergedChannels);
    ip.start(QStringLiteral("ip"), arguments);
    if (!ip.waitForFinished(int(std::chrono::milliseconds(CommandTimeLimit).count())))
        return QStringLiteral("ip %1: %2").arg(arguments.join(' '), ip.errorString());
    if (ip.exitStatus() != QProcess::NormalExit || ip.exitCode() != 0)
        return QStringLiteral("ip %1: %2").arg(arguments.join(' '), QString::fromLocal8Bit(ip.readAll()).trimmed());
    return {};
}
} // namespace

const QStringList PrivateSubnets::Addresses = {address(0, OwnHost), address(1, OwnHost)};

PrivateSubnets::PrivateSubnets()
{
    if (!TestEnvironment::inNetworkNamespace()) {
        m_unavailableReason = QStringLiteral("makes network interfaces only inside the suite's "
                                             "private network namespace (run scripts/test as root)");
        return;
    }
    if (geteuid() != 0) {
        m_unavailableReason = QStringLiteral("making network interfaces needs root");
        return;
    }
    if (enterOwnNamespace() && makeInterfaces() && !interfacesRunning())
        m_unavailableReason = QStringLiteral("the veth pair did not come up");
}

PrivateSubnets::~PrivateSubnets()
{
    if (m_suiteNamespace < 0)
        return;
    // Deleting one end deletes both; the namespace itself goes with its last
    // user.
    runIp({"link", "del", EndNames.first()});
    setns(m_suiteNamespace, CLONE_NEWNET);
    close(m_suiteNamespace);
}

QString PrivateSubnets::neighbour(int end)
{
    return address(end, NeighbourHost);
}

bool PrivateSubnets::enterOwnNamespace()
{
    m_suiteNamespace = open("/proc/self/ns/net", O_RDONLY | O_CLOEXEC);
    if (m_suiteNamespace < 0) {
        m_unavailableReason = QStringLiteral("cannot open this thread's network namespace");
        return false;
    }
    if (unshare(CLONE_NEWNET) != 0) {
        close(m_suiteNamespace);
        m_suiteNamespace = -1;
        m_unavailableReason = QStringLiteral("cannot make a network namespace (unshare failed)");
        return false;
    }
    return true;
}

bool PrivateSubnets::makeInterfaces()
{
    QList<QStringList> commands = {{"link", "set", "lo", "up"},
                                   {"link", "add", EndNames[0], "type", "veth", "peer", "name", EndNames[1]}};
    for (int end = 0; end < EndNames.size(); ++end) {
        commands.append({"addr", "add", Addresses[end] + '/' + QString::number(PrefixLength), "dev", EndNames[end]});
        commands.append({"link", "set", EndNames[end], "up"});
    }
    for (const QStringList& command : commands) {
        m_unavailableReason = runIp(command);
        if (!m_unavailableReason.isEmpty())
            return false;
    }
    return true;
}

bool PrivateSubnets::interfacesRunning() const
{
    const QDeadlineTimer deadline(CarrierTimeLimit);
    for (;;) {
        bool running = true;
        for (const QString& name : EndNames)
            running = running && QNetworkInterface::interfaceFromName(name).flags().testFlag(QNetworkInterface::IsRunning);
        if (running)
            return true;
        if (deadline.hasExpired())
            return false;
        std::this_thread::sleep_for(CarrierPoll);
    }
}
