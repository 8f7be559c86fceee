#include "app/CAboutDlg.h"
#include "app/CExpertDlg.h"
#include "app/CSplashWnd.h"
#include "app/CYesNoDlg.h"
#include "sim/SimulatedPump.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

int runYesNo(const std::function<void(CYesNoDlg&)>& act)
{
    CYesNoDlg dialog(QStringLiteral("Stop logging for sure?"));
    QTimer::singleShot(0, &dialog, [&] { act(dialog); });
    return dialog.exec();
}

} // namespace

TEST(CYesNoDlg, ResultsOfEachWayOut)
{
    EXPECT_EQ(runYesNo([](CYesNoDlg& d) { QTest::keyClick(d.focusWidget(), Qt::Key_Return); }),
              CYesNoDlg::ResultYes); // Enter at once answers Yes
    EXPECT_EQ(runYesNo([](CYesNoDlg& d) { d.yesButton()->click(); }), CYesNoDlg::ResultYes);
    EXPECT_EQ(runYesNo([](CYesNoDlg& d) { d.noButton()->click(); }), CYesNoDlg::ResultNo);
    EXPECT_EQ(runYesNo([](CYesNoDlg& d) {
                  d.noButton()->setFocus();
                  QTest::keyClick(d.noButton(), Qt::Key_Return);
              }),
              CYesNoDlg::ResultNo);
    EXPECT_EQ(runYesNo([](CYesNoDlg& d) { QTest::keyClick(&d, Qt::Key_Escape); }),
              CYesNoDlg::ResultDismissed);
    EXPECT_EQ(CYesNoDlg::ResultYes, 1157);
    EXPECT_EQ(CYesNoDlg::ResultNo, 7);
    EXPECT_EQ(CYesNoDlg::ResultDismissed, 2);
}

TEST(CYesNoDlg, ShowsTheQuestionAndCannotBeClosedWithTheMouse)
{
    CYesNoDlg dialog(QStringLiteral("Are you really sure to erase the whole data memory?"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Harvane"));
    EXPECT_EQ(dialog.question(),
              QStringLiteral("Are you really sure to erase the whole data memory?"));
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(dialog.yesButton()->isDefault());
}

TEST(CExpertDlg, AsksInRedBoldUnderlinedWithYesAsDefault)
{
    CExpertDlg off(false);
    CExpertDlg on(true);
    EXPECT_EQ(off.windowTitle(), QStringLiteral("Harvane - Expert Mode"));
    EXPECT_EQ(off.question(), QStringLiteral("Do you really want to enable expert mode features?"));
    EXPECT_EQ(on.question(), QStringLiteral("Do you really want to disable expert mode features?"));
    const QFont font = off.questionLabel()->font();
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.underline());
    EXPECT_EQ(font.pixelSize(), 15);
    EXPECT_EQ(off.questionLabel()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_TRUE(off.yesButton()->isDefault());
    // Two warning pictures.
    int pictures = 0;
    for (const QLabel* label : off.findChildren<QLabel*>())
        pictures += label->pixmap().isNull() ? 0 : 1;
    EXPECT_EQ(pictures, 2);
}

TEST(CAboutDlg, ShowsTheVersionAndTheDataFolder)
{
    CAboutDlg about(QStringLiteral("/srv/harvane-data"));
    EXPECT_EQ(about.windowTitle(), QStringLiteral("Harvane"));
    QStringList texts;
    for (const QLabel* label : about.findChildren<QLabel*>())
        texts.append(label->text());
    EXPECT_TRUE(texts.contains(QStringLiteral("Harvane Version 1.3.0")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Data folder: /srv/harvane-data")));
    const auto buttons = about.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons.front()->text(), QStringLiteral("Exit"));
    EXPECT_TRUE(buttons.front()->isDefault());
}

TEST(CSplashWnd, ClosesItselfAfterFiveSecondsOnThePumpClock)
{
    SimulatedPump pump;
    QPointer<CSplashWnd> splash = new CSplashWnd(pump);
    splash->show();
    EXPECT_TRUE(splash->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(splash->windowFlags().testFlag(Qt::FramelessWindowHint));
    pump.wait(4999);
    ASSERT_FALSE(splash.isNull());
    EXPECT_TRUE(splash->isVisible());
    pump.wait(1);
    EXPECT_TRUE(splash.isNull() || !splash->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(splash.isNull());
}
