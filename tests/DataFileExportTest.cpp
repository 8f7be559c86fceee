#include "data/CsvExport.h"
#include "data/DataFile.h"
#include "data/DataStreamDecoder.h"
#include "tests/support/StreamBuilder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <functional>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <sys/stat.h>
#endif

namespace {

const CivilTime PcClock = CivilTime::fromFields(2024, 3, 3, 9, 0, 0);

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray fileBytes(const DataDocument& doc)
{
    return QByteArray(reinterpret_cast<const char*>(DataFile::Signature.data()), 9) + doc.bytes();
}

#ifdef Q_OS_UNIX
// Runs `write` while no file may grow beyond `bytes`, as on a full stick.
bool withFilesLimitedTo(rlim_t bytes, const std::function<bool()>& write)
{
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
    const bool result = write();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    return result;
}

#endif

} // namespace

TEST(CsvExport, TemperaturesMatchPrintfForEveryRawValue)
{
    for (int raw = -32768; raw <= 32767; ++raw) {
        char expected[32];
        std::snprintf(expected, sizeof expected, "%3.2f",
                      static_cast<double>(static_cast<float>(raw) / 256.0F));
        char got[16];
        const std::size_t n = CsvExport::formatTemperature(static_cast<std::int16_t>(raw), got);
        ASSERT_EQ(std::string(got, n), std::string(expected)) << raw;
    }
}

TEST(CsvExport, ExportNamesSitBesideTheDataFileAndDiffer)
{
    const struct {
        const char* data;
        const char* bt;
        const char* hb;
    } cases[] = {
        {"/d/Cow12.bin", "/d/Cow12BT.csv", "/d/Cow12HB.csv"},
        {"/d/herd.2024/Cow12.bin", "/d/herd.2024/Cow12BT.csv", "/d/herd.2024/Cow12HB.csv"},
        {"/d/Cow.12.bin", "/d/Cow.12BT.csv", "/d/Cow.12HB.csv"},
        {"/d/Cow12", "/d/Cow12BT.csv", "/d/Cow12HB.csv"},
        {"/d/Cow12.binary", "/d/Cow12BT.csv", "/d/Cow12HB.csv"},
        {"/d/Cow12.b", "/d/Cow12BT.csv", "/d/Cow12HB.csv"},
        {"Cow12.bin", "Cow12BT.csv", "Cow12HB.csv"},
        {"/d/.bin", "/d/.binBT.csv", "/d/.binHB.csv"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CsvExport::exportPath(QString::fromLatin1(c.data), QStringLiteral("BT")),
                  QString::fromLatin1(c.bt));
        EXPECT_EQ(CsvExport::exportPath(QString::fromLatin1(c.data), QStringLiteral("HB")),
                  QString::fromLatin1(c.hb));
    }
}

TEST(CsvExport, FilesByteForByte)
{
    QTemporaryDir dir;
    const DataDocument doc =
        StreamBuilder()
            .timestamp(9, 5, 14, 3, 3, 21)
            .record(38 * 256 + 128, 37 * 256 + 64, 512, 30, 4)
            .bytes({62, 64, 63, 200})
            .record(0, 37 * 256 + 64, 512, 30, 4)
            .bytes({0xAA, 0xAA, 0x01, 0x77}) // empty group, then one still open
            .bytes({0x00})
            .document(12, 0);
    const QString bt = dir.filePath(QStringLiteral("xBT.csv"));
    const QString hb = dir.filePath(QStringLiteral("xHB.csv"));
    ASSERT_TRUE(CsvExport::write(doc, bt, hb, PcClock));
    EXPECT_EQ(readAll(bt),
              QByteArray("Id,Date,BodyTemp,CollarTemp,Activity,DurHeadDown,ChangesHeadPos\r\n"
                         "12,2021-03-03 14:05:09,38.50,37.25,512,30,4\r\n"
                         "12,2021-03-03 14:05:09,,37.25,512,30,4\r\n"
                         "\r"));
    EXPECT_EQ(readAll(hb), QByteArray("Id,Date,\r\n"
                                      "12,2021-03-03 14:05:09,62,64,63\r\n"
                                      "12,2021-03-03 14:05:09\r\n"
                                      "12,2021-03-03 14:05:09,119"
                                      "\r"));
}

TEST(CsvExport, AnEmptyStreamGivesHeadersAndTheFinalReturn)
{
    QTemporaryDir dir;
    const QString bt = dir.filePath(QStringLiteral("aBT.csv"));
    const QString hb = dir.filePath(QStringLiteral("aHB.csv"));
    ASSERT_TRUE(CsvExport::write(StreamBuilder().document(), bt, hb, PcClock));
    EXPECT_EQ(readAll(bt),
              QByteArray("Id,Date,BodyTemp,CollarTemp,Activity,DurHeadDown,ChangesHeadPos\r\n\r"));
    EXPECT_EQ(readAll(hb), QByteArray("Id,Date,\r\n\r"));
    QString error;
    EXPECT_FALSE(CsvExport::write(StreamBuilder().document(), QStringLiteral("/proc/no/aBT.csv"),
                                  hb, PcClock, &error));
    EXPECT_EQ(error, QStringLiteral("Error: Can not write the export file /proc/no/aBT.csv!"));
}

TEST(DataFile, SavesAndLoadsTheSameBytes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Cow12.bin"));
    const DataDocument doc =
        StreamBuilder().timestamp(0, 0, 12, 1, 1, 24).record(256, 256, 1, 1, 1).document();
    ASSERT_TRUE(DataFile::save(path, doc));
    EXPECT_EQ(readAll(path), fileBytes(doc));
    const auto loaded = DataFile::load(path);
    ASSERT_TRUE(loaded.document.has_value()) << loaded.error.toStdString();
    EXPECT_EQ(loaded.document->bytes(), doc.bytes());

    // N = 0: 81 bytes on disk, a header-only document.
    const QString empty = dir.filePath(QStringLiteral("empty.bin"));
    ASSERT_TRUE(DataFile::save(empty, StreamBuilder().document()));
    EXPECT_EQ(readAll(empty).size(), 81);
    EXPECT_EQ(DataFile::load(empty).document->size(), 72u);
}

TEST(DataFile, RefusesWhatItCannotReadWhole)
{
    QTemporaryDir dir;
    const DataDocument doc = StreamBuilder().record(256, 256, 1, 1, 1).document();
    const QString wrong = dir.filePath(QStringLiteral("wrong.bin"));
    QByteArray bad = fileBytes(doc);
    bad[3] = 0x00;
    writeFile(wrong, bad);
    const QString tiny = dir.filePath(QStringLiteral("tiny.bin"));
    writeFile(tiny, QByteArray("#H4", 3));
    const QString shortFile = dir.filePath(QStringLiteral("short.bin"));
    writeFile(shortFile, fileBytes(doc).left(81 + 5));
    const QString huge = dir.filePath(QStringLiteral("huge.bin"));
    QByteArray hugeBytes = fileBytes(doc);
    hugeBytes[9 + 23] = 0x10; // N of 268 million bytes
    writeFile(huge, hugeBytes);
    const QString longer = dir.filePath(QStringLiteral("longer.bin"));
    writeFile(longer, fileBytes(doc) + QByteArray("trailing junk"));

    EXPECT_EQ(DataFile::load(wrong).error, QStringLiteral("Error: Unsupported file type!"));
    EXPECT_EQ(DataFile::load(tiny).error, QStringLiteral("Error: Unsupported file type!"));
    EXPECT_EQ(DataFile::load(shortFile).error,
              QStringLiteral(
                  "Error: The file short.bin is incomplete: it holds 5 of its 13 data bytes!"));
    EXPECT_TRUE(DataFile::load(huge).error.contains(QStringLiteral("more than any logger holds")));
    EXPECT_TRUE(DataFile::load(dir.filePath(QStringLiteral("none.bin")))
                    .error.startsWith(QStringLiteral("Error: Can not open file")));
    // Bytes past 81 + N are never read.
    ASSERT_TRUE(DataFile::load(longer).document.has_value());
    EXPECT_EQ(DataFile::load(longer).document->bytes(), doc.bytes());
}

// Full disks, failing reads and pipes, as a Unix system makes them.
#ifdef Q_OS_UNIX
TEST(DataFile, ASaveThatFailsHalfWayLeavesTheEarlierFileIntact)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Cow12.bin"));
    StreamBuilder small;
    small.record(256, 256, 1, 1, 1);
    ASSERT_TRUE(DataFile::save(path, small.document()));
    const QByteArray before = readAll(path);

    StreamBuilder big;
    while (big.stream().size() < 64 * 1024)
        big.record(300, 300, 2, 2, 2);
    // Files may grow to 4 KiB only: the new file fails part way, like a full
    // memory stick.
    QString error;
    const bool saved64k =
        withFilesLimitedTo(4096, [&] { return DataFile::save(path, big.document(), &error); });

    EXPECT_FALSE(saved64k);
    EXPECT_EQ(error, QStringLiteral("Error: Can not write the data file %1!").arg(path));
    EXPECT_EQ(readAll(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Cow12.bin")});
}

TEST(CsvExport, APairThatDoesNotFitLeavesTheEarlierPairAsItWas)
{
    QTemporaryDir dir;
    const QString bt = dir.filePath(QStringLiteral("CowBT.csv"));
    const QString hb = dir.filePath(QStringLiteral("CowHB.csv"));
    ASSERT_TRUE(
        CsvExport::write(StreamBuilder().record(9600, 5376, 1, 2, 3).document(), bt, hb, PcClock));
    const QByteArray oldBt = readAll(bt);
    const QByteArray oldHb = readAll(hb);

    // Few records and many heart-rate groups: the new record file fits under
    // the size limit, the new heart-rate file does not.
    StreamBuilder builder;
    builder.timestamp(0, 0, 12, 1, 6, 24).record(9700, 5376, 7, 8, 9);
    for (int i = 0; i < 400; ++i)
        builder.bytes({0xAA, 60, 61, 62, 63, 64, 65, 66, 67});
    const DataDocument doc = builder.document();
    QString error;
    const bool written =
        withFilesLimitedTo(4096, [&] { return CsvExport::write(doc, bt, hb, PcClock, &error); });

    EXPECT_FALSE(written);
    EXPECT_EQ(error, QStringLiteral("Error: Can not write the export file %1!").arg(hb));
    EXPECT_EQ(readAll(bt), oldBt);
    EXPECT_EQ(readAll(hb), oldHb);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              (QStringList{QStringLiteral("CowBT.csv"), QStringLiteral("CowHB.csv")}));
    // Without the limit the same pair is written whole.
    ASSERT_TRUE(CsvExport::write(doc, bt, hb, PcClock));
    EXPECT_TRUE(readAll(bt).contains("37.89"));
    EXPECT_GT(readAll(hb).size(), 4096);
}

TEST(DataFile, AReadErrorIsReportedAsOne)
{
    // Reading this process's memory at address 0 fails with an I/O error, as
    // a failing stick or disk does part way through a file.
    EXPECT_EQ(DataFile::load(QStringLiteral("/proc/self/mem")).error,
              QStringLiteral("Error: Can not read the file /proc/self/mem!"));
}

TEST(DataFile, WhatIsNotAPlainFileIsRefusedAtOnce)
{
    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("cow.bin"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    // Opening a pipe with no writer would wait for ever.
    for (const QString& path : {pipe, dir.path(), QStringLiteral("/dev/zero")})
        EXPECT_EQ(DataFile::load(path).error,
                  QStringLiteral("Error: %1 is not a data file!").arg(path));
}
#endif
