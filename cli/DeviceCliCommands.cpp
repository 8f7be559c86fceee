#include "cli/DeviceCliCommands.h"
#include <QCoreApplication>

#include "cli/CliRunner.h"
#include "cli/PortSession.h"
#include "link/CommandCode.h"
#include "link/SystemPortEnumerator.h"

#include <QCommandLineParser>

namespace {

int listPorts(const QCommandLineParser&, const CliContext& cli)
{
    const SystemPortEnumerator ports;
    const QStringList names = ports.portNames();
    for (const QString& name : names)
        cli.print(name);
    if (names.isEmpty())
        cli.printError(QCoreApplication::translate("DeviceCliCommands", "No serial ports found."));
    return CliCommand::ExitOk;
}

int identify(const QCommandLineParser& parser, const CliContext& cli)
{
    std::optional<DeviceKind> expected;
    const QString expect = parser.value(QStringLiteral("expect"));
    if (expect == QLatin1String("logger"))
        expected = DeviceKind::Logger;
    else if (expect == QLatin1String("base"))
        expected = DeviceKind::BaseStation;
    else if (!expect.isEmpty())
        return CliRunner::usage(
            cli, QCoreApplication::translate("DeviceCliCommands",
                                             "--expect takes logger or base, not '%1'")
                     .arg(expect));

    PortSession session(cli);
    if (!session.open())
        return CliCommand::ExitFailure;
    std::optional<DeviceKind> kind;
    if (expected) {
        // The same exchange and messages as the program's dialogs.
        if (session.exchange.identify(*expected) != IdentifyResult::Identified)
            return CliCommand::ExitFailure;
        kind = expected;
    } else {
        session.exchange.drainInput(100, 26);
        const auto reply = session.exchange.request({CommandCode::Identify}, 100, 4);
        if (reply.empty()) {
            cli.printError(QCoreApplication::translate(
                "DeviceCliCommands",
                "No communication, please check connection to logger or base station!"));
            return CliCommand::ExitFailure;
        }
        kind = Exchange::kindFromIdentifyReply(reply);
        if (!kind) {
            cli.printError(
                QCoreApplication::translate(
                    "DeviceCliCommands", "The device on %1 is neither a logger nor a base station.")
                    .arg(cli.port));
            return CliCommand::ExitFailure;
        }
    }
    cli.print(*kind == DeviceKind::Logger
                  ? QStringLiteral("logger")
                  : QCoreApplication::translate("DeviceCliCommands", "base station"));
    return CliCommand::ExitOk;
}

} // namespace

std::vector<CliCommand> deviceCliCommands()
{
    return {
        CliCommand{QStringLiteral("ports"),
                   QCoreApplication::translate("DeviceCliCommands",
                                               "List the serial ports of this machine."),
                   false,
                   {},
                   listPorts},
        CliCommand{
            QStringLiteral("identify"),
            QCoreApplication::translate("DeviceCliCommands",
                                        "Tell whether a logger or a base station is on the port."),
            true,
            [](QCommandLineParser& parser) {
                parser.addOption(QCommandLineOption(
                    QStringLiteral("expect"),
                    QCoreApplication::translate("DeviceCliCommands",
                                                "logger or base: fail unless that device answers."),
                    QStringLiteral("DEVICE")));
            },
            identify},
    };
}
