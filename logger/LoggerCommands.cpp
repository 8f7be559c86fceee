#include "logger/LoggerCommands.h"

#include "link/CommandCode.h"
#include "link/Exchange.h"
#include "logger/LoggerStatus.h"

LoggerCommands::LoggerCommands(Exchange& exchange) : m_exchange(exchange) {}

std::vector<std::uint8_t> LoggerCommands::readStatus(std::size_t drainChunk)
{
    m_exchange.drainInput(100, drainChunk);
    auto reply = m_exchange.request({CommandCode::ReadStatus}, 200, LoggerStatus::Size);
    if (reply.size() < LoggerStatus::Size)
        reply.clear();
    return reply;
}

std::uint8_t LoggerCommands::toBcd(int value)
{
    return static_cast<std::uint8_t>((value / 10) * 16 + value % 10);
}

std::array<std::uint8_t, 8> LoggerCommands::clockCommand(const QDateTime& localNow)
{
    const QDate date = localNow.date();
    const QTime time = localNow.time();
    // Qt counts Monday 1 to Sunday 7; the logger Sunday 0 to Saturday 6.
    const auto weekday = static_cast<std::uint8_t>(date.dayOfWeek() % 7);
    return {CommandCode::SetClock, toBcd(date.year() - 2000), toBcd(date.day()),
            toBcd(date.month()),   toBcd(time.hour()),        weekday,
            toBcd(time.second()),  toBcd(time.minute())};
}

std::array<std::uint8_t, 8> LoggerCommands::vhfCommand(std::uint8_t code, std::uint8_t dayMask,
                                                       std::uint16_t monthMask, const QTime& time)
{
    // The eighth byte carries no field.
    return {code,
            dayMask,
            static_cast<std::uint8_t>(monthMask & 0xFF),
            static_cast<std::uint8_t>(monthMask >> 8),
            toBcd(time.hour()),
            toBcd(time.second()),
            toBcd(time.minute()),
            0x00};
}

void LoggerCommands::writeSettings(const LoggerSettings& settings, const QDateTime& localNow)
{
    m_exchange.write(clockCommand(localNow));
    m_exchange.pumpWait(50);
    m_exchange.write(vhfCommand(CommandCode::SetVhfStart, settings.dayMask, settings.monthMask,
                                settings.vhfStart));
    m_exchange.pumpWait(10);
    m_exchange.write(vhfCommand(CommandCode::SetVhfStop, settings.dayMask, settings.monthMask,
                                settings.vhfStop));
    m_exchange.pumpWait(10);
    m_exchange.write({CommandCode::SetImplantId, static_cast<std::uint8_t>(settings.implantId)});
    m_exchange.pumpWait(10);
    m_exchange.write({CommandCode::SetLoggerId, static_cast<std::uint8_t>(settings.loggerId)});
    m_exchange.pumpWait(10);
    m_exchange.write(
        {CommandCode::SetInterval, static_cast<std::uint8_t>(settings.intervalSeconds / 15)});
    m_exchange.pumpWait(10);
    m_exchange.write({CommandCode::CloseSettings, 0x01});
}

void LoggerCommands::switchActivity(std::uint8_t code, bool on, std::uint32_t waitMs,
                                    std::size_t acknowledgement)
{
    m_exchange.write({code, on ? CommandCode::On : CommandCode::Off});
    m_exchange.pumpWait(waitMs);
    m_exchange.read(acknowledgement);
}
