#pragma once

#include <cstdint>
#include <vector>

class RecordIndex;

// What counts as a fever episode.
struct FeverCriteria {
    // A reading counts when it is higher than this.
    double aboveCelsius = 39.5;
    // An episode lasts at least this long, from its first reading above to
    // its last.
    std::int64_t minimumSeconds = 2 * 3600;
    // Readings below the threshold, records without a body temperature or no
    // records at all for up to this long do not end an episode.
    std::int64_t toleratedGapSeconds = 3600;
};

// A span in which the body temperature stays above the threshold.
struct FeverEpisode {
    std::int64_t start = 0; // the first reading above
    std::int64_t end = 0;   // the last reading above
    std::int16_t peakRaw = 0;
    std::int64_t peakTime = 0;
    std::size_t readingsAbove = 0;

    [[nodiscard]] double hours() const { return static_cast<double>(end - start) / 3600.0; }
    [[nodiscard]] double peakCelsius() const { return peakRaw / 256.0; }
    [[nodiscard]] bool contains(std::int64_t time) const { return time >= start && time <= end; }
};

// Walks the body temperatures in time order: an episode opens at a reading
// above the threshold and goes on as long as the next reading above comes
// within the tolerated gap; it counts when it lasts the minimum time.
namespace FeverEpisodes {
[[nodiscard]] std::vector<FeverEpisode> find(const RecordIndex& index,
                                             const FeverCriteria& criteria = {});
} // namespace FeverEpisodes
