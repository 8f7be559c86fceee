#include "logger/LoggerStatus.h"

#include <algorithm>

LoggerStatus::LoggerStatus(std::span<const std::uint8_t> bytes)
{
    std::copy_n(bytes.begin(), std::min(bytes.size(), Size), m_bytes.begin());
}

int LoggerStatus::bcd(std::uint8_t byte)
{
    return (byte >> 4) * 10 + (byte & 0x0F);
}

QTime LoggerStatus::decodeTime(std::uint8_t hours, std::uint8_t minutes, std::uint8_t seconds)
{
    const int h = bcd(hours);
    const int m = bcd(minutes);
    const int s = bcd(seconds);
    if (h > 23 || m > 59 || s > 59)
        return QTime(0, 0, 0);
    return QTime(h, m, s);
}

std::optional<QDateTime> LoggerStatus::decodeDateTime(std::uint8_t day, std::uint8_t month,
                                                      std::uint8_t year, const QTime& time)
{
    int d = bcd(day);
    int m = bcd(month);
    int y = bcd(year);
    if (y > 99 || m > 12 || d > 31) {
        y = 0;
        m = 0;
        d = 0;
    }
    const QDate date(2000 + y, m, d);
    if (!date.isValid())
        return std::nullopt;
    return QDateTime(date, time);
}

QString LoggerStatus::text(std::size_t offset) const
{
    const auto begin = m_bytes.begin() + static_cast<long>(offset);
    const auto end = std::find(begin, begin + 10, std::uint8_t{0});
    return QString::fromLatin1(reinterpret_cast<const char*>(&*begin), end - begin);
}

QString LoggerStatus::firmwareRevision() const
{
    return text(0);
}

QString LoggerStatus::hardwareRevision() const
{
    return text(10);
}

int LoggerStatus::memorySizeSelector() const
{
    return m_bytes[4] * 10 + m_bytes[5];
}

std::uint32_t LoggerStatus::capacityBytes() const
{
    return memorySizeSelector() >= 3 ? LargeCapacity : SmallCapacity;
}

std::uint32_t LoggerStatus::usedMemoryBytes() const
{
    return u32(20);
}

float LoggerStatus::usedMemoryPercent() const
{
    return static_cast<float>(usedMemoryBytes()) / static_cast<float>(capacityBytes()) * 100.0F;
}

QTime LoggerStatus::clockTime() const
{
    return decodeTime(m_bytes[27], m_bytes[26], m_bytes[25]);
}

std::optional<QDateTime> LoggerStatus::clock() const
{
    return decodeDateTime(m_bytes[28], m_bytes[29], m_bytes[30], clockTime());
}

QTime LoggerStatus::loggingStartTime() const
{
    return decodeTime(m_bytes[55], m_bytes[54], m_bytes[53]);
}

std::optional<QDateTime> LoggerStatus::loggingStart() const
{
    return decodeDateTime(m_bytes[56], m_bytes[57], m_bytes[58], loggingStartTime());
}

QTime LoggerStatus::vhfStart() const
{
    // Hours, then seconds, then minutes.
    return decodeTime(m_bytes[35], m_bytes[37], m_bytes[36]);
}

QTime LoggerStatus::vhfStop() const
{
    return decodeTime(m_bytes[41], m_bytes[43], m_bytes[42]);
}

std::uint8_t LoggerStatus::dayMask() const
{
    return m_bytes[32];
}

std::uint16_t LoggerStatus::monthMask() const
{
    return u16(33);
}

bool LoggerStatus::vhfDisabled() const
{
    return m_bytes[33] == 0 && m_bytes[34] == 0;
}

std::int16_t LoggerStatus::headThreshold() const
{
    return static_cast<std::int16_t>(u16(44));
}

std::uint16_t LoggerStatus::u16(std::size_t offset) const
{
    return static_cast<std::uint16_t>(m_bytes[offset] | (m_bytes[offset + 1] << 8));
}

std::uint32_t LoggerStatus::u32(std::size_t offset) const
{
    return static_cast<std::uint32_t>(m_bytes[offset]) |
           (static_cast<std::uint32_t>(m_bytes[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(m_bytes[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(m_bytes[offset + 3]) << 24);
}
