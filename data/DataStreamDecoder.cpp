#include "data/DataStreamDecoder.h"

#include <QDate>

std::optional<CivilTime> DataStreamDecoder::timestamp(const std::array<int, 6>& values, int count)
{
    if (count < 6)
        return std::nullopt;
    const int second = values[0];
    const int minute = values[1];
    const int hour = values[2];
    const int day = values[3];
    const int month = values[4];
    const int year = values[5];
    if (year > 99 || day > 31 || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    // In range, but no real date (month 0 or 13, 31 April): ignored too.
    if (!QDate::isValid(2000 + year, month, day))
        return std::nullopt;
    return CivilTime::fromFields(2000 + year, month, day, hour, minute, second);
}
