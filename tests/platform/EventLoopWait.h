#pragma once

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

// Runs the event loop until done() holds or the time runs out; says which.
constexpr int defaultWaitMs = 5000;

template <typename Predicate>
bool waitUntil(Predicate done, int timeoutMs = defaultWaitMs)
{
    constexpr int sliceMs = 5;
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QEventLoop loop;
        QTimer::singleShot(sliceMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// Lets queued events run for a while, for checks that nothing more happens.
inline void settle(int ms = 100)
{
    waitUntil([] { return false; }, ms);
}
