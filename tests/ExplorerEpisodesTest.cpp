#include "data/FeverEpisodes.h"
#include "data/RecordIndex.h"
#include "tests/support/StreamBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

const CivilTime PcClock = CivilTime::fromFields(2024, 3, 3, 9, 0, 0);
const CivilTime Start = CivilTime::fromFields(2024, 4, 5, 0, 0, 0);

// A piece of a hand-made body temperature series, one record a minute.
struct Stretch {
    int minutes;
    double celsius; // NAN: records without a body temperature; 0: no records at all
};

// Builds a download from stretches, starting at Start + 1 minute.
DataDocument series(const std::vector<Stretch>& stretches)
{
    StreamBuilder builder;
    std::int64_t minute = 0;
    builder.timestamp(0, 0, 0, 5, 4, 24);
    for (const Stretch& s : stretches) {
        if (s.celsius == 0) {
            // The logger was off: a timestamp picks the clock up later.
            minute += s.minutes;
            const CivilTime::Fields f = Start.plusSeconds(minute * 60).fields();
            builder.timestamp(f.second, f.minute, f.hour, f.day, f.month, f.year - 2000);
            continue;
        }
        for (int i = 0; i < s.minutes; ++i) {
            builder.record(std::isnan(s.celsius) ? 0
                                                 : static_cast<int>(std::lround(s.celsius * 256)),
                           20 * 256, 100, 3, 2);
            ++minute;
        }
    }
    builder.bytes({0});
    return builder.document(12, 4);
}

std::string text(const FeverEpisode& e)
{
    const auto minutes = [](std::int64_t t) { return std::to_string((t - Start.seconds()) / 60); };
    return minutes(e.start) + "-" + minutes(e.end) + " peak " +
           QString::number(e.peakCelsius(), 'f', 2).toStdString();
}

std::vector<std::string> episodes(const std::vector<Stretch>& stretches,
                                  const FeverCriteria& criteria = {})
{
    const RecordIndex index(series(stretches), PcClock);
    std::vector<std::string> out;
    for (const FeverEpisode& e : FeverEpisodes::find(index, criteria))
        out.push_back(text(e));
    return out;
}

using List = std::vector<std::string>;

} // namespace

TEST(ExplorerEpisodes, HandMadeSeries)
{
    // Records are dated from minute 1 on; the first stretch of 60 normal
    // readings covers minutes 1 to 60.
    const struct {
        const char* name;
        std::vector<Stretch> stretches;
        List expected;
    } cases[] = {
        {"a plain fever of three hours",
         {{60, 38.6}, {181, 40.0}, {60, 38.6}},
         {"61-241 peak 40.00"}},
        {"a dip of 40 minutes inside the span does not end it",
         {{60, 38.6}, {90, 40.2}, {40, 38.9}, {90, 40.6}, {60, 38.6}},
         {"61-280 peak 40.60"}},
        {"a dip of more than an hour ends it: two spans, each long enough",
         {{60, 38.6}, {150, 40.2}, {61, 38.9}, {150, 40.4}, {60, 38.6}},
         {"61-210 peak 40.20", "272-421 peak 40.40"}},
        {"the next reading above exactly one hour after the last one still continues",
         {{60, 38.6}, {100, 40.2}, {59, 38.9}, {100, 40.2}},
         {"61-319 peak 40.20"}},
        {"a span one minute short of two hours is not an episode",
         {{60, 38.6}, {120, 40.5}, {60, 38.6}},
         {}},
        {"a span of exactly two hours is",
         {{60, 38.6}, {121, 40.5}, {60, 38.6}},
         {"61-181 peak 40.50"}},
        {"50 minutes without body temperature inside a span does not end it",
         {{60, 38.6}, {70, 40.0}, {50, NAN}, {70, 40.1}, {60, 38.6}},
         {"61-250 peak 40.10"}},
        {"70 minutes without body temperature splits it; the halves are too short",
         {{60, 38.6}, {100, 40.0}, {70, NAN}, {100, 40.1}, {60, 38.6}},
         {}},
        {"50 minutes with no records at all inside a span do not end it",
         {{60, 38.6}, {70, 40.0}, {50, 0}, {70, 40.1}},
         {"61-250 peak 40.10"}},
        {"a reading at the threshold is not above it", {{60, 38.6}, {200, 39.5}, {60, 38.6}}, {}},
        {"a span running to the end of the data counts",
         {{60, 38.6}, {130, 39.8}},
         {"61-190 peak 39.80"}},
        {"no body temperature at all", {{300, NAN}}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(episodes(c.stretches), c.expected) << c.name;
}

TEST(ExplorerEpisodes, CriteriaAreTheUsers)
{
    const std::vector<Stretch> day = {{60, 38.6}, {90, 39.8}, {30, 38.6}, {200, 40.4}, {60, 38.6}};
    EXPECT_EQ(episodes(day), (List{"61-380 peak 40.40"}));
    FeverCriteria higher;
    higher.aboveCelsius = 40.0;
    EXPECT_EQ(episodes(day, higher), (List{"181-380 peak 40.40"}));
    FeverCriteria longer;
    longer.minimumSeconds = 6 * 3600;
    EXPECT_TRUE(episodes(day, longer).empty());
    FeverCriteria strict;
    strict.toleratedGapSeconds = 10 * 60;
    strict.minimumSeconds = 3600;
    EXPECT_EQ(episodes(day, strict), (List{"61-150 peak 39.80", "181-380 peak 40.40"}));
}

TEST(ExplorerEpisodes, FollowTheClockNotTheStreamWhenItWentBack)
{
    // The second half of a fever was recorded first, before the clock was
    // set right: in time order it is one episode.
    StreamBuilder builder;
    builder.timestamp(0, 0, 12, 5, 4, 24);
    for (int i = 0; i < 90; ++i)
        builder.record(40 * 256, 0, 0, 0, 0);
    builder.timestamp(0, 30, 10, 5, 4, 24);
    for (int i = 0; i < 90; ++i)
        builder.record(40 * 256 + 64, 0, 0, 0, 0);
    builder.bytes({0});
    const RecordIndex index(builder.document(12, 4), PcClock);
    const auto found = FeverEpisodes::find(index);
    ASSERT_EQ(found.size(), 1U);
    EXPECT_EQ(found[0].start, CivilTime::fromFields(2024, 4, 5, 10, 31, 0).seconds());
    EXPECT_EQ(found[0].end, CivilTime::fromFields(2024, 4, 5, 13, 30, 0).seconds());
    EXPECT_EQ(found[0].peakRaw, 40 * 256 + 64);
    EXPECT_EQ(found[0].readingsAbove, 180U);
}
