// How much processor time a waiting dialog costs, and how closely waits keep
// to their deadlines. Prints the figures; target: under 5 % of one core.

#include "link/QtPump.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace {

double processCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

struct Measure {
    double wallMs;
    double cpuPercent;
};

template <typename F> Measure measure(QtPump& pump, F&& body)
{
    const double cpu0 = processCpuSeconds();
    const std::int64_t wall0 = pump.nowUs();
    body();
    const double wallMs = static_cast<double>(pump.nowUs() - wall0) / 1000.0;
    const double cpuMs = (processCpuSeconds() - cpu0) * 1000.0;
    return {wallMs, 100.0 * cpuMs / wallMs};
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QtPump pump;

    // An idle 5-second wait, like a dialog waiting out a device.
    const Measure idle = measure(pump, [&] { pump.wait(5000); });
    std::printf("PumpWait(5000):            wall %.1f ms, CPU %.2f %% of one core\n", idle.wallMs,
                idle.cpuPercent);

    // The same with a 100 ms window timer running (the stall detector).
    QTimer ticker;
    int ticks = 0;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(100);
    const Measure busy = measure(pump, [&] { pump.wait(5000); });
    ticker.stop();
    std::printf("PumpWait(5000) + 100ms timer: wall %.1f ms, CPU %.2f %% (%d ticks dispatched)\n",
                busy.wallMs, busy.cpuPercent, ticks);

    // Many 1 ms waits back to back, as the download loop does between reads.
    const Measure shortWaits = measure(pump, [&] {
        for (int i = 0; i < 2000; ++i)
            pump.wait(1);
    });
    std::printf("2000 x PumpWait(1):        wall %.1f ms (%.3f ms each), CPU %.2f %%\n",
                shortWaits.wallMs, shortWaits.wallMs / 2000.0, shortWaits.cpuPercent);

    // Deadline accuracy.
    double worstLateMs = 0;
    double totalLateMs = 0;
    for (int i = 0; i < 20; ++i) {
        const std::int64_t start = pump.nowUs();
        pump.wait(100);
        const double late = static_cast<double>(pump.nowUs() - start) / 1000.0 - 100.0;
        totalLateMs += late;
        worstLateMs = late > worstLateMs ? late : worstLateMs;
    }
    std::printf("PumpWait(100) overshoot:   mean %.3f ms, worst %.3f ms\n", totalLateMs / 20.0,
                worstLateMs);
    return idle.cpuPercent < 5.0 ? 0 : 1;
}
