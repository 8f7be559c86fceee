#pragma once

#include "link/Pump.h"

#include <QTimer>

#include <chrono>
#include <memory>

// Real time for the desktop program and the command-line tool. wait()
// dispatches events until the deadline, sleeping in the event dispatcher
// instead of polling, so a waiting dialog costs next to no processor time
// while clicks, repaints and timers are still handled.
class QtPump final : public Pump {
public:
    QtPump();

    [[nodiscard]] std::int64_t nowUs() const override;
    [[nodiscard]] QDateTime currentDateTime() const override;
    void wait(std::uint32_t ms) override;
    void block(std::int64_t us) override;
    [[nodiscard]] std::unique_ptr<PumpTimer> createTimer(std::function<void()> onTimeout) override;

private:
    std::chrono::steady_clock::time_point m_start;
    std::unique_ptr<QTimer> m_wake;
};
