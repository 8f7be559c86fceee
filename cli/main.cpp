#include "cli/CliRunner.h"

#include <QCoreApplication>
#include <QLocale>

#include <clocale>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("harvane-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(HARVANE_VERSION));
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_NUMERIC, "C");
    CliRunner runner;
    return runner.run(QCoreApplication::arguments());
}
