// Writes the fuzz targets' seed inputs, made by the simulated devices: data
// files of a simulated logger's memory, the logger's status replies, its
// surveillance and calibration streams, the base station's frames and the
// repository file of a download through it, and the base station's reports,
// the streams as a port delivers them to a reader that polls every
// millisecond.
//
//     harvane-fuzz-seeds FOLDER     (one folder of seeds per target in FOLDER)

#include "app/DataFolders.h"
#include "base/BaseReport.h"
#include "base/RepositoryFile.h"
#include "data/DataFile.h"
#include "link/CommandCode.h"
#include "sim/LoggerStreamGenerator.h"
#include "sim/SimulatedBaseStation.h"
#include "sim/SimulatedLogger.h"
#include "tests/fuzz/ChunkedLink.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

const QDateTime Start(QDate(2024, 3, 1), QTime(6, 0, 0));

bool writeSeed(const QString& folder, const QString& name, const Bytes& bytes)
{
    QFile file(QDir(folder).filePath(name));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
}

// Sends a command to the device at `atUs` and takes everything it has sent
// by `untilUs`.
Bytes exchange(SimulatedDevice& device, const Bytes& command, std::int64_t atUs,
               std::int64_t untilUs)
{
    device.receive(command, atUs);
    Bytes reply(1 << 16);
    reply.resize(device.read(reply, untilUs));
    return reply;
}

// What a reader polling every millisecond gets, one step per poll; quiet
// stretches become one longer pause.
Bytes pollSteps(SimulatedDevice& device, std::int64_t fromUs, std::int64_t toUs,
                std::size_t readSize)
{
    Bytes steps;
    for (std::int64_t t = fromUs; t < toUs; t += 1000) {
        Bytes read(readSize);
        read.resize(device.read(read, t));
        if (!read.empty()) {
            const Bytes step = ChunkedLink::encode(read, ChunkedLink::MaxChunk, 1);
            steps.insert(steps.end(), step.begin(), step.end());
        } else if (steps.empty() || (steps.back() & 0x1F) != 0) {
            steps.push_back(static_cast<std::uint8_t>(1 << 5)); // nothing, then 1 ms
        }
    }
    return steps;
}

bool dataFileSeeds(const QString& folder)
{
    struct Memory {
        const char* name;
        std::size_t bytes;
        int intervalSteps;
    };
    const Memory memories[] = {{"empty.bin", 0, 4},        {"one-record.bin", 14, 4},
                               {"hour.bin", 400, 4},       {"day.bin", 3000, 4},
                               {"interval-0.bin", 300, 0}, {"interval-255.bin", 300, 255}};
    bool ok = true;
    for (const Memory& m : memories) {
        SimulatedLogger logger;
        logger.setClock(Start, 0);
        logger.status()[48] = static_cast<std::uint8_t>(m.intervalSteps);
        Bytes memory = m.bytes == 0
                           ? Bytes{}
                           : LoggerStreamGenerator(Start, m.intervalSteps, 7).generate(m.bytes);
        logger.setMemory(memory);
        // The file as a download writes it: the status reply, then the memory.
        const Bytes status = exchange(logger, {CommandCode::ReadStatus}, 0, 200'000);
        QByteArray bytes(reinterpret_cast<const char*>(status.data()),
                         static_cast<qsizetype>(status.size()));
        bytes.append(reinterpret_cast<const char*>(memory.data()),
                     static_cast<qsizetype>(memory.size()));
        ok = DataFile::save(QDir(folder).filePath(QString::fromLatin1(m.name)),
                            DataDocument(bytes)) &&
             ok;
        if (m.bytes == 400) {
            // The same file with bytes after its end, and cut short.
            Bytes whole(DataFile::Signature.begin(), DataFile::Signature.end());
            whole.insert(whole.end(), bytes.begin(), bytes.end());
            Bytes longer = whole;
            longer.insert(longer.end(), 20, 0x55);
            ok = writeSeed(folder, QStringLiteral("trailing-bytes.bin"), longer) && ok;
            whole.resize(whole.size() - 10);
            ok = writeSeed(folder, QStringLiteral("cut-short.bin"), whole) && ok;
        }
    }
    return ok;
}

bool statusSeeds(const QString& folder)
{
    bool ok = true;
    SimulatedLogger logger;
    logger.setClock(Start, 0);
    logger.setMemory(LoggerStreamGenerator(Start, 4, 3).generate(5000));
    ok = writeSeed(folder, QStringLiteral("typical.status"),
                   exchange(logger, {CommandCode::ReadStatus}, 0, 200'000)) &&
         ok;
    logger.status()[50] |= 0x01;
    const Bytes logging = exchange(logger, {CommandCode::ReadStatus}, 1'000'000, 1'200'000);
    ok = writeSeed(folder, QStringLiteral("logging.status"), logging) && ok;
    ok = writeSeed(folder, QStringLiteral("cut-short.status"),
                   Bytes(logging.begin(), logging.begin() + 30)) &&
         ok;
    ok = writeSeed(folder, QStringLiteral("zeros.status"), Bytes(SimulatedLogger::StatusSize, 0)) &&
         ok;
    return ok;
}

bool reportSeeds(const QString& folder)
{
    bool ok = true;
    {
        SimulatedLogger logger;
        logger.status()[50] |= 0x01; // surveillance needs logging on
        logger.setSurveillancePeriodUs(10'000);
        // Switched on, the acknowledgement taken, then a reader polling.
        exchange(logger, {CommandCode::Surveillance, CommandCode::On}, 0, 200'000);
        ok = writeSeed(folder, QStringLiteral("surveillance-polled"),
                       pollSteps(logger, 200'000, 500'000, 13)) &&
             ok;
        // What came next, in pieces of 13 bytes, and in smaller pieces with a
        // pause that outlasts a started frame.
        Bytes stream(1 << 12);
        stream.resize(logger.read(stream, 800'000));
        ok = writeSeed(folder, QStringLiteral("surveillance-13-byte-pieces"),
                       ChunkedLink::encode(stream, 13, 1)) &&
             ok;
        Bytes pieces = ChunkedLink::encode(Bytes(stream.begin(), stream.begin() + 20), 7, 1);
        pieces.push_back(6 << 5); // nothing, then 120 ms: a frame's rest never comes
        const Bytes rest = ChunkedLink::encode(Bytes(stream.begin() + 20, stream.end()), 5, 2);
        pieces.insert(pieces.end(), rest.begin(), rest.end());
        ok = writeSeed(folder, QStringLiteral("surveillance-pieces"), pieces) && ok;
    }
    {
        SimulatedLogger logger;
        logger.setCalibrationPeriodUs(20'000);
        exchange(logger, {CommandCode::CalibrationLog, CommandCode::On}, 0, 200'000);
        ok = writeSeed(folder, QStringLiteral("calibration-polled"),
                       pollSteps(logger, 200'000, 400'000, 2)) &&
             ok;
        ok = writeSeed(folder, QStringLiteral("read-offset"),
                       exchange(logger, {CommandCode::ReadFrequency}, 500'000, 700'000)) &&
             ok;
    }
    return ok;
}

bool baseDownloadSeeds(const QString& folder)
{
    using namespace CommandCode;
    SimulatedBaseStation base;
    SimulatedLogger& logger = base.logger();
    logger.setMemory(LoggerStreamGenerator(Start, 4, 5).generate(420));
    // Name the implant, connect to its logger, and take what is relayed.
    exchange(base, {SetImplantId, logger.status()[46]}, 0, 10'000);
    const Bytes connect = exchange(base, {LoggerConnection, On}, 10'000, 2'000'000);
    const Bytes status = exchange(base, {RemoteStatus}, 2'100'000, 2'400'000);
    const Bytes first = exchange(base, {RemoteChunk, 0, 0, 0, 0}, 2'500'000, 2'800'000);
    const Bytes second = exchange(base, {RemoteChunk, 100, 0, 0, 0}, 2'900'000, 3'200'000);
    const Bytes last = exchange(base, {RemoteChunk, 0x90, 0x01, 0, 0}, 3'300'000, 3'600'000);
    const Bytes revision = exchange(base, {BaseRevision}, 3'700'000, 4'000'000);
    bool ok = connect.size() >= 4 && status.size() >= LoggerStatus::Size && first.size() >= 100 &&
              second.size() >= 100;
    if (!ok)
        return false;
    ok = writeSeed(folder, QStringLiteral("connected-signal"),
                   Bytes(connect.end() - 4, connect.end()));
    ok = writeSeed(folder, QStringLiteral("status-frame"), status) && ok;
    ok = writeSeed(folder, QStringLiteral("chunk-frame"), first) && ok;
    ok = writeSeed(folder, QStringLiteral("last-chunk-frame"), last) && ok;
    ok = writeSeed(folder, QStringLiteral("revision"), revision) && ok;

    // The repository file as a download leaves it after two chunks, and the
    // same file with its end lost.
    QTemporaryDir scratch;
    const DataFolders folders(scratch.path());
    RepositoryFile repository(folders, logger.status()[46], logger.status()[47]);
    std::uint32_t position = 0;
    ok = scratch.isValid() &&
         repository.open(LoggerStatus(std::span(status).first(LoggerStatus::Size)), &position) ==
             RepositoryFile::Opened::Created &&
         repository.storeChunk(0, std::span(first).first(100)) &&
         repository.storeChunk(100, std::span(second).first(100)) && ok;
    QFile file(repository.path());
    ok = file.open(QIODevice::ReadOnly) && ok;
    const QByteArray stored = file.readAll();
    const Bytes held(stored.begin(), stored.end());
    ok = writeSeed(folder, QStringLiteral("repository-two-chunks.bin"), held) && ok;
    ok = writeSeed(folder, QStringLiteral("repository-end-lost.bin"),
                   Bytes(held.begin(), held.end() - 30)) &&
         ok;
    return ok;
}

bool baseReportSeeds(const QString& folder)
{
    using namespace CommandCode;
    SimulatedBaseStation base;
    base.setLoggerReportPeriodUs(20'000);
    base.setImplantReportPeriodUs(30'000);
    exchange(base, {VicinityObservation, On}, 0, 200'000);
    bool ok = writeSeed(folder, QStringLiteral("loggers-polled"),
                        pollSteps(base, 200'000, 500'000, BaseReport::LoggerReportSize));
    exchange(base, {VicinityObservation, Off}, 500'000, 700'000);
    exchange(base, {ImplantSurveillance, On}, 700'000, 900'000);
    ok = writeSeed(folder, QStringLiteral("implants-polled"),
                   pollSteps(base, 900'000, 1'400'000, BaseReport::ImplantReportSize)) &&
         ok;
    Bytes reports(1 << 12);
    reports.resize(base.read(reports, 1'800'000));
    ok = writeSeed(folder, QStringLiteral("implants-whole"),
                   ChunkedLink::encode(reports, BaseReport::ImplantReportSize, 3)) &&
         ok;
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: harvane-fuzz-seeds FOLDER\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    bool ok = true;
    const std::pair<const char*, bool (*)(const QString&)> targets[] = {
        {"data_file", dataFileSeeds},
        {"logger_status", statusSeeds},
        {"logger_reports", reportSeeds},
        {"base_download", baseDownloadSeeds},
        {"base_reports", baseReportSeeds}};
    for (const auto& [name, write] : targets) {
        const QString folder = QDir(root).filePath(QString::fromLatin1(name));
        ok = QDir().mkpath(folder) && write(folder) && ok;
    }
    if (!ok) {
        std::fprintf(stderr, "harvane-fuzz-seeds: cannot write the seeds into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
