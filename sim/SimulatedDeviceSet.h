#pragma once

#include "sim/SimulatedBaseStation.h"
#include "sim/SimulatedLogger.h"

#include <QString>
#include <QStringList>

#include <memory>

class DeviceLink;
class Pump;

// The simulated logger and base station that `--demo` and `--port sim:...`
// offer as the ports "sim:logger" and "sim:base". They keep their state
// while ports are closed and opened again, as real devices would.
class SimulatedDeviceSet {
public:
    static constexpr auto LoggerPort = "sim:logger";
    static constexpr auto BasePort = "sim:base";

    SimulatedDeviceSet();

    SimulatedLogger& logger() { return m_logger; }
    // Sets the clocks of every logger, on the cable and in the field.
    void setClocks(const QDateTime& time, std::int64_t atUs);
    SimulatedBaseStation& baseStation() { return m_base; }

    // The device behind a port name, or nullptr.
    SimulatedDevice* device(const QString& portName);
    // The names of the devices that are plugged in.
    [[nodiscard]] QStringList portNames() const;

    // A link to the named device on the given clock, or nullptr.
    std::unique_ptr<DeviceLink> makeLink(const QString& portName, Pump& pump);

private:
    SimulatedLogger m_logger;
    SimulatedBaseStation m_base;
};
