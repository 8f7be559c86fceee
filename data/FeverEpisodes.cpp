#include "data/FeverEpisodes.h"

#include "data/RecordIndex.h"

#include <cmath>
#include <optional>

std::vector<FeverEpisode> FeverEpisodes::find(const RecordIndex& index,
                                              const FeverCriteria& criteria)
{
    // Compared in raw 1/256 °C: "above 39.5" is above raw 10112.
    const double limit = criteria.aboveCelsius * 256.0;
    std::vector<FeverEpisode> episodes;
    std::optional<FeverEpisode> open;
    auto close = [&] {
        if (open && open->end - open->start >= criteria.minimumSeconds)
            episodes.push_back(*open);
        open.reset();
    };
    const std::size_t count = index.completeRecords();
    for (std::size_t pos = 0; pos < count; ++pos) {
        const std::size_t record = index.timeOrderedRecord(pos);
        const std::int16_t raw = index.bodyRaw(record);
        if (raw <= 0 || raw <= limit)
            continue;
        const std::int64_t time = index.recordTime(record);
        if (open && time - open->end > criteria.toleratedGapSeconds)
            close();
        if (!open) {
            open = FeverEpisode{time, time, raw, time, 0};
        }
        open->end = time;
        ++open->readingsAbove;
        if (raw > open->peakRaw) {
            open->peakRaw = raw;
            open->peakTime = time;
        }
    }
    close();
    return episodes;
}
