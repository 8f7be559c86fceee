#include "logger/HeadThresholdProcedure.h"
#include <QCoreApplication>

#include "link/CommandCode.h"
#include "link/UserPrompts.h"
#include "logger/LoggerCommands.h"
#include "logger/LoggerStatus.h"

namespace {
const QString NoLogger = Exchange::noCommunicationMessage(DeviceKind::Logger);
}

HeadThresholdProcedure::HeadThresholdProcedure(DeviceContext context)
    : m_context(std::move(context)), m_exchange(m_context.link, m_context.pump, m_context.prompts)
{}

std::optional<std::int16_t> HeadThresholdProcedure::readTilt()
{
    if (m_exchange.identify(DeviceKind::Logger) != IdentifyResult::Identified)
        return std::nullopt;
    m_exchange.drainInput(100, 10);
    m_exchange.pumpWait(100);
    const auto reply = m_exchange.request({CommandCode::ReadHeadTilt}, 1000, 3);
    // A cut-short reply would show a made-up tilt: no reply at all.
    if (reply.size() < 3) {
        m_context.prompts.showMessage(NoLogger);
        return std::nullopt;
    }
    return static_cast<std::int16_t>(reply[1] | (reply[2] << 8));
}

bool HeadThresholdProcedure::writeThreshold(const std::function<std::int16_t()>& threshold)
{
    if (m_exchange.identify(DeviceKind::Logger) != IdentifyResult::Identified)
        return false;
    LoggerCommands commands(m_exchange);
    const auto status = commands.readStatus(32);
    if (status.empty()) {
        m_context.prompts.showMessage(NoLogger);
        return false;
    }
    if (LoggerStatus(status).loggingOn()) {
        m_context.prompts.showMessage(QCoreApplication::translate(
            "HeadThresholdProcedure",
            "Please turn off logging before writing head position threshold data!"));
        return false;
    }
    const auto value = static_cast<std::uint16_t>(threshold());
    m_exchange.drainInput(100, 10);
    m_exchange.write({CommandCode::SetHeadThreshold, static_cast<std::uint8_t>(value & 0xFF),
                      static_cast<std::uint8_t>(value >> 8)});
    return true;
}
