#pragma once

#include "sim/SimulatedDevice.h"

#include <QDateTime>

#include <array>

// A collar data logger on the cable. It answers identify and the status
// command from its 72-byte status block; its clock runs from the time it was
// last set.
class SimulatedLogger final : public SimulatedDevice {
public:
    static constexpr std::size_t StatusSize = 72;
    using StatusBlock = std::array<std::uint8_t, StatusSize>;

    SimulatedLogger();

    // The status block as the logger holds it. The clock bytes (25 to 30)
    // are filled in from the running clock each time the status is sent.
    StatusBlock& status() { return m_status; }
    [[nodiscard]] const StatusBlock& status() const { return m_status; }

    // The logger's clock reads `time` at the device time `atUs`.
    void setClock(const QDateTime& time, std::int64_t atUs);
    [[nodiscard]] QDateTime clockAt(std::int64_t atUs) const;

    // The data memory: the used-memory field follows it. The dump command
    // streams it at the line rate.
    void setMemory(std::vector<std::uint8_t> memory);
    [[nodiscard]] const std::vector<std::uint8_t>& memory() const { return *m_memory; }

    [[nodiscard]] bool loggingOn() const { return (m_status[50] & 0x01) != 0; }
    [[nodiscard]] bool surveillanceOn() const { return m_surveillance; }
    // While surveillance is on (and logging), a packet frame every period and
    // sixteen heart-rate bytes after every third frame.
    void setSurveillancePeriodUs(std::int64_t us) { m_surveillancePeriodUs = us; }

    // A plausible block: firmware "V3.1" with the 64 MiB selector, hardware
    // "HW1.4", logger 12 paired with implant 7, a 60-second interval,
    // logging off, some packet counts.
    static StatusBlock typicalStatus();

protected:
    void produceUntil(std::int64_t nowUs) override;
    [[nodiscard]] int argumentCount(std::uint8_t code) const override;
    void handleCommand(std::uint8_t code, std::span<const std::uint8_t> arguments,
                       std::int64_t atUs) override;

private:
    std::vector<std::uint8_t> nextSurveillanceFrame();

    StatusBlock m_status;
    std::shared_ptr<const std::vector<std::uint8_t>> m_memory;
    QDateTime m_clockBase;
    std::int64_t m_clockBaseUs = 0;
    bool m_surveillance = false;
    std::int64_t m_surveillancePeriodUs = 1'000'000;
    std::int64_t m_nextFrameUs = 0;
    std::uint32_t m_noise = 12345;
    int m_frameCount = 0;
};
