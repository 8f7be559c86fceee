// harvane-devsim: a simulated logger or base station on a pseudo-terminal.
// It prints the terminal's path; point Harvane at it with --port PATH.

#include "sim/LoggerStreamGenerator.h"
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
    const QCommandLineOption memory(
        QStringLiteral("memory-bytes"),
        QStringLiteral("Size of the logger's recorded memory, a realistic stream of records "
                       "(default 49152, as sim:logger; 0 for an empty logger)."),
        QStringLiteral("N"), QStringLiteral("49152"));
    const QCommandLineOption logging(QStringLiteral("logging"),
                                     QStringLiteral("The logger starts with logging on."));
    const QCommandLineOption chatter(
        QStringLiteral("chatter-ms"),
        QStringLiteral("Never go quiet: send a packet frame every N ms, whatever is asked."),
        QStringLiteral("N"));
    parser.addOptions({delay, silent, wrong, limit, stall, memory, logging, chatter});
    parser.process(app);

    const QStringList positional = parser.positionalArguments();
    const QString kind = positional.value(0, QStringLiteral("logger"));
    std::unique_ptr<SimulatedDevice> device;
    bool ok = true;
    if (kind == QLatin1String("logger")) {
        auto logger = std::make_unique<SimulatedLogger>();
        logger->setClock(QDateTime::currentDateTime(), 0);
        const qulonglong bytes = parser.value(memory).toULongLong(&ok);
        if (ok && bytes > 0) {
            // Recorded up to now at the logger's interval.
            const int interval = logger->status()[48];
            LoggerStreamGenerator generator(
                QDateTime::currentDateTime().addSecs(-static_cast<qint64>(bytes / 13) * 15 *
                                                     qMax(1, interval)),
                interval);
            logger->setMemory(generator.generate(static_cast<std::size_t>(bytes)));
        }
        if (parser.isSet(logging))
            logger->status()[50] |= 0x01;
        device = std::move(logger);
    } else if (kind == QLatin1String("base")) {
        device = std::make_unique<SimulatedBaseStation>();
    } else {
        std::fprintf(stderr, "harvane-devsim: unknown device '%s' (logger or base)\n",
                     qPrintable(kind));
        return 2;
    }

    device->setResponseDelayUs(static_cast<std::int64_t>(parser.value(delay).toInt(&ok)) * 1000);
    DeviceFaults& faults = device->faults();
    faults.silent = parser.isSet(silent);
    faults.answersAsOtherDevice = parser.isSet(wrong);
    if (parser.isSet(limit))
        faults.replyLimit = parser.value(limit).toULongLong(&ok);
    if (parser.isSet(stall))
        faults.stallAfterBytes = parser.value(stall).toULongLong(&ok);
    if (parser.isSet(chatter))
        faults.chatterPeriodUs = parser.value(chatter).toLongLong(&ok) * 1000;
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
