#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

// Ways a simulated device can misbehave, switched on by a test or the
// simulator tool. Each one is what a real field device, cable or adapter does
// now and then.
struct DeviceFaults {
    // Nothing comes back, as from an adapter with no device behind it.
    bool silent = false;
    // Identify names the other kind of device (a base station answers when a
    // logger is expected, and the other way round).
    bool answersAsOtherDevice = false;
    // Every reply is cut to at most this many bytes.
    std::optional<std::size_t> replyLimit;
    // After this many further bytes the device sends nothing more: a stream
    // that stalls part way.
    std::optional<std::uint64_t> stallAfterBytes;
    // The next `corruptReplies` replies arrive with the byte at
    // `corruptByteIndex` (clamped into the reply) inverted.
    int corruptReplies = 0;
    std::size_t corruptByteIndex = 0;
    // The adapter is pulled out the moment this command code arrives.
    std::optional<std::uint8_t> unplugOnCommand;
    // A device that never goes quiet: a 13-byte packet frame every period,
    // whatever it is asked, as a logger left streaming by an earlier run.
    std::optional<std::int64_t> chatterPeriodUs;
};
