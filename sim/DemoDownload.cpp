#include "sim/DemoDownload.h"

#include "sim/LoggerStreamGenerator.h"
#include "sim/SimulatedLogger.h"

DataDocument DemoDownload::make(const QDate& firstDay, int days)
{
    const QDateTime start(firstDay, QTime(8, 0));
    LoggerStreamGenerator generator(start, 4, 7);
    generator.setDrinking(true);
    generator.addHeat(start.addDays(days / 4).addSecs(-2 * 3600));
    generator.addSilence(start.addDays(days / 3).addSecs(5 * 3600), 5);
    generator.addFever(start.addDays(days / 2).addSecs(2 * 3600), 0.5, 1.2);
    generator.addFever(start.addDays(days * 3 / 4).addSecs(-6 * 3600), 30, 1.8);
    // A record a minute is 13 bytes, with a heart-rate group every third.
    const std::size_t bytes = static_cast<std::size_t>(days) * 1440 * 16;
    const std::vector<std::uint8_t> stream = generator.generate(bytes);

    SimulatedLogger::StatusBlock header = SimulatedLogger::typicalStatus();
    const auto n = static_cast<std::uint32_t>(stream.size());
    for (std::size_t i = 0; i < 4; ++i)
        header[20 + i] = static_cast<std::uint8_t>(n >> (8 * i));
    QByteArray data(reinterpret_cast<const char*>(header.data()),
                    static_cast<qsizetype>(header.size()));
    data.append(reinterpret_cast<const char*>(stream.data()), static_cast<qsizetype>(n));
    return DataDocument(std::move(data));
}
