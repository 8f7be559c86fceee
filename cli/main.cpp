#include "app/Translations.h"
#include "cli/CliInterrupt.h"
#include "cli/CliRunner.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLocale>

#include <clocale>
#include <memory>

namespace {

void silent(QtMsgType, const QMessageLogContext&, const QString&) {}

// Pictures need fonts, and fonts need a GUI application. It never needs a
// display: unless told otherwise it draws offscreen, so plotting works on a
// server or over ssh. Qt's start-up remarks (about a missing runtime folder
// and the like) would only muddle the command's own messages.
std::unique_ptr<QCoreApplication> makeGuiApplication(int& argc, char* argv[])
{
#if !defined(Q_OS_WIN)
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    const QtMessageHandler previous = qInstallMessageHandler(silent);
    auto app = std::make_unique<QGuiApplication>(argc, argv);
    qInstallMessageHandler(previous);
    return app;
}

} // namespace

int main(int argc, char* argv[])
{
    CliInterrupt interrupt;
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    CliRunner runner(stdout, stderr, &interrupt);
    const std::unique_ptr<QCoreApplication> app =
        runner.needsGui(arguments) ? makeGuiApplication(argc, argv)
                                   : std::make_unique<QCoreApplication>(argc, argv);
    interrupt.listen();
    QCoreApplication::setApplicationName(QStringLiteral("harvane-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(HARVANE_VERSION));
    Translations::install(*app, Translations::folders(QCoreApplication::applicationDirPath()),
                          QLocale::system());
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_NUMERIC, "C");
    QList<QByteArray> native;
    for (int i = 0; i < argc; ++i)
        native.append(QByteArray(argv[i]));
    return runner.run(QCoreApplication::arguments(), native);
}
