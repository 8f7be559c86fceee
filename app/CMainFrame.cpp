#include "app/CMainFrame.h"

#include "app/CAboutDlg.h"
#include "app/CExpertDlg.h"
#include "app/CVelmoraDoc.h"
#include "app/ContextHelpMode.h"
#include "app/ContextHelpTable.h"
#include "app/DataFolders.h"
#include "app/HelpSystem.h"
#include "app/RecentFileList.h"
#include "app/ToolbarIcons.h"
#include "base/COmbrelRepDownloadDataViaBaseDlg.h"
#include "base/COmbrelRepGetSetgsViaBaseDlg.h"
#include "base/COmbrelRepReadBaseRevDlg.h"
#include "base/COmbrelRepeaterImplantSurveillanceDlg.h"
#include "data/CDataExplorerWnd.h"
#include "data/CVelmoraSecondSplitterView.h"
#include "data/CVelmoraView.h"
#include "link/CCOMChooseDlg.h"
#include "link/DeviceLink.h"
#include "link/PortEnumerator.h"
#include "link/PortNames.h"
#include "link/PortOpenFailure.h"
#include "link/PortWatcher.h"
#include "link/Pump.h"
#include "link/UserPrompts.h"
#include "logger/COmbrelRepeater.h"
#include "logger/COmbrelRepeaterFreqCalibDlg.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>

namespace {

QString chooseWithDialog(QWidget* parent, bool save, const QString& suggestion)
{
    const QString filter = QCoreApplication::translate("CMainFrame", "Harvane (*.bin)");
    if (!save)
        return QFileDialog::getOpenFileName(
            parent, QCoreApplication::translate("CMainFrame", "Open"), suggestion, filter);
    QFileDialog dialog(parent, QCoreApplication::translate("CMainFrame", "Save as"), suggestion,
                       filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("bin"));
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
               ? dialog.selectedFiles().constFirst()
               : QString();
}

} // namespace

CMainFrame::CMainFrame(MainFrameServices services, QWidget* parent)
    : QMainWindow(parent), m_services(std::move(services))
{
    setObjectName(QStringLiteral("MainFrame"));
    m_logger = m_services.makeLogger ? m_services.makeLogger(*this)
                                     : std::make_unique<COmbrelRepeater>(*this);
    m_document = new CVelmoraDoc([this] { return m_logger.get(); }, this);
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    connect(m_document, &CVelmoraDoc::titleChanged, this, &CMainFrame::updateTitle);
    m_help = std::make_unique<HelpSystem>(m_services.helpFiles, m_services.helpBackend, this);
    m_help->setActionPages([this](const QAction* action) {
        for (std::size_t i = 0; i < MainCommandCount; ++i) {
            if (m_commands[i] == action)
                return ContextHelpTable::commandPage(static_cast<MainCommand>(i));
        }
        return QString();
    });
    m_contextHelp = new ContextHelpMode(*this, *m_help);

    // Four fifths of the screen, centred.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        const int height = area.height() * 4 / 5;
        const int width = area.width() * 4 / 5;
        setGeometry(area.x() + (width * 5 / 4 - width) / 2,
                    area.y() + (height * 5 / 4 - height) / 2, width, height);
    }

    // Two panes side by side, half the width each; the left one active.
    auto lookup = [this] { return m_logger.get(); };
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("PaneSplitter"));
    splitter->setChildrenCollapsible(false);
    m_left = new CVelmoraView(*m_document, lookup, splitter);
    m_left->setObjectName(QStringLiteral("RecordPane"));
    m_right = new CVelmoraSecondSplitterView(*m_document, lookup, splitter);
    m_right->setObjectName(QStringLiteral("HeartRatePane"));
    splitter->addWidget(m_left);
    splitter->addWidget(m_right);
    splitter->setSizes({width() / 2, width() / 2});
    setCentralWidget(splitter);
    connect(m_left, &CVelmoraView::activated, this, [this] { setActivePane(m_left); });
    connect(m_right, &CVelmoraView::activated, this, [this] { setActivePane(m_right); });

    createActions();
    createMenus();
    createToolBars();
    createStatusBar();

    setActivePane(m_left);
    // Expert entries are greyed at every start.
    command(MainCommand::HeadPosThreshold)->setEnabled(false);
    command(MainCommand::CalibrateFrequency)->setEnabled(false);
    m_expertMode = false;

    fillPortList();
    m_watcher = new PortWatcher(m_services.ports, m_services.pump, this);
    connect(m_watcher, &PortWatcher::deviceArrived, this, &CMainFrame::onDeviceArrived);
    connect(m_watcher, &PortWatcher::deviceRemoved, this, &CMainFrame::onDeviceRemoved);
    m_watcher->start();
    updateTitle();
    updateRecentFiles();
}

CMainFrame::~CMainFrame()
{
    closePort();
}

CVelmoraView* CMainFrame::rightPane() const
{
    return m_right;
}

QAction* CMainFrame::addCommand(MainCommand which, const QString& label, const QString& statusTip,
                                const QString& toolTip)
{
    auto* action = new QAction(label, this);
    action->setStatusTip(statusTip);
    if (!toolTip.isEmpty())
        action->setToolTip(toolTip);
    m_commands[static_cast<std::size_t>(which)] = action;
    return action;
}

void CMainFrame::createActions()
{
    const QStyle* style = QApplication::style();
    auto shortcuts = [](QAction* action, std::initializer_list<QKeySequence> keys) {
        action->setShortcuts(QList<QKeySequence>(keys));
    };

    // File
    QAction* newFile =
        addCommand(MainCommand::New, tr("&New\tStrg+N"), tr("Create a new document"), tr("New"));
    newFile->setIcon(style->standardIcon(QStyle::SP_FileIcon));
    shortcuts(newFile, {QKeySequence(Qt::CTRL | Qt::Key_N)});
    connect(newFile, &QAction::triggered, this, [this] {
        if (saveModified())
            m_document->newDocument();
    });
    QAction* open = addCommand(MainCommand::Open, tr("Open...\tStrg+O"),
                               tr("Open an existing document"), tr("Open"));
    open->setIcon(style->standardIcon(QStyle::SP_DialogOpenButton));
    shortcuts(open, {QKeySequence(Qt::CTRL | Qt::Key_O)});
    connect(open, &QAction::triggered, this, &CMainFrame::fileOpen);
    QAction* save = addCommand(MainCommand::Save, tr("&Save\tStrg+S"),
                               tr("Save the active document"), tr("Save"));
    save->setIcon(style->standardIcon(QStyle::SP_DialogSaveButton));
    shortcuts(save, {QKeySequence(Qt::CTRL | Qt::Key_S)});
    connect(save, &QAction::triggered, this, &CMainFrame::fileSave);
    connect(addCommand(MainCommand::SaveAs, tr("Save &as..."),
                       tr("Save the active document with a new name")),
            &QAction::triggered, this, &CMainFrame::fileSaveAs);
    QAction* print = addCommand(MainCommand::Print, tr("&Print...\tStrg+P"),
                                tr("Print the active document"), tr("Print"));
    print->setIcon(ToolbarIcons::print());
    shortcuts(print, {QKeySequence(Qt::CTRL | Qt::Key_P)});
    connect(print, &QAction::triggered, this, [this] {
        // Printing belongs to the left pane, and works while it is active.
        if (m_active != m_left)
            return;
        QPrintDialog dialog(m_printer.get(), this);
        if (dialog.exec() == QDialog::Accepted)
            m_left->printRecords(*m_printer);
    });
    connect(addCommand(MainCommand::Pageview, tr("&Pageview"), tr("Display full pages")),
            &QAction::triggered, this, [this] {
                if (m_active != m_left)
                    return;
                QPrintPreviewDialog preview(m_printer.get(), this);
                connect(&preview, &QPrintPreviewDialog::paintRequested, this,
                        [this](QPrinter* printer) { m_left->printRecords(*printer); });
                preview.exec();
            });
    connect(
        addCommand(MainCommand::PrintSetup, tr("Printview..."), tr("Change the printing options")),
        &QAction::triggered, this, [this] {
            QPageSetupDialog setup(m_printer.get(), this);
            setup.exec();
        });
    connect(addCommand(MainCommand::OpenDataFolder, tr("Open &data folder"),
                       tr("Show the folder with reports, logs and downloads")),
            &QAction::triggered, this,
            [this] { QDesktopServices::openUrl(QUrl::fromLocalFile(m_services.folders.root())); });
    connect(addCommand(MainCommand::Exit, tr("&Exit"),
                       tr("Quit the application; prompts to save documents")),
            &QAction::triggered, this, &QWidget::close);

    // Edit: present, as users expect them, but there is nothing to edit.
    QAction* undo =
        addCommand(MainCommand::Undo, tr("&Reverse\tStrg+Z"), tr("Undo the last action"));
    shortcuts(undo,
              {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    QAction* cut = addCommand(MainCommand::Cut, tr("&Cut\tStrg+X"),
                              tr("Cut the selection and put it on the Clipboard"), tr("Cut"));
    cut->setIcon(ToolbarIcons::cut());
    shortcuts(cut, {QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)});
    QAction* copy = addCommand(MainCommand::Copy, tr("&Copy\tStrg+C"),
                               tr("Copy the selection and put it on the Clipboard"), tr("Copy"));
    copy->setIcon(ToolbarIcons::copy());
    shortcuts(copy, {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    QAction* paste = addCommand(MainCommand::Paste, tr("&Paste\tStrg+V"),
                                tr("Insert Clipboard contents"), tr("Paste"));
    paste->setIcon(ToolbarIcons::paste());
    shortcuts(paste,
              {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)});

    // View
    QAction* toolbar =
        addCommand(MainCommand::ToggleToolbar, tr("&Toolbar"), tr("Show or hide the toolbar"));
    toolbar->setCheckable(true);
    toolbar->setChecked(true);
    QAction* statusBarToggle = addCommand(MainCommand::ToggleStatusBar, tr("Status &Bar"),
                                          tr("Show or hide the status bar"));
    statusBarToggle->setCheckable(true);
    statusBarToggle->setChecked(true);
    connect(statusBarToggle, &QAction::toggled, this,
            [this](bool on) { statusBar()->setVisible(on); });
    QAction* explorer =
        addCommand(MainCommand::DataExplorer, tr("&Data Explorer"),
                   tr("Show every record in a table and in plots over time, with the "
                      "fever episodes"),
                   tr("Data Explorer"));
    explorer->setIcon(ToolbarIcons::dataExplorer());
    connect(explorer, &QAction::triggered, this, &CMainFrame::showDataExplorer);

    // COM Port: only while the left pane is the active one.
    connect(addCommand(MainCommand::ChooseComPort, tr("Choose COM port"), tr("Choose COM port")),
            &QAction::triggered, this, [this] {
                if (m_active == m_left)
                    chooseComPortDialog();
            });

    // Logger
    connect(addCommand(MainCommand::ReadData, tr("Read Data"),
                       tr("Opens the Harvane – Read Data dialog."), tr("Read Logged Data")),
            &QAction::triggered, this,
            [this] { guarded([this] { m_logger->ShowReadDataDialog(); }); });
    connect(
        addCommand(MainCommand::LoggerSettings, tr("Logger Settings"),
                   tr("Opens the Harvane – Logger Settings dialog."), tr("Choose Logger Settings")),
        &QAction::triggered, this, [this] { guarded([this] { m_logger->ShowSettingsDialog(); }); });
    connect(addCommand(MainCommand::EraseMemory, tr("Erase Memory"),
                       tr("Opens the Harvane – Erase Logger Memory dialog."),
                       tr("Erase Logger Memory")),
            &QAction::triggered, this,
            [this] { guarded([this] { m_logger->ShowEraseDialog(); }); });
    connect(addCommand(MainCommand::HeadPosThreshold, tr("Set Head Pos Threshold"),
                       tr("Opens the Harvane – Head Position Threshold dialog."),
                       tr("Set Head Pos Threshold")),
            &QAction::triggered, this,
            [this] { guarded([this] { m_logger->ShowHeadPositionDialog(); }); });
    connect(addCommand(MainCommand::CalibrateFrequency, tr("Calibrate Frequency"),
                       tr("Opens the Harvane – Frequency Calibration dialog."),
                       tr("Frequency Calibration")),
            &QAction::triggered, this, [this] {
                guarded([this] {
                    COmbrelRepeaterFreqCalibDlg dialog(deviceContext(), this);
                    dialog.exec();
                });
            });

    // Base Station
    connect(addCommand(MainCommand::BaseReadSettings, tr("Read Settings"),
                       tr("Opens the Harvane – Read Settings via Base Station dialog."),
                       tr("Read Settings")),
            &QAction::triggered, this, [this] {
                guarded([this] {
                    COmbrelRepGetSetgsViaBaseDlg dialog(deviceContext(), this);
                    dialog.exec();
                });
            });
    connect(addCommand(MainCommand::ImplantSurveillance, tr("Implant Surveillance"),
                       tr("Opens the Harvane – Implant Surveillance dialog."),
                       tr("Implant Surveillance")),
            &QAction::triggered, this, [this] {
                guarded([this] {
                    COmbrelRepeaterImplantSurveillanceDlg dialog(deviceContext(), this);
                    dialog.exec();
                });
            });
    connect(addCommand(MainCommand::BaseReadData, tr("Read Data"),
                       tr("Opens the Harvane – Read Data via Base Station dialog."),
                       tr("Read Data via Base")),
            &QAction::triggered, this, [this] {
                guarded([this] {
                    BaseDownloadProcedure::Hooks hooks;
                    // Untitled, as after a cable download: Save must not write
                    // the distant logger's data over the file that was open.
                    hooks.installData = [this](DataDocument data) {
                        m_document->installDownload(std::move(data));
                    };
                    COmbrelRepDownloadDataViaBaseDlg dialog(deviceContext(), std::move(hooks),
                                                            this);
                    dialog.exec();
                });
            });
    connect(addCommand(MainCommand::BaseRevision, tr("Read Base Rev"),
                       tr("Shows the base station's firmware and hardware revision.")),
            &QAction::triggered, this, [this] {
                guarded([this] {
                    COmbrelRepReadBaseRevDlg dialog(deviceContext(), this);
                    dialog.exec();
                });
            });

    // Help
    connect(addCommand(MainCommand::HelpTopics, tr("&Help Topics"), tr("List Help topics")),
            &QAction::triggered, this, [this] { m_help->showContents(); });
    QAction* windowHelp =
        addCommand(MainCommand::WindowHelp, tr("Help"), tr("Display help for the current window"));
    windowHelp->setShortcut(QKeySequence(Qt::Key_F1));
    connect(windowHelp, &QAction::triggered, this,
            [this] { m_help->showMainPage(ContextHelpTable::windowPage(tr("CMainFrame"))); });
    addAction(windowHelp);
    QAction* about =
        addCommand(MainCommand::About, tr("&About Harvane..."),
                   tr("Display program information, version number and copyright"), tr("About"));
    about->setIcon(style->standardIcon(QStyle::SP_MessageBoxInformation));
    connect(about, &QAction::triggered, this, &CMainFrame::showAbout);
    QAction* contextHelp =
        addCommand(MainCommand::ContextHelp, QStringLiteral("?"),
                   tr("Display help for clicked on buttons, menus and windows"), tr("Help"));
    contextHelp->setIcon(ToolbarIcons::contextHelp());
    contextHelp->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));
    connect(contextHelp, &QAction::triggered, m_contextHelp, &ContextHelpMode::enter);

    // Expert toolbar, port toolbar and pane switching.
    connect(addCommand(MainCommand::ExpertMode, tr("Expert Mode"),
                       tr("Switch the expert functions on or off")),
            &QAction::triggered, this, &CMainFrame::toggleExpertMode);
    connect(addCommand(MainCommand::UpdateComPort, tr("Update COM Port"),
                       tr("Close the port and list the serial ports again")),
            &QAction::triggered, this, &CMainFrame::updateComPort);
    QAction* nextPane = addCommand(MainCommand::NextPane, tr("Next Pane"));
    nextPane->setShortcuts({QKeySequence(Qt::Key_F6), QKeySequence(Qt::SHIFT | Qt::Key_F6)});
    connect(nextPane, &QAction::triggered, this, &CMainFrame::switchPane);
    addAction(nextPane);
}

void CMainFrame::createMenus()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(command(MainCommand::New));
    file->addAction(command(MainCommand::Open));
    file->addAction(command(MainCommand::Save));
    file->addAction(command(MainCommand::SaveAs));
    file->addSeparator();
    file->addAction(command(MainCommand::Print));
    file->addAction(command(MainCommand::Pageview));
    file->addAction(command(MainCommand::PrintSetup));
    file->addSeparator();
    m_recentMenu = file->addMenu(tr("Last used"));
    file->addSeparator();
    file->addAction(command(MainCommand::OpenDataFolder));
    file->addSeparator();
    file->addAction(command(MainCommand::Exit));

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    for (MainCommand which :
         {MainCommand::Undo, MainCommand::Cut, MainCommand::Copy, MainCommand::Paste})
        edit->addAction(command(which));
    edit->insertSeparator(command(MainCommand::Cut));

    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->addAction(command(MainCommand::ToggleToolbar));
    view->addAction(command(MainCommand::ToggleStatusBar));
    view->addSeparator();
    view->addAction(command(MainCommand::DataExplorer));

    QMenu* port = menuBar()->addMenu(tr("COM Port"));
    port->addAction(command(MainCommand::ChooseComPort));

    QMenu* logger = menuBar()->addMenu(tr("Logger"));
    for (MainCommand which :
         {MainCommand::ReadData, MainCommand::LoggerSettings, MainCommand::EraseMemory,
          MainCommand::HeadPosThreshold, MainCommand::CalibrateFrequency})
        logger->addAction(command(which));

    QMenu* base = menuBar()->addMenu(tr("Base Station"));
    for (MainCommand which : {MainCommand::BaseReadSettings, MainCommand::ImplantSurveillance,
                              MainCommand::BaseReadData, MainCommand::BaseRevision})
        base->addAction(command(which));

    QMenu* help = menuBar()->addMenu(tr("Help"));
    help->addAction(command(MainCommand::HelpTopics));
    help->addSeparator();
    help->addAction(command(MainCommand::About));
}

void CMainFrame::createToolBars()
{
    QToolBar* standard = addToolBar(tr("Standard"));
    standard->setObjectName(QStringLiteral("StandardToolBar"));
    standard->addAction(command(MainCommand::New));
    standard->addAction(command(MainCommand::Open));
    standard->addAction(command(MainCommand::Save));
    standard->addSeparator();
    // The toolbar's Cut, Copy and Paste stay greyed: there is nothing to
    // edit. (The menu entries are enabled but do nothing.)
    for (MainCommand which : {MainCommand::Cut, MainCommand::Copy, MainCommand::Paste}) {
        const QAction* entry = command(which);
        auto* button = new QAction(entry->toolTip(), standard);
        button->setIcon(entry->icon());
        button->setToolTip(entry->toolTip());
        button->setEnabled(false);
        standard->addAction(button);
    }
    standard->addSeparator();
    standard->addAction(command(MainCommand::Print));
    standard->addAction(command(MainCommand::DataExplorer));
    standard->addAction(command(MainCommand::About));
    standard->addAction(command(MainCommand::ContextHelp));
    QAction* toggle = command(MainCommand::ToggleToolbar);
    connect(toggle, &QAction::toggled, standard, &QWidget::setVisible);
    // Hidden from its own context menu, the toolbar takes the menu entry along.
    connect(standard, &QToolBar::visibilityChanged, toggle, &QAction::setChecked);

    QToolBar* expert = addToolBar(tr("Expert"));
    expert->setObjectName(QStringLiteral("ExpertToolBar"));
    expert->addAction(command(MainCommand::ExpertMode));

    addToolBarBreak();
    QToolBar* port = addToolBar(tr("Port"));
    port->setObjectName(QStringLiteral("PortToolBar"));
    port->addAction(command(MainCommand::UpdateComPort));
    m_portList = new QComboBox(port);
    m_portList->setObjectName(QStringLiteral("PortList"));
    m_portList->setFixedWidth(80);
    m_portList->setMaxVisibleItems(qMax(1, 250 / qMax(1, m_portList->fontMetrics().height() + 6)));
    m_portList->setToolTip(tr("Choose COM port"));
    // The box is narrow; its drop-down shows names in full.
    m_portList->view()->setMinimumWidth(160);
    port->addWidget(m_portList);
    connect(m_portList, &QComboBox::activated, this,
            [this](int index) { choosePort(m_portList->itemText(index), index); });
    port->addAction(command(MainCommand::LoggerSettings));
    port->addAction(command(MainCommand::ReadData));
}

void CMainFrame::createStatusBar()
{
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    auto* idle = new QLabel(tr("For Help, press F1"), this);
    statusBar()->addWidget(idle, 1);
    m_portPane = new QLabel(this);
    m_portPane->setObjectName(QStringLiteral("PortPane"));
    m_portPane->setMinimumWidth(m_portPane->fontMetrics().horizontalAdvance(tr("Choose COM port")) +
                                8);
    statusBar()->addPermanentWidget(m_portPane);
    // Lock-key panes, shown as the framework shows them; the keys' states are
    // not something every platform tells a program, so they stay blank.
    for (const char* text : {"CAP", "NUM", "SCRL"}) {
        auto* pane = new QLabel(this);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(QString::fromLatin1(text)) + 8);
        statusBar()->addPermanentWidget(pane);
    }
}

void CMainFrame::guarded(const std::function<void()>& open)
{
    if (!isPortOpen()) {
        m_services.prompts.showMessage(tr("Please choose a COM port first!"));
        return;
    }
    if (!m_logger) {
        m_services.prompts.showMessage(tr("Please choose a logger first!"));
        return;
    }
    open();
}

void CMainFrame::notBuiltYet(const QString& function)
{
    m_services.prompts.showMessage(
        tr("%1 is not available in this version of Harvane yet.").arg(function));
}

void CMainFrame::choosePort(const QString& name, int listIndex)
{
    closePort();
    m_portName = name;
    showPortName();
    if (listIndex >= 0 && listIndex < m_portList->count())
        m_portList->setCurrentIndex(listIndex);
    else
        selectPortInList();
    m_portOpen = m_services.link.open(name);
    if (!m_portOpen) {
        m_services.prompts.showMessage(portOpenFailureMessage(m_services.link.lastOpenDenied()));
        return;
    }
    m_document->deleteContents();
    m_document->setModifiedFlag(false);
}

void CMainFrame::closePort()
{
    m_services.link.close();
    m_portOpen = false;
}

bool CMainFrame::isPortOpen() const
{
    return m_portOpen && m_services.link.isOpen();
}

void CMainFrame::updateComPort()
{
    closePort();
    fillPortList();
}

void CMainFrame::onDeviceArrived()
{
    fillPortList();
    selectPortInList();
}

void CMainFrame::onDeviceRemoved()
{
    if (m_services.ports.presence(m_portName) != PortPresence::Absent) {
        fillPortList();
        selectPortInList();
        return;
    }
    // The open port's adapter is gone (the link may have noticed first and
    // closed itself): the port is closed and forgotten.
    if (m_portOpen) {
        closePort();
        m_portName.clear();
        showPortName();
    }
    fillPortList();
}

void CMainFrame::fillPortList()
{
    QStringList names = m_services.ports.portNames();
    for (const QString& extra : std::as_const(m_extraPorts)) {
        if (!names.contains(extra))
            names.append(extra);
    }
    m_portList->clear();
    m_portList->addItems(sortedPortNames(names));
    m_portList->setCurrentIndex(-1);
}

void CMainFrame::addPortToList(const QString& name)
{
    if (name.isEmpty() || m_extraPorts.contains(name))
        return;
    m_extraPorts.append(name);
    fillPortList();
    selectPortInList();
}

void CMainFrame::selectPortInList()
{
    m_portList->setCurrentIndex(m_portName.isEmpty() ? -1 : m_portList->findText(m_portName));
}

void CMainFrame::showPortName()
{
    m_portPane->setText(m_portName);
}

void CMainFrame::toggleExpertMode()
{
    CExpertDlg dialog(m_expertMode, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_expertMode = !m_expertMode;
    command(MainCommand::HeadPosThreshold)->setEnabled(m_expertMode);
    command(MainCommand::CalibrateFrequency)->setEnabled(m_expertMode);
}

void CMainFrame::chooseComPortDialog()
{
    CCOMChooseDlg dialog(
        m_services.ports, [this](const QString& name, int index) { choosePort(name, index); },
        this);
    dialog.exec();
}

void CMainFrame::showAbout()
{
    CAboutDlg dialog(m_services.folders.root(), this);
    dialog.exec();
}

void CMainFrame::showDataExplorer()
{
    if (m_explorer == nullptr) {
        DataExplorerServices services{
            *m_printer, m_services.prompts,
            [this] { return CivilTime::fromDateTime(m_services.pump.currentDateTime()); }};
        m_explorer = new CDataExplorerWnd(*m_document, std::move(services), this);
    }
    m_explorer->show();
    m_explorer->raise();
    m_explorer->activateWindow();
}

void CMainFrame::switchPane()
{
    CVelmoraView* next = m_active == m_left ? m_right : m_left;
    next->setFocus(Qt::ShortcutFocusReason);
    setActivePane(next);
}

void CMainFrame::setActivePane(CVelmoraView* pane)
{
    m_active = pane;
    // These belong to the left pane and act only while it is the active one;
    // greyed otherwise, so the user sees why nothing happens.
    const bool left = pane == m_left;
    for (MainCommand which :
         {MainCommand::ChooseComPort, MainCommand::Print, MainCommand::Pageview})
        command(which)->setEnabled(left);
}

void CMainFrame::updateTitle()
{
    setWindowTitle(m_document->title() + tr(" - Harvane"));
}

void CMainFrame::updateRecentFiles()
{
    m_recentMenu->clear();
    const QStringList entries = m_services.recentFiles.entries();
    for (int i = 0; i < entries.size(); ++i) {
        const QString path = entries[i];
        QAction* entry = m_recentMenu->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path)));
        connect(entry, &QAction::triggered, this, [this, path] {
            if (saveModified())
                openDataFile(path);
        });
    }
    m_recentMenu->setEnabled(!entries.isEmpty());
}

bool CMainFrame::openDataFile(const QString& path)
{
    if (!m_document->openDocument(path))
        return false;
    rememberFile(path);
    return true;
}

void CMainFrame::rememberFile(const QString& path)
{
    m_services.recentFiles.add(path);
    updateRecentFiles();
}

QString CMainFrame::askForFile(bool save, const QString& suggestion)
{
    return m_services.chooseFile ? m_services.chooseFile(save, suggestion)
                                 : chooseWithDialog(this, save, suggestion);
}

void CMainFrame::fileOpen()
{
    if (!saveModified())
        return;
    const QString path = askForFile(false, {});
    if (!path.isEmpty())
        openDataFile(path);
}

bool CMainFrame::fileSave()
{
    if (m_document->pathName().isEmpty())
        return fileSaveAs();
    return m_document->saveDocument(m_document->pathName());
}

bool CMainFrame::fileSaveAs()
{
    QString path = askForFile(true, m_document->pathName());
    // "cow" is saved as cow.bin, where File > Open finds it again.
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
        if (!path.endsWith(QLatin1Char('.')))
            path += QLatin1Char('.');
        path += QStringLiteral("bin");
    }
    if (path.isEmpty() || !m_document->saveDocument(path))
        return false;
    rememberFile(path);
    return true;
}

bool CMainFrame::saveModified()
{
    if (!m_document->isModified())
        return true;
    switch (m_services.prompts.askSaveChanges(m_document->title())) {
    case SaveChangesAnswer::Save:
        return fileSave();
    case SaveChangesAnswer::Discard:
        return true;
    case SaveChangesAnswer::Cancel:
        return false;
    }
    return false;
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (saveModified()) {
        m_help->closeWindow();
        event->accept();
    } else {
        event->ignore();
    }
}

DeviceContext CMainFrame::deviceContext()
{
    return DeviceContext{m_services.link, m_services.pump, m_services.prompts, m_services.folders,
                         [this] { return m_expertMode; }};
}
