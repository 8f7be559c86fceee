#include "base/COmbrelRepDownloadDataViaBaseDlg.h"
#include "base/COmbrelRepGetSetgsViaBaseDlg.h"
#include "base/ImplantIdField.h"
#include "base/LoggersInVicinityGroup.h"
#include "link/CommandCode.h"
#include "logger/COmbrelRepeaterConfigDlg.h"
#include "logger/StatusReport.h"
#include "tests/support/BaseFixture.h"
#include "widgets/BusyAnimation.h"
#include "widgets/CLed.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>

namespace {
using Bytes = std::vector<std::uint8_t>;
using State = LoggerConnection::State;
const QString NoBase = QStringLiteral("No communication, please check connection to base station!");
} // namespace

// The Read Settings via Base Station dialog: the connection procedure and
// what is shown and reported.
struct BaseSettingsFixture : BaseFixture {
    std::unique_ptr<COmbrelRepGetSetgsViaBaseDlg> dialog =
        std::make_unique<COmbrelRepGetSetgsViaBaseDlg>(context());

    BaseSettingsFixture() { dialog->implantField()->setText(QStringLiteral("7")); }
    BaseSettingsProcedure& procedure() { return dialog->procedure(); }
    const LoggerSettingsPanel& panel() { return dialog->panel(); }
    void press() { dialog->readButton()->click(); }
    // Presses the button again once the run is in `state` (and `extra` holds).
    void pressAgainIn(
        State state, std::function<bool()> extra = [] { return true; })
    {
        once([this, state, extra] { return procedure().state() == state && extra(); },
             [this] { press(); });
    }
};

TEST_F(BaseSettingsFixture, OpensWithGreyRedLampsAndNothingSent)
{
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Harvane - Read Settings via Base Station"));
    for (const CLed* lamp : {panel().loggingLamp(), panel().implantLamp()}) {
        EXPECT_EQ(lamp->ledColor(), CLed::Red);
        EXPECT_EQ(lamp->ledMode(), CLed::Disabled);
    }
    EXPECT_EQ(panel().clockDateField()->date(), QDate(2000, 1, 1));
    EXPECT_EQ(panel().startTimeField()->time(), QTime(0, 0, 0));
    EXPECT_EQ(panel().loggerIdField()->text(), QStringLiteral("0"));
    EXPECT_TRUE(panel().loggerIdField()->isReadOnly());
    EXPECT_FALSE(panel().vhfGroup()->isVisibleTo(dialog.get()));
    EXPECT_FALSE(dialog->okButton()->isVisibleTo(dialog.get()));
    EXPECT_TRUE(dialog->exitButton()->isEnabled());
    EXPECT_TRUE(dialog->vicinity()->startButton()->isEnabled());
    EXPECT_EQ(dialog->implantField()->text(), QStringLiteral("7"));
    EXPECT_TRUE(link.writes().empty());
}

TEST_F(BaseSettingsFixture, AReadShowsTheStatusReportsItAndLetsTheLoggerGo)
{
    fieldLogger().status()[50] |= 0x01; // logging: read all the same
    bool runningCaption = false;
    bool exitDuringRun = true;
    pressAgainIn(State::WaitLogger, [&] {
        runningCaption = dialog->readButton()->text() == QStringLiteral("Abort Reading");
        exitDuringRun =
            dialog->exitButton()->isEnabled() || dialog->vicinity()->startButton()->isEnabled();
        return false;
    });
    press();
    EXPECT_TRUE(prompts.messages().isEmpty()) << prompts.messages().join('|').toStdString();
    EXPECT_TRUE(runningCaption);
    EXPECT_FALSE(exitDuringRun);

    std::vector<std::uint8_t> codes;
    for (const auto& write : link.writes()) {
        if (write.bytes.front() != CommandCode::Identify)
            codes.push_back(write.bytes.front());
    }
    EXPECT_EQ(codes, (std::vector<std::uint8_t>{23, 37, 38, 37}));
    EXPECT_EQ(writesOf(37).back(), (Bytes{37, 0xEE}));
    EXPECT_FALSE(base.connected());

    EXPECT_EQ(panel().loggerIdField()->text(), QStringLiteral("12"));
    EXPECT_EQ(panel().implantIdField()->text(), QStringLiteral("7"));
    EXPECT_EQ(panel().intervalField()->text(), QStringLiteral("60"));
    EXPECT_EQ(panel().firmwareField()->text(), QStringLiteral("V3.1"));
    EXPECT_EQ(panel().countField(0)->text(), QStringLiteral("1234"));
    EXPECT_EQ(panel().clockTimeField()->time(), QTime(8, 0, 0));
    EXPECT_EQ(panel().loggingLamp()->ledColor(), CLed::Green);
    EXPECT_EQ(panel().loggingLamp()->ledMode(), CLed::On);
    EXPECT_EQ(panel().implantLamp()->ledColor(), CLed::Green);
    // The hidden schedule is filled all the same: Monday to Friday.
    EXPECT_TRUE(panel().dayBox(0)->isChecked());
    EXPECT_FALSE(panel().dayBox(5)->isChecked());
    EXPECT_EQ(panel().vhfStartField()->time(), QTime(6, 0, 0));

    const QStringList reports = filesIn(QStringLiteral("StatusLogBase"));
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(
        reports[0].startsWith(QStringLiteral("StatusLogBase_ImpID7LogID12_2024-03-03_09h05m")))
        << reports[0].toStdString();
    const LoggerSettingsForm& form = procedure().form();
    EXPECT_EQ(fileContent(QStringLiteral("StatusLogBase"), reports[0]),
              StatusReport::text(*procedure().lastStatus(), form.clock, form.loggingStart));
    EXPECT_TRUE(filesIn(QStringLiteral("StatusLogCollar")).isEmpty());
    EXPECT_EQ(dialog->readButton()->text(), QStringLiteral("Read Settings"));
    EXPECT_TRUE(dialog->exitButton()->isEnabled());
    EXPECT_FALSE(panel().animation()->isRunning());
}

TEST_F(BaseSettingsFixture, ShowsWhatTheLoggerSettingsDialogShowsForTheSameBlock)
{
    SimulatedLogger& far = fieldLogger();
    far.status()[20] = 0x18; // 16,776,216 bytes of the small memory
    far.status()[21] = 0xFC;
    far.status()[22] = 0xFF;
    far.status()[5] = 2;
    far.status()[33] = far.status()[34] = 0; // VHF disabled
    press();

    SimulatedLogger near;
    near.status() = far.status();
    near.setClock(far.clockAt(0), 0);
    SimulatedDeviceLink cable(near, pump);
    cable.open(QStringLiteral("sim:logger"));
    COmbrelRepeaterConfigDlg direct(DeviceContext{cable, pump, prompts, folders});
    direct.readButton()->click();
    ASSERT_TRUE(prompts.messages().isEmpty());
    for (const auto& [mine, theirs] : std::initializer_list<std::pair<QLineEdit*, QLineEdit*>>{
             {panel().loggerIdField(), direct.loggerIdField()},
             {panel().implantIdField(), direct.implantIdField()},
             {panel().intervalField(), direct.intervalField()},
             {panel().thresholdField(), direct.thresholdField()},
             {panel().usedMemoryField(), direct.usedMemoryField()},
             {panel().firmwareField(), direct.firmwareField()},
             {panel().hardwareField(), direct.hardwareField()},
             {panel().countField(0), direct.validPacketsField()}})
        EXPECT_EQ(mine->text(), theirs->text());
    EXPECT_EQ(panel().usedMemoryField()->text(), QStringLiteral("50"));
    EXPECT_EQ(panel().clockDateField()->date(), direct.clockDateField()->date());
    EXPECT_EQ(panel().vhfDisableBox()->isChecked(), direct.vhfDisableBox()->isChecked());
    EXPECT_TRUE(panel().vhfDisableBox()->isChecked());
    EXPECT_EQ(panel().implantLamp()->ledColor(), direct.implantLamp()->ledColor());
}

TEST_F(BaseSettingsFixture, TheImplantIdGoesAsItsLowEightBits)
{
    dialog->implantField()->setText(QStringLiteral("300"));
    base.radioFaults().neverConnects = true;
    pressAgainIn(State::WaitLogger);
    press();
    EXPECT_EQ(writesOf(23), (std::vector<Bytes>{{23, 44}}));

    // Not a number: the previous value, shown again.
    link.clear();
    dialog->implantField()->setText(QStringLiteral("seven"));
    pressAgainIn(State::WaitLogger);
    press();
    EXPECT_EQ(prompts.messages(), QStringList{QStringLiteral("Enter an integer.")});
    EXPECT_EQ(writesOf(23), (std::vector<Bytes>{{23, 44}}));
    EXPECT_EQ(dialog->implantField()->text(), QStringLiteral("300"));
}

TEST_F(BaseSettingsFixture, WaitingForTheLoggerIgnoresEverythingButTheConnectedSignal)
{
    base.setConnectDelayUs(2'000'000);
    std::int64_t connectAtMs = -1;
    once([this] { return !writesOf(37).empty(); },
         [&] {
             connectAtMs = pump.nowMs();
             const std::int64_t us = pump.nowUs();
             base.sendUnsolicited({0xA0, 0x05, 0xA0, 0xA0}, us + 400'000);
             base.sendUnsolicited({0xA0, 0xA0}, us + 800'000);
             base.sendUnsolicited({0xA0, 0xA0, 0x01}, us + 1'200'000);
         });
    press();
    EXPECT_TRUE(prompts.messages().isEmpty());
    const auto& writes = link.writes();
    const auto status = std::find_if(writes.begin(), writes.end(),
                                     [](const auto& w) { return w.bytes == Bytes{38}; });
    ASSERT_NE(status, writes.end());
    EXPECT_GE(status->atMs, connectAtMs + 2000);
    EXPECT_EQ(std::count_if(writes.begin(), writes.end(),
                            [](const auto& w) { return w.bytes == Bytes{38}; }),
              1);
}

TEST_F(BaseSettingsFixture, ShortAndDamagedStatusFramesAreAskedForAgain)
{
    base.radioFaults().corruptFrames = 3;
    base.radioFaults().shortFrames = 2;
    press();
    EXPECT_TRUE(prompts.messages().isEmpty());
    EXPECT_EQ(writesOf(38).size(), 6u);
    EXPECT_EQ(filesIn(QStringLiteral("StatusLogBase")).size(), 1);
    EXPECT_EQ(panel().loggerIdField()->text(), QStringLiteral("12"));
}

// A stop press in each state of the connection ends it as it should: the
// connection is ended (37, 0xEE) and nothing is shown or reported.
TEST_F(BaseSettingsFixture, AStopInEachStateEndsTheConnection)
{
    struct Case {
        const char* name;
        std::function<void(BaseSettingsFixture&)> arrange;
        State state;
        std::function<bool(BaseSettingsFixture&)> when;
    };
    const Case cases[] = {
        {"Start", [](BaseSettingsFixture&) {}, State::Start,
         [](BaseSettingsFixture& f) { return !f.writesOf(37).empty(); }},
        {"WaitLogger", [](BaseSettingsFixture& f) { f.base.radioFaults().neverConnects = true; },
         State::WaitLogger, [](BaseSettingsFixture&) { return true; }},
        {"ReceiveStatus with bad frames",
         [](BaseSettingsFixture& f) { f.base.radioFaults().corruptFrames = 1000; },
         State::ReceiveStatus, [](BaseSettingsFixture& f) { return f.writesOf(38).size() >= 3; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        link.clear();
        base.radioFaults() = {};
        c.arrange(*this);
        pressAgainIn(c.state, [this, &c] { return c.when(*this); });
        press();
        EXPECT_TRUE(prompts.messages().isEmpty());
        const auto switches = writesOf(37);
        EXPECT_EQ(switches, (std::vector<Bytes>{{37, 0xAA}, {37, 0xEE}}));
        EXPECT_FALSE(procedure().active());
        EXPECT_EQ(dialog->readButton()->text(), QStringLiteral("Read Settings"));
        EXPECT_TRUE(dialog->exitButton()->isEnabled());
        EXPECT_TRUE(filesIn(QStringLiteral("StatusLogBase")).isEmpty());
        EXPECT_EQ(panel().loggerIdField()->text(), QStringLiteral("0"));
    }
}

TEST_F(BaseSettingsFixture, AStopPressWhoseIdentifyFailsStillStops)
{
    base.radioFaults().neverConnects = true;
    once([this] { return procedure().state() == State::WaitLogger; },
         [this] {
             base.faults().silent = true;
             press();
         });
    press();
    EXPECT_EQ(prompts.messages(), QStringList{NoBase});
    EXPECT_EQ(writesOf(37).back(), (Bytes{37, 0xEE}));
    EXPECT_FALSE(procedure().active());
    EXPECT_EQ(dialog->readButton()->text(), QStringLiteral("Read Settings"));
    EXPECT_TRUE(dialog->exitButton()->isEnabled());
    EXPECT_FALSE(panel().animation()->isRunning());
}

TEST_F(BaseSettingsFixture, ADoubleClickOnAbortStopsOnceAndStartsNothing)
{
    base.radioFaults().neverConnects = true;
    // Should the run go on, this ends it, so that the test fails, not hangs.
    pump.after(60'000, [this] { procedure().stop(); });
    once([this] { return procedure().state() == State::WaitLogger; },
         [this] {
             pump.after(50, [this] { press(); }); // the second click, inside the first's identify
             press();
         });
    press();
    EXPECT_LT(pump.nowMs(), 30'000);
    EXPECT_EQ(writesOf(37), (std::vector<Bytes>{{37, 0xAA}, {37, 0xEE}}));
    EXPECT_EQ(dialog->readButton()->text(), QStringLiteral("Read Settings"));
}

TEST_F(BaseSettingsFixture, AReportThatCannotBeWrittenIsSaidAndTheConnectionEnded)
{
    QFile blocker(dataRoot.filePath(QStringLiteral("StatusLogBase")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    press();
    EXPECT_EQ(prompts.messages(),
              QStringList{QStringLiteral("Error: Can not create the status report!")});
    EXPECT_EQ(writesOf(38).size(), 1u);
    EXPECT_EQ(writesOf(37).back(), (Bytes{37, 0xEE}));
    EXPECT_EQ(panel().loggerIdField()->text(), QStringLiteral("12")); // shown all the same
}

TEST_F(BaseSettingsFixture, ALostLinkEndsTheReadAtOnce)
{
    base.radioFaults().neverConnects = true;
    std::int64_t lostAtMs = 0;
    once([this] { return procedure().state() == State::WaitLogger; },
         [&] {
             lostAtMs = pump.nowMs();
             base.unplug();
         });
    press();
    EXPECT_LT(pump.nowMs() - lostAtMs, 20);
    EXPECT_EQ(prompts.messages(), QStringList{NoBase});
    EXPECT_EQ(dialog->readButton()->text(), QStringLiteral("Read Settings"));
    EXPECT_TRUE(dialog->exitButton()->isEnabled());
    EXPECT_FALSE(panel().animation()->isRunning());
}

TEST_F(BaseSettingsFixture, NoConnectReplyAndNoBaseStationGiveTheirMessages)
{
    base.radioFaults().noConnectReply = true;
    press();
    EXPECT_EQ(prompts.messages(),
              QStringList{QStringLiteral("No communication, please check connection to logger!")});
    EXPECT_EQ(writesOf(37), (std::vector<Bytes>{{37, 0xAA}}));
    EXPECT_TRUE(dialog->exitButton()->isEnabled());

    prompts.clear();
    link.clear();
    base.faults().answersAsOtherDevice = true;
    press();
    EXPECT_EQ(prompts.messages(),
              QStringList{QStringLiteral("Please connect a base station to use this feature!")});
    EXPECT_TRUE(writesOf(23).empty());
    EXPECT_TRUE(dialog->vicinity()->startButton()->isEnabled());
}

// The download dialog's connection: the same procedure with its own texts.
struct BaseDownloadConnectionFixture : BaseFixture {
    std::unique_ptr<COmbrelRepDownloadDataViaBaseDlg> dialog =
        std::make_unique<COmbrelRepDownloadDataViaBaseDlg>(context(),
                                                           BaseDownloadProcedure::Hooks{});
    BaseDownloadProcedure& procedure() { return dialog->procedure(); }
};

TEST_F(BaseDownloadConnectionFixture, WaitingShowsItsTextsAndAStopTouchesNoFile)
{
    dialog->implantField()->setText(QStringLiteral("7"));
    base.radioFaults().neverConnects = true;
    QStringList seen;
    bool fieldDuringRun = true;
    pump.after(3000, [&] {
        seen << dialog->statusText()->text();
        fieldDuringRun = dialog->implantField()->isEnabled();
        dialog->readButton()->click();
    });
    dialog->readButton()->click();
    ASSERT_EQ(seen.size(), 1);
    EXPECT_TRUE(seen[0].startsWith(QStringLiteral("Waiting for connection to logger...00:00:0")))
        << seen[0].toStdString();
    EXPECT_FALSE(fieldDuringRun);
    EXPECT_EQ(writesOf(37).back(), (Bytes{37, 0xEE}));
    EXPECT_TRUE(filesIn(QStringLiteral("Downloads")).isEmpty());
    EXPECT_EQ(procedure().lastOutcome(), BaseDownloadProcedure::Outcome::Stopped);
    EXPECT_TRUE(dialog->implantField()->isEnabled());
}

TEST_F(BaseDownloadConnectionFixture, AStopAfterABadStatusFrameStillAsksOnceMore)
{
    dialog->implantField()->setText(QStringLiteral("7"));
    base.radioFaults().corruptFrames = 1000;
    once([this] { return writesOf(38).size() == 2 && procedure().state() == State::RequestStatus; },
         [this] { dialog->readButton()->click(); });
    dialog->readButton()->click();
    EXPECT_EQ(writesOf(38).size(), 3u);
    EXPECT_EQ(link.writes().back().bytes, (Bytes{37, 0xEE}));
    EXPECT_TRUE(filesIn(QStringLiteral("Downloads")).isEmpty());
}
