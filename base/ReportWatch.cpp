#include "base/ReportWatch.h"
#include <QCoreApplication>

#include "app/TextLog.h"
#include "base/BaseReport.h"
#include "base/BaseReportReader.h"
#include "base/ReportWatchView.h"
#include "link/CommandCode.h"
#include "link/Pump.h"
#include "link/UserPrompts.h"

namespace {

ReportWatch::Settings vicinity(IdentifyTiming identify, std::uint32_t switchWaitMs)
{
    ReportWatch::Settings settings;
    settings.switchCode = CommandCode::VicinityObservation;
    settings.identify = identify;
    settings.switchWaitMs = switchWaitMs;
    settings.pollWaitMs = 1;
    settings.reportSize = BaseReport::LoggerReportSize;
    settings.discardAfterStart = 14;
    settings.logName = QStringLiteral("InVicinityLog");
    settings.idleCaption = QCoreApplication::translate("ReportWatch", "Start Observation");
    settings.runningCaption = QCoreApplication::translate("ReportWatch", "Stop Observation");
    settings.fileErrorCaption = settings.idleCaption;
    settings.lockBeforeIdentify = true;
    settings.line = [](std::span<const std::uint8_t> report, const QDateTime& time) {
        return std::optional(BaseReport::loggerLine(report, time));
    };
    return settings;
}

} // namespace

ReportWatch::Settings ReportWatch::vicinityInReadData()
{
    return vicinity({10, 100}, 100);
}

ReportWatch::Settings ReportWatch::vicinityInReadSettings()
{
    return vicinity({100, 200}, 200);
}

ReportWatch::Settings ReportWatch::implantSurveillance()
{
    Settings settings;
    settings.switchCode = CommandCode::ImplantSurveillance;
    settings.identify = {100, 100};
    settings.switchWaitMs = 200;
    settings.pollWaitMs = 100;
    settings.reportSize = BaseReport::ImplantReportSize;
    settings.discardAfterStart = 8;
    settings.logName = QStringLiteral("ImplantLog");
    settings.idleCaption = QCoreApplication::translate("ReportWatch", "Start Surveillance");
    settings.runningCaption = QCoreApplication::translate("ReportWatch", "Stop Surveilance");
    settings.fileErrorCaption = QCoreApplication::translate("ReportWatch", "Start Surveilance");
    settings.lockBeforeIdentify = false;
    settings.line = &BaseReport::implantLine;
    return settings;
}

ReportWatch::ReportWatch(DeviceContext context, ReportWatchView& view, Settings settings)
    : ToggleFeature(context, settings.identify), m_context(std::move(context)), m_view(view),
      m_settings(std::move(settings))
{}

void ReportWatch::beginPress()
{
    if (m_settings.lockBeforeIdentify)
        m_view.setControlsEnabled(false);
}

void ReportWatch::showIdle()
{
    m_view.setAnimation(false);
    m_view.setCaption(m_settings.idleCaption);
    m_view.setControlsEnabled(true);
}

void ReportWatch::showStopping()
{
    m_view.setCaption(m_settings.idleCaption);
}

void ReportWatch::switchReports(bool on)
{
    exchange().write({m_settings.switchCode, on ? CommandCode::On : CommandCode::Off});
    exchange().pumpWait(m_settings.switchWaitMs);
    exchange().read(2);
}

void ReportWatch::run()
{
    switchReports(true);
    m_view.runStarted();
    m_view.setCaption(m_settings.runningCaption);
    m_view.setAnimation(true);
    m_view.setControlsEnabled(false);

    TextLog log;
    if (!log.open(m_context.folders, m_settings.logName, {}, m_context.pump.currentDateTime())) {
        m_context.prompts.showMessage(
            QCoreApplication::translate("ReportWatch", "Error: Can not create Log-file!"));
        m_view.setAnimation(false);
        m_view.setCaption(m_settings.fileErrorCaption);
        exchange().write({m_settings.switchCode, CommandCode::Off});
        m_view.setControlsEnabled(true);
        return;
    }
    m_lastLog = log.path();
    log.writeLine(QStringLiteral("Start Log:"));
    m_view.appendLine(QStringLiteral("Start Log:"));
    exchange().read(m_settings.discardAfterStart);

    BaseReportReader reader(m_context.link, m_context.pump, m_settings.reportSize);
    while (!stopRequested()) {
        exchange().pumpWait(m_settings.pollWaitMs);
        if (exchange().linkLost()) {
            reportLinkLost();
            break;
        }
        const auto report = reader.poll();
        if (!report)
            continue;
        if (const auto line = m_settings.line(*report, m_context.pump.currentDateTime())) {
            log.writeLine(*line);
            m_view.appendLine(*line);
        }
    }

    if (!exchange().linkLost())
        switchReports(false);
    log.writeLine(QStringLiteral("Stop Log:"));
    m_view.appendLine(QStringLiteral("Stop Log:"));
    m_view.setCaption(m_settings.idleCaption);
    m_view.setControlsEnabled(true);
    log.close();
    m_view.setAnimation(false);
}
