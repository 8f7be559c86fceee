#include "logger/FrequencyCalibrationProcedure.h"
#include <QCoreApplication>

#include "link/CommandCode.h"
#include "link/DeviceLink.h"
#include "link/Pump.h"
#include "link/UserPrompts.h"
#include "logger/LoggerCommands.h"
#include "logger/LoggerStatus.h"

namespace {
const QString NoLogger = Exchange::noCommunicationMessage(DeviceKind::Logger);
}

FrequencyCalibrationProcedure::FrequencyCalibrationProcedure(DeviceContext context, View view)
    : m_context(std::move(context)), m_view(std::move(view)),
      m_exchange(m_context.link, m_context.pump, m_context.prompts)
{}

double FrequencyCalibrationProcedure::deviationKHz(std::uint8_t firstByte)
{
    const int low = firstByte & 0x1F;
    return (low >= 16 ? low - 32 : low) * 2.5;
}

float FrequencyCalibrationProcedure::centreMHz(std::uint16_t wordA)
{
    return static_cast<float>(wordA & 0x0FFF) / 400.0F + 430.0F;
}

double FrequencyCalibrationProcedure::offsetKHz(std::uint16_t wordA, std::uint16_t wordB)
{
    return (static_cast<int>(wordB) - static_cast<int>(wordA)) * 2.5;
}

void FrequencyCalibrationProcedure::enableIdleButtons()
{
    // While the log runs, Exit stays off: the dialog must not close on a
    // logger that is still reporting.
    m_view.setExitEnabled(!m_running);
    m_view.setReadOffsetEnabled(!m_running);
}

bool FrequencyCalibrationProcedure::loggerReady()
{
    if (m_exchange.identify(DeviceKind::Logger) != IdentifyResult::Identified)
        return false;
    LoggerCommands commands(m_exchange);
    if (commands.readStatus(26).empty()) {
        m_context.prompts.showMessage(NoLogger);
        return false;
    }
    return true;
}

void FrequencyCalibrationProcedure::startStopClick()
{
    m_view.setExitEnabled(false);
    m_view.setReadOffsetEnabled(false);
    // A stop click that cannot reach the logger still ends the log: the
    // loop then sends the stop command and enables the buttons itself.
    auto failed = [this] {
        if (m_running) {
            m_running = false;
            return;
        }
        m_view.setAnimation(false);
        enableIdleButtons();
    };
    if (m_exchange.identify(DeviceKind::Logger) != IdentifyResult::Identified) {
        failed();
        return;
    }
    LoggerCommands commands(m_exchange);
    const auto status = commands.readStatus(26);
    if (status.empty()) {
        m_context.prompts.showMessage(NoLogger);
        failed();
        return;
    }
    if (LoggerStatus(status).loggingOn()) {
        m_context.prompts.showMessage(QCoreApplication::translate(
            "FrequencyCalibrationProcedure",
            "Please turn off logging before changing center frequency!"));
        enableIdleButtons();
        return;
    }
    if (m_running) {
        m_running = false; // the loop below, further out, ends the log
        return;
    }

    m_running = true;
    commands.switchActivity(CommandCode::CalibrationLog, true);
    m_view.addLine(QStringLiteral("Start of Log:"), true);
    m_view.setAnimation(true);
    m_view.setCaption(QCoreApplication::translate("FrequencyCalibrationProcedure", "Stop Log"));
    m_view.setExitEnabled(false);
    m_view.setReadOffsetEnabled(false);
    std::uint8_t report[2];
    bool lost = false;
    while (m_running) {
        m_exchange.pumpWait(1);
        if (!m_running)
            break;
        if (m_exchange.linkLost()) {
            lost = true;
            break;
        }
        if (m_context.link.read(report) == 2) {
            const QString time =
                m_context.pump.currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            m_view.addLine(
                QString::asprintf("%s: %.1f kHz", qPrintable(time), deviationKHz(report[0])), true);
        }
    }
    if (lost) {
        m_running = false;
        m_context.prompts.showMessage(NoLogger);
    } else {
        commands.switchActivity(CommandCode::CalibrationLog, false);
    }
    m_view.setAnimation(false);
    m_view.setCaption(QCoreApplication::translate("FrequencyCalibrationProcedure", "Start Log"));
    enableIdleButtons();
}

bool FrequencyCalibrationProcedure::changeFrequency(const QString& line,
                                                    std::initializer_list<std::uint8_t> command,
                                                    std::size_t reply)
{
    if (!loggerReady())
        return false;
    if (m_context.prompts.askYesNo(QCoreApplication::translate(
            "FrequencyCalibrationProcedure",
            "Are you really sure to change the center frequency?")) != YesNoAnswer::Yes)
        return false;
    m_view.addLine(line, true);
    m_exchange.write(command);
    m_exchange.pumpWait(200);
    m_exchange.read(reply);
    return true;
}

void FrequencyCalibrationProcedure::addOffset()
{
    if (!m_running) {
        m_context.prompts.showMessage(QCoreApplication::translate(
            "FrequencyCalibrationProcedure",
            "Turn on logging first before writing frequency calibration!"));
        return;
    }
    const auto offset = m_view.takeOffset();
    if (!offset)
        return;
    const auto value = static_cast<std::uint16_t>(static_cast<std::int16_t>(*offset));
    changeFrequency(QString::asprintf("Added Frequency: %.1f kHz", *offset * 2.5),
                    {CommandCode::AddFrequencyOffset, static_cast<std::uint8_t>(value & 0xFF),
                     static_cast<std::uint8_t>(value >> 8)},
                    3);
}

void FrequencyCalibrationProcedure::resetOffset()
{
    if (!m_running) {
        m_context.prompts.showMessage(QCoreApplication::translate(
            "FrequencyCalibrationProcedure",
            "Turn on logging first before writing frequency calibration!"));
        return;
    }
    if (!m_view.takeOffset())
        return;
    changeFrequency(QCoreApplication::translate("FrequencyCalibrationProcedure", "Reset done!"),
                    {CommandCode::ResetFrequencyOffset}, 1);
}

void FrequencyCalibrationProcedure::readOffset()
{
    if (m_running) {
        m_context.prompts.showMessage(QCoreApplication::translate(
            "FrequencyCalibrationProcedure",
            "Turn off frequency calibration before reading center frequency and offset!"));
        return;
    }
    // The field is taken (and a bad value answered with its message), but
    // reading sends no offset, so the reading goes on.
    m_view.takeOffset();
    if (!loggerReady())
        return;
    const auto reply = m_exchange.request({CommandCode::ReadFrequency}, 200, 4);
    if (reply.size() < 4) {
        // Half a reply would be decoded from bytes that never came.
        m_context.prompts.showMessage(NoLogger);
        return;
    }
    const auto a = static_cast<std::uint16_t>(reply[0] | (reply[1] << 8));
    const auto b = static_cast<std::uint16_t>(reply[2] | (reply[3] << 8));
    m_view.addLine(
        QString::asprintf("Center Frequency: %.1f MHz", static_cast<double>(centreMHz(a))), false);
    m_view.addLine(QString::asprintf("Offset Frequency: %.1f kHz", offsetKHz(a, b)), true);
}
