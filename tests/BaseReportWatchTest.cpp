#include "base/COmbrelRepDownloadDataViaBaseDlg.h"
#include "base/COmbrelRepGetSetgsViaBaseDlg.h"
#include "base/COmbrelRepeaterImplantSurveillanceDlg.h"
#include "base/ImplantIdField.h"
#include "base/LoggersInVicinityGroup.h"
#include "link/CommandCode.h"
#include "tests/support/BaseFixture.h"
#include "widgets/BusyAnimation.h"

#include <QListWidget>
#include <QPushButton>

namespace {
using Bytes = std::vector<std::uint8_t>;
const QString NoBase = QStringLiteral("No communication, please check connection to base station!");
} // namespace

// "Loggers in vicinity" in either dialog that has it.
struct VicinityFixture : BaseFixture {
    std::unique_ptr<COmbrelRepGetSetgsViaBaseDlg> settings;
    std::unique_ptr<COmbrelRepDownloadDataViaBaseDlg> download;
    LoggersInVicinityGroup* group = nullptr;
    QPushButton* mainButton = nullptr;
    QPushButton* exit = nullptr;
    QWidget* implantField = nullptr;

    VicinityFixture()
    {
        base.setLoggerReportPeriodUs(1'000'000'000); // none of its own unless asked
    }
    void openSettingsDialog()
    {
        settings = std::make_unique<COmbrelRepGetSetgsViaBaseDlg>(context());
        group = settings->vicinity();
        mainButton = settings->readButton();
        exit = settings->exitButton();
        implantField = settings->implantField();
    }
    void openDownloadDialog()
    {
        download = std::make_unique<COmbrelRepDownloadDataViaBaseDlg>(
            context(), BaseDownloadProcedure::Hooks{});
        group = download->vicinity();
        mainButton = download->readButton();
        exit = download->exitButton();
        implantField = download->implantField();
    }
    void press() { group->startButton()->click(); }
    void stopAt(std::int64_t ms)
    {
        pump.after(ms, [this] { press(); });
    }
    QString onlyLog() const
    {
        const QStringList logs = filesIn(QStringLiteral("InVicinityLog"));
        return logs.size() == 1 ? logs[0] : QString();
    }
    QByteArray log() const { return fileContent(QStringLiteral("InVicinityLog"), onlyLog()); }
};

TEST_F(VicinityFixture, BothDialogsListAndLogTheLoggersHeardWithTheirOwnWaits)
{
    struct Case {
        const char* name;
        void (VicinityFixture::*open)();
        std::int64_t w1, w2, w3;
        bool fieldDisabled;
    };
    const Case cases[] = {
        {"Read Data", &VicinityFixture::openDownloadDialog, 10, 100, 100, true},
        {"Read Settings", &VicinityFixture::openSettingsDialog, 100, 200, 200, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        (this->*c.open)();
        link.clear();
        const std::int64_t t0 = pump.nowMs();
        base.sendUnsolicited({0xA0, 21, 0x40, 0x00}, (t0 + 1000) * 1000);
        base.sendUnsolicited({0xA0, 33, 0x40, 0x00}, (t0 + 1500) * 1000);
        base.sendUnsolicited({0xA0, 21, 0x41, 0x00}, (t0 + 2000) * 1000);
        bool mainDuring = true;
        bool exitDuring = true;
        bool fieldDuring = true;
        std::int64_t captionAtMs = -1;
        once([this] { return group->startButton()->text() == QStringLiteral("Stop Observation"); },
             [&] {
                 captionAtMs = pump.nowMs();
                 mainDuring = mainButton->isEnabled();
                 exitDuring = exit->isEnabled();
                 fieldDuring = implantField->isEnabled();
             });
        stopAt(3000);
        press();

        ASSERT_GE(link.writes().size(), 3u);
        const auto& identify = link.writes()[0];
        const auto& on = link.writes()[1];
        EXPECT_EQ(identify.bytes, (Bytes{39}));
        EXPECT_NEAR(identify.atMs - t0, c.w1 + 3, 1);
        EXPECT_EQ(on.bytes, (Bytes{36, 0xAA}));
        EXPECT_NEAR(on.atMs - identify.atMs, c.w2, 1);
        // The caption is seen at the first wait after it: once the 14 bytes
        // read away after opening the log have had their 3 ms.
        EXPECT_NEAR(captionAtMs - on.atMs, c.w3 + 3, 2);
        EXPECT_EQ(link.writes().back().bytes, (Bytes{36, 0xEE}));
        EXPECT_FALSE(base.loggerReportsOn());
        EXPECT_FALSE(mainDuring);
        EXPECT_FALSE(exitDuring);
        EXPECT_EQ(fieldDuring, !c.fieldDisabled);
        EXPECT_TRUE(mainButton->isEnabled());
        EXPECT_TRUE(exit->isEnabled());
        EXPECT_TRUE(implantField->isEnabled());
        EXPECT_EQ(group->startButton()->text(), QStringLiteral("Start Observation"));

        const QStringList lines = listLines(group->list());
        ASSERT_EQ(lines.size(), 5) << lines.join('|').toStdString();
        EXPECT_EQ(lines[0], QStringLiteral("Start Log:"));
        EXPECT_TRUE(lines[1].startsWith(QStringLiteral("LG: 2024-03-03 09:05:")));
        EXPECT_TRUE(lines[1].endsWith(QStringLiteral(", 21")));
        EXPECT_TRUE(lines[2].endsWith(QStringLiteral(", 33")));
        EXPECT_EQ(lines[4], QStringLiteral("Stop Log:"));
        EXPECT_TRUE(onlyLog().startsWith(QStringLiteral("InVicinityLog_2024-03-03_09h05m")));
        EXPECT_EQ(log(), (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1());
        QDir(dataRoot.filePath(QStringLiteral("InVicinityLog"))).removeRecursively();
    }
}

TEST_F(VicinityFixture, AnObservationWithNoReportLogsStartAndStop)
{
    openSettingsDialog();
    stopAt(1500);
    press();
    EXPECT_EQ(log(), QByteArray("Start Log:\r\nStop Log:\r\n"));
}

TEST_F(VicinityFixture, DeleteLogEmptiesTheListButTheFileKeepsEverything)
{
    openDownloadDialog();
    const std::int64_t t0 = pump.nowUs();
    base.sendUnsolicited({0xA0, 21, 0, 0}, t0 + 1'000'000);
    base.sendUnsolicited({0xA0, 44, 0, 0}, t0 + 2'500'000);
    pump.after(2000, [this] { group->deleteLogButton()->click(); });
    stopAt(3000);
    press();
    const QStringList lines = listLines(group->list());
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral(", 44")));
    EXPECT_EQ(log().count("LG: "), 2);
}

TEST_F(VicinityFixture, ASplitReportIsListedOnceAndWhole)
{
    openDownloadDialog();
    const std::int64_t t0 = pump.nowUs();
    base.sendUnsolicited({0xA0}, t0 + 1'000'000);
    base.sendUnsolicited({21, 0x40, 0x00}, t0 + 1'030'000);
    base.sendUnsolicited({0x40, 0x00, 0xA0}, t0 + 1'600'000); // the end of a report missed
    stopAt(2500);
    press();
    const QStringList lines = listLines(group->list());
    ASSERT_EQ(lines.size(), 3) << lines.join('|').toStdString();
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(", 21")));
}

TEST_F(VicinityFixture, AStopPressWhoseIdentifyFailsStillEndsTheObservation)
{
    openSettingsDialog();
    pump.after(1000, [this] { base.faults().silent = true; });
    stopAt(1500);
    press();
    EXPECT_EQ(prompts.messages(), QStringList{NoBase});
    EXPECT_EQ(link.writes().back().bytes, (Bytes{36, 0xEE}));
    EXPECT_TRUE(log().endsWith("Stop Log:\r\n"));
    EXPECT_TRUE(exit->isEnabled());
    EXPECT_TRUE(mainButton->isEnabled());
    EXPECT_EQ(group->startButton()->text(), QStringLiteral("Start Observation"));
}

TEST_F(VicinityFixture, ALogThatCannotBeMadeSwitchesTheReportsOffAgain)
{
    openDownloadDialog();
    QFile blocker(dataRoot.filePath(QStringLiteral("InVicinityLog")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    press();
    EXPECT_EQ(prompts.messages(), QStringList{QStringLiteral("Error: Can not create Log-file!")});
    EXPECT_EQ(link.writes().back().bytes, (Bytes{36, 0xEE}));
    EXPECT_FALSE(base.loggerReportsOn());
    EXPECT_TRUE(exit->isEnabled());
    EXPECT_TRUE(implantField->isEnabled());
    EXPECT_TRUE(mainButton->isEnabled());
    EXPECT_FALSE(download->animation()->isRunning());
}

TEST_F(VicinityFixture, ALostLinkEndsTheObservationAtOnceWithItsLastLine)
{
    openSettingsDialog();
    pump.after(1000, [this] { base.unplug(); });
    const std::int64_t t0 = pump.nowMs();
    press();
    EXPECT_LT(pump.nowMs() - t0, 1050);
    EXPECT_EQ(prompts.messages(), QStringList{NoBase});
    EXPECT_TRUE(log().endsWith("Stop Log:\r\n"));
    EXPECT_TRUE(exit->isEnabled());
}

TEST_F(VicinityFixture, TheSimulatedBaseStationReportsTheLoggersInRange)
{
    openSettingsDialog();
    base.setLoggerReportPeriodUs(400'000);
    stopAt(3000);
    press();
    const QString text = QString::fromLatin1(log());
    EXPECT_TRUE(text.contains(QStringLiteral(", 12\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral(", 31\r\n")));
    EXPECT_GE(text.count(QStringLiteral("LG: ")), 5);
}

// "Implant Surveillance".
struct ImplantSurveillanceFixture : BaseFixture {
    COmbrelRepeaterImplantSurveillanceDlg dialog{context()};

    ImplantSurveillanceFixture() { base.setImplantReportPeriodUs(1'000'000'000); }
    void press() { dialog.surveillanceButton()->click(); }
    void stopAt(std::int64_t ms)
    {
        pump.after(ms, [this] { press(); });
    }
    QByteArray log() const
    {
        const QStringList logs = filesIn(QStringLiteral("ImplantLog"));
        return logs.size() == 1 ? fileContent(QStringLiteral("ImplantLog"), logs[0]) : QByteArray();
    }
};

TEST_F(ImplantSurveillanceFixture, ReportsBecomeTheirLinesAndOtherKindsNone)
{
    const std::int64_t t0 = pump.nowUs();
    const std::vector<Bytes> reports{
        {0xA0, 0x85, 0x80, 0x25, 0, 0, 0},       {0xA0, 0x85, 0x00, 0x00, 0, 0, 0},
        {0xA0, 0xC5, 0, 0, 0x45, 0x45, 0},       {0xA0, 0xC5, 0, 0, 0x41, 0x41, 0},
        {0xA0, 0xC5, 0, 0, 0x45, 0x41, 0},       {0xA0, 0x45, 0x80, 0x25, 0, 0, 0},
        {0xA0, 0x3F, 0x80, 0x25, 0x45, 0x45, 0}, {0xA0, 0xBF, 0x00, 0x26, 0, 0, 0}};
    for (std::size_t i = 0; i < reports.size(); ++i)
        base.sendUnsolicited(reports[i], t0 + 1'000'000 + static_cast<std::int64_t>(i) * 350'000);
    bool exitDuringIdentify = false;
    bool exitDuringRun = true;
    QString captionDuringRun;
    pump.after(50, [&] { exitDuringIdentify = dialog.exitButton()->isEnabled(); });
    pump.after(800, [&] {
        exitDuringRun = dialog.exitButton()->isEnabled() || dialog.cancelButton()->isEnabled();
        captionDuringRun = dialog.surveillanceButton()->text();
    });
    stopAt(5000);
    press();
    EXPECT_TRUE(exitDuringIdentify);
    EXPECT_FALSE(exitDuringRun);
    EXPECT_EQ(captionDuringRun, QStringLiteral("Stop Surveilance"));
    EXPECT_EQ(dialog.surveillanceButton()->text(), QStringLiteral("Start Surveillance"));
    EXPECT_TRUE(dialog.exitButton()->isEnabled());
    EXPECT_FALSE(base.implantReportsOn());

    QStringList lines = listLines(dialog.list());
    ASSERT_EQ(lines.size(), 7) << lines.join('|').toStdString();
    for (QString& line : lines)
        line.replace(QRegularExpression(QStringLiteral("^(..): 2024-03-03 09:05:\\d\\d")),
                     QStringLiteral("\\1: T"));
    EXPECT_EQ(lines,
              (QStringList{"Start Log:", "BT: T, 5, 37.50", "BT: T, 5,", "MS: T, 5, Turned On",
                           "MS: T, 5, Turned Off", "BT: T, 63, 38.00", "Stop Log:"}));
    EXPECT_EQ(log(),
              (listLines(dialog.list()).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"))
                  .toLatin1());
}

TEST_F(ImplantSurveillanceFixture, ASurveillanceWithNoReportLogsStartAndStop)
{
    stopAt(1000);
    press();
    EXPECT_EQ(log(), QByteArray("Start Log:\r\nStop Log:\r\n"));
    const QStringList logs = filesIn(QStringLiteral("ImplantLog"));
    EXPECT_TRUE(logs[0].startsWith(QStringLiteral("ImplantLog_2024-03-03_09h05m")));
}

TEST_F(ImplantSurveillanceFixture, ASplitReportIsReadWholeAtTheNextLook)
{
    const std::int64_t t0 = pump.nowUs();
    base.sendUnsolicited({0xA0, 0x85, 0x80}, t0 + 1'000'000);
    base.sendUnsolicited({0x25, 0, 0, 0}, t0 + 1'050'000);
    stopAt(2000);
    press();
    const QStringList lines = listLines(dialog.list());
    ASSERT_EQ(lines.size(), 3) << lines.join('|').toStdString();
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(", 5, 37.50")));
}

TEST_F(ImplantSurveillanceFixture, DeleteLogAndAFailedStopIdentify)
{
    base.sendUnsolicited({0xA0, 0x85, 0x80, 0x25, 0, 0, 0}, pump.nowUs() + 800'000);
    pump.after(1200, [this] { dialog.deleteLogButton()->click(); });
    pump.after(1400, [this] { base.faults().silent = true; });
    stopAt(1500);
    press();
    EXPECT_EQ(prompts.messages(), QStringList{NoBase});
    EXPECT_EQ(listLines(dialog.list()), QStringList{QStringLiteral("Stop Log:")});
    EXPECT_TRUE(log().startsWith("Start Log:\r\nBT: "));
    EXPECT_TRUE(log().endsWith("Stop Log:\r\n"));
    EXPECT_EQ(link.writes().back().bytes, (Bytes{35, 0xEE}));
    EXPECT_EQ(dialog.surveillanceButton()->text(), QStringLiteral("Start Surveillance"));
}

TEST_F(ImplantSurveillanceFixture, ALogThatCannotBeMadeIsSaidAndTheReportsSwitchedOff)
{
    QFile blocker(dataRoot.filePath(QStringLiteral("ImplantLog")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    press();
    EXPECT_EQ(prompts.messages(), QStringList{QStringLiteral("Error: Can not create Log-file!")});
    EXPECT_EQ(link.writes().back().bytes, (Bytes{35, 0xEE}));
    EXPECT_EQ(dialog.surveillanceButton()->text(), QStringLiteral("Start Surveilance"));
    EXPECT_TRUE(dialog.exitButton()->isEnabled());
    EXPECT_FALSE(dialog.animation()->isRunning());
}

TEST_F(ImplantSurveillanceFixture, TheSimulatedBaseStationReportsItsImplants)
{
    base.setImplantReportPeriodUs(300'000);
    stopAt(4000);
    press();
    const QString text = QString::fromLatin1(log());
    EXPECT_GE(text.count(QStringLiteral("BT: ")), 8);
    EXPECT_TRUE(text.contains(QStringLiteral(", 7, 38.")));
    EXPECT_TRUE(text.contains(QStringLiteral("MS: ")));
}
