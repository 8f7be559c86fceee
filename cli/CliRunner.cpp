#include "cli/CliRunner.h"

#include "app/DataFolders.h"
#include "cli/ConsolePrompts.h"
#include "link/CommandCode.h"
#include "link/Exchange.h"
#include "link/QtPump.h"
#include "link/RoutingDeviceLink.h"
#include "link/SystemPortEnumerator.h"
#include "sim/SimulatedDeviceSet.h"

#include <QCommandLineParser>

namespace {

const QCommandLineOption portOption(QStringLiteral("port"),
                                    QStringLiteral("The serial port: ttyUSB0, COM3, /dev/pts/7, or "
                                                   "sim:logger / sim:base for a simulated device."),
                                    QStringLiteral("PORT"));
const QCommandLineOption
    dataDirOption(QStringLiteral("data-dir"),
                  QStringLiteral("Root folder for reports, logs and downloads."),
                  QStringLiteral("DIR"));
const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                    QStringLiteral("Show this help."));

bool takesValue(const QString& argument)
{
    return argument == QLatin1String("--port") || argument == QLatin1String("--data-dir");
}

// One session on a port: the link, the clock and the prompts an exchange needs.
struct PortSession {
    QtPump pump;
    SimulatedDeviceSet simulated;
    RoutingDeviceLink link{[this](const QString& name) { return simulated.makeLink(name, pump); }};
    ConsolePrompts prompts;
    Exchange exchange{link, pump, prompts};

    PortSession() { simulated.logger().setClock(pump.currentDateTime(), pump.nowUs()); }
};

} // namespace

CliRunner::CliRunner(std::FILE* out, std::FILE* err) : m_out(out), m_err(err)
{
    m_commands.push_back(Command{
        QStringLiteral("ports"), QStringLiteral("List the serial ports of this machine."), false,
        [](QCommandLineParser&) {}, [this](const QCommandLineParser& p) { return listPorts(p); }});
    m_commands.push_back(
        Command{QStringLiteral("identify"),
                QStringLiteral("Tell whether a logger or a base station is on the port."), true,
                [](QCommandLineParser& parser) {
                    parser.addOption(QCommandLineOption(
                        QStringLiteral("expect"),
                        QStringLiteral("logger or base: fail unless that device answers."),
                        QStringLiteral("DEVICE")));
                },
                [this](const QCommandLineParser& p) { return identify(p); }});
}

int CliRunner::run(const QStringList& arguments)
{
    // The command is the first argument that is neither an option nor an
    // option's value; global options may stand before or after it.
    QString commandName;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (takesValue(argument)) {
            ++i;
            continue;
        }
        if (!argument.startsWith(QLatin1Char('-'))) {
            commandName = argument;
            break;
        }
    }

    if (commandName.isEmpty()) {
        if (arguments.contains(QStringLiteral("--help")) ||
            arguments.contains(QStringLiteral("-h"))) {
            print(overview());
            return ExitOk;
        }
        return usage(QStringLiteral("no command given"));
    }
    const Command* command = findCommand(commandName);
    if (command == nullptr)
        return usage(QStringLiteral("unknown command '%1'").arg(commandName));

    QCommandLineParser parser;
    parser.setApplicationDescription(command->summary);
    parser.addOption(helpOption);
    parser.addOption(portOption);
    parser.addOption(dataDirOption);
    command->addOptions(parser);
    parser.addPositionalArgument(command->name, command->summary, command->name);
    if (!parser.parse(arguments))
        return usage(parser.errorText());
    if (parser.isSet(helpOption)) {
        QString help = parser.helpText();
        help.replace(QStringLiteral("[options] ") + command->name,
                     QStringLiteral("[--port PORT] [--data-dir DIR] ") + command->name +
                         QStringLiteral(" [options]"));
        print(help.trimmed());
        return ExitOk;
    }
    if (parser.positionalArguments().size() > 1)
        return usage(
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments()[1]));
    m_port = parser.value(portOption);
    m_dataDir = parser.value(dataDirOption);
    if (command->needsPort && m_port.isEmpty())
        return usage(QStringLiteral("'%1' needs --port PORT").arg(command->name));
    return command->execute(parser);
}

int CliRunner::usage(const QString& problem)
{
    printError(QStringLiteral("harvane-cli: %1").arg(problem));
    printError(QStringLiteral("Try 'harvane-cli --help' or 'harvane-cli COMMAND --help'."));
    return ExitUsage;
}

QString CliRunner::overview() const
{
    QString text =
        QStringLiteral("Usage: harvane-cli [--port PORT] [--data-dir DIR] COMMAND [options]\n"
                       "\n"
                       "Talks to a Harvane logger or base station on a serial port.\n"
                       "PORT is a port name (ttyUSB0, COM3), a device path (/dev/pts/7), or\n"
                       "sim:logger / sim:base for the built-in simulated devices.\n"
                       "\n"
                       "Commands:\n");
    for (const Command& command : m_commands)
        text += QStringLiteral("  %1  %2\n").arg(command.name.leftJustified(14), command.summary);
    text += QStringLiteral(
        "\nEach command takes --help. Exit status: 0 done, 1 failed, 2 usage error.");
    return text;
}

const CliRunner::Command* CliRunner::findCommand(const QString& name) const
{
    for (const Command& command : m_commands) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

int CliRunner::listPorts(const QCommandLineParser&)
{
    const SystemPortEnumerator ports;
    const QStringList names = ports.portNames();
    for (const QString& name : names)
        print(name);
    if (names.isEmpty())
        printError(QStringLiteral("No serial ports found."));
    return ExitOk;
}

int CliRunner::identify(const QCommandLineParser& parser)
{
    std::optional<DeviceKind> expected;
    const QString expect = parser.value(QStringLiteral("expect"));
    if (expect == QLatin1String("logger"))
        expected = DeviceKind::Logger;
    else if (expect == QLatin1String("base"))
        expected = DeviceKind::BaseStation;
    else if (!expect.isEmpty())
        return usage(QStringLiteral("--expect takes logger or base, not '%1'").arg(expect));

    PortSession session;
    if (!session.link.open(m_port)) {
        printError(QStringLiteral("Error could not create handle to serial port!"));
        return ExitFailure;
    }
    std::optional<DeviceKind> kind;
    if (expected) {
        // The same exchange and messages as the program's dialogs.
        if (session.exchange.identify(*expected) != IdentifyResult::Identified)
            return ExitFailure;
        kind = expected;
    } else {
        session.exchange.drainInput(100, 26);
        const auto reply = session.exchange.request({CommandCode::Identify}, 100, 4);
        if (reply.empty()) {
            printError(QStringLiteral("No communication, please check connection to logger or "
                                      "base station!"));
            return ExitFailure;
        }
        kind = Exchange::kindFromIdentifyReply(reply);
        if (!kind) {
            printError(QStringLiteral("The device on %1 is neither a logger nor a base station.")
                           .arg(m_port));
            return ExitFailure;
        }
    }
    print(*kind == DeviceKind::Logger ? QStringLiteral("logger") : QStringLiteral("base station"));
    return ExitOk;
}

void CliRunner::print(const QString& text) const
{
    std::fprintf(m_out, "%s\n", qPrintable(text));
    std::fflush(m_out);
}

void CliRunner::printError(const QString& text) const
{
    std::fprintf(m_err, "%s\n", qPrintable(text));
    std::fflush(m_err);
}
