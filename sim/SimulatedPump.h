#pragma once

#include "link/Pump.h"

#include <QDateTime>

#include <cstdint>
#include <functional>
#include <map>
#include <utility>
#include <vector>

class SimulatedPumpTimer;

// Simulated time for the tests. A wait moves a virtual clock forward at once,
// running on the way, in time order, the actions a test scheduled ("press
// Stop at t = 3 s") and the timers that fall due. An action runs inside the
// wait, so whatever it starts nests exactly as a real click inside PumpWait
// would. Blocking time (a port read) passes without running anything.
class SimulatedPump final : public Pump {
public:
    explicit SimulatedPump(QDateTime start = QDateTime(QDate(2024, 3, 3), QTime(9, 5, 7)));
    ~SimulatedPump() override;

    SimulatedPump(const SimulatedPump&) = delete;
    SimulatedPump& operator=(const SimulatedPump&) = delete;

    [[nodiscard]] std::int64_t nowUs() const override { return m_nowUs; }
    [[nodiscard]] QDateTime currentDateTime() const override;
    void wait(std::uint32_t ms) override;
    void block(std::int64_t us) override;
    [[nodiscard]] std::unique_ptr<PumpTimer> createTimer(std::function<void()> onTimeout) override;

    // Sets the local date and time the clock reads now.
    void setCurrentDateTime(const QDateTime& now);

    // Runs `action` when the clock reaches `ms` (absolute) or `ms` from now.
    void at(std::int64_t ms, std::function<void()> action);
    void after(std::int64_t ms, std::function<void()> action);
    // Lets time pass outside any handler, as the application's own event loop
    // would between two user actions.
    void advance(std::int64_t ms);

    // How many waits ran and how much time they covered, for tests of pacing.
    [[nodiscard]] std::uint64_t waitCount() const { return m_waitCount; }
    [[nodiscard]] std::int64_t waitedUs() const { return m_waitedUs; }
    [[nodiscard]] std::int64_t blockedUs() const { return m_blockedUs; }
    [[nodiscard]] std::size_t pendingActions() const { return m_actions.size(); }

private:
    friend class SimulatedPumpTimer;

    void runUntil(std::int64_t deadlineUs);
    void addTimer(SimulatedPumpTimer* timer);
    void removeTimer(SimulatedPumpTimer* timer);
    std::uint64_t nextSequence() { return m_sequence++; }

    std::int64_t m_nowUs = 0;
    QDateTime m_wallAtZero;
    std::uint64_t m_sequence = 0;
    std::map<std::pair<std::int64_t, std::uint64_t>, std::function<void()>> m_actions;
    std::vector<SimulatedPumpTimer*> m_timers;
    std::uint64_t m_waitCount = 0;
    std::int64_t m_waitedUs = 0;
    std::int64_t m_blockedUs = 0;
};
