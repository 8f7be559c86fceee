#include "cli/LoggerCliCommands.h"
#include <QCoreApplication>

#include "cli/CliRunner.h"
#include "cli/PortSession.h"
#include "logger/LoggerSettingsProcedure.h"
#include "logger/LoggerSettingsView.h"
#include "logger/StatusReport.h"

#include <QCommandLineParser>
#include <QTimer>

#include <functional>

namespace {

// The settings procedure without a window: the form is set directly, and
// surveillance lines go to the output stream.
class ConsoleSettingsView final : public LoggerSettingsView {
public:
    explicit ConsoleSettingsView(const CliContext& cli) : m_cli(cli) {}
    bool takeValues() override { return true; }
    void showValues() override {}
    void disableBusySet(bool) override {}
    void applyReadyRule() override {}
    void enableSurveillanceButtons() override {}
    void reset() override {}
    void setAnimation(bool) override {}
    void setSurveillanceCaption(const QString& caption) override
    {
        // The caption turns to "Stop ..." when a run has started.
        if (caption.startsWith(QLatin1String("Stop")) && runStarted)
            runStarted();
    }
    void appendLogLine(const QString& line) override { m_cli.print(line); }

    std::function<void()> runStarted;

private:
    const CliContext& m_cli;
};

// A port session with the settings procedure on it.
struct LoggerSession {
    PortSession port;
    ConsoleSettingsView view;
    LoggerSettingsProcedure procedure;

    LoggerSession(const CliContext& cli, bool assumeYes)
        : port(cli, assumeYes), view(cli), procedure(port.context(), view)
    {}
};

void printReport(const LoggerSession& session, const CliContext& cli)
{
    const auto& status = session.procedure.lastStatus();
    if (!status)
        return;
    const LoggerSettingsForm& form = session.procedure.form();
    std::fputs(StatusReport::text(*status, form.clock, form.loggingStart).constData(), cli.out);
    std::fflush(cli.out);
    const QString path = session.procedure.lastReportPath();
    cli.printError(path.isEmpty()
                       ? QCoreApplication::translate("LoggerCliCommands",
                                                     "The status report could not be written.")
                       : QCoreApplication::translate("LoggerCliCommands", "Report: %1").arg(path));
}

int status(const QCommandLineParser&, const CliContext& cli)
{
    LoggerSession session(cli, false);
    if (!session.port.open() || !session.procedure.readSettings())
        return CliCommand::ExitFailure;
    printReport(session, cli);
    // The report file is what the command is for, besides the screen.
    return session.procedure.lastReportPath().isEmpty() ? CliCommand::ExitFailure
                                                        : CliCommand::ExitOk;
}

std::optional<int> rangedValue(const QCommandLineParser& parser, const QString& option, int high,
                               const CliContext& cli, bool* usageError)
{
    if (!parser.isSet(option))
        return std::nullopt;
    bool ok = false;
    const int value = parser.value(option).toInt(&ok);
    if (!ok || value < 0 || value > high) {
        CliRunner::usage(cli, QCoreApplication::translate("LoggerCliCommands",
                                                          "--%1 takes a whole number from 0 to %2")
                                  .arg(option)
                                  .arg(high));
        *usageError = true;
        return std::nullopt;
    }
    return value;
}

int writeSettings(const QCommandLineParser& parser, const CliContext& cli)
{
    bool usageError = false;
    const auto loggerId = rangedValue(parser, QStringLiteral("logger-id"),
                                      LoggerSettingsForm::MaxLoggerId, cli, &usageError);
    const auto implantId = rangedValue(parser, QStringLiteral("implant-id"),
                                       LoggerSettingsForm::MaxImplantId, cli, &usageError);
    const auto interval = rangedValue(parser, QStringLiteral("interval-s"),
                                      LoggerSettingsForm::MaxIntervalSeconds, cli, &usageError);
    if (usageError)
        return CliCommand::ExitUsage;
    if (interval && *interval % 15 != 0)
        cli.printError(
            QCoreApplication::translate("LoggerCliCommands",
                                        "The interval goes in steps of 15 s: %1 s is written.")
                .arg(LoggerSettingsForm::intervalAfterEdit(*interval)));

    LoggerSession session(cli, false);
    if (!session.port.open() || !session.procedure.readSettings())
        return CliCommand::ExitFailure;
    LoggerSettingsForm& form = session.procedure.form();
    if (loggerId)
        form.loggerId = *loggerId;
    if (implantId)
        form.implantId = *implantId;
    if (interval)
        form.intervalSeconds = LoggerSettingsForm::intervalAfterEdit(*interval);
    if (!session.procedure.writeSettings())
        return CliCommand::ExitFailure;
    printReport(session, cli);
    return CliCommand::ExitOk;
}

int setLogging(const CliContext& cli, bool on)
{
    // The command itself is the user's answer to "Start logging ...?".
    LoggerSession session(cli, true);
    if (!session.port.open() || !session.procedure.readSettings())
        return CliCommand::ExitFailure;
    const bool done = on ? session.procedure.start() : session.procedure.stop();
    if (!done)
        return CliCommand::ExitFailure;
    const auto& status = session.procedure.lastStatus();
    if (!status || status->loggingOn() != on) {
        cli.printError(on ? QCoreApplication::translate("LoggerCliCommands",
                                                        "The logger did not start logging.")
                          : QCoreApplication::translate("LoggerCliCommands",
                                                        "The logger did not stop logging."));
        return CliCommand::ExitFailure;
    }
    cli.print(on ? QCoreApplication::translate("LoggerCliCommands", "Logging on")
                 : QCoreApplication::translate("LoggerCliCommands", "Logging off"));
    return CliCommand::ExitOk;
}

int surveillance(const QCommandLineParser& parser, const CliContext& cli)
{
    bool ok = false;
    const int seconds = parser.value(QStringLiteral("seconds")).toInt(&ok);
    if (!ok || seconds <= 0)
        return CliRunner::usage(
            cli, QCoreApplication::translate("LoggerCliCommands",
                                             "--seconds takes a whole number above 0"));
    LoggerSession session(cli, false);
    if (!session.port.open())
        return CliCommand::ExitFailure;
    // The run's loop pumps events: the end comes from inside it, at its time
    // (counted from the run's start, whatever the logger took to answer
    // before) or on Ctrl-C. It does not ask the logger first (a stop click
    // would, and would leave the run going when the logger's answer does not
    // suit), so the run always ends, switches the stream off and closes the
    // log.
    QTimer stopTimer;
    stopTimer.setSingleShot(true);
    QObject::connect(&stopTimer, &QTimer::timeout, [&] { session.procedure.endSurveillance(); });
    session.view.runStarted = [&] { stopTimer.start(seconds * 1000); };
    cli.onInterrupt([&] { session.procedure.endSurveillance(); });
    session.procedure.surveillanceClick();
    cli.onInterrupt({});
    const QString log = session.procedure.lastSurveillanceLogPath();
    if (!log.isEmpty())
        cli.printError(QCoreApplication::translate("LoggerCliCommands", "Log: %1").arg(log));
    return session.procedure.lastRunCompleted() && !cli.interrupted() ? CliCommand::ExitOk
                                                                      : CliCommand::ExitFailure;
}

} // namespace

std::vector<CliCommand> loggerCliCommands()
{
    return {
        CliCommand{QStringLiteral("status"),
                   QCoreApplication::translate(
                       "LoggerCliCommands",
                       "Read the logger's status, print the report and write it to "
                       "StatusLogCollar."),
                   true,
                   {},
                   status},
        CliCommand{QStringLiteral("write-settings"),
                   QCoreApplication::translate(
                       "LoggerCliCommands",
                       "Change the logger's IDs or interval and set its clock to this "
                       "computer's."),
                   true,
                   [](QCommandLineParser& parser) {
                       parser.addOption({QStringLiteral("logger-id"),
                                         QCoreApplication::translate("LoggerCliCommands",
                                                                     "Logger ID, 0 to 255."),
                                         QStringLiteral("N")});
                       parser.addOption({QStringLiteral("implant-id"),
                                         QCoreApplication::translate("LoggerCliCommands",
                                                                     "Implant ID, 0 to 63."),
                                         QStringLiteral("N")});
                       parser.addOption(
                           {QStringLiteral("interval-s"),
                            QCoreApplication::translate(
                                "LoggerCliCommands", "Logging interval in seconds, 0 to 3825, in "
                                                     "steps of 15."),
                            QStringLiteral("N")});
                   },
                   writeSettings},
        CliCommand{
            QStringLiteral("start-logging"),
            QCoreApplication::translate(
                "LoggerCliCommands", "Write the settings read and the clock, then start logging."),
            true,
            {},
            [](const QCommandLineParser&, const CliContext& cli) { return setLogging(cli, true); }},
        CliCommand{QStringLiteral("stop-logging"),
                   QCoreApplication::translate("LoggerCliCommands", "Stop logging."),
                   true,
                   {},
                   [](const QCommandLineParser&, const CliContext& cli) {
                       return setLogging(cli, false);
                   }},
        CliCommand{QStringLiteral("surveillance"),
                   QCoreApplication::translate(
                       "LoggerCliCommands", "Watch a logging logger's live packets for a while."),
                   true,
                   [](QCommandLineParser& parser) {
                       parser.addOption(
                           {QStringLiteral("seconds"),
                            QCoreApplication::translate("LoggerCliCommands", "How long to watch."),
                            QStringLiteral("S"), QStringLiteral("60")});
                   },
                   surveillance},
    };
}
