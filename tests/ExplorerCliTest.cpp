// harvane-cli episodes and plot, run as a user runs them.

#include "data/DataFile.h"
#include "data/ExplorerPlotRenderer.h"
#include "sim/DemoDownload.h"
#include "tests/support/CliProcess.h"
#include "tests/support/StreamBuilder.h"

#include <QFile>
#include <QImage>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// 38.6 °C, then a fever of 40.2 °C with a dip, then a short one: one
// record a minute from 2024-04-05 00:01.
DataDocument feverish()
{
    StreamBuilder builder;
    builder.timestamp(0, 0, 0, 5, 4, 24);
    const struct {
        int minutes;
        int raw;
    } stretches[] = {{60, 9882}, {120, 10291}, {30, 9950}, {120, 10394},
                     {60, 9882}, {90, 10291},  {60, 9882}};
    for (const auto& s : stretches)
        for (int i = 0; i < s.minutes; ++i)
            builder.record(s.raw, 20 * 256, 100, 3, 2);
    builder.bytes({0});
    return builder.document(12, 4);
}

struct ExplorerCli : ::testing::Test {
    QTemporaryDir dir;
    QString file(const QString& name) const { return dir.filePath(name); }
    QString saved(const QString& name, const DataDocument& doc) const
    {
        EXPECT_TRUE(DataFile::save(file(name), doc));
        return file(name);
    }
};

int distinctColours(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    return static_cast<int>(colours.size());
}

} // namespace

TEST_F(ExplorerCli, EpisodesPrintsOneLineEach)
{
    const QString cow = saved(QStringLiteral("Cow12.bin"), feverish());
    const auto found = runCli({QStringLiteral("episodes"), cow});
    EXPECT_EQ(found.exitCode, 0) << found.err.toStdString();
    EXPECT_EQ(found.out,
              QStringLiteral("2024-04-05 01:01:00  2024-04-05 05:30:00  4.48 h  40.60 °C"));
    EXPECT_TRUE(found.err.isEmpty()) << found.err.toStdString();

    const auto shorter = runCli(
        {QStringLiteral("episodes"), cow, QStringLiteral("--min-hours"), QStringLiteral("1.25")});
    EXPECT_EQ(shorter.out.split(QLatin1Char('\n')),
              (QStringList{"2024-04-05 01:01:00  2024-04-05 05:30:00  4.48 h  40.60 °C",
                           "2024-04-05 06:31:00  2024-04-05 08:00:00  1.48 h  40.20 °C"}));
    const auto higher = runCli(
        {QStringLiteral("episodes"), cow, QStringLiteral("--above"), QStringLiteral("40.3")});
    EXPECT_EQ(higher.exitCode, 0);
    EXPECT_TRUE(higher.out.isEmpty()) << higher.out.toStdString(); // 1.98 h above 40.3 °C

    for (const QStringList& bad : {QStringList{"episodes", cow, "--above", "warm"},
                                   QStringList{"episodes", cow, "--min-hours", "-1"},
                                   QStringList{"episodes"}, QStringList{"episodes", cow, cow}}) {
        const auto usage = runCli(bad);
        EXPECT_EQ(usage.exitCode, 2) << bad.join(QLatin1Char(' ')).toStdString();
    }
    const auto missing = runCli({QStringLiteral("episodes"), file(QStringLiteral("none.bin"))});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.startsWith(QStringLiteral("Error: Can not open file")));
}

TEST_F(ExplorerCli, PlotWritesAPictureOfTheSizeAsked)
{
    const QString cow =
        saved(QStringLiteral("Cow7.bin"), DemoDownload::make(QDate(2024, 3, 4), 10));
    const QString png = file(QStringLiteral("Cow7.png"));
    const auto plotted = runCli({QStringLiteral("plot"), cow, QStringLiteral("-o"), png});
    ASSERT_EQ(plotted.exitCode, 0) << plotted.err.toStdString();
    EXPECT_EQ(plotted.out, png);
    EXPECT_TRUE(plotted.err.isEmpty()) << plotted.err.toStdString();
    const QImage full(png);
    EXPECT_EQ(full.size(), QSize(1600, 900));
    EXPECT_GT(distinctColours(full), 50);
    // The body temperature's red is in it.
    bool red = false;
    for (int y = 0; y < full.height() && !red; ++y)
        for (int x = 0; x < full.width() && !red; ++x)
            red = full.pixelColor(x, y) == ExplorerPlotRenderer::colour(PlotQuantity::Body);
    EXPECT_TRUE(red);

    const QString small = file(QStringLiteral("small.png"));
    const auto sized =
        runCli({QStringLiteral("plot"), cow, QStringLiteral("-o"), small, QStringLiteral("--size"),
                QStringLiteral("800x450"), QStringLiteral("--from"), QStringLiteral("2024-03-06"),
                QStringLiteral("--to"), QStringLiteral("2024-03-06 12:00")});
    ASSERT_EQ(sized.exitCode, 0) << sized.err.toStdString();
    EXPECT_EQ(QImage(small).size(), QSize(800, 450));
    EXPECT_GT(distinctColours(QImage(small)), 30);

    // It needs no display: nothing says where to draw, and it still does.
    QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
    bare.remove(QStringLiteral("QT_QPA_PLATFORM"));
    bare.remove(QStringLiteral("DISPLAY"));
    bare.remove(QStringLiteral("WAYLAND_DISPLAY"));
    const QString headless = file(QStringLiteral("headless.png"));
    const auto alone = runCli({QStringLiteral("plot"), cow, QStringLiteral("-o"), headless}, bare);
    EXPECT_EQ(alone.exitCode, 0) << alone.err.toStdString();
    EXPECT_TRUE(alone.err.isEmpty()) << alone.err.toStdString();
    EXPECT_EQ(QImage(headless).size(), QSize(1600, 900));

    for (const QStringList& bad :
         {QStringList{"plot", cow}, QStringList{"plot", cow, "-o", png, "--size", "big"},
          QStringList{"plot", cow, "-o", png, "--size", "100x100"},
          QStringList{"plot", cow, "-o", png, "--from", "6 March"},
          QStringList{"plot", cow, "-o", png, "--from", "2024-02-30"},
          QStringList{"plot", cow, "-o", png, "--from", "2024-03-07", "--to", "2024-03-06"}}) {
        const auto usage = runCli(bad);
        EXPECT_EQ(usage.exitCode, 2) << bad.join(QLatin1Char(' ')).toStdString();
    }
}

TEST_F(ExplorerCli, ARefusedFileGivesItsMessageAndNoPicture)
{
    const QString notes = file(QStringLiteral("notes.bin"));
    QFile text(notes);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("Just some notes, not logger data.");
    text.close();
    const QString png = file(QStringLiteral("notes.png"));
    const auto refused = runCli({QStringLiteral("plot"), notes, QStringLiteral("-o"), png});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, QStringLiteral("Error: Unsupported file type!"));
    EXPECT_TRUE(refused.out.isEmpty());
    EXPECT_FALSE(QFile::exists(png));

    // A picture already there from an earlier run is left as it was.
    QFile earlier(png);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier");
    earlier.close();
    EXPECT_EQ(runCli({QStringLiteral("plot"), notes, QStringLiteral("-o"), png}).exitCode, 1);
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), QByteArray("earlier"));

    // A picture that cannot be written is a failure too.
    const QString cow = saved(QStringLiteral("Cow.bin"), feverish());
    const auto unwritable = runCli(
        {QStringLiteral("plot"), cow, QStringLiteral("-o"), file(QStringLiteral("no/dir/x.png"))});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(unwritable.err.startsWith(QStringLiteral("Error: Can not write the picture")));

    // An empty download still gives a picture that says so.
    const QString empty = saved(QStringLiteral("empty.bin"), StreamBuilder().document());
    const QString emptyPng = file(QStringLiteral("empty.png"));
    EXPECT_EQ(runCli({QStringLiteral("plot"), empty, QStringLiteral("-o"), emptyPng}).exitCode, 0);
    EXPECT_EQ(QImage(emptyPng).size(), QSize(1600, 900));
    EXPECT_TRUE(runCli({QStringLiteral("episodes"), empty}).out.isEmpty());
}
