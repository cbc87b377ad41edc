#pragma once

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <chrono>

// Runs the event loop until done() holds or the time runs out; says which.
constexpr std::chrono::milliseconds DefaultWait{5000};

template <typename Predicate>
bool waitUntil(Predicate done, std::chrono::milliseconds limit = DefaultWait)
{
    constexpr std::chrono::milliseconds Slice{5};
    const QDeadlineTimer deadline(limit);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QEventLoop loop;
        QTimer::singleShot(Slice, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// Lets queued events run for a while, for checks that nothing more happens.
inline void settle(std::chrono::milliseconds time = std::chrono::milliseconds{100})
{
    waitUntil([] { return false; }, time);
}
