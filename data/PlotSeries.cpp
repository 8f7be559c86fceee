#include "data/PlotSeries.h"

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
        const std::size_t end = std::min(m_size, (b + 1) * BlockSize);
        for (std::size_t pos = b * BlockSize; pos < end; ++pos)
            all.merge(entry(pos));
        m_blocks[b] = {all.min, all.max, all.sum, all.count};
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

SeriesAggregate PlotSeries::aggregate(std::size_t begin, std::size_t end) const
{
    SeriesAggregate a;
    std::size_t pos = begin;
    for (; pos < end && pos % BlockSize != 0; ++pos)
        a.merge(entry(pos));
    for (; pos + BlockSize <= end; pos += BlockSize) {
        const Block& b = m_blocks[pos / BlockSize];
        if (b.count > 0)
            a.merge({b.min, b.max, b.sum, b.count});
    }
    for (; pos < end; ++pos)
        a.merge(entry(pos));
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

std::vector<PlotColumn> PlotSeries::columns(std::int64_t from, std::int64_t to, int width) const
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
        return QStringLiteral("Body temperature");
    case PlotQuantity::Collar:
        return QStringLiteral("Collar temperature");
    case PlotQuantity::Activity:
        return QStringLiteral("Activity");
    case PlotQuantity::HeadDown:
        return QStringLiteral("Head-down duration");
    case PlotQuantity::HeadChanges:
        return QStringLiteral("Head position changes");
    case PlotQuantity::HeartRate:
        return QStringLiteral("Heart rate");
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
