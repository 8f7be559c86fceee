#include "sim/SimulatedPump.h"

#include <QCoreApplication>

#include <algorithm>

class SimulatedPumpTimer final : public PumpTimer {
public:
    SimulatedPumpTimer(SimulatedPump& pump, std::function<void()> onTimeout)
        : m_pump(pump), m_onTimeout(std::move(onTimeout))
    {
        m_pump.addTimer(this);
    }
    ~SimulatedPumpTimer() override { m_pump.removeTimer(this); }

    void start(std::uint32_t intervalMs) override
    {
        // A zero interval would fire forever without time passing.
        m_intervalUs = std::max<std::int64_t>(1, intervalMs) * 1000;
        m_dueUs = m_pump.nowUs() + m_intervalUs;
        m_sequence = m_pump.nextSequence();
        m_active = true;
    }
    void stop() override { m_active = false; }
    [[nodiscard]] bool isActive() const override { return m_active; }

    [[nodiscard]] std::int64_t dueUs() const { return m_dueUs; }
    [[nodiscard]] std::uint64_t sequence() const { return m_sequence; }

    // Re-arms first, so the callback may stop, restart or delete the timer.
    void fire()
    {
        m_dueUs += m_intervalUs;
        m_sequence = m_pump.nextSequence();
        auto callback = m_onTimeout;
        callback();
    }

private:
    SimulatedPump& m_pump;
    std::function<void()> m_onTimeout;
    std::int64_t m_intervalUs = 1000;
    std::int64_t m_dueUs = 0;
    std::uint64_t m_sequence = 0;
    bool m_active = false;
};

SimulatedPump::SimulatedPump(QDateTime start) : m_wallAtZero(std::move(start)) {}

SimulatedPump::~SimulatedPump() = default;

QDateTime SimulatedPump::currentDateTime() const
{
    return m_wallAtZero.addMSecs(m_nowUs / 1000);
}

void SimulatedPump::setCurrentDateTime(const QDateTime& now)
{
    m_wallAtZero = now.addMSecs(-(m_nowUs / 1000));
}

void SimulatedPump::wait(std::uint32_t ms)
{
    ++m_waitCount;
    const std::int64_t start = m_nowUs;
    runUntil(m_nowUs + static_cast<std::int64_t>(ms) * 1000);
    m_waitedUs += m_nowUs - start;
}

void SimulatedPump::advance(std::int64_t ms)
{
    runUntil(m_nowUs + ms * 1000);
}

void SimulatedPump::block(std::int64_t us)
{
    if (us > 0) {
        m_nowUs += us;
        m_blockedUs += us;
    }
}

void SimulatedPump::runUntil(std::int64_t deadlineUs)
{
    for (;;) {
        // The earliest of the next scheduled action and the next due timer;
        // equal times run in the order they were scheduled.
        SimulatedPumpTimer* timer = nullptr;
        for (SimulatedPumpTimer* candidate : m_timers) {
            if (!candidate->isActive() || candidate->dueUs() > deadlineUs)
                continue;
            if (timer == nullptr || std::pair(candidate->dueUs(), candidate->sequence()) <
                                        std::pair(timer->dueUs(), timer->sequence()))
                timer = candidate;
        }
        auto action = m_actions.begin();
        const bool actionDue = action != m_actions.end() && action->first.first <= deadlineUs;
        if (!actionDue && timer == nullptr)
            break;
        if (actionDue &&
            (timer == nullptr || action->first < std::pair(timer->dueUs(), timer->sequence()))) {
            m_nowUs = std::max(m_nowUs, action->first.first);
            auto run = std::move(action->second);
            m_actions.erase(action);
            run();
        } else {
            m_nowUs = std::max(m_nowUs, timer->dueUs());
            timer->fire();
        }
    }
    // A nested wait may have carried the clock past this deadline already;
    // then this wait is over at once, as a real one would be.
    m_nowUs = std::max(m_nowUs, deadlineUs);
    // Events posted meanwhile (queued signals, deferred updates) are
    // delivered as the real event loop would deliver them during a wait.
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::sendPostedEvents();
}

void SimulatedPump::at(std::int64_t ms, std::function<void()> action)
{
    m_actions.emplace(std::pair(ms * 1000, nextSequence()), std::move(action));
}

void SimulatedPump::after(std::int64_t ms, std::function<void()> action)
{
    m_actions.emplace(std::pair(m_nowUs + ms * 1000, nextSequence()), std::move(action));
}

std::unique_ptr<PumpTimer> SimulatedPump::createTimer(std::function<void()> onTimeout)
{
    return std::make_unique<SimulatedPumpTimer>(*this, std::move(onTimeout));
}

void SimulatedPump::addTimer(SimulatedPumpTimer* timer)
{
    m_timers.push_back(timer);
}

void SimulatedPump::removeTimer(SimulatedPumpTimer* timer)
{
    std::erase(m_timers, timer);
}
