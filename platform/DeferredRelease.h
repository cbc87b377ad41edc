#pragma once

#include <QTimer>
#include <cstddef>
#include <deque>
#include <memory>

// Frees objects from the event loop instead of where their last use ends.
// Freeing a large light list (thousands of small objects) costs about as
// much as building one; done at once it would delay the reply that needed
// the new list. Objects handed over here are never read again.
class DeferredRelease {
public:
    // Without a running event loop at most this many objects wait; handing
    // over one more frees the oldest at once.
    static constexpr std::size_t HeldLimit = 4;

    DeferredRelease();

    // Keeps object until the event loop of this thread next runs.
    void release(std::shared_ptr<const void> object);

private:
    std::deque<std::shared_ptr<const void>> m_held;
    QTimer m_timer;
};
