#pragma once

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <chrono>

// Runs the event loop for tests that wait on sockets and processes.
class EventLoopWait {
public:
    static constexpr std::chrono::milliseconds DefaultLimit{5000};

    // Until done() holds or the time runs out; says which.
    template <typename Predicate>
    static bool until(Predicate done, std::chrono::milliseconds limit = DefaultLimit)
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

    // Lets queued events run for a while, for checks that nothing more
    // happens.
    static void settle(std::chrono::milliseconds time = std::chrono::milliseconds{100})
    {
        until([] { return false; }, time);
    }
};
