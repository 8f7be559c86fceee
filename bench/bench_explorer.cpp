// Figures for the Data Explorer over a full 64 MiB logger memory: indexing,
// the index's memory, drawing the plots full-range and zoomed at 1920 pixels,
// finding the fever episodes, and the record table over millions of rows.

#include "data/ExplorerData.h"
#include "data/ExplorerPlotRenderer.h"
#include "data/FeverEpisodes.h"
#include "data/RecordTableModel.h"
#include "sim/LoggerStreamGenerator.h"
#include "sim/SimulatedLogger.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

double millis(const QElapsedTimer& t)
{
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
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

// The best of a few runs: what the code costs, without the machine's noise.
template <typename Work> double bestOf(int runs, const Work& work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        best = std::min(best, millis(t));
    }
    return best;
}

const char* verdict(double value, double target)
{
    return value < target ? "ok" : "OVER TARGET";
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    std::printf("generating a 64 MiB memory (about eight years at one record a minute)...\n");
    const QDateTime start(QDate(2024, 1, 1), QTime(0, 0));
    LoggerStreamGenerator generator(start, 4);
    // A few fevers, so that there is something to find.
    for (int month = 1; month < 120; month += 7)
        generator.addFever(start.addMonths(month), 20, 1.8);
    std::vector<std::uint8_t> stream = generator.generate(67'104'864 - 64);
    stream.resize(67'104'864);
    SimulatedLogger::StatusBlock header = SimulatedLogger::typicalStatus();
    const auto n = static_cast<std::uint32_t>(stream.size());
    for (std::size_t i = 0; i < 4; ++i)
        header[20 + i] = static_cast<std::uint8_t>(n >> (8 * i));
    QByteArray bytes(reinterpret_cast<const char*>(header.data()), 72);
    bytes.append(reinterpret_cast<const char*>(stream.data()), static_cast<qsizetype>(n));
    stream = {};
    const DataDocument document(bytes);
    const CivilTime clock = CivilTime::fromFields(2034, 6, 1, 12, 0, 0);

    // Indexing: decode once into the columns and the plot series.
    std::shared_ptr<const ExplorerData> data;
    const long rssBefore = rssKiB();
    const double indexMs = bestOf(3, [&] {
        data.reset();
        data = std::make_shared<const ExplorerData>(document, clock);
    });
    const long rssAfter = rssKiB();
    const RecordIndex& index = data->index();
    const double perRecord =
        static_cast<double>(data->memoryBytes()) / static_cast<double>(index.recordCount());
    std::printf("index:   %.0f ms for %.1f MiB (target < 1000 ms: %s); %zu records, %zu groups, "
                "%zu heart-rate values\n",
                indexMs, static_cast<double>(document.size()) / 1048576.0, verdict(indexMs, 1000),
                index.recordCount(), index.groupCount(), index.heartRateValueCount());
    std::printf("memory:  %.1f bytes per record (target < 40: %s): %.1f MiB of index and series; "
                "resident memory grew by %.1f MiB\n",
                perRecord, verdict(perRecord, 40),
                static_cast<double>(data->memoryBytes()) / 1048576.0,
                static_cast<double>(rssAfter - rssBefore) / 1024.0);

    std::vector<FeverEpisode> episodes;
    const double episodeMs = bestOf(3, [&] { episodes = FeverEpisodes::find(index); });
    std::printf("fevers:  %zu episodes found in %.1f ms\n", episodes.size(), episodeMs);

    // Drawing at 1920 x 1080: the whole memory, a week, a day, an hour.
    ExplorerPlotRenderer::Options options;
    options.title = QStringLiteral("Logger 12  \u00B7  Implant 7  \u00B7  full.bin");
    options.font.setPixelSize(14);
    options.episodes = episodes;
    const ExplorerPlotRenderer renderer(data.get(), options);
    QImage image(1920, 1080, QImage::Format_RGB32);
    const auto [first, last] = index.timeSpan();
    const std::int64_t middle = first + (last - first) / 2;
    const struct {
        const char* name;
        std::int64_t from, to;
        double target;
    } views[] = {
        {"full range", first, last, 50},
        {"one week", middle, middle + 7 * 86400 - 1, 20},
        {"one day", middle, middle + 86400 - 1, 20},
        {"one hour", middle, middle + 3600 - 1, 20},
    };
    for (const auto& v : views) {
        const double ms = bestOf(10, [&] {
            QPainter painter(&image);
            renderer.render(painter, image.size(), v.from, v.to);
        });
        std::printf("draw:    %-10s %6.1f ms at 1920 px (target < %.0f ms: %s)\n", v.name, ms,
                    v.target, verdict(ms, v.target));
    }
    {
        QPainter painter(&image);
        renderer.render(painter, image.size(), first, last);
    }
    image.save(QStringLiteral("bench_explorer_full.png"));

    // The record table: millions of rows, sorted, scrolled to the end.
    RecordTableModel model;
    model.setSource(data);
    QTableView table;
    table.verticalHeader()->hide();
    table.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table.verticalHeader()->setDefaultSectionSize(20);
    table.setModel(&model);
    table.resize(1200, 800);
    table.show();
    QApplication::processEvents();
    const double endMs = bestOf(3, [&] {
        table.scrollToTop();
        table.grab();
        table.scrollToBottom();
        table.grab();
    });
    std::printf("table:   %d rows; scrolling from the top to the end and painting both: %.1f ms\n",
                model.rowCount(), endMs);
    const double sortBody =
        bestOf(1, [&] { model.sort(RecordTableModel::Body, Qt::DescendingOrder); });
    const double sortDate =
        bestOf(1, [&] { model.sort(RecordTableModel::Date, Qt::DescendingOrder); });
    const double sortBack =
        bestOf(1, [&] { model.sort(RecordTableModel::Date, Qt::AscendingOrder); });
    std::printf("sort:    by body temperature %.0f ms, by date newest first %.0f ms, back to "
                "oldest first %.0f ms\n",
                sortBody, sortDate, sortBack);
    return 0;
}
