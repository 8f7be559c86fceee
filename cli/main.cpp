#include "cli/CliInterrupt.h"
#include "cli/CliRunner.h"

#include <QCoreApplication>
#include <QLocale>

#include <clocale>

int main(int argc, char* argv[])
{
    CliInterrupt interrupt;
    QCoreApplication app(argc, argv);
    interrupt.listen();
    QCoreApplication::setApplicationName(QStringLiteral("harvane-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(HARVANE_VERSION));
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_NUMERIC, "C");
    CliRunner runner(stdout, stderr, &interrupt);
    QList<QByteArray> native;
    for (int i = 0; i < argc; ++i)
        native.append(QByteArray(argv[i]));
    return runner.run(QCoreApplication::arguments(), native);
}
