// A direct-link download from the simulated logger on a pseudo-terminal, at
// the logger's line rate (5760 bytes/s): the rate reached and the processor
// time it costs.

#include "app/DataFolders.h"
#include "bench/QuietPrompts.h"
#include "data/ReadDataProcedure.h"
#include "data/ReadDataView.h"
#include "link/QtPump.h"
#include "link/SerialDeviceLink.h"
#include "sim/LoggerStreamGenerator.h"
#include "sim/PtyDeviceBridge.h"
#include "sim/SimulatedLogger.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

namespace {

class Timing final : public ReadDataView {
public:
    explicit Timing(QtPump& pump) : m_pump(pump) {}
    void setBusy(bool) override {}
    void setAbortEnabled(bool) override {}
    void showSummary(const QString&) override {}
    void setProgressRange(std::uint32_t) override {}
    void showProgress(std::uint64_t, std::uint32_t stored, std::uint32_t, double) override
    {
        if (stored > 0 && firstUs < 0) {
            firstUs = m_pump.nowUs();
            firstStored = stored;
        }
        if (stored != lastStored) {
            lastStored = stored;
            lastUs = m_pump.nowUs();
        }
    }
    std::int64_t firstUs = -1, lastUs = 0;
    std::uint32_t firstStored = 0, lastStored = 0;

private:
    QtPump& m_pump;
};

double cpuSeconds(clockid_t clock = CLOCK_PROCESS_CPUTIME_ID)
{
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const std::size_t bytes = argc > 1 ? std::stoul(argv[1]) : 57'600; // ten seconds of line
    SimulatedLogger logger;
    LoggerStreamGenerator generator(QDateTime(QDate(2024, 1, 1), QTime(0, 0)), 4);
    auto memory = generator.generate(bytes);
    memory.resize(bytes);
    logger.setMemory(memory);
    PtyDeviceBridge bridge(logger);
    if (!bridge.open())
        return 1;
    bridge.start();

    QtPump pump;
    QuietPrompts prompts;
    SerialDeviceLink link;
    if (!link.open(bridge.devicePath()))
        return 1;
    QTemporaryDir dir;
    const DataFolders folders(dir.path());
    Timing timing(pump);
    ReadDataProcedure procedure(DeviceContext{link, pump, prompts, folders}, timing, {});
    const double cpu0 = cpuSeconds();
    const double own0 = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    const std::int64_t wall0 = pump.nowUs();
    const bool ok = procedure.readData();
    const double cpu = cpuSeconds() - cpu0;
    const double own = cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - own0;
    const double wall = static_cast<double>(pump.nowUs() - wall0) / 1e6;
    const double dumpSeconds = static_cast<double>(timing.lastUs - timing.firstUs) / 1e6;
    const double rate = (timing.lastStored - timing.firstStored) / dumpSeconds;
    std::printf("download of %zu bytes: %s, %.1f s in all, stream %.1f bytes/s = %.1f %% of 5760 "
                "(target >= 98 %%)\n",
                bytes, ok ? "complete" : "FAILED", wall, rate, rate / 5760.0 * 100.0);
    std::printf("processor time: %.2f s for %.1f s of download (%.1f %% of one core, the device "
                "simulator's thread included)\n",
                cpu, wall, cpu / wall * 100.0);
    std::printf("of which the downloading thread: %.2f s (%.1f %% of one core)\n", own,
                own / wall * 100.0);
    return ok && rate >= 0.98 * 5760 ? 0 : 1;
}
