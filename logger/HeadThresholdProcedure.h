#pragma once

#include "link/DeviceContext.h"
#include "link/Exchange.h"

#include <cstdint>
#include <functional>
#include <optional>

// Reads a logger's head-tilt acceleration (25) and writes its head-position
// decision threshold (24), both raw signed 16-bit numbers.
class HeadThresholdProcedure {
public:
    explicit HeadThresholdProcedure(DeviceContext context);

    // The tilt, or empty after the message for the user.
    std::optional<std::int16_t> readTilt();
    // Writes the threshold unless the logger is logging; false after the
    // message. `threshold` is asked for once the logger has been checked.
    bool writeThreshold(const std::function<std::int16_t()>& threshold);

private:
    DeviceContext m_context;
    Exchange m_exchange;
};
