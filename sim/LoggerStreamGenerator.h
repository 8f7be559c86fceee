#pragma once

#include <QDateTime>

#include <cstdint>
#include <vector>

// Makes a logger memory that looks like a real one: a timestamp now and
// then, a record every interval (a cow's body temperature around 38.5 °C
// with a daily swing, the collar's around the air temperature, activity,
// head movements), heart-rate groups between records, and the odd record
// in which the implant was not heard.
class LoggerStreamGenerator {
public:
    LoggerStreamGenerator(QDateTime start, int intervalSteps, std::uint32_t seed = 1);

    // Appends records (and what goes with them) until at least `bytes` bytes.
    std::vector<std::uint8_t> generate(std::size_t bytes);

private:
    int noise(int range);
    void timestamp(std::vector<std::uint8_t>& out, const QDateTime& time);
    void record(std::vector<std::uint8_t>& out, const QDateTime& time);

    QDateTime m_time;
    int m_intervalSeconds;
    std::uint32_t m_state;
};
