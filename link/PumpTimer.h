#pragma once

#include <cstdint>

// A repeating timer on a Pump's clock, the counterpart of a window timer.
// Its callback runs only while events are dispatched: inside Pump::wait() or
// the application's own event loop. Destroying it stops it.
class PumpTimer {
public:
    virtual ~PumpTimer() = default;

    virtual void start(std::uint32_t intervalMs) = 0;
    virtual void stop() = 0;
    [[nodiscard]] virtual bool isActive() const = 0;
};
