#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <memory>

class CMainFrame;
class QCommandLineParser;
class CSplashWnd;
class DataFolders;
class MessageBoxPrompts;
class QtPump;
class RecentFileList;
class RoutingDeviceLink;
class SimulatedDeviceSet;
class SimulatedPortEnumerator;
class SystemPortEnumerator;
class PortEnumerator;

// The application: reads the command line, sets up the clock, the port list
// (with the simulated devices in demo mode), the one port, the prompts and
// the data folders, and creates the main window with its splash.
class CVelmoraApp final : public QObject {
    Q_OBJECT
public:
    CVelmoraApp();
    ~CVelmoraApp() override;

    // The command line the program takes, for the parser.
    static void describeCommandLine(QCommandLineParser& parser);
    // Whether the arguments only ask for --help or --version, which are
    // answered without a display.
    static bool asksForInformationOnly(int argc, const char* const* argv);

    // Processes the arguments and shows the main window. Returns false (with
    // a message on the error stream) for a command line it cannot use.
    bool initInstance(const QStringList& arguments);

    [[nodiscard]] CMainFrame* mainFrame() const { return m_frame.get(); }
    [[nodiscard]] bool demoMode() const { return m_demo; }
    [[nodiscard]] const DataFolders& folders() const { return *m_folders; }

private:
    std::unique_ptr<QtPump> m_pump;
    std::unique_ptr<SimulatedDeviceSet> m_simulated;
    std::unique_ptr<SystemPortEnumerator> m_systemPorts;
    std::unique_ptr<SimulatedPortEnumerator> m_demoPorts;
    std::unique_ptr<RoutingDeviceLink> m_link;
    std::unique_ptr<MessageBoxPrompts> m_prompts;
    std::unique_ptr<DataFolders> m_folders;
    std::unique_ptr<RecentFileList> m_recentFiles;
    std::unique_ptr<CMainFrame> m_frame;
    QPointer<CSplashWnd> m_splash;
    bool m_demo = false;
};
