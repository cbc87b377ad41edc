#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a call on the event loop, so the
// process quits through its normal quit sequence. One instance at a time:
// the signal handlers are process-wide, and its destructor resets them.
class QuitSignals : public QObject {
    Q_OBJECT
public:
    explicit QuitSignals(std::function<void()> onQuit, QObject* parent = nullptr);
    ~QuitSignals() override;

    // Holds back the quit signals until an instance handles them, so that
    // one that comes earlier quits through the quit sequence too instead of
    // ending the process. First thing in main: threads started later share
    // the block, and the signal goes to the thread that handles it.
    static void holdUntilHandled();

    // True once a quit signal has come while an instance lives. The call on
    // the event loop waits until the loop runs; code that blocks the loop
    // meanwhile (a host script) asks this to give up early.
    static bool received();

private:
    void onWake();

    std::function<void()> m_onQuit;
    // Self-pipe: the signal handler writes to [1], the event loop reads [0].
    int m_fds[2] = {-1, -1};
    QSocketNotifier* m_notifier = nullptr;
};
