#include "data/CivilTime.h"

namespace {

// Days since 1970-01-01 for a proleptic Gregorian date (H. Hinnant's
// algorithm), and back.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, int& year, unsigned& month, unsigned& day)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = doy - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

// Whole days since 1970 and the second of that day, for times before 1970 too.
void splitDays(std::int64_t seconds, std::int64_t& days, std::int64_t& secondOfDay)
{
    days = seconds / 86400;
    secondOfDay = seconds % 86400;
    if (secondOfDay < 0) {
        secondOfDay += 86400;
        --days;
    }
}

void two(char* out, unsigned value)
{
    out[0] = static_cast<char>('0' + value / 10);
    out[1] = static_cast<char>('0' + value % 10);
}

} // namespace

CivilTime CivilTime::fromFields(int year, int month, int day, int hour, int minute, int second)
{
    const std::int64_t days =
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    return CivilTime(days * 86400 + hour * 3600 + minute * 60 + second);
}

CivilTime CivilTime::fromDateTime(const QDateTime& time)
{
    const QDate d = time.date();
    const QTime t = time.time();
    return fromFields(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second());
}

CivilTime::Fields CivilTime::fields() const
{
    std::int64_t days = 0;
    std::int64_t rest = 0;
    splitDays(m_seconds, days, rest);
    int year = 0;
    unsigned month = 0;
    unsigned day = 0;
    civilFromDays(days, year, month, day);
    return {year,
            static_cast<int>(month),
            static_cast<int>(day),
            static_cast<int>(rest / 3600),
            static_cast<int>(rest / 60 % 60),
            static_cast<int>(rest % 60)};
}

QDateTime CivilTime::toDateTime() const
{
    const Fields f = fields();
    return QDateTime(QDate(f.year, f.month, f.day), QTime(f.hour, f.minute, f.second));
}

void CivilTime::format(char* out) const
{
    const Fields f = fields();
    const auto y = static_cast<unsigned>(f.year < 0 ? 0 : f.year % 10000);
    out[0] = static_cast<char>('0' + y / 1000);
    out[1] = static_cast<char>('0' + y / 100 % 10);
    two(out + 2, y % 100);
    out[4] = '-';
    two(out + 5, static_cast<unsigned>(f.month));
    out[7] = '-';
    two(out + 8, static_cast<unsigned>(f.day));
    out[10] = ' ';
    two(out + 11, static_cast<unsigned>(f.hour));
    out[13] = ':';
    two(out + 14, static_cast<unsigned>(f.minute));
    out[16] = ':';
    two(out + 17, static_cast<unsigned>(f.second));
}

QString CivilTime::toString() const
{
    char text[TextLength];
    format(text);
    return QString::fromLatin1(text, TextLength);
}
