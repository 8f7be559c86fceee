#pragma once

#include "base/LoggerConnection.h"
#include "link/DeviceContext.h"
#include "logger/LoggerSettingsForm.h"

#include <QString>

#include <optional>

class BaseSettingsView;

// "Read Settings" through the base station: connects to the logger paired
// with the picked implant, shows its status in the same fields and with the
// same decoding as the Logger Settings dialog, writes the status report to
// "StatusLogBase", and lets the logger go. The logger itself is not changed.
class BaseSettingsProcedure final : public LoggerConnection {
public:
    static constexpr IdentifyTiming Timing{100, 100};

    BaseSettingsProcedure(DeviceContext context, BaseSettingsView& view);

    LoggerSettingsForm& form() { return m_form; }
    [[nodiscard]] const LoggerSettingsForm& form() const { return m_form; }
    // The block of the last good read, and the report it wrote (empty when
    // none could be written).
    [[nodiscard]] const std::optional<LoggerStatus>& lastStatus() const { return m_lastStatus; }
    [[nodiscard]] QString lastReportPath() const { return m_lastReport; }

    // The display as a read starts: every value 0 or empty, all pickers at
    // 2000-01-01 00:00:00, the logging lamp green and the implant lamp red,
    // both grey.
    static LoggerSettingsForm clearedForm();
    // The display when the dialog opens: both lamps red and grey.
    static LoggerSettingsForm openingForm();

private:
    void beginPress() override;
    void showIdle() override;
    void showStopping() override;
    void run() override;
    int implantIdForStart() override { return m_implantId; }
    void setAnimation(bool running) override;
    State statusReceived(const LoggerStatus& status) override;
    [[nodiscard]] bool checksStopAfterReceiveStatus() const override { return true; }
    State stepOwnState(State) override { return State::End; }

    DeviceContext m_context;
    BaseSettingsView& m_view;
    LoggerSettingsForm m_form = openingForm();
    std::optional<LoggerStatus> m_lastStatus;
    QString m_lastReport;
    int m_implantId = 0;
};
