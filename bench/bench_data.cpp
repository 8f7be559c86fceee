// Figures for a full 64 MiB logger memory: decoding speed, CSV export time
// against the time to write the same bytes plainly, and opening the file and
// painting both panes.

#include "data/CsvExport.h"
#include "data/DataFile.h"
#include "data/DataStreamDecoder.h"
#include "data/PaneDrawing.h"
#include "sim/LoggerStreamGenerator.h"
#include "sim/SimulatedLogger.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>

namespace {

struct Counting {
    std::uint64_t records = 0, groups = 0, values = 0;
    void recordBegins(int, CivilTime) { ++records; }
    void recordEnds(const RecordValues&) {}
    void groupBegins(int, CivilTime) { ++groups; }
    void groupValue(int) { ++values; }
    void groupEnds() {}
    void endOfStream() {}
};

double seconds(const QElapsedTimer& t)
{
    return static_cast<double>(t.nsecsElapsed()) / 1e9;
}

long rssKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    return -1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;

    std::printf("generating a 64 MiB memory...\n");
    LoggerStreamGenerator generator(QDateTime(QDate(2024, 1, 1), QTime(0, 0)), 4);
    std::vector<std::uint8_t> stream = generator.generate(DataFile::MaxDataBytes - 64);
    stream.resize(DataFile::MaxDataBytes);
    SimulatedLogger::StatusBlock header = SimulatedLogger::typicalStatus();
    const auto n = static_cast<std::uint32_t>(stream.size());
    for (int i = 0; i < 4; ++i)
        header[20 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(n >> (8 * i));
    QByteArray bytes(reinterpret_cast<const char*>(header.data()), 72);
    bytes.append(reinterpret_cast<const char*>(stream.data()),
                 static_cast<qsizetype>(stream.size()));
    stream = {};
    const DataDocument document(bytes);
    const CivilTime clock = CivilTime::fromFields(2024, 6, 1, 12, 0, 0);

    // Decoding.
    Counting counts;
    QElapsedTimer t;
    t.start();
    constexpr int Passes = 5;
    for (int i = 0; i < Passes; ++i) {
        counts = {};
        DataStreamDecoder::decode(document, counts, clock);
    }
    const double decodeSeconds = seconds(t) / Passes;
    std::printf("decode:  %.1f MB/s (%.3f s per pass; %llu records, %llu groups, %llu values)\n",
                static_cast<double>(document.size()) / 1e6 / decodeSeconds, decodeSeconds,
                static_cast<unsigned long long>(counts.records),
                static_cast<unsigned long long>(counts.groups),
                static_cast<unsigned long long>(counts.values));

    // Export, against writing the same bytes with a plain loop.
    const QString bt = dir.filePath(QStringLiteral("fullBT.csv"));
    const QString hb = dir.filePath(QStringLiteral("fullHB.csv"));
    t.restart();
    CsvExport::write(document, bt, hb, clock);
    const double exportSeconds = seconds(t);
    QFile btFile(bt);
    QFile hbFile(hb);
    btFile.open(QIODevice::ReadOnly);
    hbFile.open(QIODevice::ReadOnly);
    const QByteArray btBytes = btFile.readAll();
    const QByteArray hbBytes = hbFile.readAll();
    t.restart();
    for (const auto& [name, content] : {std::pair{QStringLiteral("plainBT.csv"), btBytes},
                                        std::pair{QStringLiteral("plainHB.csv"), hbBytes}}) {
        QFile out(dir.filePath(name));
        out.open(QIODevice::WriteOnly);
        for (qsizetype at = 0; at < content.size(); at += 1 << 20)
            out.write(content.constData() + at, std::min<qsizetype>(1 << 20, content.size() - at));
    }
    const double floorSeconds = seconds(t);
    std::printf(
        "export:  %.3f s for %.1f MB of CSV (target < 1.5 s); plain write of the same bytes "
        "%.3f s; ratio %.2f\n",
        exportSeconds, static_cast<double>(btBytes.size() + hbBytes.size()) / 1e6, floorSeconds,
        exportSeconds / floorSeconds);

    // Opening the file and painting both panes.
    const QString path = dir.filePath(QStringLiteral("full.bin"));
    DataFile::save(path, document);
    const long rssBefore = rssKiB();
    t.restart();
    const DataFile::Loaded loaded = DataFile::load(path);
    QImage left(1000, 800, QImage::Format_RGB32);
    QImage right(1000, 800, QImage::Format_RGB32);
    left.fill(Qt::white);
    right.fill(Qt::white);
    {
        QPainter painter(&left);
        painter.setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        PaneDrawing::drawRecords(painter, *loaded.document, clock);
    }
    {
        QPainter painter(&right);
        painter.setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        PaneDrawing::drawGroups(painter, *loaded.document, clock);
    }
    const double openSeconds = seconds(t);
    const long rssAfter = rssKiB();
    std::printf(
        "open + paint both panes: %.3f s (target < 0.5 s); resident memory grew by %.1f MiB for "
        "a %.1f MiB file\n",
        openSeconds, static_cast<double>(rssAfter - rssBefore) / 1024.0,
        static_cast<double>(loaded.document->size()) / 1048576.0);
    t.restart();
    for (int i = 0; i < 10; ++i) {
        QPainter painter(&left);
        PaneDrawing::drawRecords(painter, *loaded.document, clock);
    }
    std::printf("one repaint of the record pane: %.2f ms (bounded by the 50000-byte limit)\n",
                seconds(t) * 100.0);
    return 0;
}
