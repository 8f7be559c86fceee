#include "data/CsvExport.h"
#include "data/ExplorerData.h"
#include "data/ExplorerPlotRenderer.h"
#include "data/FeverEpisodes.h"
#include "sim/DemoDownload.h"
#include "tests/support/StreamBuilder.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace {

const CivilTime PcClock = CivilTime::fromFields(2024, 3, 3, 9, 0, 0);

// Several thousand records with missing body temperatures, heart-rate groups
// of every size, and a clock that jumps back and forth.
DataDocument mixedDownload()
{
    std::mt19937 random(5);
    StreamBuilder builder;
    for (const int hour : {6, 2, 9, 4}) {
        builder.timestamp(0, 0, hour, 5, 4, 24);
        for (int i = 0; i < 1500; ++i) {
            const int body = random() % 7 == 0 ? 0 : 9600 + static_cast<int>(random() % 900);
            builder.record(body, static_cast<int>(random() % 9000) - 1000,
                           static_cast<int>(random() % 60000), static_cast<int>(random() % 250),
                           static_cast<int>(random() % 30));
            if (random() % 3 == 0) {
                const int n = static_cast<int>(random() % 14);
                for (int v = 0; v < n; ++v)
                    builder.bytes({static_cast<std::uint8_t>(15 + random() % 136)});
            }
        }
    }
    builder.bytes({0});
    return builder.document(12, 1);
}

// What a column must hold, worked out from the index without the series.
struct Expected {
    SeriesAggregate values;
    std::int64_t firstTime = INT64_MAX;
    std::int64_t lastTime = INT64_MIN;
};

std::vector<Expected> bruteForce(const RecordIndex& index, PlotQuantity q, std::int64_t from,
                                 std::int64_t to, int width)
{
    std::vector<Expected> out(static_cast<std::size_t>(width));
    const double perColumn = (static_cast<double>(to - from) + 1.0) / width;
    // Column c + 1 begins at the first whole second at or after from + (c + 1) * perColumn.
    std::vector<std::int64_t> edges;
    for (int c = 1; c < width; ++c)
        edges.push_back(
            static_cast<std::int64_t>(std::ceil(static_cast<double>(from) + c * perColumn)));
    auto columnOf = [&](std::int64_t t) {
        return static_cast<int>(std::upper_bound(edges.begin(), edges.end(), t) - edges.begin());
    };
    auto add = [&](std::int64_t t, const SeriesAggregate& a) {
        if (t < from || t > to || a.isEmpty())
            return;
        Expected& e = out[static_cast<std::size_t>(columnOf(t))];
        e.values.merge(a);
        e.firstTime = std::min(e.firstTime, t);
        e.lastTime = std::max(e.lastTime, t);
    };
    if (q == PlotQuantity::HeartRate) {
        for (std::size_t g = 0; g < index.groupCount(); ++g) {
            SeriesAggregate a;
            for (const std::uint8_t v : index.groupValues(g))
                a.add(v);
            add(index.groupTime(g), a);
        }
        return out;
    }
    for (std::size_t r = 0; r < index.completeRecords(); ++r) {
        const RecordValues v = index.values(r);
        SeriesAggregate a;
        switch (q) {
        case PlotQuantity::Body:
            if (v.hasBody())
                a.add(v.bodyRaw);
            break;
        case PlotQuantity::Collar:
            a.add(v.collarRaw);
            break;
        case PlotQuantity::Activity:
            a.add(v.activity);
            break;
        case PlotQuantity::HeadDown:
            a.add(v.headDown);
            break;
        case PlotQuantity::HeadChanges:
            a.add(v.headChanges);
            break;
        case PlotQuantity::HeartRate:
            break;
        }
        add(index.recordTime(r), a);
    }
    return out;
}

int countPixels(const QImage& image, const QRect& area, const std::function<bool(QColor)>& match)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += match(image.pixelColor(x, y)) ? 1 : 0;
    return n;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

TEST(ExplorerPlot, EveryColumnKeepsTheLowestAndHighestReadingDatedInIt)
{
    const ExplorerData data(mixedDownload(), PcClock);
    const RecordIndex& index = data.index();
    ASSERT_FALSE(index.recordsInTimeOrder());
    const auto [first, last] = index.timeSpan();
    struct View {
        std::int64_t from, to;
        int width;
    };
    std::vector<View> views = {
        {first, last, 1},                   // everything in one
        {first + 3000, first + 4000, 900},  // about one reading a column, some empty
        {first - 5000, first + 200, 300},   // starts before the data
        {last - 100, last + 9000, 640},     // ends after it
        {first + 12345, first + 12345, 50}, // one second
    };
    // From a few readings a column to whole blocks of them, with the column
    // edges falling everywhere in the blocks.
    for (const int width : {2, 3, 7, 13, 29, 50, 97, 128, 200, 333, 640, 1920})
        views.push_back({first, last, width});
    for (int q = 0; q < PlotQuantityCount; ++q) {
        const auto quantity = static_cast<PlotQuantity>(q);
        for (const auto& v : views) {
            const auto got = data.series(quantity).columns(v.from, v.to, v.width);
            const auto expected = bruteForce(index, quantity, v.from, v.to, v.width);
            ASSERT_EQ(got.size(), expected.size());
            for (std::size_t c = 0; c < got.size(); ++c) {
                const SCOPED_TRACE(testing::Message() << PlotSeries::name(quantity).toStdString()
                                                      << " width " << v.width << " column " << c);
                ASSERT_EQ(got[c].values.count, expected[c].values.count);
                if (expected[c].values.isEmpty())
                    continue;
                EXPECT_EQ(got[c].values.min, expected[c].values.min);
                EXPECT_EQ(got[c].values.max, expected[c].values.max);
                EXPECT_EQ(got[c].values.sum, expected[c].values.sum);
                EXPECT_EQ(got[c].firstTime, expected[c].firstTime);
                EXPECT_EQ(got[c].lastTime, expected[c].lastTime);
            }
        }
    }
}

TEST(ExplorerPlot, CurvesBreakWhereReadingsAreMissingAsFarAsTheEyeCanSee)
{
    // One reading a minute; 10:05 is missing, and 10:20 to 12:59 too.
    StreamBuilder builder;
    builder.timestamp(0, 59, 9, 5, 4, 24);
    for (int minute = 0; minute < 240; ++minute) {
        const bool missing = minute == 5 || (minute >= 20 && minute < 180);
        builder.record(missing ? 0 : 38 * 256 + minute, 20 * 256, 1, 1, 1);
    }
    builder.bytes({0});
    const ExplorerData data(builder.document(12, 4), PcClock);
    const PlotSeries& body = data.series(PlotQuantity::Body);
    const std::int64_t from = CivilTime::fromFields(2024, 4, 5, 10, 0, 0).seconds();
    const std::int64_t to = from + 4 * 3600 - 1;

    auto runTimes = [&](int width) {
        const auto columns = body.columns(from, to, width);
        std::vector<std::pair<std::string, std::string>> runs;
        for (const auto& [a, b] : ExplorerPlotRenderer::curveRuns(columns, body.expectedSpacing(),
                                                                  (to - from + 1.0) / width))
            runs.emplace_back(CivilTime::fromSeconds(columns[std::size_t(a)].firstTime)
                                  .toString()
                                  .mid(11, 5)
                                  .toStdString(),
                              CivilTime::fromSeconds(columns[std::size_t(b)].lastTime)
                                  .toString()
                                  .mid(11, 5)
                                  .toStdString());
        return runs;
    };
    using Runs = std::vector<std::pair<std::string, std::string>>;
    // Close up (10 pixels a minute) the single missed reading is a gap.
    EXPECT_EQ(runTimes(2400), (Runs{{"10:00", "10:04"}, {"10:06", "10:19"}, {"13:00", "13:59"}}));
    // Over four hours in 60 pixels a missed minute is too small to show; the
    // long outage still is.
    EXPECT_EQ(runTimes(60), (Runs{{"10:00", "10:19"}, {"13:00", "13:59"}}));
    // The collar temperature has no gap but the outage: its records are there.
    const PlotSeries& collar = data.series(PlotQuantity::Collar);
    EXPECT_EQ(ExplorerPlotRenderer::curveRuns(collar.columns(from, to, 2400),
                                              collar.expectedSpacing(), 6.0)
                  .size(),
              1U);
}

TEST(ExplorerPlot, APictureShowsFeversShadedAndTheOutageAsAGap)
{
    const ExplorerData data(DemoDownload::make(QDate(2024, 3, 4), 21), PcClock);
    ExplorerPlotRenderer::Options options;
    options.title = QStringLiteral("Logger 12");
    options.font.setPixelSize(14);
    options.episodes = FeverEpisodes::find(data.index(), options.criteria);
    ASSERT_FALSE(options.episodes.empty());
    const ExplorerPlotRenderer renderer(&data, options);
    QImage image(1920, 1080, QImage::Format_RGB32);
    const auto [first, last] = data.index().timeSpan();
    ExplorerPlotRenderer::Layout layout;
    {
        QPainter painter(&image);
        layout = renderer.render(painter, image.size(), first, last);
    }
    ASSERT_EQ(layout.panels.size(), 5U);
    const QRect body = layout.panels.front().rect.adjusted(2, 2, -2, -2);
    EXPECT_EQ(body.width(), layout.plot.width() - 4);

    // The shading: orange washed out on white, only where an episode is.
    const auto shade = [](QColor c) {
        return c.red() >= 248 && c.green() >= 218 && c.green() <= 236 && c.blue() >= 195 &&
               c.blue() <= 218;
    };
    const FeverEpisode& fever = options.episodes.back();
    const QRect inFever(QPoint(int(layout.xFor(fever.start)) + 2, body.top()),
                        QPoint(int(layout.xFor(fever.end)) - 2, body.bottom()));
    EXPECT_GT(countPixels(image, inFever, shade), inFever.width() * inFever.height() / 3);
    const QRect beforeAny(
        body.topLeft(),
        QPoint(int(layout.xFor(options.episodes.front().start)) - 3, body.bottom()));
    EXPECT_EQ(countPixels(image, beforeAny, shade), 0);

    // The implant went unheard for five hours a third of the way in: no body
    // temperature drawn there, but the collar temperature goes on.
    const std::int64_t silence = CivilTime::fromFields(2024, 3, 11, 13, 0, 0).seconds();
    const auto reddish = [](QColor c) {
        return c.red() > c.green() + 25 && c.red() > c.blue() + 25 && c.green() > 140;
    };
    const auto bodyLine = [](QColor c) {
        return c.red() > 150 && c.green() < 110 && c.blue() < 110;
    };
    const QRect quiet(QPoint(int(layout.xFor(silence)) + 3, body.top()),
                      QPoint(int(layout.xFor(silence + 5 * 3600)) - 3, body.bottom()));
    ASSERT_GT(quiet.width(), 5);
    // The dashed threshold line is orange, not the body temperature's red.
    EXPECT_EQ(countPixels(image, quiet, [&](QColor c) { return bodyLine(c) && c.green() < 80; }),
              0);
    EXPECT_EQ(countPixels(image, quiet, reddish), 0);
    const QRect collar = layout.panels[1].rect;
    EXPECT_GT(countPixels(image,
                          QRect(quiet.left(), collar.top() + 2, quiet.width(), collar.height() - 4),
                          [](QColor c) { return c.blue() > 150 && c.red() < 80; }),
              0);
}

TEST(ExplorerPlot, TheCursorReadsTheNearestRecord)
{
    const auto doc = StreamBuilder()
                         .timestamp(0, 0, 12, 5, 4, 24)
                         .record(39 * 256 + 128, 21 * 256, 300, 5, 3)
                         .bytes({62, 64, 66})
                         .record(0, 20 * 256, 7, 0, 1)
                         .bytes({0})
                         .document(12, 4);
    const ExplorerData data(doc, PcClock);
    ExplorerPlotRenderer::Options options;
    options.font.setPixelSize(13);
    const ExplorerPlotRenderer renderer(&data, options);
    QImage image(800, 600, QImage::Format_RGB32);
    QPainter painter(&image);
    const std::int64_t t0 = CivilTime::fromFields(2024, 4, 5, 12, 1, 0).seconds();
    const auto layout = renderer.render(painter, image.size(), t0 - 600, t0 + 600);
    EXPECT_EQ(renderer.readout(layout, t0 + 20),
              (QStringList{"2024-04-05 12:01:00  Fri", "Body temperature: 39.50 °C",
                           "Collar temperature: 21.00 °C", "Activity: 300", "Head-down duration: 5",
                           "Head position changes: 3",
                           "Heart rate: 62 to 66 /min, mean 64 (3 values at 12:01:00)"}));
    const QStringList later = renderer.readout(layout, t0 + 45);
    ASSERT_GE(later.size(), 2);
    EXPECT_EQ(later[0], QStringLiteral("2024-04-05 12:02:00  Fri"));
    EXPECT_EQ(later[1], QStringLiteral("Body temperature: no reading"));
    EXPECT_EQ(renderer.readout(layout, t0 + 590).value(1), QStringLiteral("No record here"));
}

TEST(ExplorerPlot, TheShownRangeExportsAsTheRecordFileDoes)
{
    QTemporaryDir dir;
    const DataDocument doc = DemoDownload::make(QDate(2024, 3, 4), 2);
    const QString bt = dir.filePath(QStringLiteral("allBT.csv"));
    ASSERT_TRUE(CsvExport::write(doc, bt, dir.filePath(QStringLiteral("allHB.csv")), PcClock));
    const QString whole = dir.filePath(QStringLiteral("whole.csv"));
    ASSERT_TRUE(CsvExport::writeRecords(doc, whole, PcClock, INT64_MIN, INT64_MAX));
    EXPECT_EQ(readAll(whole), readAll(bt));

    const std::int64_t from = CivilTime::fromFields(2024, 3, 5, 6, 0, 0).seconds();
    const std::int64_t to = CivilTime::fromFields(2024, 3, 5, 6, 9, 0).seconds();
    const QString part = dir.filePath(QStringLiteral("part.csv"));
    ASSERT_TRUE(CsvExport::writeRecords(doc, part, PcClock, from, to));
    QByteArray expected = CsvExport::RecordHeader;
    for (const QByteArray& line : readAll(bt).split('\n'))
        if (line.startsWith("7,2024-03-05 06:0"))
            expected += line + '\n';
    expected += '\r';
    EXPECT_EQ(readAll(part), expected);
    EXPECT_EQ(readAll(part).count('\n'), 11); // the header and 06:00 to 06:09

    QString error;
    EXPECT_FALSE(CsvExport::writeRecords(doc, dir.filePath(QStringLiteral("no/such/dir/x.csv")),
                                         PcClock, from, to, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Error: Can not write the export file")));
}

TEST(ExplorerPlot, OverMonthsTheLineIsTheMeanOfWholeDays)
{
    // Sixty days of a daily swing of ±1 °C around 38.5 °C, one reading every 15 minutes.
    StreamBuilder builder;
    builder.timestamp(0, 0, 0, 1, 4, 24);
    for (int i = 0; i < 60 * 96; ++i) {
        const double hour = (i + 1) * 0.25;
        builder.record(static_cast<int>(
                           std::lround((38.5 + std::sin(hour / 24 * 2 * std::numbers::pi)) * 256)),
                       0, 0, 0, 0);
    }
    builder.bytes({0});
    const ExplorerData data(builder.document(12, 60), PcClock);
    const PlotSeries& body = data.series(PlotQuantity::Body);
    const auto [first, last] = data.index().timeSpan();
    // 40 columns: a column spans one and a half days, so its own mean swings.
    const auto own = body.columns(first, last, 40);
    const auto days = body.columns(first, last, 40, 2);
    double ownSpread = 0;
    double daySpread = 0;
    for (std::size_t c = 1; c + 1 < own.size(); ++c) {
        ownSpread = std::max(ownSpread, std::abs(own[c].mean / 256 - 38.5));
        daySpread = std::max(daySpread, std::abs(days[c].mean / 256 - 38.5));
    }
    EXPECT_GT(ownSpread, 0.05);
    EXPECT_LT(daySpread, 0.01);
    // The band still holds each column's own lowest and highest.
    EXPECT_EQ(days[10].values.min, own[10].values.min);
    EXPECT_EQ(days[10].values.max, own[10].values.max);
}
