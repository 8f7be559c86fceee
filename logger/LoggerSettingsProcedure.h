#pragma once

#include "link/DeviceContext.h"
#include "link/Exchange.h"
#include "logger/LoggerCommands.h"
#include "logger/LoggerSettingsForm.h"
#include "logger/LoggerStatus.h"

#include <QString>

#include <optional>

class LoggerSettingsView;

// What the Logger Settings dialog does with a logger on the cable: read its
// settings (and write a status report), write them, start and stop logging,
// and run a live surveillance. The dialog shows the form and forwards its
// buttons here; the command-line tool drives the same procedure.
class LoggerSettingsProcedure {
public:
    static constexpr auto SurveillanceLogName = "SurveillanceLog";

    LoggerSettingsProcedure(DeviceContext context, LoggerSettingsView& view);

    LoggerSettingsForm& form() { return m_form; }
    [[nodiscard]] const LoggerSettingsForm& form() const { return m_form; }
    [[nodiscard]] bool surveillanceRunning() const { return m_running; }
    // The block of the last successful read, and the report it wrote.
    [[nodiscard]] const std::optional<LoggerStatus>& lastStatus() const { return m_lastStatus; }
    [[nodiscard]] QString lastReportPath() const { return m_lastReport; }
    [[nodiscard]] QString lastSurveillanceLogPath() const { return m_lastLog; }

    // Each returns whether it got as far as its purpose.
    bool readSettings();
    bool writeSettings();
    bool start();
    bool stop();
    // The one surveillance button: starts a run, or (pressed again while the
    // run's loop waits) stops it.
    void surveillanceClick();
    // Ends a running surveillance without asking the logger first, the way
    // a timed or interrupted run must end whatever the logger says: the run
    // switches the stream off (34, 0xEE) and closes its log as after a stop.
    // An end that comes before the run has started keeps it from starting.
    void endSurveillance()
    {
        m_endRequested = true;
        m_running = false;
    }
    // The last run started and was ended by a stop, its log complete.
    [[nodiscard]] bool lastRunCompleted() const { return m_lastRunCompleted; }

    // Back to the opening state.
    void reset();

private:
    // The start of Read and Write: controls off, the fields taken, the
    // logger identified and its status read; false (dialog reset) otherwise.
    bool beginExchange(std::size_t drainChunk);
    bool identified();
    bool readStatusOrReset(std::size_t drainChunk);

    DeviceContext m_context;
    LoggerSettingsView& m_view;
    Exchange m_exchange;
    LoggerCommands m_commands;
    LoggerSettingsForm m_form;
    std::optional<LoggerStatus> m_status; // the block the current action read
    std::optional<LoggerStatus> m_lastStatus;
    QString m_lastReport;
    QString m_lastLog;
    bool m_running = false;
    bool m_lastRunCompleted = false;
    bool m_endRequested = false;
};
