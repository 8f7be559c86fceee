#include "sim/SimulatedDeviceSet.h"

#include "sim/SimulatedDeviceLink.h"

SimulatedDeviceSet::SimulatedDeviceSet() = default;

SimulatedDevice* SimulatedDeviceSet::device(const QString& portName)
{
    if (portName == QLatin1String(LoggerPort))
        return &m_logger;
    if (portName == QLatin1String(BasePort))
        return &m_base;
    return nullptr;
}

QStringList SimulatedDeviceSet::portNames() const
{
    QStringList names;
    if (!m_logger.isUnplugged())
        names.append(QLatin1String(LoggerPort));
    if (!m_base.isUnplugged())
        names.append(QLatin1String(BasePort));
    return names;
}

std::unique_ptr<DeviceLink> SimulatedDeviceSet::makeLink(const QString& portName, Pump& pump)
{
    SimulatedDevice* target = device(portName);
    if (target == nullptr)
        return nullptr;
    return std::make_unique<SimulatedDeviceLink>(*target, pump);
}
