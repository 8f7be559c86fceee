#include "data/DataStreamDecoder.h"
#include "data/RangeStatistics.h"
#include "data/RecordIndex.h"
#include "sim/DemoDownload.h"
#include "sim/LoggerStreamGenerator.h"
#include "tests/support/StreamBuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const CivilTime PcClock = CivilTime::fromFields(2024, 3, 3, 9, 0, 0);

// Records and groups as separate event lists: the index keeps them apart.
struct Lists {
    std::vector<std::string> records;
    std::vector<std::string> groups;
    bool operator==(const Lists&) const = default;
};

std::string valuesText(const RecordValues& v)
{
    return "E " + std::to_string(v.bodyRaw) + " " + std::to_string(v.collarRaw) + " " +
           std::to_string(v.activity) + " " + std::to_string(v.headDown) + " " +
           std::to_string(v.headChanges);
}

struct DecoderLists {
    Lists lists;
    void recordBegins(int id, CivilTime date)
    {
        lists.records.push_back("R " + std::to_string(id) + " " + date.toString().toStdString());
    }
    void recordEnds(const RecordValues& v) { lists.records.push_back(valuesText(v)); }
    void groupBegins(int id, CivilTime date)
    {
        lists.groups.push_back("G " + std::to_string(id) + " " + date.toString().toStdString());
    }
    void groupValue(int value) { lists.groups.push_back("V " + std::to_string(value)); }
    void groupEnds() {}
    void endOfStream() {}
};

Lists fromDecoder(const DataDocument& doc)
{
    DecoderLists log;
    DataStreamDecoder::decode(doc, log, PcClock);
    return log.lists;
}

Lists fromIndex(const RecordIndex& index)
{
    Lists lists;
    const std::string id = std::to_string(index.implantId());
    for (std::size_t r = 0; r < index.recordCount(); ++r) {
        lists.records.push_back("R " + id + " " + index.recordDate(r).toString().toStdString());
        if (index.hasValues(r))
            lists.records.push_back(valuesText(index.values(r)));
    }
    for (std::size_t g = 0; g < index.groupCount(); ++g) {
        lists.groups.push_back("G " + id + " " +
                               CivilTime::fromSeconds(index.groupTime(g)).toString().toStdString());
        for (const std::uint8_t v : index.groupValues(g))
            lists.groups.push_back("V " + std::to_string(v));
    }
    return lists;
}

DataDocument generated(std::uint32_t seed, std::size_t bytes, int intervalSteps)
{
    LoggerStreamGenerator generator(QDateTime(QDate(2024, 1, 1), QTime(0, 0)), intervalSteps, seed);
    const std::vector<std::uint8_t> stream = generator.generate(bytes);
    StreamBuilder builder;
    for (const std::uint8_t b : stream)
        builder.bytes({b});
    return builder.document(9, intervalSteps);
}

} // namespace

TEST(ExplorerIndex, HoldsExactlyWhatTheDecoderReports)
{
    const struct {
        const char* name;
        DataDocument doc;
    } fixtures[] = {
        {"no data", StreamBuilder().document()},
        {"one byte", StreamBuilder().bytes({0xA0}).document()},
        {"a complete record at the very end stays open",
         StreamBuilder().timestamp(0, 0, 12, 5, 4, 24).record(9000, 5000, 3, 2, 1).document()},
        {"0xAA inside a payload",
         StreamBuilder().record(0x20AA, 0xAAAA, 0xAA, 0xAA, 0xAA, 0xAA).bytes({0}).document()},
        {"groups before any record, empty groups, skipped bytes",
         StreamBuilder()
             .bytes({0xAA, 70, 14, 151, 71, 0xAA, 0xAA})
             .timestamp(0, 0, 1, 1, 1, 24)
             .record(256, 0, 0, 0, 0)
             .bytes({15, 150, 0xA1, 0x00})
             .document()},
        {"ignored timestamps and one going back",
         StreamBuilder()
             .timestamp(0, 0, 10, 5, 4, 24)
             .record(9900, 0, 1, 1, 1)
             .rawTimestamp({0x00, 0x00, 0x24, 0x01, 0x01, 0x24})
             .record(9910, 0, 2, 2, 2)
             .timestamp(0, 0, 8, 5, 4, 24)
             .record(9920, 0, 3, 3, 3)
             .bytes({60, 61})
             .record(0, -256, 4, 4, 4)
             .bytes({0})
             .document()},
        {"generated, 60 s interval", generated(1, 60'000, 4)},
        {"generated, 15 s interval, another seed", generated(99, 20'000, 1)},
        {"several weeks with fevers and outages", DemoDownload::make(QDate(2024, 3, 4), 3)},
    };
    for (const auto& f : fixtures) {
        const RecordIndex index(f.doc, PcClock);
        EXPECT_EQ(fromIndex(index), fromDecoder(f.doc)) << f.name;
        EXPECT_EQ(index.implantId(), f.doc.implantId()) << f.name;
        EXPECT_EQ(index.intervalSeconds(), f.doc.intervalSeconds()) << f.name;
    }
}

TEST(ExplorerIndex, AnOpenLastRecordHasADateButNoValues)
{
    const auto doc =
        StreamBuilder().timestamp(0, 0, 12, 5, 4, 24).record(9000, 5000, 3, 2, 1).document(7, 4);
    const RecordIndex index(doc, PcClock);
    ASSERT_EQ(index.recordCount(), 1U);
    EXPECT_EQ(index.completeRecords(), 0U);
    EXPECT_FALSE(index.hasValues(0));
    EXPECT_EQ(index.recordDate(0), CivilTime::fromFields(2024, 4, 5, 12, 1, 0));
    EXPECT_EQ(index.loggerId(), 21);
    // Nothing with values: the time order and every range are empty.
    EXPECT_EQ(index.recordsBetween(INT64_MIN / 2, INT64_MAX),
              (std::pair<std::size_t, std::size_t>{0, 0}));
}

TEST(ExplorerIndex, TimeOrderSortsAClockThatWentBackAndKeepsTiesInStreamOrder)
{
    // 10:01, 10:02, then the clock is set back: 08:01, 08:02, and 10:02 again.
    const auto doc = StreamBuilder()
                         .timestamp(0, 0, 10, 5, 4, 24)
                         .record(9000, 0, 0, 0, 0)
                         .record(9001, 0, 0, 0, 0)
                         .timestamp(0, 0, 8, 5, 4, 24)
                         .record(9002, 0, 0, 0, 0)
                         .record(9003, 0, 0, 0, 0)
                         .timestamp(0, 1, 10, 5, 4, 24)
                         .record(9004, 0, 0, 0, 0)
                         .bytes({0})
                         .document(12, 4);
    const RecordIndex index(doc, PcClock);
    ASSERT_EQ(index.completeRecords(), 5U);
    EXPECT_FALSE(index.recordsInTimeOrder());
    std::vector<int> order;
    for (std::size_t pos = 0; pos < 5; ++pos)
        order.push_back(index.bodyRaw(index.timeOrderedRecord(pos)) - 9000);
    EXPECT_EQ(order, (std::vector<int>{2, 3, 0, 1, 4}));

    const auto at = [](int h, int m) {
        return CivilTime::fromFields(2024, 4, 5, h, m, 0).seconds();
    };
    const struct {
        std::int64_t from, to;
        std::size_t first, end;
    } ranges[] = {
        {at(8, 1), at(8, 1), 0, 1},          // both ends included
        {at(8, 0), at(9, 59), 0, 2},         // the early pair
        {at(10, 2), at(10, 2), 3, 5},        // two records share 10:02
        {at(10, 1), at(23, 0), 2, 5},        // to the end
        {at(8, 2) + 1, at(10, 1) - 1, 2, 2}, // between records: empty
        {at(11, 0), at(10, 0), 0, 0},        // reversed: empty
    };
    for (const auto& r : ranges)
        EXPECT_EQ(index.recordsBetween(r.from, r.to),
                  (std::pair<std::size_t, std::size_t>{r.first, r.end}))
            << CivilTime::fromSeconds(r.from).toString().toStdString() << " to "
            << CivilTime::fromSeconds(r.to).toString().toStdString();
    EXPECT_EQ(index.timeSpan(), (std::pair<std::int64_t, std::int64_t>{at(8, 1), at(10, 2)}));
}

TEST(ExplorerIndex, StatisticsOfARange)
{
    // Two days: 23:58, 23:59 (no body temperature), 00:00, 00:01 the next day.
    const auto doc = StreamBuilder()
                         .timestamp(0, 57, 23, 5, 4, 24)
                         .record(38 * 256, 0, 0, 0, 0)
                         .record(0, 0, 0, 0, 0)
                         .record(40 * 256, 0, 0, 0, 0)
                         .record(39 * 256 + 128, 0, 0, 0, 0)
                         .bytes({0})
                         .document(12, 4);
    const RecordIndex index(doc, PcClock);
    const auto at = [](int d, int h, int m) {
        return CivilTime::fromFields(2024, 4, d, h, m, 0).seconds();
    };
    const RangeStatistics all = RangeStatistics::compute(index, at(5, 0, 0), at(6, 23, 0));
    EXPECT_EQ(all.records, 4U);
    EXPECT_EQ(all.bodyReadings, 3U);
    EXPECT_DOUBLE_EQ(all.bodyMin, 38.0);
    EXPECT_DOUBLE_EQ(all.bodyMax, 40.0);
    EXPECT_DOUBLE_EQ(all.bodyMean, (38.0 + 40.0 + 39.5) / 3);
    EXPECT_EQ(all.daysCovered, 2);
    EXPECT_EQ(all.first, at(5, 23, 58));
    EXPECT_EQ(all.last, at(6, 0, 1));

    const RangeStatistics firstDay = RangeStatistics::compute(index, at(5, 23, 58), at(5, 23, 59));
    EXPECT_EQ(firstDay.records, 2U);
    EXPECT_EQ(firstDay.bodyReadings, 1U);
    EXPECT_EQ(firstDay.daysCovered, 1);

    const RangeStatistics none = RangeStatistics::compute(index, at(7, 0, 0), at(8, 0, 0));
    EXPECT_EQ(none.records, 0U);
    EXPECT_EQ(none.daysCovered, 0);
}
