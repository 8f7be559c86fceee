#include "app/CVelmoraApp.h"

#include "app/CMainFrame.h"
#include "app/CSplashWnd.h"
#include "app/DataFolders.h"
#include "app/MessageBoxPrompts.h"
#include "app/RecentFileList.h"
#include "link/QtPump.h"
#include "link/RoutingDeviceLink.h"
#include "link/SystemPortEnumerator.h"
#include "sim/SimulatedDeviceSet.h"
#include "sim/SimulatedPortEnumerator.h"

#include <QCommandLineParser>
#include <QTimer>

CVelmoraApp::CVelmoraApp() = default;

CVelmoraApp::~CVelmoraApp()
{
    // The window goes first: it closes the port it holds.
    m_frame.reset();
    delete m_splash.data();
}

void CVelmoraApp::describeCommandLine(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        tr("Reads out and configures livestock monitoring loggers and base stations."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(
        {QStringLiteral("demo"), tr("Offer a simulated logger and base station as the ports "
                                    "sim:logger and sim:base.")});
    parser.addOption({QStringLiteral("data-dir"),
                      tr("Write reports, logs and downloads below DIR."), QStringLiteral("DIR")});
    parser.addOption(
        {QStringLiteral("port"),
         tr("Open this port at start-up, as choosing it in the port list does: a "
            "listed name (ttyUSB0, COM3) or a path such as /dev/pts/7 (harvane-devsim)."),
         QStringLiteral("PORT")});
    parser.addPositionalArgument(QStringLiteral("file"), tr("A data file to open."),
                                 QStringLiteral("[file]"));
}

bool CVelmoraApp::asksForInformationOnly(int argc, const char* const* argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--")
            return false;
        for (const char* option : {"-h", "--help", "-?", "--help-all", "-v", "--version"}) {
            if (argument == option)
                return true;
        }
    }
    return false;
}

bool CVelmoraApp::initInstance(const QStringList& arguments)
{
    QCommandLineParser parser;
    describeCommandLine(parser);
    parser.process(arguments);

    m_demo = parser.isSet(QStringLiteral("demo"));
    m_folders = std::make_unique<DataFolders>(DataFolders::resolve(
        parser.value(QStringLiteral("data-dir")), DataFolders::programFolder()));
    m_pump = std::make_unique<QtPump>();
    m_simulated = std::make_unique<SimulatedDeviceSet>();
    m_simulated->setClocks(m_pump->currentDateTime(), m_pump->nowUs());
    m_systemPorts = std::make_unique<SystemPortEnumerator>();
    m_demoPorts = std::make_unique<SimulatedPortEnumerator>(*m_systemPorts, *m_simulated);
    const PortEnumerator& ports = m_demo ? static_cast<const PortEnumerator&>(*m_demoPorts)
                                         : static_cast<const PortEnumerator&>(*m_systemPorts);
    RoutingDeviceLink::SimulatedLinkFactory simulatedLinks;
    if (m_demo)
        simulatedLinks = [this](const QString& name) {
            return m_simulated->makeLink(name, *m_pump);
        };
    m_link = std::make_unique<RoutingDeviceLink>(std::move(simulatedLinks));
    m_prompts = std::make_unique<MessageBoxPrompts>();
    m_recentFiles = std::make_unique<RecentFileList>();

    m_splash = new CSplashWnd(*m_pump);
    m_splash->show();
    m_frame = std::make_unique<CMainFrame>(
        MainFrameServices{*m_pump, *m_prompts, ports, *m_link, *m_folders, *m_recentFiles});
    m_prompts->setParent(m_frame.get());
    m_frame->show();
    // The splash stays above the window while it starts.
    if (m_splash)
        m_splash->raise();

    // A port given on the command line is opened as if it had been picked:
    // once the window is up, so that a failure's message sits on top of it.
    const QString port = parser.value(QStringLiteral("port"));
    if (!port.isEmpty()) {
        QTimer::singleShot(0, m_frame.get(), [this, port] {
            m_frame->addPortToList(port);
            m_frame->choosePort(port);
        });
    }

    const QStringList files = parser.positionalArguments();
    if (!files.isEmpty()) {
        const QString file = files.first();
        // Open once the window is up, so that any message sits on top of it.
        QTimer::singleShot(0, m_frame.get(), [this, file] { m_frame->openDataFile(file); });
    }
    return true;
}
