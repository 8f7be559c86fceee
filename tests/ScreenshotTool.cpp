// harvane-screenshots DIR: draws the main window and the shell's dialogs
// offscreen and saves each as a PNG in DIR, for the README and for looking
// at what users see.

#include "app/CAboutDlg.h"
#include "app/CExpertDlg.h"
#include "app/CMainFrame.h"
#include "app/CVelmoraDoc.h"
#include "app/CYesNoDlg.h"
#include "app/ContextHelpTable.h"
#include "app/DataFolders.h"
#include "app/HelpPopup.h"
#include "app/HelpSystem.h"
#include "app/HelpWindow.h"
#include "app/RecentFileList.h"
#include "base/COmbrelRepDownloadDataViaBaseDlg.h"
#include "base/COmbrelRepGetSetgsViaBaseDlg.h"
#include "base/COmbrelRepReadBaseRevDlg.h"
#include "base/COmbrelRepeaterImplantSurveillanceDlg.h"
#include "base/ImplantIdField.h"
#include "base/LoggersInVicinityGroup.h"
#include "data/CDataExplorerWnd.h"
#include "data/COmbrelRepeaterDataReadDlg.h"
#include "data/CVelmoraView.h"
#include "data/DataFile.h"
#include "data/ExplorerPlotView.h"
#include "link/CCOMChooseDlg.h"
#include "link/QtPump.h"
#include "link/RoutingDeviceLink.h"
#include "logger/COmbrelRepeaterAskBeforeErase.h"
#include "logger/COmbrelRepeaterConfigDlg.h"
#include "logger/COmbrelRepeaterFreqCalibDlg.h"
#include "logger/COmbrelRepeaterSetZAxisThresDlg.h"
#include "sim/DemoDownload.h"
#include "sim/SimulatedDeviceSet.h"
#include "sim/SimulatedPortEnumerator.h"
#include "tests/support/FakePortEnumerator.h"
#include "tests/support/ScriptedPrompts.h"
#include "widgets/BusyAnimation.h"
#include "widgets/CLed.h"
#include "widgets/LogListWidget.h"

#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

#include <cstdio>

namespace {

// Saves what the widget shows now; it stays as it is.
bool grabNow(QWidget& widget, const QString& dir, const QString& name)
{
    widget.show();
    QApplication::processEvents();
    const QString path = QDir(dir).filePath(name + QStringLiteral(".png"));
    const bool ok = widget.grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

bool save(QWidget& widget, const QString& dir, const QString& name)
{
    const bool ok = grabNow(widget, dir, name);
    widget.hide();
    return ok;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    const QString dir =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots");
    QDir().mkpath(dir);

    QtPump pump;
    ScriptedPrompts prompts;
    SimulatedDeviceSet devices;
    FakePortEnumerator system({QStringLiteral("ttyUSB0")});
    SimulatedPortEnumerator ports(system, devices);
    RoutingDeviceLink link([&](const QString& name) { return devices.makeLink(name, pump); });
    const DataFolders folders(QDir::home().filePath(QStringLiteral(".local/share/Harvane")));
    RecentFileList recent;
    bool ok = true;

    CMainFrame frame(MainFrameServices{pump, prompts, ports, link, folders, recent});
    frame.resize(1000, 640);
    frame.choosePort(QStringLiteral("sim:logger"));
    ok &= save(frame, dir, QStringLiteral("main-window"));

    // With the simulated logger's memory loaded, as after a download.
    {
        const auto& status = devices.logger().status();
        const auto& memory = devices.logger().memory();
        QByteArray bytes(reinterpret_cast<const char*>(status.data()),
                         static_cast<qsizetype>(status.size()));
        bytes.append(reinterpret_cast<const char*>(memory.data()),
                     static_cast<qsizetype>(memory.size()));
        frame.document().replaceData(DataDocument(bytes), false);
        ok &= save(frame, dir, QStringLiteral("main-window-data"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QDir(dir).filePath(QStringLiteral("print.pdf")));
        frame.leftPane()->printRecords(printer);
    }

    CExpertDlg expert(false);
    ok &= save(expert, dir, QStringLiteral("expert-dialog"));
    CAboutDlg about(folders.root());
    ok &= save(about, dir, QStringLiteral("about-box"));
    CYesNoDlg yesNo(QStringLiteral("Start logging with displayed settings?"));
    ok &= save(yesNo, dir, QStringLiteral("yes-no-dialog"));
    CCOMChooseDlg choose(ports, {});
    ok &= save(choose, dir, QStringLiteral("com-pick"));

    // The settings dialog after a read, as a user and as an expert sees it.
    for (const bool expert : {false, true}) {
        devices.logger().setClock(QDateTime::currentDateTime(), pump.nowUs());
        COmbrelRepeaterConfigDlg settings(
            DeviceContext{link, pump, prompts, folders, [expert] { return expert; }});
        link.open(QStringLiteral("sim:logger"));
        settings.readButton()->click();
        for (const char* line : {"Start Log:", "BT: 2026-12-10 11:20:01, 38.31, 21.45, 312, 4, 2",
                                 "LG: 2026-12-10 11:20:02,, 21.47, 288, 3, 1",
                                 "HB: 2026-12-10 11:20:03, 72, 74, 71, 73"})
            settings.surveillanceList()->appendLine(QString::fromLatin1(line));
        ok &= save(settings, dir,
                   expert ? QStringLiteral("logger-settings-expert")
                          : QStringLiteral("logger-settings"));
    }

    // The help beside the program: the window as F1 in Logger Settings
    // opens it, and a right-click note over its dialog (the note is
    // a window of its own, so it is drawn onto the dialog's picture).
    {
        devices.logger().setClock(QDateTime::currentDateTime(), pump.nowUs());
        link.open(QStringLiteral("sim:logger"));
        COmbrelRepeaterConfigDlg settings(frame.deviceContext());
        settings.readButton()->click();
        settings.show();
        HelpSystem help(
            HelpFiles(QCoreApplication::applicationDirPath(), QStringLiteral("harvane")),
            HelpBackend::builtIn());
        const DialogHelpEntry& entry =
            *ContextHelpTable::dialog(QStringLiteral("COmbrelRepeaterConfigDlg"));
        settings.setFocus(); // nothing numbered: the dialog's own page
        help.dialogF1(settings, entry);
        if (HelpWindow* window = help.window()) {
            // The contents come a moment after the file is opened.
            QAbstractItemModel* contents = window->contentsView()->model();
            for (int i = 0; i < 200 && contents != nullptr && contents->rowCount() == 0; ++i) {
                QThread::msleep(10);
                QApplication::processEvents();
            }
            help.dialogF1(settings, entry);
            ok &= save(*window, dir, QStringLiteral("help-window"));
        } else {
            std::printf("FAILED no help beside %s\n",
                        qPrintable(QCoreApplication::applicationDirPath()));
            ok = false;
        }
        QWidget* button = settings.readButton();
        const QPoint at =
            button->mapToGlobal(QPoint(button->width() * 2 / 3, button->height() / 2));
        const std::optional<QString> text = help.popupText(QString::fromLatin1(entry.popupPage), 1);
        if (HelpPopup* popup =
                text ? help.showPopup(*text, HelpSystem::popupPlace(*button, at)) : nullptr) {
            QApplication::processEvents();
            QPixmap picture = settings.grab();
            QPainter painter(&picture);
            painter.drawPixmap(popup->pos() - settings.mapToGlobal(QPoint(0, 0)), popup->grab());
            painter.end();
            const QString path = QDir(dir).filePath(QStringLiteral("help-popup.png"));
            const bool saved = picture.save(path);
            std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
            ok &= saved;
            popup->close();
        } else {
            std::printf("FAILED no right-click text\n");
            ok = false;
        }
        settings.hide();
    }

    // The other logger dialogs after a typical action each.
    {
        const auto fullMemory = devices.logger().memory();
        devices.logger().setMemory(
            std::vector<std::uint8_t>(fullMemory.begin(), fullMemory.begin() + 2000));
        COmbrelRepeaterDataReadDlg read(frame.deviceContext(), {});
        read.readButton()->click();
        ok &= save(read, dir, QStringLiteral("read-data"));
        devices.logger().setMemory(fullMemory);

        COmbrelRepeaterAskBeforeErase erase(frame.deviceContext());
        erase.countdownText()->setText(QStringLiteral("Erasing... at most 176 s left"));
        erase.animation()->start();
        ok &= save(erase, dir, QStringLiteral("erase-memory"));

        COmbrelRepeaterSetZAxisThresDlg threshold(frame.deviceContext());
        threshold.readButton()->click();
        ok &= save(threshold, dir, QStringLiteral("head-position-threshold"));

        COmbrelRepeaterFreqCalibDlg calibration(frame.deviceContext());
        for (const char* line :
             {"Start of Log:", "2026-12-10 11:20:01: 2.5 kHz", "2026-12-10 11:20:02: -5.0 kHz",
              "Added Frequency: -2.5 kHz", "2026-12-10 11:20:04: 0.0 kHz"})
            calibration.list()->appendLine(QString::fromLatin1(line));
        calibration.readButton()->click();
        ok &= save(calibration, dir, QStringLiteral("frequency-calibration"));
    }

    // The base-station dialogs, each with what an action leaves on it; the
    // download is taken while it runs.
    {
        link.open(QStringLiteral("sim:base"));
        devices.setClocks(QDateTime::currentDateTime(), pump.nowUs());
        SimulatedBaseStation& base = devices.baseStation();
        base.setConnectDelayUs(400'000);
        COmbrelRepGetSetgsViaBaseDlg settings(frame.deviceContext());
        settings.implantField()->setText(QStringLiteral("7"));
        settings.readButton()->click();
        for (const char* line :
             {"Start Log:", "LG: 2026-12-10 11:20:01, 12", "LG: 2026-12-10 11:20:02, 31",
              "LG: 2026-12-10 11:20:04, 33", "Stop Log:"})
            settings.vicinity()->list()->appendLine(QString::fromLatin1(line));
        ok &= save(settings, dir, QStringLiteral("base-read-settings"));

        COmbrelRepDownloadDataViaBaseDlg download(frame.deviceContext(), {});
        download.implantField()->setText(QStringLiteral("9"));
        download.show();
        QTimer::singleShot(4000, &download, [&] {
            ok &= grabNow(download, dir, QStringLiteral("base-read-data"));
            download.readButton()->click(); // stop: the rest waits for the next download
        });
        download.readButton()->click();
        download.hide();

        base.setImplantReportPeriodUs(350'000);
        COmbrelRepeaterImplantSurveillanceDlg implants(frame.deviceContext());
        implants.show();
        QTimer::singleShot(4000, &implants, [&] {
            ok &= grabNow(implants, dir, QStringLiteral("implant-surveillance"));
            implants.surveillanceButton()->click();
        });
        implants.surveillanceButton()->click();
        implants.hide();

        COmbrelRepReadBaseRevDlg revision(frame.deviceContext());
        revision.readButton()->click();
        ok &= save(revision, dir, QStringLiteral("base-revision"));
    }

    QWidget lamps;
    auto* grid = new QGridLayout(&lamps);
    const int colors[] = {CLed::Red, CLed::Green, CLed::Yellow, CLed::Blue};
    for (int row = 0; row < 2; ++row) {
        for (int c = 0; c < 4; ++c) {
            for (int mode = 0; mode < 3; ++mode) {
                auto* led = new CLed(&lamps);
                led->setFixedSize(40, 40);
                led->setLed(colors[c], mode, row == 0 ? CLed::Circular : CLed::Square);
                grid->addWidget(led, row, c * 3 + mode);
            }
        }
    }
    auto* busy = new BusyAnimation(&lamps);
    busy->setFixedSize(80, 48);
    busy->start();
    grid->addWidget(busy, 2, 0, 1, 4);
    ok &= save(lamps, dir, QStringLiteral("leds-and-busy-animation"));

    // The Data Explorer over three weeks of a cow with two fevers.
    {
        QTemporaryDir files;
        const QString path = files.filePath(QStringLiteral("Cow12.bin"));
        DataFile::save(path, DemoDownload::make(QDate(2024, 3, 4), 21));
        frame.resize(1000, 640);
        frame.openDataFile(path);
        frame.showDataExplorer();
        CDataExplorerWnd& explorer = *frame.dataExplorer();
        explorer.resize(1400, 900);
        QApplication::processEvents();
        ExplorerPlotView& plot = *explorer.plot();
        const auto& layout = plot.layout();
        auto hover = [&](std::int64_t time) {
            const QPointF at(layout.xFor(time), layout.plot.top() + layout.plot.height() / 3.0);
            QMouseEvent move(QEvent::MouseMove, at, plot.mapToGlobal(at), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(&plot, &move);
        };
        hover(CivilTime::fromFields(2024, 3, 19, 15, 0, 0).seconds());
        ok &= save(explorer, dir, QStringLiteral("data-explorer"));
        explorer.show();
        explorer.showEpisode(static_cast<int>(explorer.episodes().size()) - 1);
        QApplication::processEvents();
        hover(CivilTime::fromFields(2024, 3, 19, 11, 40, 0).seconds());
        ok &= save(explorer, dir, QStringLiteral("data-explorer-episode"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QDir(dir).filePath(QStringLiteral("explorer-print.pdf")));
        explorer.printTable(printer, true, 2);
        explorer.close();
    }
    return ok ? 0 : 1;
}
