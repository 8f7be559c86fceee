#include "app/CVelmoraApp.h"
#include "app/WarningPicture.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QIcon>
#include <QLocale>
#include <QPixmap>

#include <clocale>

namespace {

void nameTheApplication()
{
    // No display name: Qt would append it to every window title, and the
    // titles are the program's own.
    QCoreApplication::setApplicationName(QStringLiteral("Harvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(HARVANE_VERSION));
}

} // namespace

int main(int argc, char* argv[])
{
    // --help and --version are answered without a display (over ssh, in a
    // script, on a build machine).
    if (CVelmoraApp::asksForInformationOnly(argc, argv)) {
        QCoreApplication core(argc, argv);
        nameTheApplication();
        QCommandLineParser parser;
        CVelmoraApp::describeCommandLine(parser);
        parser.process(core); // prints and exits
        return 0;
    }

    QApplication app(argc, argv);
    nameTheApplication();
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(appIconPicture(256))));
    // Numbers are written and read with a point whatever the user's locale:
    // Qt's own formatting and the C library's (Qt set the latter from the
    // environment when the application was made).
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_NUMERIC, "C");

    CVelmoraApp velmora;
    if (!velmora.initInstance(QApplication::arguments()))
        return 1;
    return QApplication::exec();
}
