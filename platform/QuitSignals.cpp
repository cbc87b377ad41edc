#include "QuitSignals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
constexpr std::array HandledSignals{SIGTERM, SIGINT, SIGHUP};

// The write end of the self-pipe and the flag; the handler may touch
// nothing else.
volatile sig_atomic_t wakeFd = -1;
volatile sig_atomic_t quitReceived = 0;

void onSignal(int)
{
    const int savedErrno = errno;
    quitReceived = 1;
    const char byte = 1;
    if (wakeFd >= 0)
        [[maybe_unused]] auto written = ::write(wakeFd, &byte, 1);
    errno = savedErrno;
}

sigset_t handledSet()
{
    sigset_t set;
    sigemptyset(&set);
    for (int signal : HandledSignals)
        sigaddset(&set, signal);
    return set;
}

void setHandler(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : HandledSignals)
        sigaction(signal, &action, nullptr);
}
} // namespace

QuitSignals::QuitSignals(std::function<void()> onQuit, QObject* parent)
    : QObject(parent), m_onQuit(std::move(onQuit))
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, m_fds) == 0) {
        wakeFd = m_fds[1];
        quitReceived = 0;
        m_notifier = new QSocketNotifier(m_fds[0], QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &QuitSignals::onWake);
        setHandler(onSignal);
    }
    // A signal held back until now is handled here, on this thread.
    const sigset_t handled = handledSet();
    pthread_sigmask(SIG_UNBLOCK, &handled, nullptr);
}

QuitSignals::~QuitSignals()
{
    if (m_fds[0] < 0)
        return;
    setHandler(SIG_DFL);
    wakeFd = -1;
    quitReceived = 0;
    delete m_notifier;
    ::close(m_fds[0]);
    ::close(m_fds[1]);
}

void QuitSignals::holdUntilHandled()
{
    const sigset_t handled = handledSet();
    pthread_sigmask(SIG_BLOCK, &handled, nullptr);
}

bool QuitSignals::received()
{
    return quitReceived != 0;
}

void QuitSignals::onWake()
{
    // Several signals before the loop woke still quit only once per wake.
    std::array<char, 64> buffer;
    while (::read(m_fds[0], buffer.data(), buffer.size()) > 0) {
    }
    if (m_onQuit)
        m_onQuit();
}
