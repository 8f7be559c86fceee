#pragma once

#include <QString>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

class RecordIndex;

// The quantities the explorer plots over time.
enum class PlotQuantity { Body, Collar, Activity, HeadDown, HeadChanges, HeartRate };
inline constexpr int PlotQuantityCount = 6;

// Lowest, highest, sum and number of a set of readings. Temperatures are
// in the logger's raw 1/256 °C.
struct SeriesAggregate {
    int min = INT_MAX;
    int max = INT_MIN;
    std::int64_t sum = 0;
    std::int64_t count = 0;

    [[nodiscard]] bool isEmpty() const { return count == 0; }
    [[nodiscard]] double mean() const
    {
        return count > 0 ? static_cast<double>(sum) / static_cast<double>(count) : 0.0;
    }
    void add(int value)
    {
        min = std::min(min, value);
        max = std::max(max, value);
        sum += value;
        ++count;
    }
    void merge(const SeriesAggregate& other)
    {
        min = std::min(min, other.min);
        max = std::max(max, other.max);
        sum += other.sum;
        count += other.count;
    }
};

// One pixel column of a plot: every reading dated inside it, and the dates of
// its first and last reading (to tell whether the curve goes on from the
// column before).
struct PlotColumn {
    SeriesAggregate values;
    std::int64_t firstTime = 0;
    std::int64_t lastTime = 0;
    // The mean the curve is drawn at: of the column's readings, or of a
    // longer window around it when one is asked for.
    double mean = 0;
};

// One quantity of an index over time, in time order, with a summary of every
// block of entries so that a pixel column over thousands of records costs a
// few dozen steps. An entry is a record (a value, or none when the record
// holds no body temperature) or, for the heart rate, a group with all its
// values.
class PlotSeries {
public:
    static constexpr std::size_t BlockSize = 64;

    PlotSeries(const RecordIndex& index, PlotQuantity quantity);

    [[nodiscard]] PlotQuantity quantity() const { return m_quantity; }
    [[nodiscard]] std::size_t size() const { return m_size; }
    [[nodiscard]] std::int64_t time(std::size_t pos) const;
    [[nodiscard]] SeriesAggregate entry(std::size_t pos) const;
    [[nodiscard]] bool hasValue(std::size_t pos) const;
    // The stream index (record or group) of an entry.
    [[nodiscard]] std::size_t streamIndex(std::size_t pos) const;
    // Entries dated from `from` to `to`, both included: [first, second).
    [[nodiscard]] std::pair<std::size_t, std::size_t> between(std::int64_t from,
                                                              std::int64_t to) const;
    [[nodiscard]] SeriesAggregate aggregate(std::size_t begin, std::size_t end) const;

    // `width` columns over `from` to `to` (seconds, both included): column c
    // holds the entries dated in [from + c·span/width, from + (c+1)·span/width)
    // with span = to − from + 1. With `wholeDays`, a column's mean is that
    // of the readings of that many calendar days around its middle.
    [[nodiscard]] std::vector<PlotColumn> columns(std::int64_t from, std::int64_t to, int width,
                                                  int wholeDays = 0) const;

    // Usual time between two entries: the curve is broken where readings are
    // further apart than half as much again.
    [[nodiscard]] std::int64_t expectedSpacing() const { return m_spacing; }
    // The nearest entry with a value to `time`, if one lies within `within`
    // seconds.
    [[nodiscard]] std::optional<std::size_t> nearest(std::int64_t time, std::int64_t within) const;

    [[nodiscard]] std::size_t memoryBytes() const
    {
        return m_blocks.capacity() * sizeof(Block) + m_days.capacity() * sizeof(DayTotal);
    }

    [[nodiscard]] static QString name(PlotQuantity quantity);
    [[nodiscard]] static QString unit(PlotQuantity quantity);

private:
    struct Block {
        std::int32_t min;
        std::int32_t max;
        std::int64_t sum;
        std::int64_t count;
    };

    struct DayTotal {
        std::int64_t sum;
        std::int64_t count;
    };

    // Adds the entries [begin, end) one by one.
    void scanEntries(std::size_t begin, std::size_t end, SeriesAggregate& a) const;
    // First / last entry with a value in [begin, end), or end.
    [[nodiscard]] std::size_t firstWithValue(std::size_t begin, std::size_t end) const;
    [[nodiscard]] std::size_t lastWithValue(std::size_t begin, std::size_t end) const;

    const RecordIndex* m_index;
    PlotQuantity m_quantity;
    std::size_t m_size = 0;
    std::int64_t m_spacing = 0;
    std::vector<Block> m_blocks;
    // Sum and count of every calendar day from the first to the last.
    std::vector<DayTotal> m_days;
    std::int64_t m_firstDay = 0;
};
