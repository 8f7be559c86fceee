#include "cli/CliRunner.h"

#include "cli/BaseCliCommands.h"
#include "cli/DataCliCommands.h"
#include "cli/DeviceCliCommands.h"
#include "cli/ExplorerCliCommands.h"
#include "cli/LoggerCliCommands.h"
#include "cli/LoggerToolsCliCommands.h"

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

} // namespace

CliRunner::CliRunner(std::FILE* out, std::FILE* err, CliInterrupt* interrupt)
{
    m_cli.out = out;
    m_cli.err = err;
    m_cli.interrupt = interrupt;
    for (auto&& group : {deviceCliCommands(), loggerCliCommands(), loggerToolsCliCommands(),
                         baseCliCommands(), dataCliCommands(), explorerCliCommands()})
        m_commands.insert(m_commands.end(), group.begin(), group.end());
}

QString CliRunner::commandName(const QStringList& arguments)
{
    // The command is the first argument that is neither an option nor an
    // option's value; global options may stand before or after it.
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (takesValue(argument)) {
            ++i;
            continue;
        }
        if (!argument.startsWith(QLatin1Char('-')))
            return argument;
    }
    return {};
}

bool CliRunner::needsGui(const QStringList& arguments) const
{
    const CliCommand* command = findCommand(commandName(arguments));
    return command != nullptr && command->needsGui;
}

int CliRunner::run(const QStringList& arguments, QList<QByteArray> nativeArguments)
{
    m_cli.nativeArguments = std::move(nativeArguments);
    const QString commandName = CliRunner::commandName(arguments);

    if (commandName.isEmpty()) {
        if (arguments.contains(QStringLiteral("--version")) ||
            arguments.contains(QStringLiteral("-v"))) {
            m_cli.print(QStringLiteral("harvane-cli " HARVANE_VERSION));
            return ExitOk;
        }
        if (arguments.contains(QStringLiteral("--help")) ||
            arguments.contains(QStringLiteral("-h"))) {
            m_cli.print(overview());
            return ExitOk;
        }
        return usage(m_cli, QStringLiteral("no command given"));
    }
    const CliCommand* command = findCommand(commandName);
    if (command == nullptr)
        return usage(m_cli, QStringLiteral("unknown command '%1'").arg(commandName));

    QCommandLineParser parser;
    parser.setApplicationDescription(command->summary);
    parser.addOption(helpOption);
    parser.addOption(portOption);
    parser.addOption(dataDirOption);
    parser.addPositionalArgument(command->name, command->summary, command->name);
    if (command->addOptions)
        command->addOptions(parser);
    if (!parser.parse(arguments))
        return usage(m_cli, parser.errorText());
    if (parser.isSet(helpOption)) {
        QString help = parser.helpText();
        help.replace(QStringLiteral("[options] ") + command->name,
                     QStringLiteral("[--port PORT] [--data-dir DIR] ") + command->name +
                         QStringLiteral(" [options]"));
        m_cli.print(help.trimmed());
        return ExitOk;
    }
    if (!command->takesArguments && parser.positionalArguments().size() > 1)
        return usage(
            m_cli, QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments()[1]));
    m_cli.port = parser.value(portOption);
    m_cli.dataDir = parser.value(dataDirOption);
    if (command->needsPort && m_cli.port.isEmpty())
        return usage(m_cli, QStringLiteral("'%1' needs --port PORT").arg(command->name));
    return command->execute(parser, m_cli);
}

int CliRunner::usage(const CliContext& cli, const QString& problem)
{
    cli.printError(QStringLiteral("harvane-cli: %1").arg(problem));
    cli.printError(QStringLiteral("Try 'harvane-cli --help' or 'harvane-cli COMMAND --help'."));
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
    for (const CliCommand& command : m_commands)
        text += QStringLiteral("  %1  %2\n").arg(command.name.leftJustified(16), command.summary);
    text += QStringLiteral(
        "\nEach command takes --help. Exit status: 0 done, 1 failed, 2 usage error.");
    return text;
}

const CliCommand* CliRunner::findCommand(const QString& name) const
{
    for (const CliCommand& command : m_commands) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}
