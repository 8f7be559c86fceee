#include "data/RecordIndex.h"

#include "data/DataDocument.h"

#include <algorithm>
#include <numeric>

// Fills the index's columns from the decoder's events.
struct RecordIndexBuilder {
    RecordIndex& index;

    void recordBegins(int, CivilTime date) { index.m_recordTime.push_back(date.seconds()); }
    void recordEnds(const RecordValues& v)
    {
        index.m_body.push_back(v.bodyRaw);
        index.m_collar.push_back(v.collarRaw);
        index.m_activity.push_back(v.activity);
        index.m_headDown.push_back(v.headDown);
        index.m_headChanges.push_back(v.headChanges);
    }
    void groupBegins(int, CivilTime date)
    {
        index.m_groupTime.push_back(date.seconds());
        index.m_groupStart.push_back(static_cast<std::uint32_t>(index.m_values.size()));
    }
    void groupValue(int value) { index.m_values.push_back(static_cast<std::uint8_t>(value)); }
    void groupEnds() {}
    void endOfStream() {}

    void reserve(std::size_t streamBytes)
    {
        // A record takes 13 bytes of stream; most downloads are mostly records.
        const std::size_t records = streamBytes / 13 + 1;
        index.m_recordTime.reserve(records);
        index.m_body.reserve(records);
        index.m_collar.reserve(records);
        index.m_activity.reserve(records);
        index.m_headDown.reserve(records);
        index.m_headChanges.reserve(records);
    }
    void shrink()
    {
        index.m_recordTime.shrink_to_fit();
        index.m_body.shrink_to_fit();
        index.m_collar.shrink_to_fit();
        index.m_activity.shrink_to_fit();
        index.m_headDown.shrink_to_fit();
        index.m_headChanges.shrink_to_fit();
        index.m_groupTime.shrink_to_fit();
        index.m_groupStart.shrink_to_fit();
        index.m_values.shrink_to_fit();
    }
};

namespace {

// The time order of `count` entries, or nothing when they are in time order.
std::vector<std::uint32_t> timeOrder(const std::vector<std::int64_t>& times, std::size_t count)
{
    if (std::is_sorted(times.begin(), times.begin() + static_cast<std::ptrdiff_t>(count)))
        return {};
    std::vector<std::uint32_t> order(count);
    std::iota(order.begin(), order.end(), 0U);
    std::stable_sort(order.begin(), order.end(),
                     [&times](std::uint32_t a, std::uint32_t b) { return times[a] < times[b]; });
    return order;
}

template <typename TimeAt>
std::pair<std::size_t, std::size_t> between(std::size_t count, const TimeAt& timeAt,
                                            std::int64_t from, std::int64_t to)
{
    if (to < from)
        return {0, 0};
    auto firstNotBefore = [&](std::int64_t t) {
        std::size_t low = 0;
        std::size_t high = count;
        while (low < high) {
            const std::size_t mid = low + (high - low) / 2;
            if (timeAt(mid) < t)
                low = mid + 1;
            else
                high = mid;
        }
        return low;
    };
    const std::size_t first = firstNotBefore(from);
    const std::size_t end = to == INT64_MAX ? count : firstNotBefore(to + 1);
    return {first, std::max(first, end)};
}

} // namespace

RecordIndex::RecordIndex(const DataDocument& document, CivilTime pcClock) : m_pcClock(pcClock)
{
    const QByteArray& bytes = document.bytes();
    m_implantId = document.implantId();
    m_loggerId = bytes.size() > 47 ? static_cast<std::uint8_t>(bytes[47]) : 0;
    m_intervalSeconds = document.intervalSeconds();

    RecordIndexBuilder builder{*this};
    builder.reserve(document.stream().size());
    DataStreamDecoder::decode(document, builder, pcClock);
    builder.shrink();
    m_recordOrder = timeOrder(m_recordTime, completeRecords());
    m_groupOrder = timeOrder(m_groupTime, m_groupTime.size());
}

std::pair<std::size_t, std::size_t> RecordIndex::recordsBetween(std::int64_t from,
                                                                std::int64_t to) const
{
    return between(
        completeRecords(), [this](std::size_t pos) { return timeOrderedRecordTime(pos); }, from,
        to);
}

std::pair<std::size_t, std::size_t> RecordIndex::groupsBetween(std::int64_t from,
                                                               std::int64_t to) const
{
    return between(
        groupCount(), [this](std::size_t pos) { return m_groupTime[timeOrderedGroup(pos)]; }, from,
        to);
}

std::pair<std::int64_t, std::int64_t> RecordIndex::timeSpan() const
{
    if (completeRecords() > 0)
        return {timeOrderedRecordTime(0), timeOrderedRecordTime(completeRecords() - 1)};
    if (groupCount() > 0)
        return {m_groupTime[timeOrderedGroup(0)], m_groupTime[timeOrderedGroup(groupCount() - 1)]};
    return {0, -1};
}

std::size_t RecordIndex::memoryBytes() const
{
    auto bytes = [](const auto& v) { return v.capacity() * sizeof(v[0]); };
    return sizeof(*this) + bytes(m_recordTime) + bytes(m_body) + bytes(m_collar) +
           bytes(m_activity) + bytes(m_headDown) + bytes(m_headChanges) + bytes(m_recordOrder) +
           bytes(m_groupTime) + bytes(m_groupStart) + bytes(m_values) + bytes(m_groupOrder);
}
