#include "Awaiting.h"

#include <cstdio>
#include <cstdlib>

Awaiting::Awaiting(std::string what, std::chrono::milliseconds limit)
{
    m_watch = std::thread([this, what = std::move(what), limit] {
        std::unique_lock lock(m_mutex);
        if (m_ended.wait_for(lock, limit, [this] { return m_done; }))
            return;
        std::fprintf(stderr, "Gave up waiting for %s after %lld s.\n", what.c_str(),
                     static_cast<long long>(std::chrono::duration_cast<std::chrono::seconds>(limit).count()));
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);
    });
}

Awaiting::~Awaiting()
{
    {
        const std::lock_guard lock(m_mutex);
        m_done = true;
    }
    m_ended.notify_one();
    m_watch.join();
}
