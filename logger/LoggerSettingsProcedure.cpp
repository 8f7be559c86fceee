#include "logger/LoggerSettingsProcedure.h"
#include <QCoreApplication>

#include "app/TextLog.h"
#include "link/CommandCode.h"
#include "link/Pump.h"
#include "link/UserPrompts.h"
#include "logger/LoggerSettingsView.h"
#include "logger/StatusReport.h"
#include "logger/SurveillanceReader.h"

namespace {
const QString NoLogger = Exchange::noCommunicationMessage(DeviceKind::Logger);
}

LoggerSettingsProcedure::LoggerSettingsProcedure(DeviceContext context, LoggerSettingsView& view)
    : m_context(std::move(context)), m_view(view),
      m_exchange(m_context.link, m_context.pump, m_context.prompts), m_commands(m_exchange)
{}

void LoggerSettingsProcedure::reset()
{
    m_form = LoggerSettingsForm{};
    m_running = false;
    m_view.reset();
    m_view.showValues();
}

bool LoggerSettingsProcedure::identified()
{
    if (m_exchange.identify(DeviceKind::Logger) == IdentifyResult::Identified)
        return true;
    m_view.setAnimation(false);
    reset();
    return false;
}

bool LoggerSettingsProcedure::readStatusOrReset(std::size_t drainChunk)
{
    const auto reply = m_commands.readStatus(drainChunk);
    if (reply.empty()) {
        m_context.prompts.showMessage(NoLogger);
        m_view.setAnimation(false);
        reset();
        m_status.reset();
        return false;
    }
    m_status = LoggerStatus(reply);
    return true;
}

bool LoggerSettingsProcedure::beginExchange(std::size_t drainChunk)
{
    m_view.disableBusySet(true);
    if (!m_view.takeValues()) {
        reset();
        return false;
    }
    m_view.setAnimation(true);
    return identified() && readStatusOrReset(drainChunk);
}

bool LoggerSettingsProcedure::readSettings()
{
    if (!beginExchange(26))
        return false;
    m_form.applyStatus(*m_status);
    m_view.showValues();
    m_view.setAnimation(false);
    m_lastStatus = m_status;
    m_lastReport = StatusReport::write(m_context.folders, *m_status, m_form.clock,
                                       m_form.loggingStart, m_context.pump.currentDateTime());
    m_view.applyReadyRule();
    m_view.enableSurveillanceButtons();
    return true;
}

bool LoggerSettingsProcedure::writeSettings()
{
    if (!beginExchange(32))
        return false;
    if (m_status->loggingOn()) {
        m_context.prompts.showMessage(QCoreApplication::translate(
            "LoggerSettingsProcedure",
            "Please turn off logging before writing configuration data!"));
        m_view.setAnimation(false);
        m_view.applyReadyRule();
        m_view.enableSurveillanceButtons();
        return false;
    }
    m_commands.writeSettings(m_form.settingsToWrite(), m_context.pump.currentDateTime());
    m_view.setAnimation(false);
    m_exchange.pumpWait(100);
    readSettings();
    m_view.applyReadyRule();
    m_view.enableSurveillanceButtons();
    return true;
}

bool LoggerSettingsProcedure::start()
{
    m_view.disableBusySet(true);
    if (m_context.prompts.askYesNo(QCoreApplication::translate(
            "LoggerSettingsProcedure", "Start logging with displayed settings?")) !=
        YesNoAnswer::Yes) {
        m_view.applyReadyRule();
        m_view.enableSurveillanceButtons();
        return false;
    }
    // Logging starts only with the settings on screen written: after a
    // refused or failed write it would run with whatever the logger had.
    if (!writeSettings())
        return false;
    m_view.disableBusySet(true);
    m_exchange.pumpWait(10);
    m_exchange.write({CommandCode::Logging, CommandCode::On});
    m_exchange.pumpWait(100);
    return readSettings();
}

bool LoggerSettingsProcedure::stop()
{
    m_view.disableBusySet(true);
    if (m_context.prompts.askYesNo(QCoreApplication::translate(
            "LoggerSettingsProcedure", "Stop logging for sure?")) != YesNoAnswer::Yes) {
        m_view.applyReadyRule();
        m_view.enableSurveillanceButtons();
        return false;
    }
    m_view.setAnimation(true);
    m_exchange.drainInput(0, 20);
    m_exchange.pumpWait(10);
    m_exchange.write({CommandCode::Logging, CommandCode::Off});
    m_exchange.pumpWait(100);
    const bool read = readSettings();
    m_view.setAnimation(false);
    return read;
}

void LoggerSettingsProcedure::surveillanceClick()
{
    if (!identified() || !readStatusOrReset(26))
        return;
    if (m_running) {
        // The run's loop sees this after its current wait and winds down -
        // also when logging has gone off meanwhile (a full memory, another
        // program): refusing the stop then would leave the run, and with it
        // the dialog, impossible to end.
        m_running = false;
        return;
    }
    if (!m_status->loggingOn()) {
        m_context.prompts.showMessage(QCoreApplication::translate(
            "LoggerSettingsProcedure", "Please turn on logging before starting surveillance!"));
        return;
    }

    if (m_endRequested)
        return;
    const LoggerStatus status = *m_status;
    m_running = true;
    m_lastRunCompleted = false;
    m_commands.switchActivity(CommandCode::Surveillance, true);
    m_view.appendLogLine(QStringLiteral("Start Log:"));
    m_view.setSurveillanceCaption(
        QCoreApplication::translate("LoggerSettingsProcedure", "Stop Surveilance"));
    m_view.setAnimation(true);
    m_view.disableBusySet(false);

    TextLog log;
    const QString devicePart =
        QStringLiteral("ImpID%1LogID%2_").arg(status.implantId()).arg(status.loggerId());
    if (!log.open(m_context.folders, QString::fromLatin1(SurveillanceLogName), devicePart,
                  m_context.pump.currentDateTime())) {
        // Without a file the run would show lines nobody can keep: switch the
        // logger back and say so.
        m_context.prompts.showMessage(QCoreApplication::translate(
            "LoggerSettingsProcedure", "Error: Can not create Log-file!"));
        m_commands.switchActivity(CommandCode::Surveillance, false);
        m_running = false;
        m_view.appendLogLine(QStringLiteral("Stop Log:"));
        m_view.setSurveillanceCaption(
            QCoreApplication::translate("LoggerSettingsProcedure", "Start Surveilance"));
        m_view.setAnimation(false);
        m_view.applyReadyRule();
        m_view.enableSurveillanceButtons();
        return;
    }
    m_lastLog = log.path();
    log.writeLine(QCoreApplication::translate("LoggerSettingsProcedure", "Logger ID: %1")
                      .arg(status.loggerId()));
    log.writeLine(QCoreApplication::translate("LoggerSettingsProcedure", "Implant ID: %1")
                      .arg(status.implantId()));
    log.writeLine(QStringLiteral("Start Log:"));

    m_exchange.read(14);
    SurveillanceReader reader(m_context.link, m_context.pump);
    bool lost = false;
    while (m_running) {
        m_exchange.pumpWait(1);
        // A stop click (or its failed identify) inside the wait comes first.
        if (!m_running)
            break;
        if (m_exchange.linkLost()) {
            lost = true;
            break;
        }
        const QStringList lines = reader.poll();
        for (const QString& line : lines) {
            log.writeLine(line);
            m_view.appendLogLine(line);
        }
    }

    if (!lost)
        m_commands.switchActivity(CommandCode::Surveillance, false);
    m_view.appendLogLine(QStringLiteral("Stop Log:"));
    log.writeLine(QStringLiteral("Stop Log:"));
    m_view.setSurveillanceCaption(
        QCoreApplication::translate("LoggerSettingsProcedure", "Start Surveilance"));
    log.close();
    if (lost) {
        // The cable or the adapter went away: there is nobody to switch off
        // or to ask for a status, and no reason to let the user find out by
        // pressing Stop.
        m_running = false;
        m_context.prompts.showMessage(NoLogger);
        m_view.setAnimation(false);
        reset();
        return;
    }
    m_lastRunCompleted = true;
    const bool answered = !m_commands.readStatus(26).empty();
    m_view.setAnimation(false);
    if (answered)
        m_view.applyReadyRule();
}
