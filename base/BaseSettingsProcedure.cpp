#include "base/BaseSettingsProcedure.h"
#include <QCoreApplication>

#include "base/BaseSettingsView.h"
#include "link/Pump.h"
#include "link/UserPrompts.h"
#include "logger/StatusReport.h"

namespace {
const QString ReadCaption = QCoreApplication::translate("BaseSettingsProcedure", "Read Settings");
const QString AbortCaption = QCoreApplication::translate("BaseSettingsProcedure", "Abort Reading");
} // namespace

BaseSettingsProcedure::BaseSettingsProcedure(DeviceContext context, BaseSettingsView& view)
    : LoggerConnection(context, Timing), m_context(std::move(context)), m_view(view)
{}

LoggerSettingsForm BaseSettingsProcedure::clearedForm()
{
    LoggerSettingsForm form;
    form.vhfStop = QTime(0, 0, 0);
    form.loggingLamp = LoggerSettingsForm::Lamp::Grey;
    form.implantLamp = LoggerSettingsForm::Lamp::GreyRed;
    return form;
}

LoggerSettingsForm BaseSettingsProcedure::openingForm()
{
    LoggerSettingsForm form = clearedForm();
    form.loggingLamp = LoggerSettingsForm::Lamp::GreyRed;
    return form;
}

void BaseSettingsProcedure::beginPress()
{
    // "Read Settings" itself stays usable: it is also the abort button.
    m_view.setOtherControlsEnabled(false);
}

void BaseSettingsProcedure::showIdle()
{
    m_view.setAnimation(false);
    m_view.setReadCaption(ReadCaption);
    m_view.setOtherControlsEnabled(true);
}

void BaseSettingsProcedure::showStopping()
{
    m_view.setReadCaption(ReadCaption);
}

void BaseSettingsProcedure::setAnimation(bool running)
{
    m_view.setAnimation(running);
}

void BaseSettingsProcedure::run()
{
    m_implantId = m_view.takeImplantId();
    m_form = clearedForm();
    m_view.showValues();
    m_view.setReadCaption(AbortCaption);
    runConnection();
    m_view.setAnimation(false);
    m_view.setOtherControlsEnabled(true);
    m_view.setReadCaption(ReadCaption);
}

LoggerConnection::State BaseSettingsProcedure::statusReceived(const LoggerStatus& status)
{
    m_form.applyStatus(status);
    m_view.showValues();
    m_lastStatus = status;
    m_lastReport = StatusReport::write(m_context.folders, status, m_form.clock, m_form.loggingStart,
                                       m_context.pump.currentDateTime(),
                                       QString::fromLatin1(StatusReport::BaseFolderName));
    if (m_lastReport.isEmpty()) {
        // Asking for the status again would only fail again, for as long as
        // the user lets it: the values are on screen, the file is what is
        // missing.
        m_context.prompts.showMessage(QCoreApplication::translate(
            "BaseSettingsProcedure", "Error: Can not create the status report!"));
    }
    endConnection();
    return State::End;
}
