// Round trips over a pseudo-terminal with a simulated device behind it:
// the full Identify (drain wait + reply wait), the raw turnaround of the
// identify command, and the short read of 40 out of 72 bytes.

#include "link/CommandCode.h"
#include "link/Exchange.h"
#include "link/QtPump.h"
#include "link/SerialDeviceLink.h"
#include "link/UserPrompts.h"
#include "sim/PtyDeviceBridge.h"
#include "sim/SimulatedLogger.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace {

class CountingPrompts final : public UserPrompts {
public:
    int messages = 0;
    void showMessage(const QString&) override { ++messages; }
    YesNoAnswer askYesNo(const QString&) override { return YesNoAnswer::No; }
    SaveChangesAnswer askSaveChanges(const QString&) override { return SaveChangesAnswer::Cancel; }
};

void report(const char* what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (double v : ms)
        sum += v;
    std::printf("%-34s n=%zu  mean %.3f ms  median %.3f ms  min %.3f  max %.3f\n", what, ms.size(),
                sum / static_cast<double>(ms.size()), ms[ms.size() / 2], ms.front(), ms.back());
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    SimulatedLogger logger;
    logger.setResponseDelayUs(0);
    PtyDeviceBridge bridge(logger);
    if (!bridge.open()) {
        std::fprintf(stderr, "no pseudo-terminal\n");
        return 1;
    }
    bridge.start();

    QtPump pump;
    CountingPrompts prompts;
    SerialDeviceLink link;
    if (!link.open(bridge.devicePath())) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(bridge.devicePath()));
        return 1;
    }
    Exchange exchange(link, pump, prompts);

    std::vector<double> identify;
    for (int i = 0; i < 20; ++i) {
        const std::int64_t start = pump.nowUs();
        exchange.identify(DeviceKind::Logger);
        identify.push_back(static_cast<double>(pump.nowUs() - start) / 1000.0);
    }
    report("Identify (100 ms drain + 100 ms)", identify);

    // Turnaround: write 39 and collect the 4-byte reply as soon as it is
    // complete, reading without the fixed wait.
    std::vector<double> turnaround;
    for (int i = 0; i < 50; ++i) {
        exchange.drainInput(5, 26);
        const std::int64_t start = pump.nowUs();
        exchange.write({CommandCode::Identify});
        std::array<std::uint8_t, 4> reply{};
        std::size_t got = 0;
        while (got < reply.size() && pump.nowUs() - start < 1'000'000)
            got += link.read(std::span(reply).subspan(got));
        turnaround.push_back(static_cast<double>(pump.nowUs() - start) / 1000.0);
    }
    report("identify turnaround (4 bytes)", turnaround);

    // A read of 72 when only 40 come: it must return after about 3 ms.
    bridge.stop(); // the device belongs to the bridge thread while it runs
    logger.faults().replyLimit = 40;
    bridge.start();
    std::vector<double> shortRead;
    for (int i = 0; i < 20; ++i) {
        exchange.drainInput(20, 26);
        exchange.write({CommandCode::ReadStatus});
        pump.wait(100);
        std::array<std::uint8_t, 72> buffer{};
        const std::int64_t start = pump.nowUs();
        const std::size_t got = link.read(buffer);
        shortRead.push_back(static_cast<double>(pump.nowUs() - start) / 1000.0);
        if (got != 40)
            std::printf("short read returned %zu bytes\n", got);
    }
    report("read(72) with 40 buffered", shortRead);
    std::printf("messages shown: %d\n", prompts.messages);
    return 0;
}
