#include "app/CVelmoraDoc.h"
#include "data/CDataExplorerWnd.h"
#include "data/CsvExport.h"
#include "data/DataFile.h"
#include "data/ExplorerData.h"
#include "data/ExplorerPlotView.h"
#include "data/FeverEpisodes.h"
#include "data/HeartRateTableModel.h"
#include "data/RangeStatistics.h"
#include "data/RecordTableModel.h"
#include "sim/DemoDownload.h"
#include "tests/support/MainFrameFixture.h"
#include "tests/support/StreamBuilder.h"

#include <QDoubleSpinBox>
#include <QFile>
#include <QImage>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

namespace {

DataDocument herd(int records, int firstBody = 38 * 256)
{
    StreamBuilder builder;
    builder.timestamp(0, 0, 12, 5, 4, 24);
    for (int i = 0; i < records; ++i) {
        builder.record(i % 10 == 9 ? 0 : firstBody + (i * 37) % 300, 21 * 256 + i % 50, 100 + i,
                       i % 16, i % 8);
        if (i % 3 == 0)
            builder.bytes({60, 61, static_cast<std::uint8_t>(62 + i % 20)});
    }
    builder.bytes({0xAA});
    return builder.document(12, 4);
}

QString pdfText(const QString& pdf, int first = 0, int last = 0)
{
    QProcess text;
    QStringList arguments{QStringLiteral("-layout")};
    if (first > 0)
        arguments << QStringLiteral("-f") << QString::number(first) << QStringLiteral("-l")
                  << QString::number(last);
    text.start(QStringLiteral("pdftotext"), arguments << pdf << QStringLiteral("-"));
    text.waitForFinished(60'000);
    return QString::fromUtf8(text.readAllStandardOutput());
}

// The dates of the table's rows (not those of the title lines).
QStringList datesIn(const QString& text)
{
    QStringList dates;
    const QRegularExpression row(QStringLiteral(R"(^\s*\d+\s+(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)\s)"),
                                 QRegularExpression::MultilineOption);
    auto matches = row.globalMatch(text);
    while (matches.hasNext())
        dates.append(matches.next().captured(1));
    return dates;
}

struct ExplorerFixture : MainFrameFixture {
    QString saveAs(const QString& name, const DataDocument& doc)
    {
        const QString path = dataRoot.filePath(name);
        EXPECT_TRUE(DataFile::save(path, doc));
        return path;
    }
    CDataExplorerWnd& explorer()
    {
        if (frame().dataExplorer() == nullptr || !frame().dataExplorer()->isVisible())
            frame().command(MainCommand::DataExplorer)->trigger();
        return *frame().dataExplorer();
    }
    RecordTableModel& records()
    {
        return *qobject_cast<RecordTableModel*>(explorer().recordTable()->model());
    }
    QString cell(int row, int column) { return records().index(row, column).data().toString(); }
};

} // namespace

TEST_F(ExplorerFixture, TheViewMenuAndTheToolbarOpenTheExplorer)
{
    QAction* command = frame().command(MainCommand::DataExplorer);
    ASSERT_NE(command, nullptr);
    bool inView = false;
    for (QAction* menu : frame().menuBar()->actions())
        if (menu->text() == QLatin1String("&View"))
            inView = menu->menu()->actions().contains(command);
    EXPECT_TRUE(inView);
    const auto* standard = frame().findChild<QToolBar*>(QStringLiteral("StandardToolBar"));
    ASSERT_NE(standard, nullptr);
    EXPECT_TRUE(standard->actions().contains(command));
    EXPECT_FALSE(command->icon().isNull());

    EXPECT_EQ(frame().dataExplorer(), nullptr);
    command->trigger();
    CDataExplorerWnd* opened = frame().dataExplorer();
    ASSERT_NE(opened, nullptr);
    EXPECT_TRUE(opened->isVisible());
    EXPECT_EQ(opened->windowTitle(), QStringLiteral("Untitled - Data Explorer"));
    EXPECT_EQ(opened->statisticsText(), QStringLiteral("No data loaded."));
    // A second command brings the same window back.
    opened->close();
    command->trigger();
    EXPECT_EQ(frame().dataExplorer(), opened);
    EXPECT_TRUE(opened->isVisible());
}

TEST_F(ExplorerFixture, ItFollowsTheDocumentOnOpenDownloadNewAndAPortOpening)
{
    const QString cow = saveAs(QStringLiteral("Cow12.bin"), herd(300));
    explorer();
    ASSERT_TRUE(frame().openDataFile(cow));
    EXPECT_EQ(explorer().windowTitle(), QStringLiteral("Cow12.bin - Data Explorer"));
    EXPECT_EQ(records().rowCount(), 300);
    EXPECT_EQ(cell(0, RecordTableModel::Date), QStringLiteral("2024-04-05 12:01:00"));
    EXPECT_TRUE(explorer().statisticsText().startsWith(QStringLiteral("Records: 300\n")));

    // A download replaces the data: the explorer shows it at once.
    frame().document().replaceData(herd(40), true);
    EXPECT_EQ(records().rowCount(), 40);
    frame().command(MainCommand::New)->trigger();
    EXPECT_EQ(records().rowCount(), 0);
    EXPECT_EQ(explorer().windowTitle(), QStringLiteral("Untitled - Data Explorer"));

    // Opening a port empties the document, and so the explorer.
    ASSERT_TRUE(frame().openDataFile(cow));
    EXPECT_EQ(records().rowCount(), 300);
    frame().choosePort(QStringLiteral("sim:logger"));
    EXPECT_EQ(records().rowCount(), 0);

    // While closed it does no work; it catches up when it is shown again.
    explorer().close();
    ASSERT_TRUE(frame().openDataFile(cow));
    EXPECT_EQ(frame().dataExplorer()->data(), nullptr);
    EXPECT_EQ(records().rowCount(), 300); // explorer() shows it again
    EXPECT_NE(frame().dataExplorer()->data(), nullptr);
}

TEST_F(ExplorerFixture, TheTablesSortByAnyColumnAndJumpToADate)
{
    frame().document().replaceData(herd(500), false);
    QTableView* table = explorer().recordTable();
    ASSERT_EQ(records().rowCount(), 500);
    EXPECT_EQ(cell(9, RecordTableModel::Body), QStringLiteral("\u2013")); // not heard
    EXPECT_EQ(cell(0, RecordTableModel::Collar), QStringLiteral("21.00"));

    table->sortByColumn(RecordTableModel::Body, Qt::DescendingOrder);
    const double top = cell(0, RecordTableModel::Body).toDouble();
    for (int row = 1; row < 450; ++row)
        ASSERT_LE(cell(row, RecordTableModel::Body).toDouble(), top) << row;
    // Records without a body temperature go last, whichever way.
    EXPECT_EQ(cell(499, RecordTableModel::Body), QStringLiteral("\u2013"));
    EXPECT_EQ(cell(449, RecordTableModel::Body).isEmpty(), false);
    table->sortByColumn(RecordTableModel::Body, Qt::AscendingOrder);
    EXPECT_EQ(cell(499, RecordTableModel::Body), QStringLiteral("\u2013"));
    EXPECT_LE(cell(0, RecordTableModel::Body).toDouble(),
              cell(1, RecordTableModel::Body).toDouble());
    // Equal values keep stream order.
    table->sortByColumn(RecordTableModel::HeadChanges, Qt::AscendingOrder);
    EXPECT_EQ(cell(0, RecordTableModel::Date), QStringLiteral("2024-04-05 12:01:00"));
    EXPECT_EQ(cell(1, RecordTableModel::Date), QStringLiteral("2024-04-05 12:09:00"));
    table->sortByColumn(RecordTableModel::Date, Qt::DescendingOrder);
    EXPECT_EQ(cell(0, RecordTableModel::Date), QStringLiteral("2024-04-05 20:20:00"));

    // The first record at or after the moment asked for is selected.
    explorer().goToDate(CivilTime::fromFields(2024, 4, 5, 14, 30, 30).seconds());
    const QModelIndex current = table->currentIndex();
    ASSERT_TRUE(current.isValid());
    EXPECT_EQ(cell(current.row(), RecordTableModel::Date), QStringLiteral("2024-04-05 14:31:00"));
    const std::int64_t marked = CivilTime::fromFields(2024, 4, 5, 14, 31, 0).seconds();
    EXPECT_GE(marked, explorer().plot()->from());
    EXPECT_LE(marked, explorer().plot()->to());

    // The heart-rate table: one row a group, sortable too.
    auto* groups = qobject_cast<HeartRateTableModel*>(explorer().heartRateTable()->model());
    ASSERT_EQ(groups->rowCount(), 167);
    EXPECT_EQ(groups->index(0, HeartRateTableModel::Values).data().toString(),
              QStringLiteral("60,61,62"));
    EXPECT_EQ(groups->index(0, HeartRateTableModel::Mean).data().toString(),
              QStringLiteral("61.0"));
    explorer().heartRateTable()->sortByColumn(HeartRateTableModel::Highest, Qt::DescendingOrder);
    EXPECT_EQ(groups->index(0, HeartRateTableModel::Highest).data().toInt(), 81);
}

TEST_F(ExplorerFixture, TheMouseZoomsPansAndZoomsToASpan)
{
    frame().document().replaceData(herd(2000), false);
    ExplorerPlotView& plot = *explorer().plot();
    explorer().resize(1300, 900);
    QApplication::processEvents();
    plot.grab(); // lays the plot out
    const auto full = std::pair{plot.from(), plot.to()};
    EXPECT_EQ(full.first, CivilTime::fromFields(2024, 4, 5, 12, 1, 0).seconds());
    const auto& layout = plot.layout();
    ASSERT_GT(layout.plot.width(), 100);

    // The wheel zooms in around the mouse: the moment under it stays put.
    const QPoint at(layout.plot.left() + layout.plot.width() / 4, layout.plot.center().y());
    const std::int64_t under = layout.timeAt(at.x());
    QWheelEvent wheel(at, plot.mapToGlobal(at), {}, QPoint(0, 240), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&plot, &wheel);
    const std::int64_t span = plot.to() - plot.from() + 1;
    EXPECT_NEAR(static_cast<double>(span), (full.second - full.first + 1) * 0.64, 120.0);
    plot.grab();
    EXPECT_NEAR(static_cast<double>(plot.layout().timeAt(at.x())), static_cast<double>(under),
                plot.layout().secondsPerPixel() * 2 + 2);

    // Dragging to the left moves later in time by as much as was dragged.
    const std::int64_t before = plot.from();
    const double spp = plot.layout().secondsPerPixel();
    QTest::mousePress(&plot, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseMove(&plot, at - QPoint(100, 0));
    QTest::mouseRelease(&plot, Qt::LeftButton, Qt::NoModifier, at - QPoint(100, 0));
    EXPECT_NEAR(static_cast<double>(plot.from() - before), 100 * spp, spp + 1);

    // Shift+drag draws a span and shows just that.
    plot.grab();
    const auto& now = plot.layout();
    const QPoint a(now.plot.left() + 200, now.plot.center().y());
    const QPoint b(now.plot.left() + 500, now.plot.center().y());
    const std::int64_t ta = now.timeAt(a.x());
    const std::int64_t tb = now.timeAt(b.x() + 1) - 1;
    QTest::mousePress(&plot, Qt::LeftButton, Qt::ShiftModifier, a);
    QTest::mouseMove(&plot, b);
    QTest::mouseRelease(&plot, Qt::LeftButton, Qt::ShiftModifier, b);
    EXPECT_EQ(plot.from(), ta);
    EXPECT_EQ(plot.to(), tb);

    // A plain click picks the record under the mouse in the table.
    plot.grab();
    const QPoint click(plot.layout().plot.left() + 150, plot.layout().plot.center().y());
    const std::int64_t clicked = plot.layout().timeAt(click.x() + 0.5);
    QTest::mouseClick(&plot, Qt::LeftButton, Qt::NoModifier, click);
    const QModelIndex picked = explorer().recordTable()->currentIndex();
    ASSERT_TRUE(picked.isValid());
    const std::int64_t pickedTime =
        explorer().data()->index().recordTime(records().recordAt(picked.row()));
    EXPECT_LE(std::abs(pickedTime - clicked), 30);

    // A double click, or Show all, brings back everything; the range never
    // leaves the data.
    QTest::mouseDClick(&plot, Qt::LeftButton, Qt::NoModifier, click);
    EXPECT_EQ(std::pair(plot.from(), plot.to()), full);
    plot.zoom(4.0);
    EXPECT_EQ(std::pair(plot.from(), plot.to()), full);
    plot.setRange(full.first - 86400, full.first);
    EXPECT_EQ(plot.from(), full.first);
    QTest::keyClick(&plot, Qt::Key_Plus);
    EXPECT_LT(plot.to() - plot.from(), full.second - full.first);
    QTest::keyClick(&plot, Qt::Key_Home);
    EXPECT_EQ(std::pair(plot.from(), plot.to()), full);
}

TEST_F(ExplorerFixture, EpisodesAreListedAndAClickShowsOne)
{
    const DataDocument weeks = DemoDownload::make(QDate(2024, 3, 4), 21);
    frame().document().replaceData(weeks, false);
    const RecordIndex index(weeks, CivilTime::fromDateTime(pump.currentDateTime()));
    const auto expected = FeverEpisodes::find(index);
    ASSERT_EQ(expected.size(), 2U);
    QTreeWidget* list = explorer().episodeList();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(1)->text(0),
              CivilTime::fromSeconds(expected[1].start).toString().left(16));
    EXPECT_EQ(list->topLevelItem(1)->text(2),
              QStringLiteral("%1").arg(expected[1].peakCelsius(), 0, 'f', 2));

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->topLevelItem(1)).center());
    const ExplorerPlotView& plot = *explorer().plot();
    EXPECT_LT(plot.from(), expected[1].start);
    EXPECT_GT(plot.to(), expected[1].end);
    EXPECT_LT(plot.to() - plot.from(), 4 * (expected[1].end - expected[1].start));
    // The table shows the episode's first reading above.
    const QModelIndex current = explorer().recordTable()->currentIndex();
    ASSERT_TRUE(current.isValid());
    EXPECT_EQ(explorer().data()->index().recordTime(records().recordAt(current.row())),
              expected[1].start);
    // The figures are those of the range shown.
    const RangeStatistics s = RangeStatistics::compute(index, plot.from(), plot.to());
    EXPECT_TRUE(explorer().statisticsText().contains(
        QStringLiteral("highest: %1 °C").arg(s.bodyMax, 0, 'f', 2)))
        << explorer().statisticsText().toStdString();
    EXPECT_TRUE(
        explorer().statisticsText().startsWith(QStringLiteral("Records: %1\n").arg(s.records)));

    // Criteria of the user's: a lower threshold finds more; longer finds fewer.
    auto* threshold = explorer().findChild<QDoubleSpinBox*>(QStringLiteral("FeverThreshold"));
    auto* hours = explorer().findChild<QDoubleSpinBox*>(QStringLiteral("FeverMinimumHours"));
    ASSERT_NE(threshold, nullptr);
    ASSERT_NE(hours, nullptr);
    hours->setValue(10);
    EXPECT_EQ(list->topLevelItemCount(), 1);
    hours->setValue(2);
    threshold->setValue(41.5);
    EXPECT_EQ(list->topLevelItemCount(), 0);
    EXPECT_EQ(explorer().plot()->options().criteria.aboveCelsius, 41.5);
}

TEST_F(ExplorerFixture, ExportsWriteThePlotAndTheShownRange)
{
    const QString cow = saveAs(QStringLiteral("Cow12.bin"), herd(600));
    ASSERT_TRUE(frame().openDataFile(cow));
    QStringList asked;
    QString answer;
    DataExplorerServices services{
        frame().printer(), prompts,
        [this] { return CivilTime::fromDateTime(pump.currentDateTime()); },
        [&](const QString& caption, const QString& suggestion, const QString&) {
            asked << caption + QStringLiteral(" | ") + suggestion;
            return answer;
        }};
    CDataExplorerWnd window(frame().document(), std::move(services), &frame());
    window.show();
    const std::int64_t from = CivilTime::fromFields(2024, 4, 5, 13, 0, 0).seconds();
    const std::int64_t to = CivilTime::fromFields(2024, 4, 5, 15, 59, 59).seconds();
    window.plot()->setRange(from, to);
    ASSERT_EQ(window.plot()->from(), from);
    ASSERT_EQ(window.plot()->to(), to);

    // Cancelled: nothing written, nothing said.
    EXPECT_FALSE(window.exportPicture());
    EXPECT_FALSE(window.exportRange());
    EXPECT_EQ(asked,
              (QStringList{"Save the plot as a picture | " + dataRoot.filePath("Cow12 plot.png"),
                           "Save the shown range as CSV | " +
                               dataRoot.filePath("Cow12BT 2024-04-05 to 2024-04-05.csv")}));

    answer = dataRoot.filePath(QStringLiteral("plot.png"));
    ASSERT_TRUE(window.exportPicture());
    const QImage picture(answer);
    EXPECT_GE(picture.width(), 1600);
    EXPECT_GE(picture.height(), 900);
    EXPECT_EQ(picture.pixelColor(2, 2), QColor(Qt::white));

    answer = dataRoot.filePath(QStringLiteral("range.csv"));
    ASSERT_TRUE(window.exportRange());
    const QString expected = dataRoot.filePath(QStringLiteral("expected.csv"));
    ASSERT_TRUE(CsvExport::writeRecords(frame().document().data(), expected,
                                        window.data()->index().pcClock(), from, to));
    QFile got(answer);
    QFile want(expected);
    ASSERT_TRUE(got.open(QIODevice::ReadOnly));
    ASSERT_TRUE(want.open(QIODevice::ReadOnly));
    const QByteArray lines = got.readAll();
    EXPECT_EQ(lines, want.readAll());
    EXPECT_EQ(lines.count('\n'), 1 + 180); // the header, then 13:00 to 15:59
    EXPECT_TRUE(lines.contains("\r\n12,2024-04-05 13:00:00,"));
    EXPECT_FALSE(lines.contains("12:59:00"));

    // A place that cannot be written is said so.
    EXPECT_TRUE(prompts.messages().isEmpty());
    answer = dataRoot.filePath(QStringLiteral("no/such/folder/plot.png"));
    EXPECT_FALSE(window.exportPicture());
    EXPECT_EQ(prompts.messages(),
              QStringList{QStringLiteral("Error: Can not write the picture %1!").arg(answer)});
}

TEST_F(ExplorerFixture, ThePrintedTableHasItsTitleHeadersUnitsAndPageNumbers)
{
    frame().document().replaceData(herd(400), false);
    CDataExplorerWnd& window = explorer();
    auto pdfPrinter = [&](const QString& name) {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(dataRoot.filePath(name));
        return printer;
    };

    // All records, in the table's order, page after page.
    auto all = pdfPrinter(QStringLiteral("all.pdf"));
    const int pages = window.printTable(*all, false);
    all.reset();
    ASSERT_GE(pages, 3);
    const QString pdf = dataRoot.filePath(QStringLiteral("all.pdf"));
    const QString first = pdfText(pdf, 1, 1);
    EXPECT_TRUE(first.contains(QStringLiteral("Logger 21 · Implant 12"))) << first.toStdString();
    EXPECT_TRUE(first.contains(
        QStringLiteral("All records: 2024-04-05 12:01:00 to 2024-04-05 18:40:00, 400 records")));
    for (const char* header : {"Body temp.", "Collar temp.", "Activity", "Head down",
                               "Head changes", "°C", "count", "local time"})
        EXPECT_TRUE(first.contains(QString::fromUtf8(header))) << header;
    EXPECT_TRUE(first.contains(QStringLiteral("Page 1 of %1").arg(pages)));
    EXPECT_TRUE(pdfText(pdf, pages, pages).contains(QStringLiteral("Page %1 of %1").arg(pages)));
    QStringList every;
    for (int page = 1; page <= pages; ++page)
        every += datesIn(pdfText(pdf, page, page));
    ASSERT_EQ(every.size(), 400); // each record once, none cut between pages
    for (int i = 1; i < every.size(); ++i)
        ASSERT_LT(every[i - 1], every[i]) << i;

    // The shown range only, in the table's sorted order.
    window.plot()->setRange(CivilTime::fromFields(2024, 4, 5, 13, 0, 0).seconds(),
                            CivilTime::fromFields(2024, 4, 5, 13, 29, 59).seconds());
    window.recordTable()->sortByColumn(RecordTableModel::Date, Qt::DescendingOrder);
    auto range = pdfPrinter(QStringLiteral("range.pdf"));
    EXPECT_EQ(window.printTable(*range, true), 1);
    range.reset();
    const QString shown = pdfText(dataRoot.filePath(QStringLiteral("range.pdf")));
    EXPECT_TRUE(shown.contains(
        QStringLiteral("Shown range: 2024-04-05 13:00:00 to 2024-04-05 13:29:00, 30 records")));
    const QStringList dates = datesIn(shown);
    ASSERT_EQ(dates.size(), 30);
    EXPECT_EQ(dates.front(), QStringLiteral("2024-04-05 13:29:00"));
    EXPECT_EQ(dates.back(), QStringLiteral("2024-04-05 13:00:00"));
    EXPECT_TRUE(shown.contains(QStringLiteral("Page 1 of 1")));

    // A preview stops early, and says that printing prints everything.
    auto preview = pdfPrinter(QStringLiteral("preview.pdf"));
    EXPECT_EQ(window.printTable(*preview, false, 2), 2);
    preview.reset();
    EXPECT_TRUE(pdfText(dataRoot.filePath(QStringLiteral("preview.pdf")), 2, 2)
                    .contains(QStringLiteral("printing prints all %1 pages").arg(pages)));
}

TEST_F(ExplorerFixture, ALongPrintAsksFirst)
{
    frame().document().replaceData(DemoDownload::make(QDate(2024, 3, 4), 21), false);
    CDataExplorerWnd& window = explorer();
    QPrinter& printer = frame().printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = dataRoot.filePath(QStringLiteral("long.pdf"));
    printer.setOutputFileName(pdf);
    bool opened = false;
    whenModalOpens<QPrintDialog>([](QPrintDialog& dialog) { dialog.accept(); }, &opened);
    prompts.answerYesNo(YesNoAnswer::No);
    window.printWithDialog(false);
    EXPECT_TRUE(opened);
    ASSERT_EQ(prompts.questions().size(), 1);
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral(R"(^The table fills \d{3} pages\. Print all of them\?$)"))
            .match(prompts.questions().front())
            .hasMatch())
        << prompts.questions().front().toStdString();
    EXPECT_FALSE(QFile::exists(pdf));

    // A short range prints without a question.
    prompts.clear();
    window.plot()->setRange(CivilTime::fromFields(2024, 3, 10, 6, 0, 0).seconds(),
                            CivilTime::fromFields(2024, 3, 10, 9, 59, 59).seconds());
    whenModalOpens<QPrintDialog>([](QPrintDialog& dialog) { dialog.accept(); });
    window.printWithDialog(true);
    EXPECT_TRUE(prompts.questions().isEmpty());
    EXPECT_EQ(datesIn(pdfText(pdf)).size(), 240);
}
