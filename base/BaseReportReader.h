#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

class DeviceLink;
class Pump;

// Takes the base station's fixed-length reports off the port, one read of at
// most one report at a time. A report whose bytes come in two or more reads
// is put together before it is handed on, so that no line is made from bytes
// a read did not fill. A read that does not begin with the marker started in
// the middle of a report and is dropped; a started report whose rest does not
// come in time is dropped too.
class BaseReportReader {
public:
    static constexpr std::uint8_t Marker = 0xA0;
    // The rest of a report is a few bytes at 5760 bytes/s: a stream that
    // leaves it out this long has lost it.
    static constexpr std::int64_t RestTimeoutUs = 500'000;

    BaseReportReader(DeviceLink& link, Pump& pump, std::size_t reportSize);

    // One read; a whole report when one is complete.
    std::optional<std::vector<std::uint8_t>> poll();

private:
    DeviceLink& m_link;
    Pump& m_pump;
    std::vector<std::uint8_t> m_buffer;
    std::size_t m_pending = 0; // bytes of a started report held back
    std::int64_t m_pendingSinceUs = 0;
};
