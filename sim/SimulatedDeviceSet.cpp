#include "sim/SimulatedDeviceSet.h"

#include "sim/LoggerStreamGenerator.h"
#include "sim/SimulatedDeviceLink.h"

SimulatedDeviceSet::SimulatedDeviceSet()
{
    // Two days of records at the typical one-minute interval.
    LoggerStreamGenerator generator(QDateTime(QDate::currentDate().addDays(-2), QTime(8, 0, 0)),
                                    m_logger.status()[48]);
    m_logger.setMemory(generator.generate(48 * 1024));

    // Out in the field, two loggers the base station can reach: the one of
    // implant 7 with a day's records, and one of implant 9 with half a day.
    LoggerStreamGenerator field(QDateTime(QDate::currentDate().addDays(-1), QTime(6, 0, 0)),
                                m_base.logger().status()[48], 7);
    m_base.logger().setMemory(field.generate(24 * 1024));
    SimulatedLogger& second = m_base.addLogger();
    second.status()[46] = 9;
    second.status()[47] = 33;
    LoggerStreamGenerator half(QDateTime(QDate::currentDate(), QTime(0, 0, 0)), second.status()[48],
                               9);
    second.setMemory(half.generate(12 * 1024));
}

void SimulatedDeviceSet::setClocks(const QDateTime& time, std::int64_t atUs)
{
    m_logger.setClock(time, atUs);
    for (std::size_t i = 0; i < m_base.loggerCount(); ++i)
        m_base.logger(i).setClock(time, atUs);
}

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
