#include "app/CVelmoraDoc.h"
#include "data/CVelmoraView.h"
#include "data/DataFile.h"
#include "tests/support/MainFrameFixture.h"
#include "tests/support/StreamBuilder.h"

#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

namespace {

DataDocument herd(int records)
{
    StreamBuilder builder;
    builder.timestamp(0, 0, 12, 5, 4, 24);
    for (int i = 0; i < records; ++i) {
        builder.record(38 * 256 + i % 200, 21 * 256, 100 + i, 1, 2);
        if (i % 3 == 0)
            builder.bytes({60, 61, 62});
    }
    builder.bytes({0xAA});
    return builder.document(12, 4);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int inkPixels(const QImage& image)
{
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += qGray(image.pixel(x, y)) < 128;
    return ink;
}

} // namespace

TEST_F(MainFrameFixture, OpeningADataFileShowsItInBothPanes)
{
    const QString path = dataRoot.filePath(QStringLiteral("Cow12.bin"));
    ASSERT_TRUE(DataFile::save(path, herd(40)));
    frame().resize(900, 600);
    const int blank = inkPixels(frame().leftPane()->viewport()->grab().toImage());
    ASSERT_TRUE(frame().openDataFile(path));
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Cow12.bin - Harvane"));
    EXPECT_TRUE(frame().document().hasData());
    EXPECT_FALSE(frame().document().isModified());
    EXPECT_EQ(recent.entries().value(0), path);
    EXPECT_EQ(frame().leftPane()->mode(), CVelmoraView::Mode::Scroll);
    EXPECT_GT(inkPixels(frame().leftPane()->viewport()->grab().toImage()), blank + 500);
    EXPECT_GT(inkPixels(frame().rightPane()->viewport()->grab().toImage()), 500);

    // A file of another kind is refused and the shown data stay.
    const QString other = dataRoot.filePath(QStringLiteral("notes.bin"));
    QFile file(other);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Just some notes, not logger data.");
    file.close();
    EXPECT_FALSE(frame().openDataFile(other));
    EXPECT_EQ(prompts.messages(), QStringList{QStringLiteral("Error: Unsupported file type!")});
    EXPECT_EQ(frame().document().data().bytes(), herd(40).bytes());
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Cow12.bin - Harvane"));
}

TEST_F(MainFrameFixture, ADownloadStretchesTheLeftPaneAndOpeningScrollsAgain)
{
    frame().document().replaceData(herd(10), true);
    EXPECT_EQ(frame().leftPane()->mode(), CVelmoraView::Mode::ScaleToFit);
    EXPECT_EQ(frame().rightPane()->mode(), CVelmoraView::Mode::Scroll);
    const QString path = dataRoot.filePath(QStringLiteral("read.bin"));
    ASSERT_TRUE(DataFile::save(path, herd(10)));
    ASSERT_TRUE(frame().openDataFile(path));
    EXPECT_EQ(frame().leftPane()->mode(), CVelmoraView::Mode::Scroll);
}

TEST_F(MainFrameFixture, SaveAsWritesTheDataFileAndBothExports)
{
    QString asked;
    frameHolder.reset();
    MainFrameServices services{pump, prompts, ports, link, folders, recent};
    const QString target = dataRoot.filePath(QStringLiteral("Cow7.bin"));
    services.chooseFile = [&](bool save, const QString&) {
        asked = save ? QStringLiteral("save") : QStringLiteral("open");
        return target;
    };
    frameHolder = std::make_unique<CMainFrame>(std::move(services));

    frame().command(MainCommand::Save)->trigger(); // nothing loaded
    EXPECT_EQ(prompts.messages(),
              QStringList{QStringLiteral("No current logger data to be saved to file!")});
    EXPECT_FALSE(QFile::exists(target));

    prompts.clear();
    frame().document().replaceData(herd(5), true);
    frame().document().setModifiedFlag(true);
    frame().command(MainCommand::Save)->trigger(); // untitled: asks for a name first
    EXPECT_EQ(asked, QStringLiteral("save"));
    EXPECT_TRUE(prompts.messages().isEmpty())
        << prompts.messages().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(readAll(target).mid(9), herd(5).bytes());
    EXPECT_TRUE(
        readAll(dataRoot.filePath(QStringLiteral("Cow7BT.csv"))).startsWith("Id,Date,BodyTemp"));
    EXPECT_TRUE(
        readAll(dataRoot.filePath(QStringLiteral("Cow7HB.csv"))).startsWith("Id,Date,\r\n12,"));
    EXPECT_FALSE(frame().document().isModified());
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Cow7.bin - Harvane"));
}

TEST_F(MainFrameFixture, PrintingFillsAtMostSixPagesEachContinuingTheLast)
{
    frame().document().replaceData(herd(3000), false);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = dataRoot.filePath(QStringLiteral("print.pdf"));
    printer.setOutputFileName(pdf);
    EXPECT_EQ(frame().leftPane()->printRecords(printer), 6);

    auto pageDates = [&](int page) {
        QProcess text;
        text.start(QStringLiteral("pdftotext"),
                   {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                    QString::number(page), pdf, QStringLiteral("-")});
        text.waitForFinished(30'000);
        QStringList dates;
        const QRegularExpression date(QStringLiteral(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)"));
        auto matches = date.globalMatch(QString::fromUtf8(text.readAllStandardOutput()));
        while (matches.hasNext())
            dates.append(matches.next().captured());
        return dates;
    };
    const QStringList first = pageDates(1);
    const QStringList second = pageDates(2);
    ASSERT_FALSE(first.isEmpty());
    ASSERT_FALSE(second.isEmpty());
    const int perPage = CVelmoraView::linesPerPage(printer);
    EXPECT_EQ(first.size(), perPage);
    const QDateTime last =
        QDateTime::fromString(first.back(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    const QDateTime next =
        QDateTime::fromString(second.front(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    EXPECT_EQ(last.secsTo(next), 60); // the next record, neither repeated nor skipped
    EXPECT_TRUE(pageDates(7).isEmpty());

    // A short list takes only the pages it needs.
    frame().document().replaceData(herd(5), false);
    QPrinter shortPrinter(QPrinter::HighResolution);
    shortPrinter.setOutputFormat(QPrinter::PdfFormat);
    shortPrinter.setOutputFileName(dataRoot.filePath(QStringLiteral("short.pdf")));
    EXPECT_EQ(frame().leftPane()->printRecords(shortPrinter), 1);
}
