#include "link/CommandCode.h"
#include "tests/support/ConfigDialogFixture.h"
#include "widgets/BusyAnimation.h"
#include "widgets/LogListWidget.h"

#include <QListWidget>
#include <QPushButton>

namespace {
using Bytes = std::vector<std::uint8_t>;
const Bytes BtFrame{0xA0, 0x00, 0x00, 0x25, 0x00, 0x15, 0x2C, 0x01, 0x00, 0x00, 0x05, 0x03, 0xAA};

QStringList listLines(const LogListWidget* list)
{
    return list->lines();
}
} // namespace

struct SurveillanceFixture : ConfigDialogFixture {
    SurveillanceFixture()
    {
        logger.status()[50] |= 0x01;                   // logging
        logger.setSurveillancePeriodUs(1'000'000'000); // no frames of its own
        dialog().readButton()->click();
        link.clear();
    }
    // Clicks the surveillance button at `stopMs`, from inside the run.
    void stopAt(std::int64_t stopMs)
    {
        pump.at(stopMs, [this] { dialog().surveillanceButton()->click(); });
    }
    QString onlyLog()
    {
        const QStringList logs = filesIn(QStringLiteral("SurveillanceLog"));
        return logs.size() == 1 ? logs[0] : QString();
    }
};

TEST_F(SurveillanceFixture, ARunListsAndLogsFramesUntilTheStopClick)
{
    auto& d = dialog();
    const std::int64_t t0 = pump.nowUs();
    logger.sendUnsolicited(BtFrame, t0 + 1'000'000);
    Bytes lg = BtFrame;
    lg[3] = 0;
    logger.sendUnsolicited(lg, t0 + 2'000'000);
    logger.sendUnsolicited({75, 76, 77, 78, 79, 80, 81, 82, 83, 84, 85, 86, 87, 88, 89, 90},
                           t0 + 3'000'000);
    bool captionDuringRun = false;
    bool exitDuringRun = true;
    pump.at(pump.nowMs() + 1500, [&] {
        captionDuringRun = d.surveillanceButton()->text() == QStringLiteral("Stop Surveilance");
        exitDuringRun = d.exitButton()->isEnabled();
    });
    stopAt(pump.nowMs() + 5000);
    d.surveillanceButton()->click(); // returns when the run has ended

    EXPECT_TRUE(captionDuringRun);
    EXPECT_FALSE(exitDuringRun);
    EXPECT_TRUE(prompts.messages().isEmpty());
    const QStringList lines = listLines(d.surveillanceList());
    ASSERT_EQ(lines.size(), 8) << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(lines.front(), QStringLiteral("Start Log:"));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("BT: 2024-03-03 09:05:")));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(", 37.00, 21.00, 300, 5, 3")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("LG: ")));
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral(",, 21.00, 300, 5, 3")));
    EXPECT_TRUE(lines[3].endsWith(QStringLiteral(", 75, 76, 77, 78")));
    EXPECT_TRUE(lines[6].endsWith(QStringLiteral(", 87, 88, 89, 90")));
    EXPECT_EQ(lines.back(), QStringLiteral("Stop Log:"));
    EXPECT_EQ(d.surveillanceButton()->text(), QStringLiteral("Start Surveilance"));
    EXPECT_FALSE(d.animation()->isRunning());
    EXPECT_TRUE(d.exitButton()->isEnabled());

    // On and off went out, each answered and waited for.
    const auto& writes = link.writes();
    EXPECT_NE(std::find_if(writes.begin(), writes.end(),
                           [](const auto& w) {
                               return w.bytes == Bytes{0x22, 0xAA};
                           }),
              writes.end());
    EXPECT_NE(std::find_if(writes.begin(), writes.end(),
                           [](const auto& w) {
                               return w.bytes == Bytes{0x22, 0xEE};
                           }),
              writes.end());
    EXPECT_FALSE(logger.surveillanceOn());

    const QString log = onlyLog();
    ASSERT_TRUE(log.startsWith(QStringLiteral("SurveillanceLog_ImpID7LogID12_2024-03-03_09h05m")))
        << log.toStdString();
    QByteArray expected = "Logger ID: 12\r\nImplant ID: 7\r\nStart Log:\r\n";
    for (int i = 1; i < lines.size(); ++i)
        expected += lines[i].toLatin1() + "\r\n";
    EXPECT_EQ(fileContent(QStringLiteral("SurveillanceLog"), log), expected);
}

TEST_F(SurveillanceFixture, AnEmptyRunsFileHoldsHeadersStartAndStop)
{
    stopAt(pump.nowMs() + 2000);
    dialog().surveillanceButton()->click();
    EXPECT_EQ(fileContent(QStringLiteral("SurveillanceLog"), onlyLog()),
              QByteArray("Logger ID: 12\r\nImplant ID: 7\r\nStart Log:\r\nStop Log:\r\n"));
}

TEST_F(SurveillanceFixture, StartingWithLoggingOffIsRefused)
{
    logger.status()[50] &= 0xFE;
    dialog().surveillanceButton()->click();
    EXPECT_EQ(prompts.messages(),
              QStringList{QStringLiteral("Please turn on logging before starting surveillance!")});
    EXPECT_EQ(link.codes(),
              (std::vector<std::uint8_t>{CommandCode::Identify, CommandCode::ReadStatus}));
    EXPECT_TRUE(filesIn(QStringLiteral("SurveillanceLog")).isEmpty());
}

TEST_F(SurveillanceFixture, DeleteLogDuringARunEmptiesTheListButNotTheFile)
{
    auto& d = dialog();
    logger.sendUnsolicited(BtFrame, pump.nowUs() + 1'000'000);
    logger.sendUnsolicited(BtFrame, pump.nowUs() + 3'000'000);
    pump.at(pump.nowMs() + 2000, [&] { d.deleteLogButton()->click(); });
    stopAt(pump.nowMs() + 4000);
    d.surveillanceButton()->click();
    const QStringList lines = listLines(d.surveillanceList());
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("BT:")));
    EXPECT_EQ(lines[1], QStringLiteral("Stop Log:"));
    EXPECT_EQ(fileContent(QStringLiteral("SurveillanceLog"), onlyLog()).count("BT:"), 2);
}

TEST_F(SurveillanceFixture, AStopClickWhoseIdentifyFailsStillEndsTheRun)
{
    auto& d = dialog();
    pump.at(pump.nowMs() + 1000, [&] { logger.faults().silent = true; });
    stopAt(pump.nowMs() + 1500);
    d.surveillanceButton()->click();
    EXPECT_EQ(prompts.messages().front(),
              QStringLiteral("No communication, please check connection to logger!"));
    EXPECT_TRUE(
        fileContent(QStringLiteral("SurveillanceLog"), onlyLog()).endsWith("Stop Log:\r\n"));
    EXPECT_EQ(d.surveillanceButton()->text(), QStringLiteral("Start Surveilance"));
    EXPECT_TRUE(d.readButton()->isEnabled()); // reset: the opening state
    EXPECT_FALSE(d.writeButton()->isEnabled());
}

TEST_F(SurveillanceFixture, AStopClickEndsTheRunAlsoWhenLoggingWentOffMeanwhile)
{
    // The logger stops logging during the run (its memory full, say): the
    // stop must still stop, or Exit stays greyed for ever.
    auto& d = dialog();
    pump.at(pump.nowMs() + 1000, [&] { logger.status()[50] &= 0xFE; });
    stopAt(pump.nowMs() + 2000);
    d.surveillanceButton()->click();
    EXPECT_TRUE(prompts.messages().isEmpty());
    EXPECT_TRUE(
        fileContent(QStringLiteral("SurveillanceLog"), onlyLog()).endsWith("Stop Log:\r\n"));
    EXPECT_EQ(link.writes().back().bytes.front(), CommandCode::ReadStatus);
    EXPECT_TRUE(d.exitButton()->isEnabled());
}

TEST_F(SurveillanceFixture, ALogFileThatCannotBeMadeSwitchesSurveillanceOffAgain)
{
    // A file where the log folder should be: the folder cannot be made.
    QFile blocker(dataRoot.filePath(QStringLiteral("SurveillanceLog")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    auto& d = dialog();
    d.surveillanceButton()->click();
    EXPECT_EQ(prompts.messages(), QStringList{QStringLiteral("Error: Can not create Log-file!")});
    const auto& writes = link.writes();
    ASSERT_GE(writes.size(), 2u);
    EXPECT_EQ(writes[writes.size() - 1].bytes, (Bytes{0x22, 0xEE}));
    EXPECT_FALSE(logger.surveillanceOn());
    EXPECT_EQ(d.surveillanceButton()->text(), QStringLiteral("Start Surveilance"));
    EXPECT_TRUE(d.exitButton()->isEnabled());
    EXPECT_TRUE(d.readButton()->isEnabled());
    EXPECT_FALSE(d.procedure().surveillanceRunning());
}

TEST_F(SurveillanceFixture, TheSimulatedLoggerStreamsFramesOfItsOwn)
{
    logger.setSurveillancePeriodUs(500'000);
    stopAt(pump.nowMs() + 4200);
    dialog().surveillanceButton()->click();
    const QStringList lines = listLines(dialog().surveillanceList());
    int bt = 0;
    int lg = 0;
    int hb = 0;
    for (const QString& line : lines) {
        bt += line.startsWith(QStringLiteral("BT:"));
        lg += line.startsWith(QStringLiteral("LG:"));
        hb += line.startsWith(QStringLiteral("HB:"));
    }
    EXPECT_GT(bt, 2);
    EXPECT_GT(hb, 0);
    EXPECT_GE(bt + lg + hb, 7);
}

TEST_F(SurveillanceFixture, AnEndWithoutAskingStopsTheRunWhateverTheLoggerSays)
{
    // How a timed or interrupted run (the command-line tool) ends: logging
    // went off meanwhile, and the run still switches the stream off.
    auto& d = dialog();
    pump.at(pump.nowMs() + 1000, [&] { logger.status()[50] &= 0xFE; });
    pump.at(pump.nowMs() + 2000, [&] { d.procedure().endSurveillance(); });
    d.surveillanceButton()->click();
    EXPECT_TRUE(d.procedure().lastRunCompleted());
    EXPECT_FALSE(logger.surveillanceOn());
    EXPECT_TRUE(
        fileContent(QStringLiteral("SurveillanceLog"), onlyLog()).endsWith("Stop Log:\r\n"));
}
