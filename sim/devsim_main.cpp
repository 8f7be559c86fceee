// harvane-devsim: a simulated logger or base station on a pseudo-terminal.
// It prints the terminal's path; point Harvane at it with --port PATH. The
// base station has one logger in reach, with a memory of records and faults
// on demand.

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
        QStringLiteral("Bytes of records in the logger's memory (the logger behind the base "
                       "station for base): a realistic stream, 0 for none. Default 49152 for "
                       "logger, as sim:logger; 24576 for base, the same in every run."),
        QStringLiteral("N"));
    const QCommandLineOption logging(QStringLiteral("logging"),
                                     QStringLiteral("The logger starts with logging on."));
    const QCommandLineOption chatter(
        QStringLiteral("chatter-ms"),
        QStringLiteral("Never go quiet: send a packet frame every N ms, whatever is asked."),
        QStringLiteral("N"));
    // The base station's paired logger and its radio.
    const QCommandLineOption implant(QStringLiteral("implant"),
                                     QStringLiteral("base: the implant its logger is paired with "
                                                    "(default 7)."),
                                     QStringLiteral("N"), QStringLiteral("7"));
    const QCommandLineOption loggerId(QStringLiteral("logger-id"),
                                      QStringLiteral("base: that logger's ID (default 12)."),
                                      QStringLiteral("N"), QStringLiteral("12"));
    const QCommandLineOption connectDelay(QStringLiteral("connect-delay-ms"),
                                          QStringLiteral("base: radio time to reach the logger "
                                                         "(default 1500)."),
                                          QStringLiteral("ms"), QStringLiteral("1500"));
    const QCommandLineOption corrupt(QStringLiteral("corrupt-frames"),
                                     QStringLiteral("base: the next N frames fail their CRC."),
                                     QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption shortFrames(QStringLiteral("short-frames"),
                                         QStringLiteral("base: the next N frames come short."),
                                         QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption noConnectReply(
        QStringLiteral("no-connect-reply"),
        QStringLiteral("base: do not acknowledge the connect command."));
    const QCommandLineOption neverConnect(QStringLiteral("never-connect"),
                                          QStringLiteral("base: never reach the logger."));
    const QCommandLineOption frozenClock(
        QStringLiteral("frozen-clock"),
        QStringLiteral("The logger's clock stands at 2024-03-03 09:00:00, so that every status "
                       "read is the same."));
    parser.addOptions({delay, silent, wrong, limit, stall, memory, logging, chatter, implant,
                       loggerId, connectDelay, corrupt, shortFrames, noConnectReply, neverConnect,
                       frozenClock});
    parser.process(app);

    const QStringList positional = parser.positionalArguments();
    const QString kind = positional.value(0, QStringLiteral("logger"));
    bool ok = true;
    auto number = [&parser, &ok](const QCommandLineOption& option) {
        bool parsed = false;
        const int value = parser.value(option).toInt(&parsed);
        ok = ok && parsed && value >= 0;
        return value;
    };
    auto setClock = [&parser, &frozenClock](SimulatedLogger& logger) {
        if (parser.isSet(frozenClock)) {
            logger.setClock(QDateTime(QDate(2024, 3, 3), QTime(9, 0, 0)), 0);
            logger.setClockFrozen(true);
        } else {
            logger.setClock(QDateTime::currentDateTime(), 0);
        }
    };
    std::unique_ptr<SimulatedDevice> device;
    if (kind == QLatin1String("logger")) {
        auto logger = std::make_unique<SimulatedLogger>();
        setClock(*logger);
        const int bytes = parser.isSet(memory) ? number(memory) : 49152;
        if (bytes > 0) {
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
        auto base = std::make_unique<SimulatedBaseStation>();
        SimulatedLogger& paired = base->logger();
        paired.status()[46] = static_cast<std::uint8_t>(number(implant));
        paired.status()[47] = static_cast<std::uint8_t>(number(loggerId));
        setClock(paired);
        // A fixed start and seed: every run holds the same records.
        LoggerStreamGenerator records(QDateTime(QDate(2024, 3, 1), QTime(6, 0, 0)),
                                      paired.status()[48], 17);
        const auto size = static_cast<std::size_t>(parser.isSet(memory) ? number(memory) : 24576);
        auto bytes = records.generate(size);
        bytes.resize(size);
        paired.setMemory(std::move(bytes));
        base->setConnectDelayUs(static_cast<std::int64_t>(number(connectDelay)) * 1000);
        SimulatedBaseStation::RadioFaults& radio = base->radioFaults();
        radio.corruptFrames = number(corrupt);
        radio.shortFrames = number(shortFrames);
        radio.noConnectReply = parser.isSet(noConnectReply);
        radio.neverConnects = parser.isSet(neverConnect);
        device = std::move(base);
    } else {
        std::fprintf(stderr, "harvane-devsim: unknown device '%s' (logger or base)\n",
                     qPrintable(kind));
        return 2;
    }

    device->setResponseDelayUs(static_cast<std::int64_t>(number(delay)) * 1000);
    DeviceFaults& faults = device->faults();
    faults.silent = parser.isSet(silent);
    faults.answersAsOtherDevice = parser.isSet(wrong);
    if (parser.isSet(limit))
        faults.replyLimit = static_cast<std::size_t>(number(limit));
    if (parser.isSet(stall))
        faults.stallAfterBytes = static_cast<std::uint64_t>(number(stall));
    if (parser.isSet(chatter))
        faults.chatterPeriodUs = static_cast<std::int64_t>(number(chatter)) * 1000;
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
