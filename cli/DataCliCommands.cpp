#include "cli/DataCliCommands.h"

#include "cli/CliRunner.h"
#include "data/CsvExport.h"
#include "data/DataFile.h"
#include "logger/LoggerSettingsForm.h"
#include "logger/StatusReport.h"

#include <QCommandLineParser>
#include <QDateTime>

std::optional<DataDocument> loadDataFileArgument(const QCommandLineParser& parser,
                                                 const CliContext& cli, QString* path, int* failure)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 2) {
        *failure = CliRunner::usage(cli, QStringLiteral("give one data file (FILE.bin)"));
        return std::nullopt;
    }
    *path = positional[1];
    DataFile::Loaded loaded = DataFile::load(*path);
    if (!loaded.document) {
        cli.printError(loaded.error);
        *failure = CliCommand::ExitFailure;
    }
    return std::move(loaded.document);
}

void addDataFileArgument(QCommandLineParser& parser)
{
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A data file (.bin)."),
                                 QStringLiteral("FILE.bin"));
}

namespace {

int exportFile(const QCommandLineParser& parser, const CliContext& cli)
{
    QString path;
    int failure = CliCommand::ExitFailure;
    const auto document = loadDataFileArgument(parser, cli, &path, &failure);
    if (!document)
        return failure;
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
    int failure = CliCommand::ExitFailure;
    const auto document = loadDataFileArgument(parser, cli, &path, &failure);
    if (!document)
        return failure;
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

} // namespace

std::vector<CliCommand> dataCliCommands()
{
    return {
        CliCommand{
            QStringLiteral("export"),
            QStringLiteral("Write a data file's records and heart-rate groups as the two CSV "
                           "files beside it, as Save does."),
            false, addDataFileArgument, exportFile, true},
        CliCommand{QStringLiteral("info"),
                   QStringLiteral("Print the status block a data file was saved with."), false,
                   addDataFileArgument, info, true},
    };
}
