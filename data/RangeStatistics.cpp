#include "data/RangeStatistics.h"

#include "data/RecordIndex.h"

#include <algorithm>
#include <climits>

namespace {

std::int64_t dayOf(std::int64_t seconds)
{
    return seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
}

} // namespace

RangeStatistics RangeStatistics::compute(const RecordIndex& index, std::int64_t from,
                                         std::int64_t to)
{
    RangeStatistics s;
    const auto [begin, end] = index.recordsBetween(from, to);
    if (begin >= end)
        return s;
    s.records = end - begin;
    s.first = index.timeOrderedRecordTime(begin);
    s.last = index.timeOrderedRecordTime(end - 1);
    int low = INT_MAX;
    int high = INT_MIN;
    std::int64_t sum = 0;
    std::int64_t previousDay = INT64_MIN;
    for (std::size_t pos = begin; pos < end; ++pos) {
        const std::size_t record = index.timeOrderedRecord(pos);
        // In time order, a new day begins where the day changes.
        const std::int64_t day = dayOf(index.recordTime(record));
        if (day != previousDay) {
            ++s.daysCovered;
            previousDay = day;
        }
        const int raw = index.bodyRaw(record);
        if (raw > 0) {
            low = std::min(low, raw);
            high = std::max(high, raw);
            sum += raw;
            ++s.bodyReadings;
        }
    }
    if (s.bodyReadings > 0) {
        s.bodyMin = low / 256.0;
        s.bodyMax = high / 256.0;
        s.bodyMean = static_cast<double>(sum) / 256.0 / static_cast<double>(s.bodyReadings);
    }
    return s;
}
