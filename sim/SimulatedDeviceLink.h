#pragma once

#include "link/DeviceLink.h"

class Pump;
class SimulatedDevice;

// A DeviceLink wired straight to a simulated device, on the pump's clock
// (simulated time in the tests, real time in the demo). Reads behave as on a
// real port: what has arrived comes at once, and a short read waits at most
// 3 ms for the rest, holding the thread (without dispatching events) meanwhile.
class SimulatedDeviceLink final : public DeviceLink {
public:
    static constexpr std::int64_t ReadTimeoutUs = 3000;

    SimulatedDeviceLink(SimulatedDevice& device, Pump& pump);

    bool open(const QString& portName) override;
    void configure() override {}
    void close() override { m_open = false; }
    [[nodiscard]] bool isOpen() const override;
    [[nodiscard]] QString portName() const override { return m_name; }
    std::size_t read(std::span<std::uint8_t> buffer) override;
    void write(std::span<const std::uint8_t> bytes) override;

    [[nodiscard]] SimulatedDevice& device() const { return m_device; }

private:
    SimulatedDevice& m_device;
    Pump& m_pump;
    QString m_name;
    bool m_open = false;
};
