#include "cli/DataCliCommands.h"

#include "cli/CliRunner.h"
#include "data/CsvExport.h"
#include "data/DataFile.h"
#include "logger/LoggerSettingsForm.h"
#include "logger/StatusReport.h"

#include <QCommandLineParser>
#include <QDateTime>

namespace {

std::optional<DataDocument> loadNamedFile(const QCommandLineParser& parser, const CliContext& cli,
                                          QString* path)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 2) {
        CliRunner::usage(cli, QStringLiteral("give one data file (FILE.bin)"));
        return std::nullopt;
    }
    *path = positional[1];
    DataFile::Loaded loaded = DataFile::load(*path);
    if (!loaded.document)
        cli.printError(loaded.error);
    return std::move(loaded.document);
}

int exportFile(const QCommandLineParser& parser, const CliContext& cli)
{
    QString path;
    const auto document = loadNamedFile(parser, cli, &path);
    if (!document)
        return parser.positionalArguments().size() != 2 ? CliCommand::ExitUsage
                                                        : CliCommand::ExitFailure;
    const QString records = CsvExport::exportPath(path, QStringLiteral("BT"));
    const QString groups = CsvExport::exportPath(path, QStringLiteral("HB"));
    QString error;
    if (!CsvExport::write(*document, records, groups,
                          CivilTime::fromDateTime(QDateTime::currentDateTime()), &error)) {
        cli.printError(error);
        return CliCommand::ExitFailure;
    }
    cli.print(records);
    cli.print(groups);
    return CliCommand::ExitOk;
}

int info(const QCommandLineParser& parser, const CliContext& cli)
{
    QString path;
    const auto document = loadNamedFile(parser, cli, &path);
    if (!document)
        return parser.positionalArguments().size() != 2 ? CliCommand::ExitUsage
                                                        : CliCommand::ExitFailure;
    const LoggerStatus header = document->header();
    // A clock that names no real date shows as the dialog's starting value.
    const LoggerSettingsForm defaults;
    const QByteArray report =
        StatusReport::text(header, header.clock().value_or(defaults.clock),
                           header.loggingStart().value_or(defaults.loggingStart));
    std::fputs(report.constData(), cli.out);
    std::fflush(cli.out);
    return CliCommand::ExitOk;
}

void fileArgument(QCommandLineParser& parser)
{
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A data file (.bin)."),
                                 QStringLiteral("FILE.bin"));
}

} // namespace

std::vector<CliCommand> dataCliCommands()
{
    return {
        CliCommand{
            QStringLiteral("export"),
            QStringLiteral("Write a data file's records and heart-rate groups as the two CSV "
                           "files beside it, as Save does."),
            false, fileArgument, exportFile, true},
        CliCommand{QStringLiteral("info"),
                   QStringLiteral("Print the status block a data file was saved with."), false,
                   fileArgument, info, true},
    };
}
