#include "sim/LoggerStreamGenerator.h"

#include <cmath>
#include <numbers>

namespace {
std::uint8_t bcd(int value)
{
    return static_cast<std::uint8_t>((value / 10) * 16 + value % 10);
}
void put16(std::vector<std::uint8_t>& out, int value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}
} // namespace

LoggerStreamGenerator::LoggerStreamGenerator(QDateTime start, int intervalSteps, std::uint32_t seed)
    : m_time(std::move(start)), m_intervalSeconds(std::max(1, intervalSteps) * 15), m_state(seed)
{}

int LoggerStreamGenerator::noise(int range)
{
    m_state = m_state * 1664525U + 1013904223U;
    return static_cast<int>((m_state >> 8) % static_cast<std::uint32_t>(range));
}

void LoggerStreamGenerator::timestamp(std::vector<std::uint8_t>& out, const QDateTime& time)
{
    out.push_back(0xA1);
    for (int v : {time.time().second(), time.time().minute(), time.time().hour(), time.date().day(),
                  time.date().month(), time.date().year() - 2000})
        out.push_back(bcd(v));
    out.push_back(0xAA);
}

void LoggerStreamGenerator::record(std::vector<std::uint8_t>& out, const QDateTime& time)
{
    const double hour = time.time().hour() + time.time().minute() / 60.0;
    const double daily = std::sin((hour - 9.0) / 24.0 * 2 * std::numbers::pi);
    const bool heard = noise(20) != 0;
    const int body = heard ? static_cast<int>((38.5 + 0.4 * daily) * 256) + noise(40) - 20 : 0;
    const int collar = static_cast<int>((14.0 + 6.0 * daily) * 256) + noise(200) - 100;
    const int activity = noise(10) < 3 ? noise(50) : 150 + noise(600);
    out.push_back(0xA0);
    out.push_back(0x01);
    put16(out, body);
    put16(out, collar);
    put16(out, activity);
    out.push_back(0x00);
    out.push_back(0x00);
    out.push_back(static_cast<std::uint8_t>(noise(16)));
    out.push_back(static_cast<std::uint8_t>(noise(8)));
    out.push_back(0xAA);
}

std::vector<std::uint8_t> LoggerStreamGenerator::generate(std::size_t bytes)
{
    std::vector<std::uint8_t> out;
    out.reserve(bytes + 64);
    int sinceStamp = 1000;
    while (out.size() < bytes) {
        if (sinceStamp >= 96) {
            // The logger notes the time every so often, e.g. after a reset.
            timestamp(out, m_time);
            sinceStamp = 0;
        }
        m_time = m_time.addSecs(m_intervalSeconds);
        record(out, m_time);
        ++sinceStamp;
        if (noise(3) == 0) {
            const int beats = 4 + noise(12);
            for (int i = 0; i < beats; ++i)
                out.push_back(static_cast<std::uint8_t>(55 + noise(40)));
        }
    }
    return out;
}
