#include "app/DataFolders.h"
#include "data/COmbrelRepeaterDataReadDlg.h"
#include "data/DataFile.h"
#include "link/CommandCode.h"
#include "sim/SimulatedDeviceLink.h"
#include "sim/SimulatedLogger.h"
#include "sim/SimulatedPump.h"
#include "tests/support/ConfigDialogFixture.h"
#include "tests/support/RecordingLink.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

namespace {

std::vector<std::uint8_t> pattern(std::size_t n)
{
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return bytes;
}

void announce(SimulatedLogger& logger, std::uint32_t n)
{
    for (int i = 0; i < 4; ++i)
        logger.status()[20 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(n >> (8 * i));
}

} // namespace

// The read-data dialog on the simulated logger.
struct ReadDataFixture : ConfigDialogFixture {
    bool saveAnswer = true;
    int saveQuestions = 0;
    std::optional<DataDocument> installed;
    std::unique_ptr<COmbrelRepeaterDataReadDlg> reader;

    ReadDataFixture()
    {
        pump.setCurrentDateTime(QDateTime(QDate(2021, 3, 3), QTime(14, 5, 9)));
        logger.status()[46] = 12;
        logger.status()[47] = 7;
        ReadDataProcedure::Hooks hooks;
        hooks.saveModified = [this] {
            ++saveQuestions;
            return saveAnswer;
        };
        hooks.installData = [this](DataDocument data) { installed = std::move(data); };
        reader = std::make_unique<COmbrelRepeaterDataReadDlg>(context(), std::move(hooks));
    }
    QByteArray written() const
    {
        QFile file(reader->procedure().lastFilePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    bool sentDump() const
    {
        const auto codes = link.codes();
        return std::find(codes.begin(), codes.end(), CommandCode::DumpMemory) != codes.end();
    }
};

TEST_F(ReadDataFixture, AWholeMemoryBecomesAFileAndTheDocument)
{
    logger.setMemory(pattern(5000));
    logger.status()[46] = 12;
    const std::int64_t start = pump.nowMs();
    reader->readButton()->click();
    EXPECT_TRUE(prompts.messages().isEmpty())
        << prompts.messages().join(QLatin1Char('|')).toStdString();
    const QString path = reader->procedure().lastFilePath();
    EXPECT_EQ(QFileInfo(path).dir().dirName(), QStringLiteral("ReadData"));
    EXPECT_TRUE(
        QFileInfo(path).fileName().startsWith(QStringLiteral("ImpID12LogID7_2021-03-03_14h05m")))
        << path.toStdString();
    const QByteArray file = written();
    ASSERT_EQ(file.size(), 81 + 5000);
    const auto memory = pattern(5000);
    EXPECT_EQ(file.mid(81), QByteArray(reinterpret_cast<const char*>(memory.data()), 5000));
    ASSERT_TRUE(installed.has_value());
    EXPECT_EQ(installed->bytes(), file.mid(9));
    // About 0.7 s of identify, status and drains, then the line rate; no
    // 2-second stall at the end.
    EXPECT_LT(pump.nowMs() - start, 750 + 5000 * 1000 / 5760 + 1000);
    EXPECT_EQ(reader->progressText()->text().left(20), QStringLiteral("5000 of 5000 bytes ·"));
    EXPECT_TRUE(reader->readButton()->isEnabled());
    EXPECT_TRUE(reader->okButton()->isEnabled());
    EXPECT_FALSE(reader->okButton()->isVisible());
    EXPECT_FALSE(reader->abortButton()->isEnabled());
}

TEST_F(ReadDataFixture, AnEmptyMemoryGivesAHeaderOnlyFile)
{
    logger.setMemory({});
    reader->readButton()->click();
    EXPECT_EQ(written().size(), 81);
    EXPECT_TRUE(
        reader->summaryText()->toPlainText().contains(QStringLiteral("Used Memory: \t0.000000 %")));
    EXPECT_TRUE(prompts.messages().isEmpty());
}

TEST_F(ReadDataFixture, NMinusOneBytesEndWithoutTheStall)
{
    logger.setMemory(pattern(999));
    announce(logger, 1000);
    const std::int64_t start = pump.nowMs();
    reader->readButton()->click();
    EXPECT_LT(pump.nowMs() - start, 1500);
    EXPECT_TRUE(prompts.messages().isEmpty());
    EXPECT_EQ(written().size(), 81 + 1000);
}

TEST_F(ReadDataFixture, AStallEndsAfterTwoSecondsAndSaysWhatIsMissing)
{
    logger.setMemory(pattern(3000));
    announce(logger, 5000);
    const std::int64_t start = pump.nowMs();
    reader->readButton()->click();
    EXPECT_GE(pump.nowMs() - start, 300 + 3000 * 1000 / 5760 + 2000);
    EXPECT_EQ(prompts.messages(),
              QStringList{QStringLiteral(
                  "The logger stopped sending: 2000 of 5000 data bytes never arrived. "
                  "They are written as 0xFF.")});
    const QByteArray file = written();
    ASSERT_EQ(file.size(), 81 + 5000);
    EXPECT_EQ(file.mid(81 + 3000), QByteArray(2000, static_cast<char>(0xFF)));
    EXPECT_EQ(reader->procedure().lastMissingBytes(), 2000u);
}

TEST_F(ReadDataFixture, BytesBeyondNAreCountedButNotStored)
{
    logger.setMemory(pattern(1000));
    logger.setDumpExtraBytes(150);
    reader->readButton()->click();
    EXPECT_EQ(reader->procedure().lastBytesRead(), 1150u);
    EXPECT_EQ(written().size(), 81 + 1000);
}

TEST_F(ReadDataFixture, TheSummaryUsesTheCapacitySelector)
{
    logger.setMemory(pattern(2000));
    for (const std::uint8_t selector : {std::uint8_t{2}, std::uint8_t{3}}) {
        logger.status()[4] = 0;
        logger.status()[5] = selector;
        reader->readButton()->click();
        const float percent = 2000.0F / (selector == 3 ? 67104864.0F : 33552432.0F) * 100.0F;
        EXPECT_EQ(reader->summaryText()->toPlainText(),
                  ReadDataProcedure::summary(7, 12, percent)
                      .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }
}

TEST_F(ReadDataFixture, LoggingIsRefusedAfterTheSummaryIsShown)
{
    logger.setMemory(pattern(100));
    logger.status()[50] |= 0x01;
    reader->readButton()->click();
    EXPECT_EQ(prompts.messages(),
              QStringList{QStringLiteral("Please turn off logging before reading data!")});
    EXPECT_TRUE(reader->summaryText()->toPlainText().startsWith(
        QStringLiteral("Logger ID: \t7\nImplant ID: \t12")));
    EXPECT_FALSE(sentDump());
    EXPECT_FALSE(installed.has_value());
}

TEST_F(ReadDataFixture, UnsavedDataAreOfferedForSavingFirst)
{
    saveAnswer = false; // the user cancels
    reader->readButton()->click();
    EXPECT_EQ(saveQuestions, 1);
    EXPECT_TRUE(link.writes().empty());
    EXPECT_TRUE(reader->readButton()->isEnabled());
}

TEST_F(ReadDataFixture, AnAbortKeepsWhatArrivedAndSaysWhatIsMissing)
{
    logger.setMemory(pattern(20'000));
    pump.at(pump.nowMs() + 1500, [this] { reader->abortButton()->click(); });
    reader->readButton()->click();
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages()[0].startsWith(QStringLiteral("Reading was aborted: ")));
    const QByteArray file = written();
    EXPECT_EQ(file.size(), 81 + 20'000);
    const auto memory = pattern(20'000);
    const std::uint32_t got = 20'000 - reader->procedure().lastMissingBytes();
    EXPECT_GT(got, 4000u);
    EXPECT_LT(got, 20'000u);
    EXPECT_EQ(
        file.mid(81, static_cast<qsizetype>(got)),
        QByteArray(reinterpret_cast<const char*>(memory.data()), static_cast<qsizetype>(got)));
    EXPECT_TRUE(installed.has_value());
}

TEST_F(ReadDataFixture, AFileThatCannotBeCreatedIsReportedAndTheDataKept)
{
    QFile blocker(dataRoot.filePath(QStringLiteral("ReadData")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    logger.setMemory(pattern(500));
    reader->readButton()->click();
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(
        prompts.messages()[0].startsWith(QStringLiteral("Error: Can not write the data file")));
    ASSERT_TRUE(installed.has_value());
    EXPECT_EQ(installed->size(), 72u + 500u);
}

TEST_F(ReadDataFixture, NoLoggerOrNoPortGiveTheirMessages)
{
    logger.faults().silent = true;
    reader->readButton()->click();
    EXPECT_EQ(prompts.messages(),
              QStringList{QStringLiteral("No communication, please check connection to logger!")});
    prompts.clear();
    deviceLink.close();
    reader->readButton()->click();
    EXPECT_EQ(prompts.messages(), QStringList{QStringLiteral("Please choose a COM port first!")});
}

// A reader whose file goes to a place of the caller's choosing, as
// `harvane-cli read-data -o` asks.
struct ReadDataToTargetFixture : ReadDataFixture {
    void useTarget(const QString& target)
    {
        ReadDataProcedure::Hooks hooks;
        hooks.targetPath = target;
        hooks.installData = [this](DataDocument data) { installed = std::move(data); };
        reader = std::make_unique<COmbrelRepeaterDataReadDlg>(context(), std::move(hooks));
    }
};

TEST_F(ReadDataToTargetFixture, ATargetThatCannotBeWrittenIsRefusedBeforeAnythingIsSent)
{
    logger.setMemory(pattern(500));
    useTarget(QStringLiteral("/no/such/dir/x.bin"));
    reader->readButton()->click();
    EXPECT_EQ(prompts.messages(), QStringList{QStringLiteral(
                                      "Error: Can not write the data file /no/such/dir/x.bin!")});
    EXPECT_TRUE(link.writes().empty());
    EXPECT_FALSE(installed.has_value());
    EXPECT_TRUE(reader->readButton()->isEnabled());
}

TEST_F(ReadDataToTargetFixture, ATargetThatFailsAtTheEndSendsTheDataToReadData)
{
    logger.setMemory(pattern(500));
    QTemporaryDir elsewhere;
    const QString folder = elsewhere.filePath(QStringLiteral("stick"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString target = QDir(folder).filePath(QStringLiteral("cow.bin"));
    useTarget(target);
    // The stick is pulled while the data come in.
    pump.at(pump.nowMs() + 600, [&] { QDir(folder).removeRecursively(); });
    reader->readButton()->click();
    const QString kept = reader->procedure().lastFilePath();
    EXPECT_EQ(QFileInfo(kept).dir().dirName(), QStringLiteral("ReadData"));
    EXPECT_EQ(written().size(), 81 + 500);
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages()[0].contains(QDir::toNativeSeparators(kept)));
    EXPECT_TRUE(reader->procedure().lastComplete());
}

TEST_F(ReadDataFixture, TheProgressBarCountsBytes)
{
    logger.setMemory(pattern(700)); // under one kilobyte
    reader->readButton()->click();
    EXPECT_EQ(reader->progressBar()->maximum(), 700);
    EXPECT_EQ(reader->progressBar()->value(), 700);

    logger.setMemory(pattern(1000));
    announce(logger, 5000); // stalls after 1000 of 5000
    reader->readButton()->click();
    EXPECT_EQ(reader->progressBar()->maximum(), 5000);
    EXPECT_EQ(reader->progressBar()->value(), 1000);
    EXPECT_FALSE(reader->procedure().lastComplete());
}

TEST_F(ReadDataFixture, EnterClosesTheDialogOnlyOnceOkIsEnabled)
{
    logger.setMemory(pattern(100));
    reader->show();
    QTest::keyClick(reader.get(), Qt::Key_Return);
    EXPECT_TRUE(reader->isVisible()); // nothing to close on yet
    reader->readButton()->click();
    ASSERT_TRUE(reader->okButton()->isEnabled());
    QTest::keyClick(reader.get(), Qt::Key_Return);
    EXPECT_FALSE(reader->isVisible());
    EXPECT_EQ(reader->result(), QDialog::Accepted);
}

TEST_F(ReadDataFixture, WhatArrivesIsOnTheDiskWhileTheDumpRuns)
{
    const auto memory = pattern(40'000); // about 7 s at the line rate
    logger.setMemory(memory);
    std::optional<DataFile::Loaded> midway;
    QString partialPath;
    pump.at(pump.nowMs() + 5000, [&] {
        partialPath = reader->procedure().lastPartialPath();
        // As a program that crashed now would have left it.
        midway = DataFile::load(partialPath);
    });
    reader->readButton()->click();

    ASSERT_TRUE(midway.has_value());
    ASSERT_TRUE(midway->document.has_value()) << midway->error.toStdString();
    const DataDocument& kept = *midway->document;
    const std::size_t count = kept.header().usedMemoryBytes();
    EXPECT_GT(count, 10'000u); // about 4 s of data, up to the last checkpoint
    EXPECT_LT(count, 40'000u);
    EXPECT_EQ(kept.stream().size(), count);
    EXPECT_TRUE(std::equal(kept.stream().begin(), kept.stream().end(), memory.begin()));
    // The implant and logger IDs are those of the logger read.
    EXPECT_EQ(kept.header().implantId(), 12);
    // Done: the real file as ever, and the partial one gone.
    EXPECT_EQ(written().size(), 81 + 40'000);
    EXPECT_FALSE(QFile::exists(partialPath));
    EXPECT_TRUE(
        QFileInfo(partialPath).fileName().startsWith(QStringLiteral("ImpID12LogID7_2021-03-03")));
}
