// Erase memory, head position threshold and frequency calibration, each
// through its dialog against the simulated logger.

#include "link/CommandCode.h"
#include "logger/COmbrelRepeaterAskBeforeErase.h"
#include "logger/COmbrelRepeaterFreqCalibDlg.h"
#include "logger/COmbrelRepeaterSetZAxisThresDlg.h"
#include "tests/support/ConfigDialogFixture.h"
#include "widgets/BusyAnimation.h"
#include "widgets/LogListWidget.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {
using Bytes = std::vector<std::uint8_t>;
const QString EraseFailed = QStringLiteral("Erasing of memory not successful, please try again!");

QStringList lines(const LogListWidget* list)
{
    return list->lines();
}
} // namespace

using LoggerTools = ConfigDialogFixture;

TEST_F(LoggerTools, EraseSucceedsAfterTheThreeStepsAndSaysSoInTheDialog)
{
    logger.setMemory(Bytes(1000, 0x11));
    logger.setEraseDurationUs(30'000'000);
    COmbrelRepeaterAskBeforeErase dialog(context());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Harvane – Erase memory"));
    prompts.answerYesNo(YesNoAnswer::Yes);
    bool turningDuringQuestion = true;
    prompts.onNextQuestion([&] { turningDuringQuestion = dialog.animation()->isRunning(); });
    QString countdownDuringErase;
    pump.at(pump.nowMs() + 10'000, [&] { countdownDuringErase = dialog.countdownText()->text(); });
    EXPECT_TRUE(dialog.procedure().erase());
    EXPECT_EQ(prompts.questions(),
              QStringList{QStringLiteral("Are you really sure to erase the whole data memory?")});
    EXPECT_TRUE(prompts.messages().isEmpty());
    EXPECT_EQ(link.codes(),
              (std::vector<std::uint8_t>{CommandCode::Identify, CommandCode::ReadStatus,
                                         CommandCode::EraseMemory, CommandCode::EraseCheck,
                                         CommandCode::EraseFinish}));
    EXPECT_FALSE(turningDuringQuestion); // the gears turn once the user said Yes
    EXPECT_TRUE(countdownDuringErase.contains(QStringLiteral("17")))
        << countdownDuringErase.toStdString();
    EXPECT_TRUE(dialog.eraseButton()->isEnabled());
    EXPECT_TRUE(dialog.exitButton()->isEnabled());
    EXPECT_TRUE(dialog.countdownText()->text().isEmpty());
    EXPECT_EQ(dialog.questionText()->text(), QStringLiteral("Memory erased."));
    EXPECT_TRUE(logger.memory().empty());
}

TEST_F(LoggerTools, EraseRefusalsAndFailures)
{
    {
        SCOPED_TRACE("No sends nothing");
        COmbrelRepeaterAskBeforeErase dialog(context());
        prompts.answerYesNo(YesNoAnswer::No);
        EXPECT_FALSE(dialog.procedure().erase());
        EXPECT_TRUE(link.writes().empty());
    }
    {
        SCOPED_TRACE("logging");
        logger.status()[50] |= 0x01;
        COmbrelRepeaterAskBeforeErase dialog(context());
        prompts.answerYesNo(YesNoAnswer::Yes);
        EXPECT_FALSE(dialog.procedure().erase());
        EXPECT_EQ(prompts.messages().back(),
                  QStringLiteral("Please turn off logging before erasing memory!"));
        EXPECT_EQ(link.codes().back(), CommandCode::ReadStatus);
        logger.status()[50] &= 0xFE;
    }
    {
        SCOPED_TRACE("never finishes");
        logger.setEraseNeverFinishes(true);
        COmbrelRepeaterAskBeforeErase dialog(context());
        prompts.answerYesNo(YesNoAnswer::Yes);
        const std::int64_t start = pump.nowMs();
        EXPECT_FALSE(dialog.procedure().erase());
        EXPECT_EQ(prompts.messages().back(), EraseFailed);
        EXPECT_GE(pump.nowMs() - start, 180'000);
        EXPECT_LT(pump.nowMs() - start, 182'000);
        logger.setEraseNeverFinishes(false);
    }
    {
        SCOPED_TRACE("wrong check answer fails at once");
        logger.setEraseDurationUs(1'000'000);
        logger.setEraseCheckReply({0x00, 0x28, 0x00, 0x00});
        COmbrelRepeaterAskBeforeErase dialog(context());
        prompts.answerYesNo(YesNoAnswer::Yes);
        const std::int64_t start = pump.nowMs();
        EXPECT_FALSE(dialog.procedure().erase());
        EXPECT_EQ(prompts.messages().back(), EraseFailed);
        EXPECT_LT(pump.nowMs() - start, 3000);
        EXPECT_NE(link.codes().back(), CommandCode::EraseFinish);
    }
}

TEST_F(LoggerTools, HeadTiltReadAndThresholdWrite)
{
    COmbrelRepeaterSetZAxisThresDlg dialog(context());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Head position threshold dialog"));
    for (const auto& [tilt, shown] :
         {std::pair{std::int16_t{300}, "300"}, std::pair{std::int16_t{-1}, "-1"}}) {
        logger.setHeadTilt(tilt);
        dialog.thresholdField()->setText(QStringLiteral("777")); // typed, not written
        dialog.readButton()->click();
        EXPECT_EQ(dialog.tiltField()->text(), QString::fromLatin1(shown));
        EXPECT_EQ(dialog.thresholdField()->text(), QStringLiteral("0")); // the held value is back
    }
    EXPECT_EQ(link.writes().back().bytes, (Bytes{CommandCode::ReadHeadTilt}));

    link.clear();
    dialog.thresholdField()->setText(QStringLiteral("-5"));
    dialog.writeButton()->click();
    EXPECT_EQ(link.writes().back().bytes, (Bytes{0x18, 0xFB, 0xFF}));
    EXPECT_EQ(logger.status()[44], 0xFB);

    logger.status()[50] |= 0x01;
    link.clear();
    dialog.writeButton()->click();
    EXPECT_EQ(
        prompts.messages().back(),
        QStringLiteral("Please turn off logging before writing head position threshold data!"));
    EXPECT_EQ(link.codes().back(), CommandCode::ReadStatus);
}

TEST_F(LoggerTools, HeadThresholdButtonsWaitForTheRunningExchange)
{
    COmbrelRepeaterSetZAxisThresDlg dialog(context());
    bool writeEnabledDuringRead = true;
    pump.at(pump.nowMs() + 700,
            [&] { writeEnabledDuringRead = dialog.writeButton()->isEnabled(); });
    dialog.readButton()->click();
    EXPECT_FALSE(writeEnabledDuringRead);
    EXPECT_TRUE(dialog.writeButton()->isEnabled());
}

TEST(FrequencyCalibration, ReportAndReadbackDecodings)
{
    const struct {
        std::uint8_t byte;
        double kHz;
    } reports[] = {{0x03, 7.5}, {0x1E, -5.0}, {0x10, -40.0},
                   {0xE3, 7.5}, {0x0F, 37.5}, {0x1F, -2.5}};
    for (const auto& r : reports)
        EXPECT_DOUBLE_EQ(FrequencyCalibrationProcedure::deviationKHz(r.byte), r.kHz) << int(r.byte);
    EXPECT_EQ(QString::asprintf("%.1f", double(FrequencyCalibrationProcedure::centreMHz(0x0FA0))),
              QStringLiteral("440.0"));
    EXPECT_DOUBLE_EQ(FrequencyCalibrationProcedure::offsetKHz(4000, 4004), 10.0);
    EXPECT_EQ(QString::asprintf("%.1f", double(FrequencyCalibrationProcedure::centreMHz(1000))),
              QStringLiteral("432.5"));
    EXPECT_DOUBLE_EQ(FrequencyCalibrationProcedure::offsetKHz(1000, 1000), 0.0);
}

TEST_F(LoggerTools, CalibrationLogAddsOffsetsInsideTheRunAndAlwaysStops)
{
    COmbrelRepeaterFreqCalibDlg dialog(context());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Harvane - Frequency Calibration"));
    dialog.addButton()->click();
    EXPECT_EQ(prompts.messages().back(),
              QStringLiteral("Turn on logging first before writing frequency calibration!"));
    EXPECT_TRUE(link.writes().empty());

    const std::int64_t t0 = pump.nowMs();
    bool exitDuringLog = true;
    QString caption;
    pump.at(t0 + 1500, [&] {
        exitDuringLog = dialog.exitButton()->isEnabled();
        caption = dialog.logButton()->text();
        dialog.readButton()->setEnabled(true); // even if clicked, it refuses while the log runs
        dialog.readButton()->click();
        dialog.offsetField()->setText(QStringLiteral("-3"));
        prompts.answerYesNo(YesNoAnswer::Yes);
        dialog.addButton()->click();
    });
    pump.at(t0 + 4000, [&] { dialog.logButton()->click(); });
    dialog.logButton()->click();

    EXPECT_FALSE(exitDuringLog);
    EXPECT_EQ(caption, QStringLiteral("Stop Log"));
    EXPECT_EQ(dialog.logButton()->text(), QStringLiteral("Start Log"));
    EXPECT_TRUE(dialog.exitButton()->isEnabled());
    EXPECT_FALSE(logger.calibrationLogOn());
    EXPECT_EQ(logger.frequencyOffsetSteps(), -3);
    const QStringList listed = lines(dialog.list());
    EXPECT_EQ(listed.front(), QStringLiteral("Start of Log:"));
    EXPECT_TRUE(listed.contains(QStringLiteral("Added Frequency: -7.5 kHz")));
    EXPECT_TRUE(std::any_of(listed.begin(), listed.end(), [](const QString& l) {
        return l.endsWith(QStringLiteral(" kHz")) && l.startsWith(QStringLiteral("2024-"));
    }));
    EXPECT_TRUE(prompts.messages().contains(QStringLiteral(
        "Turn off frequency calibration before reading center frequency and offset!")));
    const auto writes = link.writes();
    EXPECT_NE(std::find_if(writes.begin(), writes.end(),
                           [](const auto& w) {
                               return w.bytes == Bytes{0x20, 0xFD, 0xFF};
                           }),
              writes.end());
    EXPECT_EQ(writes.back().bytes, (Bytes{0x21, 0xEE}));

    // Read back after the run.
    dialog.readButton()->click();
    const QStringList after = lines(dialog.list());
    EXPECT_EQ(after[after.size() - 2], QStringLiteral("Center Frequency: 440.0 MHz"));
    EXPECT_EQ(after.back(), QStringLiteral("Offset Frequency: -7.5 kHz"));
}

TEST_F(LoggerTools, AStopClickThatCannotReachTheLoggerStillEndsTheLog)
{
    COmbrelRepeaterFreqCalibDlg dialog(context());
    const std::int64_t t0 = pump.nowMs();
    pump.at(t0 + 1000, [&] { logger.faults().silent = true; });
    pump.at(t0 + 1500, [&] { dialog.logButton()->click(); });
    dialog.logButton()->click();
    EXPECT_EQ(prompts.messages().front(),
              QStringLiteral("No communication, please check connection to logger!"));
    EXPECT_FALSE(dialog.procedure().running());
    EXPECT_EQ(link.writes().back().bytes, (Bytes{0x21, 0xEE}));
    EXPECT_TRUE(dialog.exitButton()->isEnabled());
}

TEST_F(LoggerTools, CalibrationRefusedWhileLoggingAndOffsetFieldRules)
{
    logger.status()[50] |= 0x01;
    COmbrelRepeaterFreqCalibDlg dialog(context());
    dialog.logButton()->click();
    EXPECT_EQ(prompts.messages().back(),
              QStringLiteral("Please turn off logging before changing center frequency!"));
    EXPECT_EQ(link.codes().back(), CommandCode::ReadStatus);

    prompts.clear();
    dialog.offsetField()->setText(QStringLiteral("20"));
    Q_EMIT dialog.offsetField()->editingFinished();
    EXPECT_EQ(prompts.messages(),
              QStringList{QStringLiteral("Enter an integer between -16 and 16.")});
    EXPECT_EQ(dialog.offsetField()->text(), QStringLiteral("16"));
}

TEST_F(LoggerTools, ReadOffsetGoesOnPastABadOffsetFieldAndLeavingItWarnsOnce)
{
    COmbrelRepeaterFreqCalibDlg dialog(context());
    dialog.offsetField()->setText(QStringLiteral("abc"));
    dialog.readButton()->click();
    EXPECT_EQ(prompts.messages(), QStringList{QStringLiteral("Enter an integer.")});
    // Reading sends no offset: it goes on.
    EXPECT_EQ(link.codes().back(), CommandCode::ReadFrequency);
    EXPECT_EQ(lines(dialog.list()).back(), QStringLiteral("Offset Frequency: 0.0 kHz"));

    // The message box takes the focus away, which Qt reports as leaving the
    // field a second time.
    prompts.clear();
    dialog.offsetField()->setText(QStringLiteral("20"));
    prompts.onNextMessage([&] { Q_EMIT dialog.offsetField()->editingFinished(); });
    Q_EMIT dialog.offsetField()->editingFinished();
    EXPECT_EQ(prompts.messages(),
              QStringList{QStringLiteral("Enter an integer between -16 and 16.")});
    EXPECT_EQ(dialog.offsetField()->text(), QStringLiteral("16"));
}
