#pragma once

#include <QDateTime>
#include <QString>
#include <QTime>

#include <array>
#include <cstdint>
#include <optional>
#include <span>

// The logger's 72-byte status block: its settings, clock and counters as the
// status command returns them and as every data file keeps them. Multi-byte
// numbers are little-endian; times and dates are BCD.
class LoggerStatus {
public:
    static constexpr std::size_t Size = 72;
    static constexpr std::uint32_t SmallCapacity = 33'552'432;
    static constexpr std::uint32_t LargeCapacity = 67'104'864;

    LoggerStatus() = default;
    // A shorter reply leaves the rest of the block zero.
    explicit LoggerStatus(std::span<const std::uint8_t> bytes);

    [[nodiscard]] const std::array<std::uint8_t, Size>& bytes() const { return m_bytes; }

    // Two decimal digits, tens in the high nibble; neither digit is checked
    // (0x1F reads as 25).
    static int bcd(std::uint8_t byte);
    // A time of day from BCD hours, minutes and seconds; out-of-range values
    // make it 00:00:00.
    static QTime decodeTime(std::uint8_t hours, std::uint8_t minutes, std::uint8_t seconds);
    // A date and time from BCD fields; empty when they name no real calendar
    // moment (month 0, 30 February...), which leaves a display unchanged.
    static std::optional<QDateTime> decodeDateTime(std::uint8_t day, std::uint8_t month,
                                                   std::uint8_t year, const QTime& time);

    [[nodiscard]] QString firmwareRevision() const;
    [[nodiscard]] QString hardwareRevision() const;
    [[nodiscard]] int memorySizeSelector() const;
    [[nodiscard]] std::uint32_t capacityBytes() const;
    [[nodiscard]] std::uint32_t usedMemoryBytes() const;
    [[nodiscard]] float usedMemoryPercent() const;

    [[nodiscard]] QTime clockTime() const;
    [[nodiscard]] std::optional<QDateTime> clock() const;
    [[nodiscard]] QTime loggingStartTime() const;
    [[nodiscard]] std::optional<QDateTime> loggingStart() const;
    [[nodiscard]] QTime vhfStart() const;
    [[nodiscard]] QTime vhfStop() const;
    [[nodiscard]] std::uint8_t dayMask() const;
    [[nodiscard]] std::uint16_t monthMask() const;
    [[nodiscard]] bool vhfDisabled() const;

    [[nodiscard]] std::int16_t headThreshold() const;
    [[nodiscard]] int implantId() const { return m_bytes[46]; }
    [[nodiscard]] int loggerId() const { return m_bytes[47]; }
    [[nodiscard]] int intervalSteps() const { return m_bytes[48]; }
    [[nodiscard]] int intervalSeconds() const { return m_bytes[48] * 15; }
    [[nodiscard]] bool loggingOn() const { return (m_bytes[50] & 0x01) != 0; }
    [[nodiscard]] bool implantLocked() const { return (m_bytes[50] & 0x80) != 0; }

    [[nodiscard]] std::uint16_t invalidPackets() const { return u16(60); }
    [[nodiscard]] std::uint16_t syncLosses() const { return u16(62); }
    [[nodiscard]] std::uint16_t noPackets() const { return u16(64); }
    [[nodiscard]] std::uint32_t validPackets() const { return u32(68); }

private:
    [[nodiscard]] std::uint16_t u16(std::size_t offset) const;
    [[nodiscard]] std::uint32_t u32(std::size_t offset) const;
    [[nodiscard]] QString text(std::size_t offset) const;

    std::array<std::uint8_t, Size> m_bytes{};
};
