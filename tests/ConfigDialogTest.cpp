#include "link/CommandCode.h"
#include "tests/support/ConfigDialogFixture.h"
#include "widgets/BusyAnimation.h"
#include "widgets/CLed.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimeEdit>
#include <QToolButton>

namespace {
const QString NoLogger = QStringLiteral("No communication, please check connection to logger!");

std::vector<std::uint8_t> settingCodes()
{
    return {CommandCode::SetClock,     CommandCode::SetVhfStart, CommandCode::SetVhfStop,
            CommandCode::SetImplantId, CommandCode::SetLoggerId, CommandCode::SetInterval,
            CommandCode::CloseSettings};
}

bool sent(const RecordingLink& link, std::uint8_t code)
{
    const auto codes = link.codes();
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}
} // namespace

TEST_F(ConfigDialogFixture, OpensWithOnlyReadSettingsAndExitUsable)
{
    auto& d = dialog();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Harvane - Logger Settings"));
    EXPECT_TRUE(d.readButton()->isEnabled());
    EXPECT_TRUE(d.exitButton()->isEnabled());
    for (QWidget* w :
         {static_cast<QWidget*>(d.writeButton()), static_cast<QWidget*>(d.startButton()),
          static_cast<QWidget*>(d.stopButton()), static_cast<QWidget*>(d.surveillanceButton()),
          static_cast<QWidget*>(d.deleteLogButton()), static_cast<QWidget*>(d.loggerIdField()),
          static_cast<QWidget*>(d.intervalField())})
        EXPECT_FALSE(w->isEnabled());
    EXPECT_EQ(d.loggingLamp()->ledMode(), CLed::Disabled);
    EXPECT_EQ(d.implantLamp()->ledMode(), CLed::Disabled);
    EXPECT_EQ(d.loggerIdField()->text(), QStringLiteral("0"));
    EXPECT_EQ(d.vhfStopField()->time(), QTime(23, 59, 59));
    EXPECT_EQ(d.clockDateField()->date(), QDate(2000, 1, 1));
    EXPECT_FALSE(d.vhfGroup()->isVisibleTo(&d)); // hidden outside expert mode
    EXPECT_TRUE(link.writes().empty());
}

TEST_F(ConfigDialogFixture, ReadShowsEverythingAndWritesTheReport)
{
    logger.status()[20] = 0x18; // 16,776,216 bytes used of the small memory
    logger.status()[21] = 0xFC;
    logger.status()[22] = 0xFF;
    logger.status()[5] = 2;
    logger.status()[46] = 5;
    auto& d = dialog();
    d.readButton()->click();

    EXPECT_TRUE(prompts.messages().isEmpty())
        << prompts.messages().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(d.loggerIdField()->text(), QStringLiteral("12"));
    EXPECT_EQ(d.implantIdField()->text(), QStringLiteral("5"));
    EXPECT_EQ(d.intervalField()->text(), QStringLiteral("60"));
    EXPECT_EQ(d.usedMemoryField()->text(), QStringLiteral("50"));
    EXPECT_EQ(d.thresholdField()->text(), QStringLiteral("300"));
    EXPECT_EQ(d.firmwareField()->text(), QStringLiteral("V3.1"));
    EXPECT_EQ(d.hardwareField()->text(), QStringLiteral("HW1.4"));
    EXPECT_EQ(d.validPacketsField()->text(), QStringLiteral("1234"));
    EXPECT_EQ(d.clockDateField()->date(), QDate(2024, 3, 3));
    EXPECT_EQ(d.vhfStartField()->time(), QTime(6, 0, 0));
    EXPECT_TRUE(d.dayBox(0)->isChecked());
    EXPECT_FALSE(d.dayBox(6)->isChecked());
    EXPECT_TRUE(d.monthBox(11)->isChecked());
    EXPECT_EQ(d.loggingLamp()->ledColor(), CLed::Red);   // logging off
    EXPECT_EQ(d.implantLamp()->ledColor(), CLed::Green); // locked
    EXPECT_EQ(d.loggingLamp()->ledMode(), CLed::On);
    EXPECT_FALSE(d.animation()->isRunning());
    for (QPushButton* b : {d.readButton(), d.writeButton(), d.startButton(), d.stopButton(),
                           d.exitButton(), d.surveillanceButton(), d.deleteLogButton()})
        EXPECT_TRUE(b->isEnabled()) << b->text().toStdString();
    EXPECT_FALSE(d.intervalField()->isEnabled()); // not an expert
    EXPECT_EQ(link.codes(),
              (std::vector<std::uint8_t>{CommandCode::Identify, CommandCode::ReadStatus}));

    const QStringList reports = filesIn(QStringLiteral("StatusLogCollar"));
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(
        reports[0].startsWith(QStringLiteral("StatusLogCollar_ImpID5LogID12_2024-03-03_09h05m")));
    const QByteArray expected = "Logger Status:\r\n"
                                "Logger ON/Off:\t\t\t\tOff\r\n"
                                "Logger Locked/Unlocked:\t\t\tLocked\r\n"
                                "\r\nLogger Settings:\r\n"
                                "Used flash memory [%]:\t\t\t50.000000\r\n"
                                "Head position decision threshold:\t300\r\n"
                                "Logger ID:\t\t\t\t12\r\n"
                                "Implant ID:\t\t\t\t5\r\n"
                                "Logging interval in seconds:\t\t60\r\n"
                                "FW Rev:\t\t\t\t\tV3.1\r\n"
                                "HW Rev:\t\t\t\t\tHW1.4\r\n"
                                "\r\nLogger Time:\r\n"
                                "Current logger time:\t\t\t08:00:00\r\n"
                                "Current logger date:\t\t\t03.03.2024\r\n"
                                "Logger start time:\t\t\t00:00:00\r\n"
                                "Logger start date:\t\t\t01.01.2000\r\n"
                                "\r\nPacket Settings:\r\n"
                                "Valid packet count:\t\t\t1234\r\n"
                                "Invalid packet count:\t\t\t3\r\n"
                                "No packet count:\t\t\t5\r\n"
                                "Sync loss count:\t\t\t1\r\n";
    EXPECT_EQ(fileContent(QStringLiteral("StatusLogCollar"), reports[0]), expected);
}

TEST_F(ConfigDialogFixture, ReadFailuresShowTheirMessageAndReturnToTheOpeningState)
{
    auto& d = dialog();
    d.readButton()->click(); // a good read first, so there is something to lose
    ASSERT_TRUE(d.writeButton()->isEnabled());

    logger.faults().silent = true;
    d.readButton()->click();
    EXPECT_EQ(prompts.messages(), QStringList{NoLogger});
    EXPECT_FALSE(d.writeButton()->isEnabled());
    EXPECT_TRUE(d.readButton()->isEnabled());
    EXPECT_EQ(d.loggerIdField()->text(), QStringLiteral("0"));
    EXPECT_EQ(d.loggingLamp()->ledMode(), CLed::Disabled);

    // A base station on the cable.
    prompts.clear();
    SimulatedBaseStation base;
    SimulatedDeviceLink baseLink(base, pump);
    baseLink.open(QStringLiteral("sim:base"));
    COmbrelRepeaterConfigDlg other(
        DeviceContext{baseLink, pump, prompts, folders, [] { return false; }});
    other.readButton()->click();
    EXPECT_EQ(prompts.messages(),
              QStringList{QStringLiteral("Please connect a logger to use this feature!")});
    EXPECT_TRUE(filesIn(QStringLiteral("StatusLogCollar")).size() ==
                1); // only the good read's report
}

TEST_F(ConfigDialogFixture, IdFieldsAreCheckedAndClampedWhenLeft)
{
    auto& d = dialog();
    d.readButton()->click();
    enter(d.loggerIdField(), QStringLiteral("300"));
    EXPECT_EQ(prompts.messages(),
              QStringList{QStringLiteral("Enter an integer between 0 and 255.")});
    EXPECT_EQ(d.loggerIdField()->text(), QStringLiteral("255"));
    prompts.clear();
    enter(d.implantIdField(), QStringLiteral("64"));
    EXPECT_EQ(prompts.messages(),
              QStringList{QStringLiteral("Enter an integer between 0 and 63.")});
    EXPECT_EQ(d.implantIdField()->text(), QStringLiteral("63"));
    prompts.clear();
    enter(d.loggerIdField(), QStringLiteral("twelve"));
    EXPECT_EQ(prompts.messages(), QStringList{QStringLiteral("Enter an integer.")});
    EXPECT_EQ(d.loggerIdField()->text(), QStringLiteral("255")); // the previous value comes back
}

TEST_F(ConfigDialogFixture, IntervalStepsOfFifteenWithinRange)
{
    expert = true;
    auto& d = dialog();
    d.readButton()->click();
    EXPECT_TRUE(d.intervalField()->isEnabled());
    EXPECT_TRUE(d.intervalUp()->isEnabled());

    const struct {
        const char* typed;
        int arrow; // 0: just leave the field
        const char* shown;
    } cases[] = {
        {"100", 0, "90"},    {"90", +1, "105"}, {"0", -1, "0"},   {"3825", +1, "3825"},
        {"3826", 0, "3825"}, {"29", -1, "0"},   {"44", +1, "45"},
    };
    for (const auto& c : cases) {
        prompts.clear();
        d.intervalField()->setText(QString::fromLatin1(c.typed));
        if (c.arrow == 0)
            Q_EMIT d.intervalField()->editingFinished();
        else
            (c.arrow > 0 ? d.intervalUp() : d.intervalDown())->click();
        EXPECT_EQ(d.intervalField()->text(), QString::fromLatin1(c.shown))
            << c.typed << " " << c.arrow;
    }
}

TEST_F(ConfigDialogFixture, WriteSendsTheFieldsAndTheClockAndReadsBack)
{
    auto& d = dialog();
    d.readButton()->click();
    link.clear();
    d.loggerIdField()->setText(QStringLiteral("33"));
    d.implantIdField()->setText(QStringLiteral("9"));
    pump.setCurrentDateTime(QDateTime(QDate(2024, 3, 3), QTime(9, 5, 7))); // Sunday
    d.writeButton()->click();
    EXPECT_TRUE(prompts.messages().isEmpty());
    std::vector<std::uint8_t> expected{CommandCode::Identify, CommandCode::ReadStatus};
    for (std::uint8_t code : settingCodes())
        expected.push_back(code);
    expected.insert(expected.end(), {CommandCode::Identify, CommandCode::ReadStatus});
    EXPECT_EQ(link.codes(), expected);
    // The clock goes out as the PC's local time at that moment.
    const auto& clock = link.writes()[2];
    EXPECT_EQ(clock.bytes,
              (std::vector<std::uint8_t>{0x13, 0x24, 0x03, 0x03, 0x09, 0x00, 0x07, 0x05}));
    EXPECT_EQ(d.loggerIdField()->text(), QStringLiteral("33"));
    EXPECT_EQ(logger.status()[47], 33);
    EXPECT_EQ(logger.status()[46], 9);
    EXPECT_EQ(d.clockTimeField()->time().hour(), 9); // the logger runs on PC time now
}

TEST_F(ConfigDialogFixture, WriteWhileLoggingIsRefusedAndSendsNothing)
{
    logger.status()[50] |= 0x01;
    auto& d = dialog();
    d.readButton()->click();
    link.clear();
    d.writeButton()->click();
    EXPECT_EQ(
        prompts.messages(),
        QStringList{QStringLiteral("Please turn off logging before writing configuration data!")});
    EXPECT_EQ(link.codes(),
              (std::vector<std::uint8_t>{CommandCode::Identify, CommandCode::ReadStatus}));
    EXPECT_TRUE(d.writeButton()->isEnabled()); // the shown values stay usable
    EXPECT_EQ(d.loggerIdField()->text(), QStringLiteral("12"));
}

TEST_F(ConfigDialogFixture, VhfDisabledReadWritesBothMasksAsZero)
{
    logger.status()[33] = 0;
    logger.status()[34] = 0;
    auto& d = dialog();
    d.readButton()->click();
    EXPECT_TRUE(d.vhfDisableBox()->isChecked());
    EXPECT_TRUE(d.dayBox(0)->isChecked()); // the days are still read...
    link.clear();
    d.writeButton()->click();
    for (const auto& w : link.writes()) {
        if (w.bytes[0] == CommandCode::SetVhfStart || w.bytes[0] == CommandCode::SetVhfStop) {
            EXPECT_EQ(w.bytes[1], 0); // ...but not written
            EXPECT_EQ(w.bytes[2], 0);
            EXPECT_EQ(w.bytes[3], 0);
        }
    }
}

TEST_F(ConfigDialogFixture, ExpertModeShowsTheVhfScheduleForEditing)
{
    expert = true;
    auto& d = dialog();
    EXPECT_TRUE(d.vhfGroup()->isVisibleTo(&d));
    d.readButton()->click();
    EXPECT_TRUE(d.vhfStartField()->isEnabled());
    d.vhfStartField()->setTime(QTime(7, 45, 0));
    d.dayBox(6)->setChecked(true);
    d.monthBox(0)->setChecked(false);
    d.writeButton()->click();
    EXPECT_EQ(logger.status()[35], 0x07);
    EXPECT_EQ(logger.status()[37], 0x45);
    EXPECT_EQ(logger.status()[32], 0x5F);
    EXPECT_EQ(logger.status()[33], 0xFE);
    // Ticking "VHF disable:" greys the schedule.
    d.vhfDisableBox()->click();
    EXPECT_FALSE(d.vhfStartField()->isEnabled());
    EXPECT_FALSE(d.dayBox(0)->isEnabled());
}

TEST_F(ConfigDialogFixture, StartAskedYesWritesThenStartsLogging)
{
    auto& d = dialog();
    d.readButton()->click();
    link.clear();
    prompts.answerYesNo(YesNoAnswer::Yes);
    d.startButton()->click();
    EXPECT_EQ(prompts.questions(),
              QStringList{QStringLiteral("Start logging with displayed settings?")});
    const auto codes = link.codes();
    const auto clockAt = std::find(codes.begin(), codes.end(), CommandCode::SetClock);
    const auto startAt = std::find(codes.begin(), codes.end(), CommandCode::Logging);
    ASSERT_NE(clockAt, codes.end());
    ASSERT_NE(startAt, codes.end());
    EXPECT_LT(clockAt, startAt);
    EXPECT_EQ(link.writes()[static_cast<std::size_t>(startAt - codes.begin())].bytes,
              (std::vector<std::uint8_t>{CommandCode::Logging, CommandCode::On}));
    EXPECT_TRUE(logger.loggingOn());
    EXPECT_EQ(d.loggingLamp()->ledColor(), CLed::Green);
}

TEST_F(ConfigDialogFixture, StartIsNotSentWhenTheWriteBeforeItFailed)
{
    auto& d = dialog();
    d.readButton()->click();
    logger.faults().silent = true;
    link.clear();
    prompts.answerYesNo(YesNoAnswer::Yes);
    d.startButton()->click();
    EXPECT_EQ(prompts.messages(), QStringList{NoLogger});
    EXPECT_FALSE(sent(link, CommandCode::Logging));
}

TEST_F(ConfigDialogFixture, StopAnsweredNoSendsNothingAndYesStops)
{
    logger.status()[50] |= 0x01;
    auto& d = dialog();
    d.readButton()->click();
    link.clear();
    prompts.answerYesNo(YesNoAnswer::No);
    d.stopButton()->click();
    EXPECT_TRUE(link.writes().empty());
    EXPECT_TRUE(d.stopButton()->isEnabled());

    prompts.answerYesNo(YesNoAnswer::Dismissed); // Esc is not a Yes either
    d.stopButton()->click();
    EXPECT_TRUE(link.writes().empty());

    prompts.answerYesNo(YesNoAnswer::Yes);
    d.stopButton()->click();
    EXPECT_EQ(link.codes().front(), CommandCode::Logging);
    EXPECT_EQ(link.writes().front().bytes[1], CommandCode::Off);
    EXPECT_FALSE(logger.loggingOn());
    EXPECT_EQ(d.loggingLamp()->ledColor(), CLed::Red);
}

TEST_F(ConfigDialogFixture, ExitWaitsWhileAnActionRuns)
{
    auto& d = dialog();
    bool exitEnabledDuringRead = true;
    QSignalSpy rejected(&d, &QDialog::rejected);
    pump.at(150, [&] {
        exitEnabledDuringRead = d.exitButton()->isEnabled();
        QTest::keyClick(&d, Qt::Key_Escape); // Esc and the close box wait as well
        QCloseEvent close;
        QApplication::sendEvent(&d, &close);
        EXPECT_FALSE(close.isAccepted());
    });
    d.readButton()->click();
    EXPECT_FALSE(exitEnabledDuringRead);
    EXPECT_EQ(rejected.count(), 0);
    EXPECT_TRUE(d.exitButton()->isEnabled());
    d.reject();
    EXPECT_EQ(rejected.count(), 1);
}
