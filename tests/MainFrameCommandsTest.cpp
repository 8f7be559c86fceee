#include "app/CExpertDlg.h"
#include "app/CVelmoraDoc.h"
#include "data/CVelmoraView.h"
#include "link/CCOMChooseDlg.h"
#include "logger/COmbrelRepeaterAskBeforeErase.h"
#include "logger/COmbrelRepeaterConfigDlg.h"
#include "tests/support/MainFrameFixture.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>

namespace {

const QString ChoosePort = QStringLiteral("Please choose a COM port first!");
const QString ChooseLogger = QStringLiteral("Please choose a logger first!");

const MainCommand GuardedCommands[] = {
    MainCommand::ReadData,
    MainCommand::LoggerSettings,
    MainCommand::EraseMemory,
    MainCommand::HeadPosThreshold,
    MainCommand::CalibrateFrequency,
    MainCommand::BaseReadSettings,
    MainCommand::ImplantSurveillance,
    MainCommand::BaseReadData,
    MainCommand::BaseRevision,
};

QStringList menuLabels(const QMenu* menu)
{
    QStringList labels;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator())
            labels.append(action->text());
    }
    return labels;
}

} // namespace

TEST_F(MainFrameFixture, EveryGuardedCommandRefusesWithoutAPortFirst)
{
    frame().command(MainCommand::HeadPosThreshold)->setEnabled(true);
    frame().command(MainCommand::CalibrateFrequency)->setEnabled(true);
    for (MainCommand which : GuardedCommands) {
        prompts.clear();
        frame().command(which)->trigger();
        EXPECT_EQ(prompts.messages(), QStringList{ChoosePort})
            << frame().command(which)->text().toStdString();
    }
    // A port that failed to open counts as none.
    frame().choosePort(QStringLiteral("ttyUSB9"));
    prompts.clear();
    frame().command(MainCommand::LoggerSettings)->trigger();
    EXPECT_EQ(prompts.messages(), QStringList{ChoosePort});
}

TEST_F(MainFrameFixture, WithAPortButNoLoggerTypeTheSecondGuardAnswers)
{
    withLogger = false;
    frame().choosePort(QStringLiteral("sim:logger"));
    ASSERT_TRUE(frame().isPortOpen());
    for (MainCommand which :
         {MainCommand::ReadData, MainCommand::EraseMemory, MainCommand::BaseReadSettings}) {
        prompts.clear();
        frame().command(which)->trigger();
        EXPECT_EQ(prompts.messages(), QStringList{ChooseLogger})
            << frame().command(which)->text().toStdString();
    }
}

TEST_F(MainFrameFixture, PassingTheGuardReachesTheCommandsFunction)
{
    frame().choosePort(QStringLiteral("sim:logger"));
    bool opened = false;
    whenModalOpens<COmbrelRepeaterAskBeforeErase>(
        [](COmbrelRepeaterAskBeforeErase& dialog) { dialog.exitButton()->click(); }, &opened);
    frame().command(MainCommand::EraseMemory)->trigger();
    EXPECT_TRUE(opened);
    EXPECT_TRUE(prompts.messages().isEmpty());
    // Changing ports leaves the logger type in place.
    CLogger* before = frame().logger();
    frame().updateComPort();
    frame().choosePort(QStringLiteral("sim:base"));
    EXPECT_EQ(frame().logger(), before);
}

TEST_F(MainFrameFixture, MenusCarryTheirLabelsAndShortcuts)
{
    const QList<QAction*> menus = frame().menuBar()->actions();
    QStringList titles;
    for (const QAction* menu : menus)
        titles.append(menu->text());
    EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "&View", "COM Port", "Logger", "Base Station",
                                   "Help"}));
    EXPECT_EQ(menuLabels(menus[0]->menu()),
              (QStringList{"&New\tStrg+N", "Open...\tStrg+O", "&Save\tStrg+S", "Save &as...",
                           "&Print...\tStrg+P", "&Pageview", "Printview...", "Last used",
                           "Open &data folder", "&Exit"}));
    EXPECT_EQ(menuLabels(menus[1]->menu()),
              (QStringList{"&Reverse\tStrg+Z", "&Cut\tStrg+X", "&Copy\tStrg+C", "&Paste\tStrg+V"}));
    EXPECT_EQ(menuLabels(menus[2]->menu()),
              (QStringList{"&Toolbar", "Status &Bar", "&Data Explorer"}));
    EXPECT_EQ(menuLabels(menus[3]->menu()), (QStringList{"Choose COM port"}));
    EXPECT_EQ(menuLabels(menus[4]->menu()),
              (QStringList{"Read Data", "Logger Settings", "Erase Memory", "Set Head Pos Threshold",
                           "Calibrate Frequency"}));
    EXPECT_EQ(menuLabels(menus[5]->menu()),
              (QStringList{"Read Settings", "Implant Surveillance", "Read Data", "Read Base Rev"}));
    EXPECT_EQ(menuLabels(menus[6]->menu()), (QStringList{"&Help Topics", "&About Harvane..."}));

    const struct {
        MainCommand command;
        QList<QKeySequence> keys;
    } shortcuts[] = {
        {MainCommand::New, {QKeySequence(Qt::CTRL | Qt::Key_N)}},
        {MainCommand::Open, {QKeySequence(Qt::CTRL | Qt::Key_O)}},
        {MainCommand::Save, {QKeySequence(Qt::CTRL | Qt::Key_S)}},
        {MainCommand::Print, {QKeySequence(Qt::CTRL | Qt::Key_P)}},
        {MainCommand::Undo,
         {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)}},
        {MainCommand::Cut,
         {QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)}},
        {MainCommand::Copy,
         {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)}},
        {MainCommand::Paste,
         {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)}},
        {MainCommand::NextPane, {QKeySequence(Qt::Key_F6), QKeySequence(Qt::SHIFT | Qt::Key_F6)}},
        {MainCommand::WindowHelp, {QKeySequence(Qt::Key_F1)}},
        {MainCommand::ContextHelp, {QKeySequence(Qt::SHIFT | Qt::Key_F1)}},
    };
    for (const auto& s : shortcuts)
        EXPECT_EQ(frame().command(s.command)->shortcuts(), s.keys)
            << frame().command(s.command)->text().toStdString();
}

TEST_F(MainFrameFixture, CommandsShowTheirPromptsAndTooltips)
{
    const struct {
        MainCommand command;
        const char* prompt;
        const char* tooltip;
    } cases[] = {
        {MainCommand::ReadData, "Opens the Harvane – Read Data dialog.", "Read Logged Data"},
        {MainCommand::LoggerSettings, "Opens the Harvane – Logger Settings dialog.",
         "Choose Logger Settings"},
        {MainCommand::EraseMemory, "Opens the Harvane – Erase Logger Memory dialog.",
         "Erase Logger Memory"},
        {MainCommand::HeadPosThreshold, "Opens the Harvane – Head Position Threshold dialog.",
         "Set Head Pos Threshold"},
        {MainCommand::CalibrateFrequency, "Opens the Harvane – Frequency Calibration dialog.",
         "Frequency Calibration"},
        {MainCommand::ImplantSurveillance, "Opens the Harvane – Implant Surveillance dialog.",
         "Implant Surveillance"},
        {MainCommand::BaseReadSettings,
         "Opens the Harvane – Read Settings via Base Station dialog.", "Read Settings"},
        {MainCommand::BaseReadData, "Opens the Harvane – Read Data via Base Station dialog.",
         "Read Data via Base"},
        {MainCommand::ChooseComPort, "Choose COM port", "Choose COM port"},
    };
    for (const auto& c : cases) {
        const QAction* action = frame().command(c.command);
        EXPECT_EQ(action->statusTip(), QString::fromUtf8(c.prompt)) << c.prompt;
        EXPECT_EQ(action->toolTip(), QString::fromUtf8(c.tooltip)) << c.prompt;
    }
}

TEST_F(MainFrameFixture, ToolbarsInOrderWithTheirButtons)
{
    const auto bars = frame().findChildren<QToolBar*>();
    ASSERT_EQ(bars.size(), 3);
    const QToolBar* port = frame().findChild<QToolBar*>(QStringLiteral("PortToolBar"));
    ASSERT_NE(port, nullptr);
    QStringList items;
    for (QAction* action : port->actions())
        items.append(port->widgetForAction(action)->inherits("QComboBox")
                         ? QStringLiteral("<PortList>")
                         : action->text());
    EXPECT_EQ(items,
              (QStringList{"Update COM Port", "<PortList>", "Logger Settings", "Read Data"}));
    EXPECT_EQ(frame().portList()->width(), 80);
    EXPECT_EQ(frame().toolBarBreak(const_cast<QToolBar*>(port)), true);
    const QToolBar* standard = frame().findChild<QToolBar*>(QStringLiteral("StandardToolBar"));
    for (QAction* action : standard->actions()) {
        if (action->text() == QLatin1String("Cut") || action->text() == QLatin1String("Copy") ||
            action->text() == QLatin1String("Paste")) {
            EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
        }
    }
    EXPECT_TRUE(frame().command(MainCommand::Cut)->isEnabled()); // the menu entry stays enabled
}

TEST_F(MainFrameFixture, ExpertModeTogglesOnlyAfterYesAndItsQuestionFollowsTheMode)
{
    QAction* threshold = frame().command(MainCommand::HeadPosThreshold);
    QAction* calibrate = frame().command(MainCommand::CalibrateFrequency);
    EXPECT_FALSE(threshold->isEnabled());
    EXPECT_FALSE(calibrate->isEnabled());

    QStringList questions;
    auto answer = [&](bool yes) {
        whenModalOpens<CExpertDlg>([&questions, yes](CExpertDlg& dialog) {
            questions.append(dialog.question());
            (yes ? dialog.yesButton() : dialog.noButton())->click();
        });
        frame().toggleExpertMode();
    };
    answer(false);
    EXPECT_FALSE(frame().expertMode());
    EXPECT_FALSE(threshold->isEnabled());
    answer(true);
    EXPECT_TRUE(frame().expertMode());
    EXPECT_TRUE(threshold->isEnabled());
    EXPECT_TRUE(calibrate->isEnabled());
    answer(true);
    EXPECT_FALSE(frame().expertMode());
    EXPECT_FALSE(threshold->isEnabled());
    EXPECT_FALSE(calibrate->isEnabled());
    EXPECT_EQ(questions, (QStringList{"Do you really want to enable expert mode features?",
                                      "Do you really want to enable expert mode features?",
                                      "Do you really want to disable expert mode features?"}));
    // Expert mode on, no port: the usual guard.
    answer(true);
    prompts.clear();
    calibrate->trigger();
    EXPECT_EQ(prompts.messages(), QStringList{ChoosePort});
}

TEST_F(MainFrameFixture, ComPickOpensTheChosenPortAndStaysOpen)
{
    QStringList listed;
    int selectedBefore = 0;
    int listSelectionAfter = -2;
    QStringList messagesInside;
    bool opened = false;
    whenModalOpens<CCOMChooseDlg>(
        [&](CCOMChooseDlg& dialog) {
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("COM pick"));
            for (int i = 0; i < dialog.portList()->count(); ++i)
                listed.append(dialog.portList()->itemText(i));
            selectedBefore = dialog.portList()->currentIndex();
            // A port that fails: the message, and the dialog is still there.
            const int failing = dialog.portList()->findText(QStringLiteral("ttyUSB9"));
            dialog.portList()->setCurrentIndex(failing);
            Q_EMIT dialog.portList()->activated(failing);
            messagesInside = prompts.messages();
            const int logger = dialog.portList()->findText(QStringLiteral("sim:logger"));
            dialog.portList()->setCurrentIndex(logger);
            Q_EMIT dialog.portList()->activated(logger);
            listSelectionAfter = frame().portList()->currentIndex();
            EXPECT_TRUE(dialog.isVisible());
            dialog.exitButton()->click();
        },
        &opened);
    frame().command(MainCommand::ChooseComPort)->trigger();
    ASSERT_TRUE(opened);
    EXPECT_EQ(listed, (QStringList{"sim:base", "sim:logger", "ttyUSB9"}));
    EXPECT_EQ(selectedBefore, -1);
    EXPECT_EQ(messagesInside,
              QStringList{QStringLiteral("Error could not create handle to serial port!")});
    EXPECT_TRUE(frame().isPortOpen());
    EXPECT_EQ(frame().portName(), QStringLiteral("sim:logger"));
    EXPECT_EQ(listSelectionAfter, 1);
}

TEST_F(MainFrameFixture, ChooseComPortWorksOnlyWhileTheLeftPaneIsActive)
{
    bool opened = true;
    frame().rightPane()->setFocus();
    Q_EMIT frame().rightPane()->activated();
    whenModalOpens<CCOMChooseDlg>([](CCOMChooseDlg& dialog) { dialog.reject(); }, &opened);
    frame().command(MainCommand::ChooseComPort)->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(opened);

    frame().command(MainCommand::NextPane)->trigger();
    EXPECT_EQ(frame().activePane(), frame().leftPane());
    whenModalOpens<CCOMChooseDlg>([](CCOMChooseDlg& dialog) { dialog.reject(); }, &opened);
    frame().command(MainCommand::ChooseComPort)->trigger();
    EXPECT_TRUE(opened);
}

TEST_F(MainFrameFixture, ClosingWithUnsavedDataAsksAndCancelKeepsTheWindow)
{
    frame().document().setModifiedFlag(true);
    prompts.answerSaveChanges(SaveChangesAnswer::Cancel);
    QCloseEvent cancelled;
    QApplication::sendEvent(&frame(), &cancelled);
    EXPECT_FALSE(cancelled.isAccepted());
    EXPECT_EQ(prompts.questions(), QStringList{QStringLiteral("Save changes to Untitled?")});

    prompts.answerSaveChanges(SaveChangesAnswer::Discard);
    QCloseEvent discarded;
    QApplication::sendEvent(&frame(), &discarded);
    EXPECT_TRUE(discarded.isAccepted());

    frame().document().setModifiedFlag(false);
    QCloseEvent clean;
    QApplication::sendEvent(&frame(), &clean);
    EXPECT_TRUE(clean.isAccepted());
    EXPECT_EQ(prompts.questions().size(), 2);
}

TEST_F(MainFrameFixture, LoggerSettingsOpensTheSettingsDialogOnTheOpenPort)
{
    frame().choosePort(QStringLiteral("sim:logger"));
    bool opened = false;
    QString title;
    whenModalOpens<COmbrelRepeaterConfigDlg>(
        [&](COmbrelRepeaterConfigDlg& dialog) {
            title = dialog.windowTitle();
            dialog.exitButton()->click();
        },
        &opened);
    frame().command(MainCommand::LoggerSettings)->trigger();
    EXPECT_TRUE(opened);
    EXPECT_EQ(title, QStringLiteral("Harvane - Logger Settings"));
    EXPECT_TRUE(prompts.messages().isEmpty());
}
