#include "cli/DataCliCommands.h"
#include <QCoreApplication>

#include "cli/CliRunner.h"
#include "cli/CommandLineFile.h"
#include "data/CsvExport.h"
#include "data/DataFile.h"
#include "logger/LoggerSettingsForm.h"
#include "logger/StatusReport.h"

#include <QCommandLineParser>
#include <QDateTime>

#include <memory>

namespace {

std::unique_ptr<CommandLineFile> namedFile(const QCommandLineParser& parser, const CliContext& cli,
                                           int* failure)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 2) {
        *failure = CliRunner::usage(
            cli, QCoreApplication::translate("DataCliCommands", "give one data file (FILE.bin)"));
        return nullptr;
    }
    return std::make_unique<CommandLineFile>(
        CommandLineFile::nativeArgument(cli.nativeArguments, positional[1]), positional[1]);
}

std::optional<DataDocument> load(const CommandLineFile& file, const CliContext& cli, int* failure)
{
    DataFile::Loaded loaded = DataFile::load(file.readablePath());
    if (!loaded.document) {
        cli.printError(loaded.error.replace(file.readablePath(), file.displayName()));
        *failure = CliCommand::ExitFailure;
    }
    return std::move(loaded.document);
}

} // namespace

std::optional<DataDocument> loadDataFileArgument(const QCommandLineParser& parser,
                                                 const CliContext& cli, QString* path, int* failure)
{
    const auto file = namedFile(parser, cli, failure);
    if (!file)
        return std::nullopt;
    *path = file->displayName();
    return load(*file, cli, failure);
}

void addDataFileArgument(QCommandLineParser& parser)
{
    parser.addPositionalArgument(
        QStringLiteral("file"),
        QCoreApplication::translate("DataCliCommands", "A data file (.bin)."),
        QStringLiteral("FILE.bin"));
}

namespace {

int exportFile(const QCommandLineParser& parser, const CliContext& cli)
{
    int failure = CliCommand::ExitFailure;
    const auto file = namedFile(parser, cli, &failure);
    if (!file)
        return failure;
    const auto document = load(*file, cli, &failure);
    if (!document)
        return failure;
    QStringList written;
    QString error;
    if (!file->writeExports(*document, CivilTime::fromDateTime(QDateTime::currentDateTime()),
                            &written, &error)) {
        cli.printError(error);
        return CliCommand::ExitFailure;
    }
    for (const QString& path : written)
        cli.print(path);
    return CliCommand::ExitOk;
}

int info(const QCommandLineParser& parser, const CliContext& cli)
{
    int failure = CliCommand::ExitFailure;
    const auto file = namedFile(parser, cli, &failure);
    if (!file)
        return failure;
    const auto document = load(*file, cli, &failure);
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
        CliCommand{QStringLiteral("export"),
                   QCoreApplication::translate(
                       "DataCliCommands",
                       "Write a data file's records and heart-rate groups as the two CSV "
                       "files beside it, as Save does."),
                   false, addDataFileArgument, exportFile, true},
        CliCommand{QStringLiteral("info"),
                   QCoreApplication::translate(
                       "DataCliCommands", "Print the status block a data file was saved with."),
                   false, addDataFileArgument, info, true},
    };
}
