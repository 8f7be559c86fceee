#include "app/ContextHelpTable.h"
#include "app/HelpBook.h"
#include "app/HelpPopup.h"
#include "app/HelpSystem.h"
#include "app/HelpWindow.h"
#include "app/PopupTextPage.h"
#include "tests/support/DialogBench.h"
#include "tests/support/HelpFixture.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <map>
#include <set>

namespace {

// The controls the help tables name that their dialogs do not have: a
// button the program has no use for (a port opens as soon as it is chosen;
// the two measuring dialogs close with Exit). Their texts still say so.
const std::set<std::pair<QString, QString>> AbsentControls{
    {QStringLiteral("CCOMChooseDlg"), QStringLiteral("OkButton")},
    {QStringLiteral("COmbrelRepeaterSetZAxisThresDlg"), QStringLiteral("CancelButton")},
    {QStringLiteral("COmbrelRepeaterFreqCalibDlg"), QStringLiteral("CancelButton")},
};

// The address a page and anchor of the topic table have in the help file
// (the "top" anchor is the page itself).
QUrl topicAddress(const QString& page, const QString& anchor)
{
    QUrl url(QStringLiteral("qthelp://org.harvane.help/doc/") + page);
    if (!anchor.isEmpty() && anchor != QLatin1String("top"))
        url.setFragment(anchor);
    return url;
}

QString sourcePopupText(const QString& page, int topic)
{
    QFile file(QDir(HelpFolder::sourceFolder()).filePath(QStringLiteral("popups/") + page));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return PopupTextPage::parse(file.readAll()).text(topic).value_or(QString());
}

std::string describe(const QString& dialogClass, const QWidget& widget)
{
    return (dialogClass + QLatin1Char(' ') + QString::fromLatin1(widget.metaObject()->className()) +
            QLatin1Char(' ') + widget.objectName())
        .toStdString();
}

} // namespace

// The table in the program and the one the help file is built from give
// every control the same number, F1 topic and popup topic, in both ways.
TEST(ContextHelpTable, AgreesWithTheShippedTopicTable)
{
    const std::vector<TopicRow> rows = shippedTopics();
    ASSERT_FALSE(rows.empty());
    std::map<QString, std::set<QString>> shippedNames;
    for (const TopicRow& row : rows) {
        SCOPED_TRACE((row.dialogClass + QLatin1Char(' ') + row.control).toStdString());
        EXPECT_EQ(row.f1Topic, ContextHelpTable::F1TopicBase + row.number);
        const DialogHelpEntry* dialog = ContextHelpTable::dialog(row.dialogClass);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(QString::fromLatin1(dialog->popupPage), row.popupPage);
        if (row.objectNames.isEmpty()) {
            EXPECT_EQ(dialog->baseNumber, row.number);
            continue;
        }
        for (const QString& name : row.objectNames) {
            shippedNames[row.dialogClass].insert(name);
            const ContextHelpControl* control = ContextHelpTable::control(*dialog, name);
            ASSERT_NE(control, nullptr) << name.toStdString();
            EXPECT_EQ(control->number, row.number) << name.toStdString();
            EXPECT_EQ(control->popupTopic, row.popupTopic) << name.toStdString();
        }
    }
    for (const DialogHelpEntry& dialog : ContextHelpTable::dialogs()) {
        std::set<QString> names;
        for (const ContextHelpControl& control : dialog.controls)
            names.insert(QString::fromLatin1(control.objectName));
        EXPECT_EQ(names, shippedNames[QString::fromLatin1(dialog.dialogClass)])
            << dialog.dialogClass;
    }
}

// Which file F1 and right-click of each dialog read, and the numbers that
// must not move: they are in help files already shipped.
TEST(ContextHelpTable, EachDialogNamesItsFilesAndKeepsItsNumbers)
{
    const struct {
        const char* dialogClass;
        HelpFileKind f1File;
        const char* popupPage;
        const char* control;
        int popupTopic;
    } cases[] = {
        {"CCOMChooseDlg", HelpFileKind::Program, "ContextSensHelpChooseComDlg.txt", "PortChoice",
         3},
        {"COmbrelRepeaterConfigDlg", HelpFileKind::Program, "ContextSensHelpConfigDlg.txt",
         "ExitButton", 35},
        {"COmbrelRepeaterConfigDlg", HelpFileKind::Program, "ContextSensHelpConfigDlg.txt",
         "VhfDisableBox", 49},
        {"COmbrelRepeaterConfigDlg", HelpFileKind::Program, "ContextSensHelpConfigDlg.txt",
         "LoggerStartTime", 0},
        {"COmbrelRepeaterAskBeforeErase", HelpFileKind::Program, "ContextSensHelpEraseDlg.txt",
         "EraseButton", 1},
        {"COmbrelRepeaterSetZAxisThresDlg", HelpFileKind::Program,
         "ContextSensHelpSetHeadPosDlg.txt", "HeadPosThresholdField", 6},
        {"COmbrelRepeaterFreqCalibDlg", HelpFileKind::Program, "ContextSensHelpCalibFreqDlg.txt",
         "FrequencyList", 7},
        {"COmbrelRepeaterFreqCalibDlg", HelpFileKind::Program, "ContextSensHelpCalibFreqDlg.txt",
         "ReadOffsetButton", 0},
        {"COmbrelRepeaterDataReadDlg", HelpFileKind::Program, "ContextSensHelpReadDlg.txt",
         "ProgressBar", 4},
        {"COmbrelRepDownloadDataViaBaseDlg", HelpFileKind::Program, "ContextSensHelpReadDlg.txt",
         "ExitButton", 3},
        {"COmbrelRepeaterImplantSurveillanceDlg", HelpFileKind::Program,
         "ContextSensHelpImplantSurvDlg.txt", "PacketList", 5},
        {"COmbrelRepGetSetgsViaBaseDlg", HelpFileKind::ProgramHlp,
         "ContextSensHelpStgsViaBaseDlg.txt", "LoggerTime", 33},
        {"COmbrelRepReadBaseRevDlg", HelpFileKind::ProgramHlp, "ContextSensHelpStgsViaBaseDlg.txt",
         "ExitButton", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.dialogClass) + " " + c.control);
        const DialogHelpEntry* dialog =
            ContextHelpTable::dialog(QString::fromLatin1(c.dialogClass));
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->f1File, c.f1File);
        EXPECT_STREQ(dialog->popupPage, c.popupPage);
        const ContextHelpControl* control =
            ContextHelpTable::control(*dialog, QString::fromLatin1(c.control));
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->popupTopic, c.popupTopic);
    }
    // Dialogs without help, and names no dialog uses.
    for (const char* none : {"CExpertDlg", "CYesNoDlg", "CAboutDlg", "CSplashWnd", ""})
        EXPECT_EQ(ContextHelpTable::dialog(QString::fromLatin1(none)), nullptr) << none;
    const DialogHelpEntry* settings =
        ContextHelpTable::dialog(QStringLiteral("COmbrelRepeaterConfigDlg"));
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(ContextHelpTable::control(*settings, QString()), nullptr);
    EXPECT_EQ(ContextHelpTable::control(*settings, QStringLiteral("qt_spinbox_lineedit")), nullptr);
}

// Every dialog, with each kind of help file the program reads.
class DialogHelp : public ::testing::TestWithParam<HelpKind> {
protected:
    HelpFolder folder{GetParam()};
    HelpSystem help{folder.files(), folder.backend()};
    DialogBench bench;
};

// A right-click on a control the dialog's table lists offers one entry,
// "What's This?", which shows that control's text from the dialog's popup
// page; a right-click anywhere else (labels, group boxes, the background,
// controls without a text such as "Logger start time:") offers no help.
TEST_P(DialogHelp, EveryListedControlHasItsTextAndNoOtherPlaceHasOne)
{
    for (const DialogBench::Maker& maker : DialogBench::makers()) {
        const QString dialogClass = QString::fromLatin1(maker.dialogClass);
        SCOPED_TRACE(maker.dialogClass);
        const DialogHelpEntry* entry = ContextHelpTable::dialog(dialogClass);
        ASSERT_NE(entry, nullptr);
        std::unique_ptr<QDialog> dialog = maker.make(bench);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));

        // Each listed control is there, with its name.
        for (const ContextHelpControl& control : entry->controls) {
            const QString name = QString::fromLatin1(control.objectName);
            if (AbsentControls.contains({dialogClass, name}))
                EXPECT_EQ(dialog->findChild<QWidget*>(name), nullptr) << control.objectName;
            else
                EXPECT_NE(dialog->findChild<QWidget*>(name), nullptr) << control.objectName;
        }

        // The popup topic of each control the shipped table lists for it.
        std::map<QString, int> topics;
        QString page;
        for (const TopicRow& row : shippedTopics()) {
            if (row.dialogClass != dialogClass)
                continue;
            page = row.popupPage;
            for (const QString& name : row.objectNames)
                topics[name] = row.popupTopic;
        }

        QList<QWidget*> widgets = dialog->findChildren<QWidget*>();
        widgets.prepend(dialog.get());
        int offered = 0;
        for (QWidget* widget : widgets) {
            // A part of a control (a list's viewport, a time field's editor)
            // counts as the control.
            int topic = 0;
            for (const QWidget* up = widget; up != nullptr && topic == 0; up = up->parentWidget()) {
                const auto listed = topics.find(up->objectName());
                if (listed != topics.end())
                    topic = listed->second;
                if (up == dialog.get() || listed != topics.end())
                    break;
            }
            const RightClick click = rightClick(help, *widget);
            if (topic == 0) {
                EXPECT_FALSE(click.helpMenu) << describe(dialogClass, *widget);
                EXPECT_TRUE(click.popupText.isEmpty()) << describe(dialogClass, *widget);
                continue;
            }
            ++offered;
            EXPECT_TRUE(click.helpMenu) << describe(dialogClass, *widget);
            EXPECT_FALSE(click.ownMenu) << describe(dialogClass, *widget);
            EXPECT_EQ(click.entries, QStringList{QStringLiteral("What's This?")});
            const QString expected = sourcePopupText(page, topic);
            EXPECT_FALSE(expected.isEmpty()) << describe(dialogClass, *widget);
            EXPECT_EQ(click.popupText.toStdString(), expected.toStdString())
                << describe(dialogClass, *widget);
        }
        EXPECT_GT(offered, 0);
        dialog->hide();
    }
    // Right-click never opened the help window.
    EXPECT_EQ(help.window(), nullptr);
}

// The texts are whole: the first of Logger Settings' read button, the one
// the port list and the one the shared page gives two different controls.
TEST_P(DialogHelp, PopupTextsComeWholeFromTheDialogsPage)
{
    const struct {
        const char* page;
        int topic;
        const char* begins;
    } cases[] = {
        {"ContextSensHelpConfigDlg.txt", 1, "Reads all settings, the clock and the packet counts"},
        {"ContextSensHelpChooseComDlg.txt", 3, "The serial ports of this computer."},
        {"ContextSensHelpChooseComDlg.txt", 2, "There is no OK button to press"},
    };
    for (const auto& c : cases) {
        const std::optional<QString> text = help.popupText(QString::fromLatin1(c.page), c.topic);
        ASSERT_TRUE(text.has_value()) << c.page << " " << c.topic;
        EXPECT_TRUE(text->startsWith(QString::fromUtf8(c.begins))) << text->toStdString();
        EXPECT_FALSE(text->contains(QLatin1String(".topic"))) << text->toStdString();
    }
    EXPECT_FALSE(help.popupText(QStringLiteral("ContextSensHelpConfigDlg.txt"), 34).has_value());
    EXPECT_FALSE(help.popupText(QStringLiteral("NoSuchPage.txt"), 1).has_value());
}

// F1 asks the dialog's help file for 393216 + the number of the focused
// control and shows the page and anchor the topic table gives it; with the
// focus on nothing numbered, the dialog's own page.
TEST_P(DialogHelp, F1OpensTheFocusedControlsTopicInTheDialogsFile)
{
    std::map<QString, std::vector<TopicRow>> byDialog;
    for (TopicRow& row : shippedTopics())
        byDialog[row.dialogClass].push_back(std::move(row));
    ASSERT_EQ(byDialog.size(), ContextHelpTable::dialogs().size());

    for (const DialogBench::Maker& maker : DialogBench::makers()) {
        const QString dialogClass = QString::fromLatin1(maker.dialogClass);
        SCOPED_TRACE(maker.dialogClass);
        const DialogHelpEntry* entry = ContextHelpTable::dialog(dialogClass);
        ASSERT_NE(entry, nullptr);
        const QString file = folder.files().path(entry->f1File, folder.extension());
        std::unique_ptr<QDialog> dialog = maker.make(bench);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        QApplication::setActiveWindow(dialog.get());

        int pressed = 0;
        for (const TopicRow& row : byDialog[dialogClass]) {
            SCOPED_TRACE(row.control.toStdString());
            QWidget* target = dialog.get();
            if (!row.objectNames.isEmpty()) {
                target = dialog->findChild<QWidget*>(row.objectNames.constFirst());
                // Hidden buttons and absent ones never have the focus.
                if (target == nullptr || !target->isVisibleTo(dialog.get()))
                    continue;
                // Buttons that wait for a first read are greyed: F1 is asked
                // about them as if they could have the focus.
                for (QWidget* up = target; up != dialog.get(); up = up->parentWidget())
                    up->setEnabled(true);
                target->setFocusPolicy(Qt::StrongFocus);
                target->setFocus(Qt::OtherFocusReason);
                ASSERT_EQ(HelpSystem::focusedNumber(*dialog, *entry), row.number);
            } else {
                if (QWidget* focused = dialog->focusWidget())
                    focused->clearFocus();
                ASSERT_EQ(HelpSystem::focusedNumber(*dialog, *entry), entry->baseNumber);
            }
            QWidget* receiver = dialog->focusWidget() != nullptr ? dialog->focusWidget() : target;
            QTest::keyClick(receiver, Qt::Key_F1);
            ++pressed;
            const HelpWindow* window = help.window();
            ASSERT_NE(window, nullptr);
            EXPECT_TRUE(window->isVisible());
            ASSERT_NE(window->book(), nullptr);
            EXPECT_EQ(window->book()->fileName(), file);
            EXPECT_EQ(window->currentUrl(), topicAddress(row.page, row.anchor))
                << window->currentUrl().toString().toStdString();
        }
        // The dialog's own page and at least one control's.
        EXPECT_GE(pressed, 2);
        dialog->hide();
    }
    // One window for all of it.
    EXPECT_EQ(helpWindowCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(Kinds, DialogHelp, ::testing::ValuesIn(availableHelpKinds()),
                         helpKindParamName);
