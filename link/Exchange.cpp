#include "link/Exchange.h"
#include <QCoreApplication>

#include "link/CommandCode.h"
#include "link/DeviceLink.h"
#include "link/Pump.h"
#include "link/UserPrompts.h"

namespace {
constexpr std::size_t IdentifyReplyLength = 4;
}

Exchange::Exchange(DeviceLink& link, Pump& pump, UserPrompts& prompts)
    : m_link(link), m_pump(pump), m_prompts(prompts)
{}

void Exchange::pumpWait(std::uint32_t ms)
{
    m_pump.wait(ms);
}

std::size_t Exchange::drainInput(std::uint32_t waitMs, std::size_t chunk)
{
    std::vector<std::uint8_t> buffer(chunk == 0 ? 1 : chunk);
    std::size_t discarded = 0;
    const std::int64_t giveUpUs = m_pump.nowUs() + std::int64_t{DrainLimitMs} * 1000;
    for (;;) {
        // Nothing will come from a port that has gone: no wait for it.
        if (!m_link.isOpen())
            return discarded;
        m_pump.wait(waitMs);
        const std::size_t got = m_link.read(buffer);
        if (got == 0)
            return discarded;
        discarded += got;
        if (m_pump.nowUs() >= giveUpUs)
            return discarded;
    }
}

bool Exchange::linkLost() const
{
    return !m_link.isOpen();
}

void Exchange::write(std::span<const std::uint8_t> bytes)
{
    m_link.write(bytes);
}

void Exchange::write(std::initializer_list<std::uint8_t> bytes)
{
    m_link.write(std::span<const std::uint8_t>(bytes.begin(), bytes.size()));
}

std::vector<std::uint8_t> Exchange::read(std::size_t length)
{
    std::vector<std::uint8_t> reply(length);
    reply.resize(m_link.read(reply));
    return reply;
}

std::vector<std::uint8_t> Exchange::request(std::span<const std::uint8_t> command,
                                            std::uint32_t waitMs, std::size_t replyLength)
{
    write(command);
    m_pump.wait(waitMs);
    return read(replyLength);
}

std::vector<std::uint8_t> Exchange::request(std::initializer_list<std::uint8_t> command,
                                            std::uint32_t waitMs, std::size_t replyLength)
{
    return request(std::span<const std::uint8_t>(command.begin(), command.size()), waitMs,
                   replyLength);
}

IdentifyResult Exchange::identify(DeviceKind expected, IdentifyTiming timing)
{
    drainInput(timing.drainWaitMs, 26);
    const auto reply = request({CommandCode::Identify}, timing.replyWaitMs, IdentifyReplyLength);
    if (reply.empty()) {
        m_prompts.showMessage(noCommunicationMessage(expected));
        return IdentifyResult::NoReply;
    }
    if (kindFromIdentifyReply(reply) != expected) {
        m_prompts.showMessage(wrongDeviceMessage(expected));
        return IdentifyResult::WrongDevice;
    }
    return IdentifyResult::Identified;
}

std::optional<DeviceKind> Exchange::kindFromIdentifyReply(std::span<const std::uint8_t> reply)
{
    // Byte 0 and byte 3 carry nothing the program uses; a short reply that
    // still holds the echo and the type byte counts.
    if (reply.size() < 3 || reply[1] != CommandCode::Identify)
        return std::nullopt;
    switch (reply[2]) {
    case static_cast<std::uint8_t>(DeviceKind::Logger):
        return DeviceKind::Logger;
    case static_cast<std::uint8_t>(DeviceKind::BaseStation):
        return DeviceKind::BaseStation;
    default:
        return std::nullopt;
    }
}

QString Exchange::noCommunicationMessage(DeviceKind expected)
{
    return expected == DeviceKind::Logger
               ? QCoreApplication::translate("Exchange",
                                             "No communication, please check connection to logger!")
               : QCoreApplication::translate(
                     "Exchange", "No communication, please check connection to base station!");
}

QString Exchange::wrongDeviceMessage(DeviceKind expected)
{
    return expected == DeviceKind::Logger
               ? QCoreApplication::translate("Exchange",
                                             "Please connect a logger to use this feature!")
               : QCoreApplication::translate("Exchange",
                                             "Please connect a base station to use this feature!");
}
