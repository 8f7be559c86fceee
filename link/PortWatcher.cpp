#include "link/PortWatcher.h"

#include "link/PortEnumerator.h"
#include "link/Pump.h"

PortWatcher::PortWatcher(const PortEnumerator& ports, Pump& pump, QObject* parent)
    : QObject(parent), m_ports(ports), m_timer(pump.createTimer([this] { poll(); })),
      m_last(ports.portNames())
{}

PortWatcher::~PortWatcher() = default;

void PortWatcher::start(std::uint32_t intervalMs)
{
    m_last = m_ports.portNames();
    m_timer->start(intervalMs);
}

void PortWatcher::stop()
{
    m_timer->stop();
}

void PortWatcher::poll()
{
    const QStringList now = m_ports.portNames();
    bool arrived = false;
    bool removed = false;
    for (const QString& name : now)
        arrived = arrived || !m_last.contains(name);
    for (const QString& name : m_last)
        removed = removed || !now.contains(name);
    m_last = now;
    if (removed)
        Q_EMIT deviceRemoved();
    if (arrived)
        Q_EMIT deviceArrived();
}
