#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

// Bounds a wait that has no bound of its own, such as a call that blocks
// until the X server answers: a server can take a connection and never read
// it. Should the wait outlast its limit, the test binary ends at once, with
// a failure that names what did not come; a call that never returns leaves
// no other way out.
class Awaiting {
public:
    // `what` completes "Gave up waiting for ...".
    Awaiting(std::string what, std::chrono::milliseconds limit);
    ~Awaiting();
    Awaiting(const Awaiting&) = delete;
    Awaiting& operator=(const Awaiting&) = delete;

private:
    std::mutex m_mutex;
    std::condition_variable m_ended;
    bool m_done = false;
    std::thread m_watch;
};
