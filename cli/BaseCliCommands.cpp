#include "cli/BaseCliCommands.h"

#include "base/BaseDownloadProcedure.h"
#include "base/BaseDownloadView.h"
#include "base/BaseRevisionProcedure.h"
#include "base/BaseSettingsProcedure.h"
#include "base/BaseSettingsView.h"
#include "base/ReportWatch.h"
#include "base/ReportWatchView.h"
#include "cli/CliRunner.h"
#include "cli/PortSession.h"
#include "data/TransferText.h"
#include "logger/StatusReport.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QTimer>

namespace {

constexpr int DefaultConnectSeconds = 120;

// What Ctrl-C does while a job runs.
class InterruptHook {
public:
    InterruptHook(const CliContext& cli, std::function<void()> stop) : m_cli(cli)
    {
        m_cli.onInterrupt(std::move(stop));
    }
    ~InterruptHook() { m_cli.onInterrupt({}); }
    InterruptHook(const InterruptHook&) = delete;
    InterruptHook& operator=(const InterruptHook&) = delete;

private:
    const CliContext& m_cli;
};

// Calls `action` once its time has come, and again every 100 ms for as long
// as it returns false (it could not act yet).
class Deadline {
public:
    explicit Deadline(std::function<bool()> action) : m_action(std::move(action))
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            m_passed = true;
            if (!m_action())
                m_timer.start(100);
        });
    }
    Deadline(int seconds, std::function<bool()> action) : Deadline(std::move(action))
    {
        start(seconds);
    }
    void start(int seconds) { m_timer.start(seconds * 1000); }
    [[nodiscard]] bool passed() const { return m_passed; }
    void cancel() { m_timer.stop(); }

private:
    std::function<bool()> m_action;
    QTimer m_timer;
    bool m_passed = false;
};

std::optional<int> positiveSeconds(const QCommandLineParser& parser, const QString& option,
                                   const CliContext& cli)
{
    bool ok = false;
    const int seconds = parser.value(option).toInt(&ok);
    if (!ok || seconds <= 0) {
        CliRunner::usage(cli, QStringLiteral("--%1 takes a whole number above 0").arg(option));
        return std::nullopt;
    }
    return seconds;
}

// "5" or "5,7,12"; each 0 to 255.
std::optional<std::vector<int>> implantList(const QCommandLineParser& parser, const CliContext& cli,
                                            bool listAllowed)
{
    const QString value = parser.value(QStringLiteral("implant"));
    std::vector<int> implants;
    const QStringList parts = value.split(QLatin1Char(','));
    for (const QString& part : parts) {
        bool ok = false;
        const int id = part.trimmed().toInt(&ok);
        if (!ok || id < 0 || id > 255) {
            implants.clear();
            break;
        }
        implants.push_back(id);
    }
    if (implants.empty() || (!listAllowed && implants.size() > 1)) {
        CliRunner::usage(cli, listAllowed ? QStringLiteral("--implant takes an implant ID from 0 "
                                                           "to 255, or a list such as 5,7,12")
                                          : QStringLiteral("--implant takes an implant ID from 0 "
                                                           "to 255"));
        return std::nullopt;
    }
    return implants;
}

// The implants and the wait for the logger, as both commands that reach a
// logger take them.
struct LoggerArguments {
    std::vector<int> implants;
    int connectSeconds = DefaultConnectSeconds;
};

std::optional<LoggerArguments> loggerArguments(const QCommandLineParser& parser,
                                               const CliContext& cli, bool listAllowed)
{
    const auto implants = implantList(parser, cli, listAllowed);
    if (!implants)
        return std::nullopt;
    const auto seconds = positiveSeconds(parser, QStringLiteral("connect-seconds"), cli);
    if (!seconds)
        return std::nullopt;
    return LoggerArguments{*implants, *seconds};
}

void addConnectOption(QCommandLineParser& parser)
{
    parser.addOption({QStringLiteral("connect-seconds"),
                      QStringLiteral("How long to wait for the logger to answer (default 120)."),
                      QStringLiteral("S"), QString::number(DefaultConnectSeconds)});
}

class ConsoleSettingsView final : public BaseSettingsView {
public:
    explicit ConsoleSettingsView(int implant) : m_implant(implant) {}
    int takeImplantId() override { return m_implant; }
    void setOtherControlsEnabled(bool) override {}
    void setReadCaption(const QString&) override {}
    void setAnimation(bool) override {}
    void showValues() override {}

private:
    int m_implant;
};

int baseStatus(const QCommandLineParser& parser, const CliContext& cli)
{
    const auto arguments = loggerArguments(parser, cli, false);
    if (!arguments)
        return CliCommand::ExitUsage;
    const int implant = arguments->implants.front();
    const int seconds = arguments->connectSeconds;
    PortSession session(cli);
    if (!session.open())
        return CliCommand::ExitFailure;
    ConsoleSettingsView view(implant);
    BaseSettingsProcedure procedure(session.context(), view);
    const InterruptHook hook(cli, [&] { procedure.stop(); });
    Deadline deadline(seconds, [&] {
        procedure.stop();
        return true;
    });
    procedure.press();
    deadline.cancel();
    const auto& status = procedure.lastStatus();
    if (!status) {
        if (deadline.passed())
            cli.printError(QStringLiteral("The logger of implant %1 did not answer within %2 s.")
                               .arg(implant)
                               .arg(seconds));
        return CliCommand::ExitFailure;
    }
    const LoggerSettingsForm& form = procedure.form();
    std::fputs(StatusReport::text(*status, form.clock, form.loggingStart).constData(), cli.out);
    std::fflush(cli.out);
    if (procedure.lastReportPath().isEmpty())
        return CliCommand::ExitFailure;
    cli.printError(QStringLiteral("Report: %1").arg(procedure.lastReportPath()));
    return CliCommand::ExitOk;
}

// A download's texts and progress on the error stream. On a terminal the
// progress line rewrites itself a few times a second; otherwise a line comes
// now and then.
class ConsoleDownloadView final : public BaseDownloadView {
public:
    explicit ConsoleDownloadView(const CliContext& cli)
        : m_cli(cli), m_terminal(cli.errorsOnTerminal())
    {}
    int implant = 0;

    int takeImplantId() override { return implant; }
    void setOtherControlsEnabled(bool) override {}
    void setReadEnabled(bool) override {}
    void setReadCaption(const QString&) override {}
    void setAnimation(bool) override {}
    void setTimeTexts(const QString&, const QString&) override {}
    void setProgressRange(std::uint32_t) override {}
    void setProgress(std::uint32_t) override {}
    void setStatusText(const QString& text) override
    {
        // The waiting texts count the seconds: each kind is said once.
        const QString kind = text.section(QStringLiteral("..."), 0, 0);
        if (kind == m_lastKind)
            return;
        m_lastKind = kind;
        endLine();
        m_cli.printError(text);
    }
    void showTransfer(std::uint32_t stored, std::uint32_t total, double rate) override
    {
        const bool last = stored >= total;
        if (stored == m_lastStored && m_clock.isValid())
            return;
        if (m_clock.isValid() && m_clock.elapsed() < (m_terminal ? 250 : 5000) && !last)
            return;
        m_lastStored = stored;
        m_clock.start();
        const QString line = TransferText::describe(stored, total, rate);
        if (m_terminal) {
            std::fprintf(m_cli.err, "\r%-70s", qPrintable(line));
            std::fflush(m_cli.err);
            m_open = true;
        } else {
            m_cli.printError(line);
        }
    }
    void endLine()
    {
        if (m_open)
            std::fputc('\n', m_cli.err);
        m_open = false;
    }
    void reset()
    {
        endLine();
        m_lastKind.clear();
        m_clock.invalidate();
        m_lastStored = 0;
    }

private:
    const CliContext& m_cli;
    bool m_terminal;
    bool m_open = false;
    QString m_lastKind;
    QElapsedTimer m_clock;
    std::uint32_t m_lastStored = 0;
};

int baseReadData(const QCommandLineParser& parser, const CliContext& cli)
{
    const auto arguments = loggerArguments(parser, cli, true);
    if (!arguments)
        return CliCommand::ExitUsage;
    const std::vector<int>& implants = arguments->implants;
    const int seconds = arguments->connectSeconds;
    PortSession session(cli);
    if (!session.open())
        return CliCommand::ExitFailure;
    ConsoleDownloadView view(cli);
    BaseDownloadProcedure procedure(session.context(), view, {});
    bool interrupted = false;
    const InterruptHook hook(cli, [&] {
        interrupted = true;
        procedure.stop();
    });

    QStringList summary;
    bool allComplete = true;
    for (const int implant : implants) {
        if (interrupted) {
            summary << QStringLiteral("implant %1: not started, interrupted").arg(implant);
            allComplete = false;
            continue;
        }
        view.reset();
        view.implant = implant;
        // The wait for the logger is bounded; the download itself runs until
        // it is done or stopped. A status frame on its way is let in: it may
        // be the good one.
        Deadline deadline(seconds, [&] {
            using State = LoggerConnection::State;
            const State state = procedure.state();
            if (procedure.active() && state == State::ReceiveStatus)
                return false;
            if (!procedure.active() || state == State::Start || state == State::WaitLogger ||
                state == State::RequestStatus)
                procedure.stop();
            return true;
        });
        const int runsBefore = procedure.runCount();
        procedure.press();
        deadline.cancel();
        view.endLine();

        const auto outcome = procedure.runCount() == runsBefore
                                 ? BaseDownloadProcedure::Outcome::None
                                 : procedure.lastOutcome();
        const bool complete = outcome == BaseDownloadProcedure::Outcome::Completed;
        allComplete = allComplete && complete;
        QString why;
        switch (outcome) {
        case BaseDownloadProcedure::Outcome::Completed:
        case BaseDownloadProcedure::Outcome::Aborted:
            why = procedure.lastStatusText();
            break;
        case BaseDownloadProcedure::Outcome::Failed:
            why = procedure.lastError();
            break;
        case BaseDownloadProcedure::Outcome::Stopped:
            why = deadline.passed()
                      ? QStringLiteral("the logger did not answer within %1 s").arg(seconds)
                      : QStringLiteral("stopped before the logger answered");
            break;
        case BaseDownloadProcedure::Outcome::None:
            // The base station was not identified; its message was shown.
            why = session.prompts.messages().isEmpty() ? QStringLiteral("stopped before it started")
                                                       : session.prompts.messages().last();
            break;
        }
        const QString path =
            outcome == BaseDownloadProcedure::Outcome::None ? QString() : procedure.lastFilePath();
        if (implants.size() == 1) {
            if (!path.isEmpty())
                cli.print(path);
            if (complete || outcome == BaseDownloadProcedure::Outcome::Aborted)
                cli.print(why);
            else if (outcome == BaseDownloadProcedure::Outcome::Stopped)
                cli.printError(why);
        } else {
            summary << QStringLiteral("implant %1: %2, %3 bytes stored, %4")
                           .arg(implant)
                           .arg(path.isEmpty() ? QStringLiteral("no file") : path)
                           .arg(path.isEmpty() ? 0 : procedure.storedCount())
                           .arg(why);
        }
        if (session.exchange.linkLost())
            interrupted = true; // the base station is gone: the rest cannot be reached
    }
    for (const QString& line : summary)
        cli.print(line);
    return allComplete ? CliCommand::ExitOk : CliCommand::ExitFailure;
}

int baseRevision(const QCommandLineParser&, const CliContext& cli)
{
    PortSession session(cli);
    if (!session.open())
        return CliCommand::ExitFailure;
    BaseRevisionProcedure procedure(session.context(), {});
    if (!procedure.readRevision())
        return CliCommand::ExitFailure;
    cli.print(QStringLiteral("FW revision: %1").arg(procedure.firmware()));
    cli.print(QStringLiteral("HW revision: %1").arg(procedure.hardware()));
    return CliCommand::ExitOk;
}

class ConsoleWatchView final : public ReportWatchView {
public:
    explicit ConsoleWatchView(const CliContext& cli) : m_cli(cli) {}
    std::function<void()> started;
    void setControlsEnabled(bool) override {}
    void setCaption(const QString&) override {}
    void setAnimation(bool) override {}
    void appendLine(const QString& line) override { m_cli.print(line); }
    void runStarted() override { started(); }

private:
    const CliContext& m_cli;
};

int watchReports(const QCommandLineParser& parser, const CliContext& cli,
                 ReportWatch::Settings settings)
{
    const auto seconds = positiveSeconds(parser, QStringLiteral("seconds"), cli);
    if (!seconds)
        return CliCommand::ExitUsage;
    PortSession session(cli);
    if (!session.open())
        return CliCommand::ExitFailure;
    ConsoleWatchView view(cli);
    ReportWatch watch(session.context(), view, std::move(settings));
    // Whatever happens meanwhile, the watch ends on time, counted from when
    // the reports came on, and the base station's reports are switched off
    // again.
    Deadline deadline([&] {
        watch.stop();
        return true;
    });
    view.started = [&] { deadline.start(*seconds); };
    const InterruptHook hook(cli, [&] { watch.stop(); });
    watch.press();
    const QString log = watch.lastLogPath();
    if (log.isEmpty())
        return CliCommand::ExitFailure;
    cli.printError(QStringLiteral("Log: %1").arg(log));
    return session.exchange.linkLost() || cli.interrupted() ? CliCommand::ExitFailure
                                                            : CliCommand::ExitOk;
}

void addSecondsOption(QCommandLineParser& parser)
{
    parser.addOption({QStringLiteral("seconds"), QStringLiteral("How long to watch."),
                      QStringLiteral("S"), QStringLiteral("60")});
}

void addImplantOption(QCommandLineParser& parser, const QString& help)
{
    parser.addOption({QStringLiteral("implant"), help, QStringLiteral("N")});
}

} // namespace

std::vector<CliCommand> baseCliCommands()
{
    return {
        CliCommand{QStringLiteral("base-status"),
                   QStringLiteral("Read a distant logger's status through the base station, "
                                  "print it and write it to StatusLogBase."),
                   true,
                   [](QCommandLineParser& parser) {
                       addImplantOption(parser,
                                        QStringLiteral("The implant the logger is paired with."));
                       addConnectOption(parser);
                   },
                   baseStatus},
        CliCommand{
            QStringLiteral("base-read-data"),
            QStringLiteral("Download distant loggers' memory into Downloads/, resuming earlier "
                           "downloads."),
            true,
            [](QCommandLineParser& parser) {
                addImplantOption(parser, QStringLiteral("The implant the logger is paired with, "
                                                        "or a list (5,7,12) read in turn."));
                addConnectOption(parser);
            },
            baseReadData},
        CliCommand{QStringLiteral("base-revision"),
                   QStringLiteral("Read the base station's firmware and hardware revision."),
                   true,
                   {},
                   baseRevision},
        CliCommand{QStringLiteral("vicinity"),
                   QStringLiteral("List the loggers the base station hears for a while."), true,
                   addSecondsOption,
                   [](const QCommandLineParser& parser, const CliContext& cli) {
                       return watchReports(parser, cli, ReportWatch::vicinityInReadData());
                   }},
        CliCommand{QStringLiteral("implant-surveillance"),
                   QStringLiteral("List what the base station hears from implants for a while."),
                   true, addSecondsOption,
                   [](const QCommandLineParser& parser, const CliContext& cli) {
                       return watchReports(parser, cli, ReportWatch::implantSurveillance());
                   }},
    };
}
