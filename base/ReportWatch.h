#pragma once

#include "base/ToggleFeature.h"
#include "link/DeviceContext.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

class ReportWatchView;

// Lets the base station report what it hears (loggers in the vicinity, or
// implants), lists each report as a line and writes the lines to a text log
// ("Start Log:", the lines, "Stop Log:"), until the button is pressed again
// or the port goes away. The two watches differ only in the settings below.
class ReportWatch final : public ToggleFeature {
public:
    struct Settings {
        std::uint8_t switchCode = 0;  // 36 logger reports, 35 implant reports
        IdentifyTiming identify;      // the waits of the button's identify
        std::uint32_t switchWaitMs{}; // after the switch command, on and off
        std::uint32_t pollWaitMs{};   // before each read of a report
        std::size_t reportSize{};
        std::size_t discardAfterStart{}; // bytes read away once the log is open
        QString logName;
        QString idleCaption;
        QString runningCaption;
        QString fileErrorCaption;
        // Whether the press disables the dialog's controls before identifying.
        bool lockBeforeIdentify = true;
        // The line of a report, if it makes one.
        std::function<std::optional<QString>(std::span<const std::uint8_t>, const QDateTime&)> line;
    };

    // "Loggers in vicinity" in the Read Data and the Read Settings dialog.
    static Settings vicinityInReadData();
    static Settings vicinityInReadSettings();
    // "Implant Surveillance".
    static Settings implantSurveillance();

    ReportWatch(DeviceContext context, ReportWatchView& view, Settings settings);

    [[nodiscard]] const Settings& settings() const { return m_settings; }
    // The log file of the last watch that got one.
    [[nodiscard]] QString lastLogPath() const { return m_lastLog; }

private:
    void beginPress() override;
    void showIdle() override;
    void showStopping() override;
    void run() override;
    void switchReports(bool on);

    DeviceContext m_context;
    ReportWatchView& m_view;
    Settings m_settings;
    QString m_lastLog;
};
