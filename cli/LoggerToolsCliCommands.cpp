#include "cli/LoggerToolsCliCommands.h"

#include "cli/CliRunner.h"
#include "cli/PortSession.h"
#include "data/ReadDataProcedure.h"
#include "data/ReadDataView.h"
#include "logger/EraseProcedure.h"
#include "logger/FrequencyCalibrationProcedure.h"
#include "logger/HeadThresholdProcedure.h"

#include <QCommandLineParser>
#include <QElapsedTimer>

namespace {

// Download progress on the error stream, when it is a terminal: a line that
// rewrites itself a few times a second.
class ConsoleReadDataView final : public ReadDataView {
public:
    explicit ConsoleReadDataView(const CliContext& cli)
        : m_cli(cli), m_terminal(cli.errorsOnTerminal())
    {
        m_clock.start();
    }
    void setBusy(bool busy) override
    {
        if (!busy && m_shown) {
            std::fputc('\n', m_cli.err);
            m_shown = false;
        }
    }
    void setAbortEnabled(bool) override {}
    void showSummary(const QString& text) override
    {
        QString plain = text;
        plain.remove(QLatin1Char('\r'));
        m_cli.printError(plain.trimmed());
    }
    void setProgressRange(std::uint32_t) override {}
    void showProgress(std::uint64_t, std::uint32_t stored, std::uint32_t total,
                      double rate) override
    {
        if (!m_terminal || (m_clock.elapsed() < 250 && stored < total))
            return;
        m_clock.restart();
        QString line = QStringLiteral("%1 of %2 bytes").arg(stored).arg(total);
        if (rate > 0) {
            line += QStringLiteral(", %1 bytes/s").arg(static_cast<qint64>(rate));
            if (stored < total)
                line +=
                    QStringLiteral(", %1 s left").arg(static_cast<qint64>((total - stored) / rate));
        }
        std::fprintf(m_cli.err, "\r%-70s", qPrintable(line));
        std::fflush(m_cli.err);
        m_shown = true;
    }

private:
    const CliContext& m_cli;
    bool m_terminal;
    bool m_shown = false;
    QElapsedTimer m_clock;
};

int readData(const QCommandLineParser& parser, const CliContext& cli)
{
    PortSession session(cli);
    if (!session.open())
        return CliCommand::ExitFailure;
    ConsoleReadDataView view(cli);
    ReadDataProcedure::Hooks hooks;
    const QString out = parser.value(QStringLiteral("output"));
    if (!out.isEmpty())
        hooks.targetPath = out;
    ReadDataProcedure procedure(session.context(), view, std::move(hooks));
    cli.onInterrupt([&procedure] { procedure.abort(); });
    const bool written = procedure.readData();
    cli.onInterrupt({});
    if (!written)
        return CliCommand::ExitFailure;
    // The file is kept whatever happened, and named, so that the part that
    // arrived can be used; but only a whole download counts as done, so that
    // `read-data && erase --yes` never erases what was not read.
    cli.print(procedure.lastFilePath());
    return procedure.lastComplete() && !cli.interrupted() ? CliCommand::ExitOk
                                                          : CliCommand::ExitFailure;
}

int eraseMemory(const QCommandLineParser& parser, const CliContext& cli)
{
    PortSession session(cli, parser.isSet(QStringLiteral("yes")));
    if (!session.open())
        return CliCommand::ExitFailure;
    EraseProcedure::View view;
    int shown = -1;
    const bool terminal = cli.errorsOnTerminal();
    view.showCountdown = [&](int seconds) {
        if (terminal && seconds >= 0 && seconds != shown) {
            std::fprintf(cli.err, "\rErasing, at most %3d s left", seconds);
            std::fflush(cli.err);
        } else if (terminal && seconds < 0 && shown >= 0) {
            std::fputc('\n', cli.err);
        }
        shown = seconds;
    };
    EraseProcedure procedure(session.context(), std::move(view));
    if (!procedure.erase())
        return CliCommand::ExitFailure;
    cli.print(QStringLiteral("Memory erased"));
    return CliCommand::ExitOk;
}

int headTilt(const QCommandLineParser&, const CliContext& cli)
{
    PortSession session(cli);
    if (!session.open())
        return CliCommand::ExitFailure;
    HeadThresholdProcedure procedure(session.context());
    const auto tilt = procedure.readTilt();
    if (!tilt)
        return CliCommand::ExitFailure;
    cli.print(QString::number(*tilt));
    return CliCommand::ExitOk;
}

int setThreshold(const QCommandLineParser& parser, const CliContext& cli)
{
    const QStringList positional = parser.positionalArguments();
    bool ok = false;
    const int value = positional.value(1).toInt(&ok);
    if (positional.size() != 2 || !ok || value < -32768 || value > 32767)
        return CliRunner::usage(
            cli, QStringLiteral("set-threshold takes one whole number from -32768 to 32767"));
    PortSession session(cli);
    if (!session.open())
        return CliCommand::ExitFailure;
    HeadThresholdProcedure procedure(session.context());
    if (!procedure.writeThreshold([value] { return static_cast<std::int16_t>(value); }))
        return CliCommand::ExitFailure;
    cli.print(QStringLiteral("Head position threshold %1 written").arg(value));
    return CliCommand::ExitOk;
}

int frequencyRead(const QCommandLineParser&, const CliContext& cli)
{
    PortSession session(cli);
    if (!session.open())
        return CliCommand::ExitFailure;
    FrequencyCalibrationProcedure::View view;
    int lines = 0;
    view.addLine = [&](const QString& line, bool) {
        cli.print(line);
        ++lines;
    };
    FrequencyCalibrationProcedure procedure(session.context(), std::move(view));
    procedure.readOffset();
    return lines == 2 ? CliCommand::ExitOk : CliCommand::ExitFailure;
}

} // namespace

std::vector<CliCommand> loggerToolsCliCommands()
{
    return {
        CliCommand{QStringLiteral("read-data"),
                   QStringLiteral("Download the logger's memory into a data file (ReadData/...)."),
                   true,
                   [](QCommandLineParser& parser) {
                       parser.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                                         QStringLiteral("Write the data file here instead."),
                                         QStringLiteral("OUT.bin")});
                   },
                   readData},
        CliCommand{QStringLiteral("erase"), QStringLiteral("Erase the logger's data memory."), true,
                   [](QCommandLineParser& parser) {
                       parser.addOption(
                           {QStringLiteral("yes"),
                            QStringLiteral("Answer Yes to \"Are you really sure to erase the "
                                           "whole data memory?\".")});
                   },
                   eraseMemory},
        CliCommand{QStringLiteral("head-tilt"),
                   QStringLiteral("Read the head-tilt acceleration."),
                   true,
                   {},
                   headTilt},
        CliCommand{QStringLiteral("set-threshold"),
                   QStringLiteral("Write the head-position decision threshold."), true,
                   [](QCommandLineParser& parser) {
                       parser.addPositionalArgument(QStringLiteral("N"),
                                                    QStringLiteral("The threshold."));
                   },
                   setThreshold, true},
        CliCommand{QStringLiteral("freq-read"),
                   QStringLiteral("Read the receiver's centre frequency and offset."),
                   true,
                   {},
                   frequencyRead},
    };
}
