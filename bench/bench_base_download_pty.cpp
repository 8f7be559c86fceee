// A download through the simulated base station on a pseudo-terminal, with
// no radio delay: the cycle from one chunk request to the next, taken from
// the base station's own time stamps of the requests it received, beside the
// floor the download's waits set (1 ms + 40 ms per 100 bytes).

#include "app/DataFolders.h"
#include "base/BaseDownloadProcedure.h"
#include "base/BaseDownloadView.h"
#include "bench/QuietPrompts.h"
#include "link/QtPump.h"
#include "link/SerialDeviceLink.h"
#include "sim/LoggerStreamGenerator.h"
#include "sim/PtyDeviceBridge.h"
#include "sim/SimulatedBaseStation.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <string>

namespace {

class NoView final : public BaseDownloadView {
public:
    int takeImplantId() override { return 7; }
    void setOtherControlsEnabled(bool) override {}
    void setReadEnabled(bool) override {}
    void setReadCaption(const QString&) override {}
    void setAnimation(bool) override {}
    void setStatusText(const QString&) override {}
    void setTimeTexts(const QString&, const QString&) override {}
    void setProgressRange(std::uint32_t) override {}
    void setProgress(std::uint32_t) override {}
    void showTransfer(std::uint32_t, std::uint32_t, double) override {}
};

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const std::size_t bytes = argc > 1 ? std::stoul(argv[1]) : 20'000; // 200 chunks
    SimulatedBaseStation base;
    base.setConnectDelayUs(0);
    LoggerStreamGenerator generator(QDateTime(QDate(2024, 1, 1), QTime(0, 0)), 4);
    auto memory = generator.generate(bytes);
    memory.resize(bytes);
    base.logger().setMemory(memory);
    PtyDeviceBridge bridge(base);
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
    NoView view;
    BaseDownloadProcedure procedure(DeviceContext{link, pump, prompts, folders}, view, {});
    procedure.press();
    bridge.stop();

    const auto& requests = base.chunkRequestTimesUs();
    const bool complete = procedure.lastOutcome() == BaseDownloadProcedure::Outcome::Completed;
    if (requests.size() < 3) {
        std::printf("download %s with %zu chunk requests: nothing to measure\n",
                    complete ? "complete" : "FAILED", requests.size());
        return 1;
    }
    std::vector<double> cycles;
    for (std::size_t i = 1; i < requests.size(); ++i)
        cycles.push_back(static_cast<double>(requests[i] - requests[i - 1]) / 1000.0);
    const double mean =
        std::accumulate(cycles.begin(), cycles.end(), 0.0) / static_cast<double>(cycles.size());
    const double floor = 41.0;
    const double aim = floor * 1.06;
    std::printf("download of %zu bytes through the base station: %s, %zu chunk requests\n", bytes,
                complete ? "complete" : "FAILED", requests.size());
    std::printf("chunk cycle: mean %.2f ms, median %.2f ms, 95th percentile %.2f ms, max %.2f ms\n",
                mean, percentile(cycles, 0.5), percentile(cycles, 0.95),
                *std::max_element(cycles.begin(), cycles.end()));
    std::printf("floor of the waits: %.1f ms (1 ms + 40 ms; the step loop's second 1 ms pause "
                "makes it 42 ms); aim <= %.1f ms (6 %%): mean is %.1f %% above the floor\n",
                floor, aim, (mean / floor - 1.0) * 100.0);
    std::printf("throughput: %.0f bytes/s of logger memory\n", 100.0 / mean * 1000.0);
    return complete && mean <= aim ? 0 : 1;
}
