#include "app/CVelmoraApp.h"

#include <QApplication>
#include <QLocale>

#include <clocale>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Harvane"));
    QApplication::setApplicationDisplayName(QStringLiteral("Harvane"));
    QApplication::setApplicationVersion(QStringLiteral(HARVANE_VERSION));
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
