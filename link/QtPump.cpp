#include "link/QtPump.h"

#include <QCoreApplication>
#include <QTimer>

#include <thread>

namespace {

class QtPumpTimer final : public PumpTimer {
public:
    explicit QtPumpTimer(std::function<void()> onTimeout)
    {
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, std::move(onTimeout));
    }
    void start(std::uint32_t intervalMs) override { m_timer.start(static_cast<int>(intervalMs)); }
    void stop() override { m_timer.stop(); }
    [[nodiscard]] bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

} // namespace

QtPump::QtPump() : m_start(std::chrono::steady_clock::now()) {}

std::int64_t QtPump::nowUs() const
{
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                                 m_start)
        .count();
}

QDateTime QtPump::currentDateTime() const
{
    return QDateTime::currentDateTime();
}

void QtPump::wait(std::uint32_t ms)
{
    const std::int64_t deadline = nowUs() + static_cast<std::int64_t>(ms) * 1000;
    if (QCoreApplication::instance() == nullptr) {
        block(deadline - nowUs());
        return;
    }
    // The dispatcher sleeps until an event comes or the wake-up timer fires
    // at the deadline. A wait that starts inside a handler of this one sets
    // the timer for itself, so it is set again after every round; an outer
    // wait whose deadline passed meanwhile then returns at once, the same
    // nesting as with the platform's own message loop.
    if (!m_wake) {
        m_wake = std::make_unique<QTimer>();
        m_wake->setTimerType(Qt::PreciseTimer);
        m_wake->setSingleShot(true);
    }
    //
    // The timer counts whole milliseconds and may fire up to one late; in a
    // download that waits for every chunk that adds up. So it is armed to
    // fire a millisecond early, and the last stretch is slept.
    for (;;) {
        const std::int64_t remainingUs = deadline - nowUs();
        if (remainingUs <= 0)
            return;
        if (remainingUs <= 2000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            block(deadline - nowUs());
            continue;
        }
        m_wake->start(static_cast<int>((remainingUs - 1000) / 1000));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

void QtPump::block(std::int64_t us)
{
    if (us > 0)
        std::this_thread::sleep_for(std::chrono::microseconds(us));
}

std::unique_ptr<PumpTimer> QtPump::createTimer(std::function<void()> onTimeout)
{
    return std::make_unique<QtPumpTimer>(std::move(onTimeout));
}
