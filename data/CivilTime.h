#pragma once

#include <QDateTime>

#include <cstdint>

// A calendar date and time to the second, without time zone: the logger's
// clock and the PC's local time as the data stream uses them. Held as a count
// of seconds so that advancing by an interval costs one addition, and
// formatted without going through a locale.
class CivilTime {
public:
    constexpr CivilTime() = default;
    static CivilTime fromFields(int year, int month, int day, int hour, int minute, int second);
    static CivilTime fromDateTime(const QDateTime& time);
    static constexpr CivilTime fromSeconds(std::int64_t seconds) { return CivilTime(seconds); }

    [[nodiscard]] constexpr std::int64_t seconds() const { return m_seconds; }
    [[nodiscard]] constexpr CivilTime plusSeconds(std::int64_t s) const
    {
        return CivilTime(m_seconds + s);
    }
    [[nodiscard]] QDateTime toDateTime() const;

    struct Fields {
        int year, month, day, hour, minute, second;
    };
    [[nodiscard]] Fields fields() const;

    // "%Y-%m-%d %H:%M:%S": exactly 19 characters, written to `out`.
    static constexpr std::size_t TextLength = 19;
    void format(char* out) const;
    [[nodiscard]] QString toString() const;

    constexpr bool operator==(const CivilTime&) const = default;

private:
    constexpr explicit CivilTime(std::int64_t seconds) : m_seconds(seconds) {}

    std::int64_t m_seconds = 0; // since 1970-01-01 00:00:00
};
