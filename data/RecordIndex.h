#pragma once

#include "data/CivilTime.h"
#include "data/DataStreamDecoder.h"

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

class DataDocument;

// Every record and heart-rate group of a download, decoded once with the
// stream decoder into one array per field: no object per record, about 16
// bytes per record plus the heart-rate values. Records and groups keep their
// stream order (the order of the CSV export); a second, time order serves
// plots, date ranges and episodes, and costs nothing when the logger's clock
// never went backwards.
class RecordIndex {
public:
    RecordIndex() = default;
    // Decodes the whole stream. `pcClock` dates the records that come before
    // any timestamp, as for the panes and the export.
    RecordIndex(const DataDocument& document, CivilTime pcClock);

    RecordIndex(RecordIndex&&) noexcept = default;
    RecordIndex& operator=(RecordIndex&&) noexcept = default;
    RecordIndex(const RecordIndex&) = delete;
    RecordIndex& operator=(const RecordIndex&) = delete;

    [[nodiscard]] CivilTime pcClock() const { return m_pcClock; }
    [[nodiscard]] int implantId() const { return m_implantId; }
    [[nodiscard]] int loggerId() const { return m_loggerId; }
    [[nodiscard]] int intervalSeconds() const { return m_intervalSeconds; }

    // --- Records, in stream order.
    // All records the stream begins, the last one included when the data end
    // before its values (it has a date but no values).
    [[nodiscard]] std::size_t recordCount() const { return m_recordTime.size(); }
    // Records with their values: all but an open last one.
    [[nodiscard]] std::size_t completeRecords() const { return m_body.size(); }
    [[nodiscard]] bool hasValues(std::size_t record) const { return record < m_body.size(); }
    [[nodiscard]] std::int64_t recordTime(std::size_t record) const { return m_recordTime[record]; }
    [[nodiscard]] CivilTime recordDate(std::size_t record) const
    {
        return CivilTime::fromSeconds(m_recordTime[record]);
    }
    // Only for records with values.
    [[nodiscard]] RecordValues values(std::size_t record) const
    {
        return {m_body[record], m_collar[record], m_activity[record], m_headDown[record],
                m_headChanges[record]};
    }
    [[nodiscard]] std::int16_t bodyRaw(std::size_t record) const { return m_body[record]; }
    [[nodiscard]] std::int16_t collarRaw(std::size_t record) const { return m_collar[record]; }
    [[nodiscard]] std::uint16_t activity(std::size_t record) const { return m_activity[record]; }
    [[nodiscard]] std::uint8_t headDown(std::size_t record) const { return m_headDown[record]; }
    [[nodiscard]] std::uint8_t headChanges(std::size_t record) const
    {
        return m_headChanges[record];
    }

    // The columns themselves, for tight loops over many records.
    [[nodiscard]] const std::int16_t* bodyColumn() const { return m_body.data(); }
    [[nodiscard]] const std::int16_t* collarColumn() const { return m_collar.data(); }
    [[nodiscard]] const std::uint16_t* activityColumn() const { return m_activity.data(); }
    [[nodiscard]] const std::uint8_t* headDownColumn() const { return m_headDown.data(); }
    [[nodiscard]] const std::uint8_t* headChangesColumn() const { return m_headChanges.data(); }
    // Null when stream order is time order.
    [[nodiscard]] const std::uint32_t* recordOrder() const
    {
        return m_recordOrder.empty() ? nullptr : m_recordOrder.data();
    }

    // --- Heart-rate groups, in stream order.
    [[nodiscard]] std::size_t groupCount() const { return m_groupTime.size(); }
    [[nodiscard]] std::int64_t groupTime(std::size_t group) const { return m_groupTime[group]; }
    [[nodiscard]] std::span<const std::uint8_t> groupValues(std::size_t group) const
    {
        const std::uint32_t begin = m_groupStart[group];
        const std::uint32_t end = group + 1 < m_groupStart.size()
                                      ? m_groupStart[group + 1]
                                      : static_cast<std::uint32_t>(m_values.size());
        return {m_values.data() + begin, end - begin};
    }
    [[nodiscard]] std::size_t heartRateValueCount() const { return m_values.size(); }

    // --- Time order of the records with values, and of the groups. Position
    // `pos` in time order is record timeOrderedRecord(pos); ties keep stream
    // order.
    [[nodiscard]] std::size_t timeOrderedRecord(std::size_t pos) const
    {
        return m_recordOrder.empty() ? pos : m_recordOrder[pos];
    }
    [[nodiscard]] std::int64_t timeOrderedRecordTime(std::size_t pos) const
    {
        return m_recordTime[timeOrderedRecord(pos)];
    }
    [[nodiscard]] std::size_t timeOrderedGroup(std::size_t pos) const
    {
        return m_groupOrder.empty() ? pos : m_groupOrder[pos];
    }
    [[nodiscard]] bool recordsInTimeOrder() const { return m_recordOrder.empty(); }

    // Positions in time order [first, second) of the records with values
    // dated from `from` to `to`, both included.
    [[nodiscard]] std::pair<std::size_t, std::size_t> recordsBetween(std::int64_t from,
                                                                     std::int64_t to) const;
    // The same for the heart-rate groups.
    [[nodiscard]] std::pair<std::size_t, std::size_t> groupsBetween(std::int64_t from,
                                                                    std::int64_t to) const;
    // The first and last date of the records with values (and of the groups,
    // when there are no such records); {0, -1} when there is nothing dated.
    [[nodiscard]] std::pair<std::int64_t, std::int64_t> timeSpan() const;

    // Bytes held, for the benchmark.
    [[nodiscard]] std::size_t memoryBytes() const;

private:
    friend struct RecordIndexBuilder;

    CivilTime m_pcClock;
    int m_implantId = 0;
    int m_loggerId = 0;
    int m_intervalSeconds = 0;

    std::vector<std::int64_t> m_recordTime;
    std::vector<std::int16_t> m_body;
    std::vector<std::int16_t> m_collar;
    std::vector<std::uint16_t> m_activity;
    std::vector<std::uint8_t> m_headDown;
    std::vector<std::uint8_t> m_headChanges;
    std::vector<std::uint32_t> m_recordOrder; // empty: stream order is time order

    std::vector<std::int64_t> m_groupTime;
    std::vector<std::uint32_t> m_groupStart; // first value of each group in m_values
    std::vector<std::uint8_t> m_values;
    std::vector<std::uint32_t> m_groupOrder;
};
