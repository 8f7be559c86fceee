#pragma once

#include "link/PumpTimer.h"

#include <QDateTime>

#include <cstdint>
#include <functional>
#include <memory>

// The one source of time and waiting. Every wait in the program goes through
// it, so that the desktop program waits on the real clock while dispatching
// events, and the tests run the same code on simulated time, where a
// 180-second time-out passes in microseconds and deterministically.
class Pump {
public:
    virtual ~Pump() = default;

    // Monotonic time since an arbitrary start.
    [[nodiscard]] virtual std::int64_t nowUs() const = 0;
    [[nodiscard]] std::int64_t nowMs() const { return nowUs() / 1000; }

    // The PC's local date and time (file names, the logger clock).
    [[nodiscard]] virtual QDateTime currentDateTime() const = 0;

    // Returns after `ms` milliseconds; meanwhile every pending event is
    // dispatched, so handlers (a second click, a timer, a device notice) can
    // run nested inside the wait.
    virtual void wait(std::uint32_t ms) = 0;

    // Lets `us` microseconds pass without dispatching anything, the way a
    // blocking port read holds the thread.
    virtual void block(std::int64_t us) = 0;

    // A timer whose callback runs on this pump's clock.
    [[nodiscard]] virtual std::unique_ptr<PumpTimer>
    createTimer(std::function<void()> onTimeout) = 0;
};
