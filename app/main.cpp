#include "app/CMainFrame.h"
#include "app/DataFolders.h"
#include "app/MessageBoxPrompts.h"
#include "link/QtPump.h"
#include "link/RoutingDeviceLink.h"
#include "link/SystemPortEnumerator.h"
#include "sim/SimulatedDeviceSet.h"
#include "sim/SimulatedPortEnumerator.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLocale>

#include <memory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Harvane"));
    QApplication::setApplicationDisplayName(QStringLiteral("Harvane"));
    QApplication::setApplicationVersion(QStringLiteral(HARVANE_VERSION));
    // Numbers are written and read with a point whatever the user's locale.
    QLocale::setDefault(QLocale::c());

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Reads out and configures livestock monitoring loggers and base stations."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption demo(QStringLiteral("demo"),
                                  QStringLiteral("Offer a simulated logger and base station as the "
                                                 "ports sim:logger and sim:base."));
    const QCommandLineOption dataDir(QStringLiteral("data-dir"),
                                     QStringLiteral("Write reports, logs and downloads below DIR."),
                                     QStringLiteral("DIR"));
    parser.addOptions({demo, dataDir});
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A data file to open."),
                                 QStringLiteral("[file]"));
    parser.process(app);

    [[maybe_unused]] const DataFolders folders =
        DataFolders::resolve(parser.value(dataDir), DataFolders::programFolder());

    QtPump pump;
    SimulatedDeviceSet simulated;
    simulated.logger().setClock(pump.currentDateTime(), pump.nowUs());
    const bool demoMode = parser.isSet(demo);

    SystemPortEnumerator systemPorts;
    SimulatedPortEnumerator demoPorts(systemPorts, simulated);
    const PortEnumerator& ports =
        demoMode ? static_cast<const PortEnumerator&>(demoPorts) : systemPorts;

    RoutingDeviceLink link(demoMode
                               ? RoutingDeviceLink::SimulatedLinkFactory([&](const QString& name) {
                                     return simulated.makeLink(name, pump);
                                 })
                               : RoutingDeviceLink::SimulatedLinkFactory());
    MessageBoxPrompts prompts;

    CMainFrame frame(MainFrameServices{pump, prompts, ports, link});
    prompts.setParent(&frame);
    frame.show();
    return QApplication::exec();
}
