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
    // A stopped clock keeps reading the time it was set to, so that status
    // blocks taken at different times are the same byte for byte.
    void setClockFrozen(bool frozen) { m_clockFrozen = frozen; }
    // The block as the status command sends it at `atUs`, clock filled in.
    [[nodiscard]] StatusBlock statusAt(std::int64_t atUs) const;

    // The data memory: the used-memory field follows it. The dump command
    // streams it at the line rate.
    void setMemory(std::vector<std::uint8_t> memory);
    [[nodiscard]] const std::vector<std::uint8_t>& memory() const { return *m_memory; }

    [[nodiscard]] bool loggingOn() const { return (m_status[50] & 0x01) != 0; }
    [[nodiscard]] bool surveillanceOn() const { return m_surveillance; }
    // While surveillance is on (and logging), a packet frame every period and
    // sixteen heart-rate bytes after every third frame.
    void setSurveillancePeriodUs(std::int64_t us) { m_surveillancePeriodUs = us; }

    // Erasing takes this long; never finishing is a fault of its own.
    void setEraseDurationUs(std::int64_t us) { m_eraseDurationUs = us; }
    void setEraseNeverFinishes(bool never) { m_eraseNeverFinishes = never; }
    // The answer to the erase check (command 40).
    void setEraseCheckReply(std::vector<std::uint8_t> reply)
    {
        m_eraseCheckReply = std::move(reply);
    }
    // Bytes the dump sends after the announced memory (a fault).
    void setDumpExtraBytes(std::size_t count) { m_dumpExtra = count; }
    void setHeadTilt(std::int16_t tilt) { m_tilt = tilt; }
    // Word A of the frequency reply: 0x0FA0 is 440.0 MHz; the offset moves
    // word B in 2.5 kHz steps.
    void setCentreFrequencyWord(std::uint16_t word) { m_centreWord = word; }
    [[nodiscard]] int frequencyOffsetSteps() const { return m_offsetSteps; }
    [[nodiscard]] bool calibrationLogOn() const { return m_calibrationLog; }
    // While the calibration log runs, a 2-byte report every period.
    void setCalibrationPeriodUs(std::int64_t us) { m_calibrationPeriodUs = us; }

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
    bool m_clockFrozen = false;
    bool m_surveillance = false;
    std::int64_t m_surveillancePeriodUs = 1'000'000;
    std::int64_t m_nextFrameUs = 0;
    std::uint32_t m_noise = 12345;
    int m_frameCount = 0;
    std::int64_t m_eraseDurationUs = 3'000'000;
    bool m_eraseNeverFinishes = false;
    std::vector<std::uint8_t> m_eraseCheckReply{0x00, 0x28, 0xBB, 0x00};
    std::size_t m_dumpExtra = 0;
    std::int16_t m_tilt = -120;
    std::uint16_t m_centreWord = 0x0FA0;
    int m_offsetSteps = 0;
    bool m_calibrationLog = false;
    std::int64_t m_calibrationPeriodUs = 500'000;
    std::int64_t m_nextReportUs = 0;
};
