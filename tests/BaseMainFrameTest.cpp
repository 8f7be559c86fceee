#include "app/CVelmoraDoc.h"
#include "base/COmbrelRepDownloadDataViaBaseDlg.h"
#include "base/COmbrelRepGetSetgsViaBaseDlg.h"
#include "base/COmbrelRepReadBaseRevDlg.h"
#include "base/COmbrelRepeaterImplantSurveillanceDlg.h"
#include "base/ImplantIdField.h"
#include "data/DataFile.h"
#include "tests/support/MainFrameFixture.h"
#include "tests/support/StreamBuilder.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

namespace {

template <typename Dialog> QString titleOfDialogOpenedBy(CMainFrame& frame, MainCommand command)
{
    QString title;
    bool opened = false;
    whenModalOpens<Dialog>(
        [&title](Dialog& dialog) {
            title = dialog.windowTitle();
            dialog.exitButton()->click();
        },
        &opened);
    frame.command(command)->trigger();
    return opened ? title : QStringLiteral("<not opened>");
}

} // namespace

TEST_F(MainFrameFixture, TheBaseStationMenuOpensItsFourDialogs)
{
    frame().choosePort(QStringLiteral("sim:base"));
    EXPECT_EQ(
        titleOfDialogOpenedBy<COmbrelRepGetSetgsViaBaseDlg>(frame(), MainCommand::BaseReadSettings),
        QStringLiteral("Harvane - Read Settings via Base Station"));
    EXPECT_EQ(titleOfDialogOpenedBy<COmbrelRepeaterImplantSurveillanceDlg>(
                  frame(), MainCommand::ImplantSurveillance),
              QStringLiteral("Implant Surveillance"));
    EXPECT_EQ(
        titleOfDialogOpenedBy<COmbrelRepDownloadDataViaBaseDlg>(frame(), MainCommand::BaseReadData),
        QStringLiteral("Harvane - Read Data via Base Station"));
    EXPECT_EQ(titleOfDialogOpenedBy<COmbrelRepReadBaseRevDlg>(frame(), MainCommand::BaseRevision),
              QStringLiteral("Harvane - Read Base Station Revision"));
    EXPECT_TRUE(prompts.messages().isEmpty());
}

TEST_F(MainFrameFixture, ABaseDownloadBecomesTheDocument)
{
    frame().choosePort(QStringLiteral("sim:base"));
    // A file is open when the download comes: the document must not keep
    // pointing at it, or Save would write the distant logger's data over it.
    const QString earlier = dataRoot.filePath(QStringLiteral("Cow3.bin"));
    ASSERT_TRUE(DataFile::save(earlier, StreamBuilder().record(9000, 5000, 1, 1, 1).document(3)));
    ASSERT_TRUE(frame().openDataFile(earlier));
    QString status;
    whenModalOpens<COmbrelRepDownloadDataViaBaseDlg>([&](COmbrelRepDownloadDataViaBaseDlg& d) {
        d.implantField()->setText(QStringLiteral("9"));
        d.readButton()->click();
        status = d.statusText()->text();
        d.exitButton()->click();
    });
    frame().command(MainCommand::BaseReadData)->trigger();
    EXPECT_EQ(status, QStringLiteral("Download completed!"));
    const SimulatedLogger& far = *devices.baseStation().loggerForImplant(9);
    const std::size_t stored = (far.memory().size() + 99) / 100 * 100 - 100;
    ASSERT_EQ(frame().document().data().size(), 72 + stored);
    EXPECT_TRUE(frame().document().isModified());
    EXPECT_TRUE(frame().document().pathName().isEmpty());
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Untitled - Harvane"));
    EXPECT_EQ(frame().document().data().header().loggerId(), 33);
    EXPECT_EQ(frame().document().data().bytes().mid(72),
              QByteArray(reinterpret_cast<const char*>(far.memory().data()),
                         static_cast<qsizetype>(stored)));
}

TEST_F(MainFrameFixture, ThePortsRemovalEndsADownloadAtOnce)
{
    frame().choosePort(QStringLiteral("sim:base"));
    QString status;
    QString message;
    std::int64_t removedAtMs = 0;
    std::int64_t endedAtMs = 0;
    whenModalOpens<COmbrelRepDownloadDataViaBaseDlg>([&](COmbrelRepDownloadDataViaBaseDlg& d) {
        d.implantField()->setText(QStringLiteral("7"));
        std::function<void()> pullWhenHalfWay = [&] {
            if (d.procedure().position() < 10'000) {
                pump.after(5, pullWhenHalfWay);
                return;
            }
            removedAtMs = pump.nowMs();
            devices.baseStation().unplug();
            ports.unplug(QStringLiteral("sim:base"));
            frame().onDeviceRemoved();
        };
        pump.after(5, pullWhenHalfWay);
        d.readButton()->click();
        endedAtMs = pump.nowMs();
        status = d.statusText()->text();
        message = prompts.messages().value(0);
        EXPECT_TRUE(d.exitButton()->isEnabled());
        d.exitButton()->click();
    });
    frame().command(MainCommand::BaseReadData)->trigger();
    EXPECT_LT(endedAtMs - removedAtMs, 60);
    EXPECT_EQ(message,
              QStringLiteral("No communication, please check connection to base station!"));
    EXPECT_TRUE(status.startsWith(QStringLiteral("Download aborted, still ")));
    EXPECT_FALSE(frame().isPortOpen());
    EXPECT_TRUE(frame().portName().isEmpty());
    EXPECT_FALSE(frame().document().hasData());
    const QStringList files =
        QDir(dataRoot.filePath(QStringLiteral("Downloads"))).entryList(QDir::Files);
    EXPECT_EQ(files, QStringList{QStringLiteral("DldImpID7LogID12.bin")});
}
