#include "DeferredRelease.h"

DeferredRelease::DeferredRelease()
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(0);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { m_held.clear(); });
}

void DeferredRelease::release(std::shared_ptr<const void> object)
{
    if (!object)
        return;
    if (m_held.size() >= HeldLimit)
        m_held.pop_front();
    m_held.push_back(std::move(object));
    if (!m_timer.isActive())
        m_timer.start();
}
