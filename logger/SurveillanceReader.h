#pragma once

#include <QDateTime>
#include <QStringList>

#include <array>
#include <cstdint>
#include <span>

class DeviceLink;
class Pump;

// Turns what a logger sends during surveillance into log lines: 13-byte
// packet frames (0xA0, a record's 11 payload bytes, 0xAA) become BT or LG
// lines, other bytes heart-rate lines of four values.
//
// A frame that arrives in two reads is put together before it is shown:
// shown from a half-filled buffer, it would mix in the previous frame's
// bytes. A frame whose rest never comes is dropped.
class SurveillanceReader {
public:
    static constexpr std::size_t FrameSize = 13;
    static constexpr std::uint8_t FrameMarker = 0xA0;
    // How long the rest of a started frame may take (13 bytes need 2.3 ms).
    static constexpr std::int64_t FrameRestTimeoutUs = 100'000;

    SurveillanceReader(DeviceLink& link, Pump& pump);

    // One look at the port: reads what is there and returns the lines it made
    // (stamped with the pump's local time).
    QStringList poll();

    // A BT line when the body temperature is 1/256 °C or more, else LG.
    static QString packetLine(std::span<const std::uint8_t, FrameSize> frame,
                              const QDateTime& time);
    // One HB line per four bytes; a remainder of fewer than four is dropped.
    static QStringList heartRateLines(std::span<const std::uint8_t> bytes, const QDateTime& time);

private:
    DeviceLink& m_link;
    Pump& m_pump;
    std::array<std::uint8_t, 16> m_buffer{};
    std::size_t m_pending = 0; // bytes of a started frame held back
    std::int64_t m_pendingSinceUs = 0;
};
