#include "data/PlotSeries.h"
#include <QCoreApplication>

#include "data/RecordIndex.h"

#include <cmath>

PlotSeries::PlotSeries(const RecordIndex& index, PlotQuantity quantity)
    : m_index(&index), m_quantity(quantity)
{
    if (quantity == PlotQuantity::HeartRate) {
        m_size = index.groupCount();
        // Groups come when the heart was heard, not every interval: a curve
        // goes on over a few missing ones.
        if (m_size > 1)
            m_spacing = 2 * (time(m_size - 1) - time(0)) / static_cast<std::int64_t>(m_size - 1);
        m_spacing = std::max<std::int64_t>(m_spacing, index.intervalSeconds());
    } else {
        m_size = index.completeRecords();
        m_spacing = index.intervalSeconds();
    }
    m_blocks.resize((m_size + BlockSize - 1) / BlockSize);
    for (std::size_t b = 0; b < m_blocks.size(); ++b) {
        SeriesAggregate all;
        scanEntries(b * BlockSize, std::min(m_size, (b + 1) * BlockSize), all);
        m_blocks[b] = {all.min, all.max, all.sum, all.count};
    }
    if (m_size == 0)
        return;
    // Day by day, found by date; at most some 36500 days (a century).
    const auto dayOf = [](std::int64_t t) { return t >= 0 ? t / 86400 : (t - 86399) / 86400; };
    m_firstDay = dayOf(time(0));
    const std::int64_t lastDay = dayOf(time(m_size - 1));
    if (lastDay - m_firstDay >= 36600)
        return;
    m_days.resize(static_cast<std::size_t>(lastDay - m_firstDay + 1));
    std::size_t begin = 0;
    for (std::size_t d = 0; d < m_days.size(); ++d) {
        const std::int64_t dayEnd = (m_firstDay + static_cast<std::int64_t>(d) + 1) * 86400;
        std::size_t end = begin;
        std::size_t high = m_size;
        while (end < high) {
            const std::size_t mid = end + (high - end) / 2;
            if (time(mid) < dayEnd)
                end = mid + 1;
            else
                high = mid;
        }
        const SeriesAggregate day = aggregate(begin, end);
        m_days[d] = {day.sum, day.count};
        begin = end;
    }
}

std::int64_t PlotSeries::time(std::size_t pos) const
{
    return m_quantity == PlotQuantity::HeartRate
               ? m_index->groupTime(m_index->timeOrderedGroup(pos))
               : m_index->timeOrderedRecordTime(pos);
}

std::size_t PlotSeries::streamIndex(std::size_t pos) const
{
    return m_quantity == PlotQuantity::HeartRate ? m_index->timeOrderedGroup(pos)
                                                 : m_index->timeOrderedRecord(pos);
}

bool PlotSeries::hasValue(std::size_t pos) const
{
    switch (m_quantity) {
    case PlotQuantity::Body:
        return m_index->bodyRaw(m_index->timeOrderedRecord(pos)) > 0;
    case PlotQuantity::HeartRate:
        return !m_index->groupValues(m_index->timeOrderedGroup(pos)).empty();
    default:
        return true;
    }
}

SeriesAggregate PlotSeries::entry(std::size_t pos) const
{
    SeriesAggregate a;
    if (m_quantity == PlotQuantity::HeartRate) {
        for (const std::uint8_t v : m_index->groupValues(m_index->timeOrderedGroup(pos)))
            a.add(v);
        return a;
    }
    const std::size_t record = m_index->timeOrderedRecord(pos);
    switch (m_quantity) {
    case PlotQuantity::Body:
        if (const int raw = m_index->bodyRaw(record); raw > 0)
            a.add(raw);
        break;
    case PlotQuantity::Collar:
        a.add(m_index->collarRaw(record));
        break;
    case PlotQuantity::Activity:
        a.add(m_index->activity(record));
        break;
    case PlotQuantity::HeadDown:
        a.add(m_index->headDown(record));
        break;
    case PlotQuantity::HeadChanges:
        a.add(m_index->headChanges(record));
        break;
    case PlotQuantity::HeartRate:
        break;
    }
    return a;
}

std::pair<std::size_t, std::size_t> PlotSeries::between(std::int64_t from, std::int64_t to) const
{
    return m_quantity == PlotQuantity::HeartRate ? m_index->groupsBetween(from, to)
                                                 : m_index->recordsBetween(from, to);
}

namespace {

// Readings [begin, end) in time order of one record column: a tight loop the
// compiler can keep in registers. Body temperatures of 0 or below are none.
template <typename T, bool SkipNone>
void scan(const T* column, const std::uint32_t* order, std::size_t begin, std::size_t end,
          SeriesAggregate& a)
{
    int low = a.min;
    int high = a.max;
    std::int64_t sum = a.sum;
    std::int64_t count = a.count;
    for (std::size_t pos = begin; pos < end; ++pos) {
        const int v = column[order != nullptr ? order[pos] : pos];
        if (SkipNone && v <= 0)
            continue;
        low = std::min(low, v);
        high = std::max(high, v);
        sum += v;
        ++count;
    }
    a = {low, high, sum, count};
}

} // namespace

void PlotSeries::scanEntries(std::size_t begin, std::size_t end, SeriesAggregate& a) const
{
    if (begin >= end)
        return;
    const std::uint32_t* order = m_index->recordOrder();
    switch (m_quantity) {
    case PlotQuantity::Body:
        scan<std::int16_t, true>(m_index->bodyColumn(), order, begin, end, a);
        break;
    case PlotQuantity::Collar:
        scan<std::int16_t, false>(m_index->collarColumn(), order, begin, end, a);
        break;
    case PlotQuantity::Activity:
        scan<std::uint16_t, false>(m_index->activityColumn(), order, begin, end, a);
        break;
    case PlotQuantity::HeadDown:
        scan<std::uint8_t, false>(m_index->headDownColumn(), order, begin, end, a);
        break;
    case PlotQuantity::HeadChanges:
        scan<std::uint8_t, false>(m_index->headChangesColumn(), order, begin, end, a);
        break;
    case PlotQuantity::HeartRate:
        for (std::size_t pos = begin; pos < end; ++pos)
            a.merge(entry(pos));
        break;
    }
}

SeriesAggregate PlotSeries::aggregate(std::size_t begin, std::size_t end) const
{
    SeriesAggregate a;
    if (begin >= end)
        return a;
    // Whole blocks from their summaries, the ends reading by reading.
    const std::size_t firstBlock = (begin + BlockSize - 1) / BlockSize;
    const std::size_t endBlock = end / BlockSize;
    if (firstBlock >= endBlock) {
        scanEntries(begin, end, a);
        return a;
    }
    scanEntries(begin, firstBlock * BlockSize, a);
    for (std::size_t b = firstBlock; b < endBlock; ++b) {
        const Block& block = m_blocks[b];
        if (block.count > 0)
            a.merge({block.min, block.max, block.sum, block.count});
    }
    scanEntries(endBlock * BlockSize, end, a);
    return a;
}

std::size_t PlotSeries::firstWithValue(std::size_t begin, std::size_t end) const
{
    std::size_t pos = begin;
    for (; pos < end && pos % BlockSize != 0; ++pos)
        if (hasValue(pos))
            return pos;
    for (; pos + BlockSize <= end; pos += BlockSize)
        if (m_blocks[pos / BlockSize].count > 0)
            break;
    for (; pos < end; ++pos)
        if (hasValue(pos))
            return pos;
    return end;
}

std::size_t PlotSeries::lastWithValue(std::size_t begin, std::size_t end) const
{
    std::size_t pos = end;
    for (; pos > begin && pos % BlockSize != 0; --pos)
        if (hasValue(pos - 1))
            return pos - 1;
    for (; pos >= begin + BlockSize; pos -= BlockSize)
        if (m_blocks[pos / BlockSize - 1].count > 0)
            break;
    for (; pos > begin; --pos)
        if (hasValue(pos - 1))
            return pos - 1;
    return end;
}

std::vector<PlotColumn> PlotSeries::columns(std::int64_t from, std::int64_t to, int width,
                                            int wholeDays) const
{
    std::vector<PlotColumn> result(static_cast<std::size_t>(std::max(0, width)));
    if (width <= 0 || to < from || m_size == 0)
        return result;
    const auto [first, last] = between(from, to);
    const double span = static_cast<double>(to - from) + 1.0;
    const double perColumn = span / width;
    std::size_t begin = first;
    for (int c = 0; c < width; ++c) {
        // The column ends before the first entry at or after its right edge.
        std::size_t end = last;
        if (c + 1 < width) {
            const auto edge = static_cast<std::int64_t>(
                std::ceil(static_cast<double>(from) + (c + 1) * perColumn));
            std::size_t low = begin;
            std::size_t high = last;
            while (low < high) {
                const std::size_t mid = low + (high - low) / 2;
                if (time(mid) < edge)
                    low = mid + 1;
                else
                    high = mid;
            }
            end = low;
        }
        if (end > begin) {
            PlotColumn& column = result[static_cast<std::size_t>(c)];
            column.values = aggregate(begin, end);
            if (!column.values.isEmpty()) {
                column.firstTime = time(firstWithValue(begin, end));
                column.lastTime = time(lastWithValue(begin, end));
                column.mean = column.values.mean();
                if (wholeDays > 0 && !m_days.empty()) {
                    // The days centred on the column's middle.
                    const double middle = static_cast<double>(from) + (c + 0.5) * perColumn;
                    const auto firstDay = static_cast<std::int64_t>(
                        std::floor(middle / 86400.0 - wholeDays / 2.0 + 0.5));
                    std::int64_t sum = 0;
                    std::int64_t count = 0;
                    for (std::int64_t d = firstDay; d < firstDay + wholeDays; ++d) {
                        const std::int64_t i = d - m_firstDay;
                        if (i < 0 || i >= static_cast<std::int64_t>(m_days.size()))
                            continue;
                        sum += m_days[static_cast<std::size_t>(i)].sum;
                        count += m_days[static_cast<std::size_t>(i)].count;
                    }
                    if (count > 0)
                        column.mean = static_cast<double>(sum) / static_cast<double>(count);
                }
            }
        }
        begin = end;
    }
    return result;
}

std::optional<std::size_t> PlotSeries::nearest(std::int64_t t, std::int64_t within) const
{
    const auto [low, high] = between(t - within, t + within);
    if (low >= high)
        return std::nullopt;
    // The first entry at or after t, then the closest with a value either side.
    std::size_t split = low;
    std::size_t top = high;
    while (split < top) {
        const std::size_t mid = split + (top - split) / 2;
        if (time(mid) < t)
            split = mid + 1;
        else
            top = mid;
    }
    const std::size_t after = firstWithValue(split, high);
    const std::size_t before = lastWithValue(low, split);
    const bool hasAfter = after < high;
    const bool hasBefore = before < split;
    if (hasAfter && hasBefore)
        return time(after) - t < t - time(before) ? after : before;
    if (hasAfter)
        return after;
    if (hasBefore)
        return before;
    return std::nullopt;
}

QString PlotSeries::name(PlotQuantity quantity)
{
    switch (quantity) {
    case PlotQuantity::Body:
        return QCoreApplication::translate("PlotSeries", "Body temperature");
    case PlotQuantity::Collar:
        return QCoreApplication::translate("PlotSeries", "Collar temperature");
    case PlotQuantity::Activity:
        return QCoreApplication::translate("PlotSeries", "Activity");
    case PlotQuantity::HeadDown:
        return QCoreApplication::translate("PlotSeries", "Head-down duration");
    case PlotQuantity::HeadChanges:
        return QCoreApplication::translate("PlotSeries", "Head position changes");
    case PlotQuantity::HeartRate:
        return QCoreApplication::translate("PlotSeries", "Heart rate");
    }
    return {};
}

QString PlotSeries::unit(PlotQuantity quantity)
{
    switch (quantity) {
    case PlotQuantity::Body:
    case PlotQuantity::Collar:
        return QStringLiteral("°C");
    case PlotQuantity::Activity:
    case PlotQuantity::HeadChanges:
        return QStringLiteral("count");
    case PlotQuantity::HeadDown:
        return {}; // the logger's own measure
    case PlotQuantity::HeartRate:
        return QStringLiteral("/min");
    }
    return {};
}
