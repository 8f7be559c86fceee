// What a user meets first in the main window and its small dialogs: Save
// after a download, the default extension, the --port option, commands that
// grey out when they cannot act, the toolbar entry, the Yes/No question, and
// a program that answers --help without a display.

#include "app/CVelmoraApp.h"
#include "app/CVelmoraDoc.h"
#include "app/CYesNoDlg.h"
#include "data/COmbrelRepeaterDataReadDlg.h"
#include "data/CVelmoraView.h"
#include "data/DataFile.h"
#include "tests/support/MainFrameFixture.h"
#include "tests/support/StreamBuilder.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

struct SaveFixture : MainFrameFixture {
    QStringList asked;
    QString answer;

    CMainFrame& saveFrame()
    {
        if (!frameHolder) {
            MainFrameServices services{pump, prompts, ports, link, folders, recent};
            services.chooseFile = [this](bool save, const QString&) {
                asked.append(save ? QStringLiteral("save") : QStringLiteral("open"));
                return answer;
            };
            frameHolder = std::make_unique<CMainFrame>(std::move(services));
        }
        return *frameHolder;
    }
};

TEST_F(SaveFixture, ADownloadNeverSavesOverTheFileThatWasOpen)
{
    const QString earlier = dataRoot.filePath(QStringLiteral("Cow3.bin"));
    ASSERT_TRUE(DataFile::save(earlier, StreamBuilder().record(9000, 5000, 1, 1, 1).document(3)));
    const QByteArray before = readAll(earlier);
    ASSERT_TRUE(saveFrame().openDataFile(earlier));

    saveFrame().choosePort(QStringLiteral("sim:logger"));
    // The port change emptied the document; open the file again, then read.
    ASSERT_TRUE(saveFrame().openDataFile(earlier));
    whenModalOpens<COmbrelRepeaterDataReadDlg>([](COmbrelRepeaterDataReadDlg& dialog) {
        dialog.readButton()->click();
        dialog.exitButton()->click();
    });
    saveFrame().command(MainCommand::ReadData)->trigger();
    ASSERT_TRUE(saveFrame().document().hasData());
    EXPECT_EQ(saveFrame().windowTitle(), QStringLiteral("Untitled - Harvane"));
    EXPECT_TRUE(saveFrame().document().isModified());

    // Save asks for a name, and the earlier file is left alone.
    answer = dataRoot.filePath(QStringLiteral("Cow12-new.bin"));
    saveFrame().command(MainCommand::Save)->trigger();
    EXPECT_EQ(asked, QStringList{QStringLiteral("save")});
    EXPECT_EQ(readAll(earlier), before);
    EXPECT_EQ(readAll(answer).mid(9), saveFrame().document().data().bytes());
    EXPECT_EQ(saveFrame().windowTitle(), QStringLiteral("Cow12-new.bin - Harvane"));
    // The download's own file in ReadData is there as before.
    EXPECT_EQ(QDir(dataRoot.filePath(QStringLiteral("ReadData"))).entryList(QDir::Files).size(), 1);
}

TEST_F(SaveFixture, SaveAsAddsTheDefaultExtensionWhenNoneIsTyped)
{
    saveFrame().document().installDownload(StreamBuilder().record(9000, 5000, 1, 1, 1).document());
    const struct {
        const char* typed;
        const char* saved;
    } cases[] = {
        {"cow", "cow.bin"},
        {"cow.", "cow.bin"},
        {"cow.bin", "cow.bin"},
        {"herd.v2", "herd.v2"}, // an extension of the user's own stays
    };
    for (const auto& c : cases) {
        answer = dataRoot.filePath(QString::fromLatin1(c.typed));
        saveFrame().command(MainCommand::SaveAs)->trigger();
        const QString saved = dataRoot.filePath(QString::fromLatin1(c.saved));
        EXPECT_TRUE(QFile::exists(saved)) << c.typed;
        EXPECT_EQ(saveFrame().document().pathName(), saved) << c.typed;
    }
    EXPECT_TRUE(QFile::exists(dataRoot.filePath(QStringLiteral("cowBT.csv"))));
    EXPECT_FALSE(QFile::exists(dataRoot.filePath(QStringLiteral("cow"))));
}

TEST_F(MainFrameFixture, PaneCommandsAreGreyedWhileTheRightPaneIsActive)
{
    const MainCommand paneCommands[] = {MainCommand::ChooseComPort, MainCommand::Print,
                                        MainCommand::Pageview};
    for (MainCommand which : paneCommands)
        EXPECT_TRUE(frame().command(which)->isEnabled());
    frame().command(MainCommand::NextPane)->trigger();
    ASSERT_EQ(frame().activePane(), frame().rightPane());
    for (MainCommand which : paneCommands)
        EXPECT_FALSE(frame().command(which)->isEnabled());
    EXPECT_TRUE(frame().command(MainCommand::PrintSetup)->isEnabled());
    frame().command(MainCommand::NextPane)->trigger();
    for (MainCommand which : paneCommands)
        EXPECT_TRUE(frame().command(which)->isEnabled());
}

TEST_F(MainFrameFixture, TheToolbarEntryFollowsTheToolbar)
{
    frame().show();
    auto* standard = frame().findChild<QToolBar*>(QStringLiteral("StandardToolBar"));
    ASSERT_NE(standard, nullptr);
    QAction* entry = frame().command(MainCommand::ToggleToolbar);
    standard->hide(); // as from the toolbar's own context menu
    EXPECT_FALSE(entry->isChecked());
    entry->trigger();
    EXPECT_TRUE(standard->isVisible());
    EXPECT_TRUE(entry->isChecked());
}

TEST_F(MainFrameFixture, APortTheSystemDoesNotListCanBeAddedAndOpened)
{
    frame().addPortToList(QStringLiteral("sim:logger-extra"));
    EXPECT_GE(frame().portList()->findText(QStringLiteral("sim:logger-extra")), 0);
    // It stays through a refill of the list.
    frame().updateComPort();
    EXPECT_GE(frame().portList()->findText(QStringLiteral("sim:logger-extra")), 0);
}

TEST(CVelmoraApp, APortOnTheCommandLineIsOpenedAsIfChosen)
{
    QTemporaryDir dir;
    CVelmoraApp app;
    ASSERT_TRUE(app.initInstance({QStringLiteral("harvane"), QStringLiteral("--demo"),
                                  QStringLiteral("--data-dir"), dir.path(),
                                  QStringLiteral("--port"), QStringLiteral("sim:logger")}));
    QApplication::processEvents(); // opened once the window is up
    EXPECT_TRUE(app.mainFrame()->isPortOpen());
    EXPECT_EQ(app.mainFrame()->portName(), QStringLiteral("sim:logger"));
    EXPECT_EQ(app.mainFrame()->portList()->currentText(), QStringLiteral("sim:logger"));
}

TEST(CVelmoraApp, HelpAndVersionNeedNoDisplay)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    for (const char* option : {"--help", "--version"}) {
        QProcess harvane;
        harvane.setProcessEnvironment(environment);
        harvane.start(QStringLiteral(HARVANE_APP_PATH), {QString::fromLatin1(option)});
        ASSERT_TRUE(harvane.waitForFinished(20'000)) << option;
        EXPECT_EQ(harvane.exitStatus(), QProcess::NormalExit) << option;
        EXPECT_EQ(harvane.exitCode(), 0) << option;
        const QString out = QString::fromLocal8Bit(harvane.readAllStandardOutput());
        EXPECT_TRUE(out.contains(QLatin1String(option) == QLatin1String("--help")
                                     ? QStringLiteral("--port")
                                     : QStringLiteral("1.3.0")))
            << option << out.toStdString();
    }
}

TEST(CYesNoDlg, TheWindowManagersCloseIsNoAnswer)
{
    CYesNoDlg dialog(QStringLiteral("Stop logging for sure?"));
    dialog.show();
    QCloseEvent close;
    QApplication::sendEvent(&dialog, &close);
    EXPECT_FALSE(close.isAccepted());
    EXPECT_TRUE(dialog.isVisible());
    dialog.yesButton()->click();
    EXPECT_EQ(dialog.result(), CYesNoDlg::ResultYes);
    EXPECT_FALSE(dialog.isVisible());
}
