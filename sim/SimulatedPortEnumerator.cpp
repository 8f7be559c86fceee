#include "sim/SimulatedPortEnumerator.h"

#include "link/PortNames.h"
#include "link/RoutingDeviceLink.h"
#include "sim/SimulatedDeviceSet.h"

SimulatedPortEnumerator::SimulatedPortEnumerator(const PortEnumerator& system,
                                                 const SimulatedDeviceSet& devices)
    : m_system(system), m_devices(devices)
{}

QStringList SimulatedPortEnumerator::portNames() const
{
    return sortedPortNames(m_system.portNames() + m_devices.portNames());
}

PortPresence SimulatedPortEnumerator::presence(const QString& portName) const
{
    if (RoutingDeviceLink::isSimulatedName(portName))
        return m_devices.portNames().contains(portName) ? PortPresence::Present
                                                        : PortPresence::Absent;
    return m_system.presence(portName);
}
