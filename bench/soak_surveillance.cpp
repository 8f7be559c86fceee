// A logger surveillance left running for a day: the settings dialog, in
// simulated time, against a simulated logger that streams packets and
// heart-rate groups at its highest rate. Prints how long the day took to
// run, the process's memory along the way, the lines in the list and in the
// log file, and the slowest single pass of the run's loop.
//
//   soak_surveillance [hours=24] [frame period ms=250]

#include "app/DataFolders.h"
#include "logger/COmbrelRepeaterConfigDlg.h"
#include "sim/SimulatedDeviceLink.h"
#include "sim/SimulatedLogger.h"
#include "sim/SimulatedPump.h"
#include "tests/support/ScriptedPrompts.h"
#include "widgets/LogListWidget.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

long residentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
        status.ignore(4096, '\n');
    }
    return -1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int hours = argc > 1 ? std::atoi(argv[1]) : 24;
    const int periodMs = argc > 2 ? std::atoi(argv[2]) : 250;

    SimulatedPump pump;
    ScriptedPrompts prompts;
    SimulatedLogger logger;
    logger.status()[50] |= 0x01; // logging
    logger.setSurveillancePeriodUs(std::int64_t{periodMs} * 1000);
    SimulatedDeviceLink link(logger, pump);
    link.open(QStringLiteral("sim:logger"));
    QTemporaryDir data;
    const DataFolders folders(data.path());
    COmbrelRepeaterConfigDlg dialog(DeviceContext{link, pump, prompts, folders});
    dialog.readButton()->click();

    const std::int64_t startMs = pump.nowMs();
    const std::int64_t endMs = startMs + std::int64_t{hours} * 3600 * 1000;
    QElapsedTimer wall;
    wall.start();
    long peakKiB = 0;
    long kibAtFirstHour = -1;
    std::int64_t slowestAppendNs = 0;
    int lastCount = 0;
    // Hourly: note the memory; every few simulated seconds: time one pass
    // of the list's append as the loop makes it.
    for (std::int64_t at = startMs + 3'600'000; at <= endMs; at += 3'600'000) {
        pump.at(at, [&, at] {
            const long kib = residentKiB();
            peakKiB = std::max(peakKiB, kib);
            if (kibAtFirstHour < 0)
                kibAtFirstHour = kib;
            std::printf("hour %3lld: %7ld KiB resident, %6d lines listed, %6.1f s so far\n",
                        static_cast<long long>((at - startMs) / 3'600'000), kib,
                        dialog.surveillanceList()->count(), wall.elapsed() / 1000.0);
            std::fflush(stdout);
        });
    }
    QElapsedTimer sinceLast;
    QObject::connect(dialog.surveillanceList(), &QPlainTextEdit::textChanged, [&] {
        if (lastCount > 0 && sinceLast.isValid())
            slowestAppendNs = std::max<std::int64_t>(slowestAppendNs, sinceLast.nsecsElapsed());
        sinceLast.start();
        lastCount = dialog.surveillanceList()->count();
    });
    pump.at(endMs, [&] { dialog.surveillanceButton()->click(); });
    dialog.surveillanceButton()->click();

    const QStringList logs =
        QDir(data.filePath(QStringLiteral("SurveillanceLog"))).entryList(QDir::Files);
    qint64 fileLines = 0;
    qint64 fileBytes = 0;
    if (!logs.isEmpty()) {
        QFile log(QDir(data.filePath(QStringLiteral("SurveillanceLog"))).filePath(logs.first()));
        if (log.open(QIODevice::ReadOnly)) {
            while (!log.atEnd()) {
                fileBytes += log.readLine().size();
                ++fileLines;
            }
        }
    }
    std::printf("\n%d simulated hours, a frame every %d ms, ran in %.1f s\n", hours, periodMs,
                wall.elapsed() / 1000.0);
    std::printf("resident memory: %ld KiB after the first hour, %ld KiB peak, %ld KiB at the end\n",
                kibAtFirstHour, peakKiB, residentKiB());
    std::printf("list: %d lines (cap %d); log file: %lld lines, %.1f MB\n",
                dialog.surveillanceList()->count(), dialog.surveillanceList()->cap(),
                static_cast<long long>(fileLines), fileBytes / 1e6);
    std::printf("slowest wall time between two list lines: %.2f ms\n", slowestAppendNs / 1e6);
    return prompts.messages().isEmpty() ? 0 : 1;
}
