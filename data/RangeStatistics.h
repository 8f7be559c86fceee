#pragma once

#include <cstdint>

class RecordIndex;

// Figures for the records dated in a range: how many, their body
// temperatures, and on how many calendar days there are records.
struct RangeStatistics {
    std::size_t records = 0;
    std::size_t bodyReadings = 0;
    double bodyMin = 0;
    double bodyMean = 0;
    double bodyMax = 0;
    int daysCovered = 0;
    std::int64_t first = 0; // dates of the first and last record in the range
    std::int64_t last = 0;

    // `from` to `to`: seconds, both included.
    static RangeStatistics compute(const RecordIndex& index, std::int64_t from, std::int64_t to);
};
