#pragma once

#include "link/PortEnumerator.h"

class SimulatedDeviceSet;

// The platform's ports plus the simulated devices, for the demo: the
// simulated logger and base station appear in the port list beside any real
// adapter.
class SimulatedPortEnumerator final : public PortEnumerator {
public:
    SimulatedPortEnumerator(const PortEnumerator& system, const SimulatedDeviceSet& devices);

    [[nodiscard]] QStringList portNames() const override;
    [[nodiscard]] PortPresence presence(const QString& portName) const override;

private:
    const PortEnumerator& m_system;
    const SimulatedDeviceSet& m_devices;
};
