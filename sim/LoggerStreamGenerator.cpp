#include "sim/LoggerStreamGenerator.h"

#include <algorithm>
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

void LoggerStreamGenerator::addFever(const QDateTime& start, double hours, double riseCelsius)
{
    m_fevers.push_back({start.toSecsSinceEpoch(), hours, riseCelsius});
}

void LoggerStreamGenerator::addHeat(const QDateTime& start)
{
    m_heats.push_back({start.toSecsSinceEpoch(), 16, 0.3});
}

void LoggerStreamGenerator::addSilence(const QDateTime& start, double hours)
{
    m_silences.push_back({start.toSecsSinceEpoch(), hours, 0});
}

double LoggerStreamGenerator::eventNoise()
{
    // A generator of its own, so that the events leave the base stream alone.
    m_eventState = m_eventState * 1103515245U + 12345U;
    return static_cast<double>((m_eventState >> 8) & 0xFFFF) / 65536.0;
}

double LoggerStreamGenerator::feverAt(std::int64_t t) const
{
    double rise = 0;
    for (const Span& f : m_fevers) {
        const double h = static_cast<double>(t - f.start) / 3600.0;
        double share = 0;
        if (h > 0 && h < 2)
            share = (1 - std::cos(h / 2 * std::numbers::pi)) / 2;
        else if (h >= 2 && h < 2 + f.hours)
            share = 1;
        else if (h >= 2 + f.hours && h < 5 + f.hours)
            share = (1 + std::cos((h - 2 - f.hours) / 3 * std::numbers::pi)) / 2;
        rise = std::max(rise, share * f.size);
    }
    return rise;
}

double LoggerStreamGenerator::bodyChange(const QDateTime& time)
{
    const std::int64_t t = time.toSecsSinceEpoch();
    double change = feverAt(t);
    if (change > 0)
        change += 0.25 * std::sin(static_cast<double>(t) / 5400.0) * change / 2;
    for (const Span& h : m_heats)
        if (t >= h.start && t < h.start + static_cast<std::int64_t>(h.hours * 3600))
            change += h.size;
    if (m_drinking) {
        // Cooling fades with a time constant of about 25 minutes. A sick cow
        // drinks less.
        m_drinkCooling *= std::exp(-m_intervalSeconds / 1500.0);
        const double hour = time.time().hour() + time.time().minute() / 60.0;
        const double drinksPerHour =
            (hour >= 5 && hour < 22 ? 5.0 / 17 : 0.0) * (feverAt(t) > 0.5 ? 0.4 : 1.0);
        if (eventNoise() < drinksPerHour * m_intervalSeconds / 3600.0)
            m_drinkCooling += 2.0 + 4.0 * eventNoise();
        change -= m_drinkCooling;
    }
    return change;
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
    const bool events = m_drinking || !m_fevers.empty() || !m_heats.empty() || !m_silences.empty();
    const std::int64_t t = events ? time.toSecsSinceEpoch() : 0;
    bool heard = noise(20) != 0;
    for (const Span& s : m_silences)
        if (t >= s.start && t < s.start + static_cast<std::int64_t>(s.hours * 3600))
            heard = false;
    const double change = events ? bodyChange(time) : 0.0;
    const int body =
        heard ? static_cast<int>((38.5 + 0.4 * daily + change) * 256) + noise(40) - 20 : 0;
    const int collar = static_cast<int>((14.0 + 6.0 * daily) * 256) + noise(200) - 100;
    int activity = noise(10) < 3 ? noise(50) : 150 + noise(600);
    if (events) {
        if (feverAt(t) > 0.5)
            activity /= 3; // a sick cow lies down
        for (const Span& h : m_heats)
            if (t >= h.start && t < h.start + static_cast<std::int64_t>(h.hours * 3600))
                activity = std::min(65535, activity * 3 + 400);
    }
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
            // A fever quickens the heart by about 15 beats a minute per degree.
            const int faster =
                m_fevers.empty() ? 0 : static_cast<int>(15 * feverAt(m_time.toSecsSinceEpoch()));
            for (int i = 0; i < beats; ++i)
                out.push_back(static_cast<std::uint8_t>(55 + faster + noise(40)));
        }
    }
    return out;
}
