#include "sim/SimulatedDeviceLink.h"

#include "link/Pump.h"
#include "sim/SimulatedDevice.h"

SimulatedDeviceLink::SimulatedDeviceLink(SimulatedDevice& device, Pump& pump)
    : m_device(device), m_pump(pump)
{}

bool SimulatedDeviceLink::open(const QString& portName)
{
    m_name = portName;
    m_open = !m_device.isUnplugged();
    return m_open;
}

bool SimulatedDeviceLink::isOpen() const
{
    return m_open && !m_device.isUnplugged();
}

std::size_t SimulatedDeviceLink::read(std::span<std::uint8_t> buffer)
{
    if (!isOpen()) {
        m_open = false;
        return 0;
    }
    const std::int64_t startUs = m_pump.nowUs();
    const std::int64_t deadlineUs = startUs + ReadTimeoutUs;
    std::size_t got = m_device.read(buffer, startUs);
    while (got < buffer.size() && isOpen()) {
        const std::int64_t nowUs = m_pump.nowUs();
        const auto next = m_device.nextArrivalUs(nowUs);
        if (!next || *next > deadlineUs) {
            // Nothing more in time: the read gives up at its time-out.
            m_pump.block(deadlineUs - nowUs);
            got += m_device.read(buffer.subspan(got), m_pump.nowUs());
            break;
        }
        m_pump.block(*next - nowUs);
        got += m_device.read(buffer.subspan(got), m_pump.nowUs());
    }
    return got;
}

void SimulatedDeviceLink::write(std::span<const std::uint8_t> bytes)
{
    if (!isOpen())
        return;
    m_device.receive(bytes, m_pump.nowUs());
}
