#include "link/RoutingDeviceLink.h"

#include "link/SerialDeviceLink.h"

RoutingDeviceLink::RoutingDeviceLink(SimulatedLinkFactory simulated)
    : m_simulated(std::move(simulated))
{}

RoutingDeviceLink::~RoutingDeviceLink() = default;

bool RoutingDeviceLink::isSimulatedName(const QString& portName)
{
    return portName.startsWith(QLatin1String(SimulatedPrefix));
}

bool RoutingDeviceLink::open(const QString& portName)
{
    close();
    m_active.reset();
    m_name = portName;
    if (isSimulatedName(portName)) {
        if (m_simulated)
            m_active = m_simulated(portName);
    } else {
        m_active = std::make_unique<SerialDeviceLink>();
    }
    m_denied = false;
    if (!m_active)
        return false;
    if (!m_active->open(portName)) {
        m_denied = m_active->lastOpenDenied();
        m_active.reset();
        return false;
    }
    return true;
}

void RoutingDeviceLink::configure()
{
    if (m_active)
        m_active->configure();
}

void RoutingDeviceLink::close()
{
    if (m_active)
        m_active->close();
}

bool RoutingDeviceLink::isOpen() const
{
    return m_active && m_active->isOpen();
}

QString RoutingDeviceLink::portName() const
{
    return m_name;
}

std::size_t RoutingDeviceLink::read(std::span<std::uint8_t> buffer)
{
    return m_active ? m_active->read(buffer) : 0;
}

void RoutingDeviceLink::write(std::span<const std::uint8_t> bytes)
{
    if (m_active)
        m_active->write(bytes);
}
