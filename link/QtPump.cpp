#include "link/QtPump.h"

#include <QCoreApplication>
#include <QEventLoop>
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
    // A nested loop per wait: a wait that starts inside another wait's handler
    // finishes first, and the outer one then returns at once if its deadline
    // has passed meanwhile — the same nesting as with the platform's own loop.
    for (;;) {
        const std::int64_t remainingUs = deadline - nowUs();
        if (remainingUs <= 0)
            return;
        QEventLoop loop;
        QTimer deadlineTimer;
        bool reachedDeadline = false;
        deadlineTimer.setTimerType(Qt::PreciseTimer);
        deadlineTimer.setSingleShot(true);
        QObject::connect(&deadlineTimer, &QTimer::timeout, &loop, [&] {
            reachedDeadline = true;
            loop.quit();
        });
        deadlineTimer.start(static_cast<int>((remainingUs + 999) / 1000));
        loop.exec(QEventLoop::AllEvents);
        // exec() also returns at once while the application is quitting; the
        // wait must still last its full time, so sleep out the rest instead of
        // spinning on a loop that no longer runs.
        if (!reachedDeadline) {
            block(deadline - nowUs());
            return;
        }
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
