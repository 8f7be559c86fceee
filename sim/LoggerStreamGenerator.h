#pragma once

#include <QDateTime>

#include <cstdint>
#include <vector>

// Makes a logger memory that looks like a real one: a timestamp now and
// then, a record every interval (a cow's body temperature around 38.5 °C
// with a daily swing, the collar's around the air temperature, activity,
// head movements), heart-rate groups between records, and the odd record
// in which the implant was not heard. Fevers, heats, drinking and implant
// outages can be added.
class LoggerStreamGenerator {
public:
    LoggerStreamGenerator(QDateTime start, int intervalSteps, std::uint32_t seed = 1);

    // Appends records (and what goes with them) until at least `bytes` bytes.
    std::vector<std::uint8_t> generate(std::size_t bytes);

    // What can happen to the cow, for lifelike pictures. Nothing happens
    // unless asked, so the stream stays the same for a given seed.
    // A fever: the temperature climbs by `riseCelsius` over two hours, stays
    // up for `hours` and falls back over three; the heart beats faster and the
    // cow moves less.
    void addFever(const QDateTime& start, double hours, double riseCelsius);
    // A heat: a day of restless walking and a slightly raised temperature.
    void addHeat(const QDateTime& start);
    // The implant goes unheard for a while: records without body temperature.
    void addSilence(const QDateTime& start, double hours);
    // Drinking: the rumen cools by a few degrees after each drink (five or so
    // a day) and warms up again within the hour.
    void setDrinking(bool on) { m_drinking = on; }

private:
    struct Span {
        std::int64_t start; // seconds since the epoch, local time
        double hours;
        double size;
    };
    int noise(int range);
    double eventNoise();
    double bodyChange(const QDateTime& time);
    double feverAt(std::int64_t t) const;
    void timestamp(std::vector<std::uint8_t>& out, const QDateTime& time);
    void record(std::vector<std::uint8_t>& out, const QDateTime& time);

    QDateTime m_time;
    int m_intervalSeconds;
    std::uint32_t m_state;
    std::uint32_t m_eventState = 12345;
    std::vector<Span> m_fevers;
    std::vector<Span> m_heats;
    std::vector<Span> m_silences;
    bool m_drinking = false;
    double m_drinkCooling = 0; // °C below normal from the last drinks
};
