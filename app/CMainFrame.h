#pragma once

#include "app/HelpBackend.h"
#include "app/HelpFiles.h"
#include "app/MainCommand.h"
#include "link/DeviceContext.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class CDataExplorerWnd;
class ContextHelpMode;
class HelpSystem;
class CLogger;
class CMainFrame;
class CVelmoraDoc;
class CVelmoraSecondSplitterView;
class CVelmoraView;
class DataFolders;
class DeviceLink;
class PortEnumerator;
class PortWatcher;
class Pump;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPrinter;
class RecentFileList;
class UserPrompts;

// What the main window works with; all of it outlives the window.
struct MainFrameServices {
    Pump& pump;
    UserPrompts& prompts;
    const PortEnumerator& ports;
    DeviceLink& link;
    const DataFolders& folders;
    RecentFileList& recentFiles;
    // Makes the logger type; when unset, the collar logger. A factory that
    // returns nothing leaves the window without one.
    std::function<std::unique_ptr<CLogger>(CMainFrame&)> makeLogger = {};
    // Asks for a data file to open (save = false) or to save to; empty when
    // the user cancels. When unset, the platform's file dialog.
    std::function<QString(bool save, const QString& suggestion)> chooseFile = {};
    // Where the help files are looked for, and the kind of file read.
    HelpFiles helpFiles = HelpFiles::forProgram();
    HelpBackend helpBackend = HelpBackend::builtIn();
};

// The program's one top-level window. It owns the connection state (the
// open port and the chosen port name), the logger type and the expert-mode
// flag; it turns menu and toolbar commands into dialogs after checking that
// a port is open, and follows devices as they are plugged in and out.
class CMainFrame final : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(MainFrameServices services, QWidget* parent = nullptr);
    ~CMainFrame() override;

    [[nodiscard]] const MainFrameServices& services() const { return m_services; }
    [[nodiscard]] DeviceLink& link() const { return m_services.link; }
    // What a device dialog works with; the expert flag is read live.
    [[nodiscard]] DeviceContext deviceContext();
    [[nodiscard]] CLogger* logger() const { return m_logger.get(); }
    [[nodiscard]] CVelmoraDoc& document() const { return *m_document; }
    [[nodiscard]] QString portName() const { return m_portName; }
    [[nodiscard]] bool isPortOpen() const;
    [[nodiscard]] bool expertMode() const { return m_expertMode; }
    [[nodiscard]] QComboBox* portList() const { return m_portList; }
    [[nodiscard]] CVelmoraView* leftPane() const { return m_left; }
    [[nodiscard]] CVelmoraView* rightPane() const;
    [[nodiscard]] CVelmoraView* activePane() const { return m_active; }
    // The printer the panes and the explorer print on.
    [[nodiscard]] QPrinter& printer() const { return *m_printer; }
    // The Data Explorer, once it has been opened.
    [[nodiscard]] CDataExplorerWnd* dataExplorer() const { return m_explorer; }
    // View > Data Explorer: opens the explorer or brings it to the front.
    void showDataExplorer();

    // The program's help, and the help mode of Shift+F1 and "?".
    [[nodiscard]] HelpSystem& help() const { return *m_help; }
    [[nodiscard]] ContextHelpMode& contextHelpMode() const { return *m_contextHelp; }

    // The action behind a menu or toolbar command.
    [[nodiscard]] QAction* command(MainCommand which) const
    {
        return m_commands[static_cast<std::size_t>(which)];
    }

    // Opens the named port as when it is picked in the port list; `listIndex`
    // is the position to select in the list (-1: find the name).
    void choosePort(const QString& name, int listIndex = -1);
    // Keeps a port the platform does not list (a pseudo-terminal, a
    // /dev/serial/by-id path) in the port list from now on.
    void addPortToList(const QString& name);
    void updateComPort();
    void onDeviceArrived();
    void onDeviceRemoved();
    void toggleExpertMode();
    // File > Open and the command line.
    bool openDataFile(const QString& path);
    // Asks to save a modified document; false when the user cancels.
    bool saveModified();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolBars();
    void createStatusBar();
    QAction* addCommand(MainCommand which, const QString& label, const QString& statusTip = {},
                        const QString& toolTip = {});
    void guarded(const std::function<void()>& open);
    void notBuiltYet(const QString& function);
    void closePort();
    void fillPortList();
    void selectPortInList();
    void showPortName();
    void updateTitle();
    void updateRecentFiles();
    void fileOpen();
    // The file dialog, or the chooser the services give.
    QString askForFile(bool save, const QString& suggestion);
    void rememberFile(const QString& path);
    bool fileSave();
    bool fileSaveAs();
    void chooseComPortDialog();
    void showAbout();
    void switchPane();
    void setActivePane(CVelmoraView* pane);

    MainFrameServices m_services;
    std::unique_ptr<CLogger> m_logger;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<HelpSystem> m_help;
    ContextHelpMode* m_contextHelp = nullptr;
    CVelmoraDoc* m_document = nullptr;
    CVelmoraView* m_left = nullptr;
    CVelmoraView* m_right = nullptr;
    CVelmoraView* m_active = nullptr;
    CDataExplorerWnd* m_explorer = nullptr;
    QComboBox* m_portList = nullptr;
    QLabel* m_portPane = nullptr;
    QMenu* m_recentMenu = nullptr;
    PortWatcher* m_watcher = nullptr;
    std::array<QAction*, MainCommandCount> m_commands{};
    QStringList m_extraPorts;
    QString m_portName;
    bool m_portOpen = false;
    bool m_expertMode = false;
};
