// harvane-devsim: a simulated logger or base station on a pseudo-terminal.
// It prints the terminal's path; point Harvane at it with --port PATH.

#include "sim/PtyDeviceBridge.h"
#include "sim/SimulatedBaseStation.h"
#include "sim/SimulatedLogger.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <memory>

namespace {

std::atomic<bool> stopRequested{false};

void requestStop(int)
{
    stopRequested = true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("harvane-devsim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Runs a simulated Harvane device on a pseudo-terminal and prints its path."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("device"), QStringLiteral("logger or base"));
    const QCommandLineOption delay(QStringLiteral("delay-ms"),
                                   QStringLiteral("Response delay in milliseconds (default 2)."),
                                   QStringLiteral("ms"), QStringLiteral("2"));
    const QCommandLineOption silent(QStringLiteral("silent"), QStringLiteral("Never answer."));
    const QCommandLineOption wrong(QStringLiteral("wrong-device"),
                                   QStringLiteral("Identify as the other kind of device."));
    const QCommandLineOption limit(QStringLiteral("reply-limit"),
                                   QStringLiteral("Cut every reply to N bytes."),
                                   QStringLiteral("N"));
    const QCommandLineOption stall(QStringLiteral("stall-after"),
                                   QStringLiteral("Send nothing after N more bytes."),
                                   QStringLiteral("N"));
    parser.addOptions({delay, silent, wrong, limit, stall});
    parser.process(app);

    const QStringList positional = parser.positionalArguments();
    const QString kind = positional.value(0, QStringLiteral("logger"));
    std::unique_ptr<SimulatedDevice> device;
    if (kind == QLatin1String("logger")) {
        auto logger = std::make_unique<SimulatedLogger>();
        logger->setClock(QDateTime::currentDateTime(), 0);
        device = std::move(logger);
    } else if (kind == QLatin1String("base")) {
        device = std::make_unique<SimulatedBaseStation>();
    } else {
        std::fprintf(stderr, "harvane-devsim: unknown device '%s' (logger or base)\n",
                     qPrintable(kind));
        return 2;
    }

    bool ok = true;
    device->setResponseDelayUs(static_cast<std::int64_t>(parser.value(delay).toInt(&ok)) * 1000);
    DeviceFaults& faults = device->faults();
    faults.silent = parser.isSet(silent);
    faults.answersAsOtherDevice = parser.isSet(wrong);
    if (parser.isSet(limit))
        faults.replyLimit = parser.value(limit).toULongLong(&ok);
    if (parser.isSet(stall))
        faults.stallAfterBytes = parser.value(stall).toULongLong(&ok);
    if (!ok) {
        std::fprintf(stderr, "harvane-devsim: option values must be whole numbers\n");
        return 2;
    }

    PtyDeviceBridge bridge(*device);
    QString error;
    if (!bridge.open(&error)) {
        std::fprintf(stderr, "harvane-devsim: cannot create a pseudo-terminal: %s\n",
                     qPrintable(error));
        return 1;
    }
    std::printf("%s\n", qPrintable(bridge.devicePath()));
    std::fflush(stdout);

    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    bridge.run(stopRequested);
    return 0;
}
