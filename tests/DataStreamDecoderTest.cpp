#include "data/DataStreamDecoder.h"
#include "tests/support/StreamBuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const CivilTime PcClock = CivilTime::fromFields(2024, 3, 3, 9, 0, 0);

// Writes every event as a short line, for comparing with what is expected.
struct EventLog {
    std::vector<std::string> events;
    void recordBegins(int id, CivilTime date)
    {
        events.push_back("R " + std::to_string(id) + " " + date.toString().toStdString());
    }
    void recordEnds(const RecordValues& v)
    {
        events.push_back("E " +
                         (v.hasBody() ? QString::number(double(v.body()), 'f', 2).toStdString()
                                      : std::string("-")) +
                         " " + QString::number(double(v.collar()), 'f', 2).toStdString() + " " +
                         std::to_string(v.activity) + " " + std::to_string(v.headDown) + " " +
                         std::to_string(v.headChanges));
    }
    void groupBegins(int id, CivilTime date)
    {
        events.push_back("G " + std::to_string(id) + " " + date.toString().toStdString());
    }
    void groupValue(int value) { events.push_back("V " + std::to_string(value)); }
    void groupEnds() { events.push_back("g"); }
    void endOfStream() { events.push_back("end"); }
};

std::vector<std::string> decode(const DataDocument& doc, std::optional<std::size_t> limit = {})
{
    EventLog log;
    DataStreamDecoder::decode(doc, log, PcClock, limit);
    return log.events;
}

using Events = std::vector<std::string>;

} // namespace

TEST(DataStreamDecoder, RecordsAfterATimestampStepByTheInterval)
{
    const auto doc = StreamBuilder()
                         .timestamp(0, 0, 12, 5, 4, 24)
                         .record(38 * 256 + 128, 21 * 256, 300, 5, 3)
                         .record(0, 0xFF00, 7, 0, 0)
                         .bytes({62, 64, 14, 151, 15, 150, 0xAA}) // a group, then its end
                         .bytes({0x00})                           // never decoded
                         .document(12, 4);
    EXPECT_EQ(decode(doc),
              (Events{"R 12 2024-04-05 12:01:00", "E 38.50 21.00 300 5 3",
                      "R 12 2024-04-05 12:02:00", "E - -1.00 7 0 0", "G 12 2024-04-05 12:02:00",
                      "V 62", "V 64", "V 15", "V 150", "g", "end"}));
}

TEST(DataStreamDecoder, EdgeCases)
{
    const struct {
        const char* name;
        StreamBuilder stream;
        int intervalSteps;
        Events expected;
    } cases[] = {
        {"no data", StreamBuilder(), 4, {"end"}},
        {"one byte: nothing decoded", StreamBuilder().bytes({0xA0}), 4, {"end"}},
        {"a stream ending with a complete record leaves it open",
         StreamBuilder().record(256, 256, 1, 2, 3),
         4,
         {"R 12 2024-03-03 09:01:00", "end"}},
        {"0xAA inside the first 11 payload bytes stays payload",
         StreamBuilder().record(256, 256, 0xAAAA, 0xAA, 0xAA, 0xAA).bytes({0x00}),
         4,
         {"R 12 2024-03-03 09:01:00", "E 1.00 1.00 43690 170 170", "end"}},
        {"interval 0: all records share the timestamp",
         StreamBuilder()
             .timestamp(0, 30, 8, 1, 1, 24)
             .record(256, 0, 0, 0, 0)
             .record(256, 0, 0, 0, 0)
             .bytes({0}),
         0,
         {"R 12 2024-01-01 08:30:00", "E 1.00 0.00 0 0 0", "R 12 2024-01-01 08:30:00",
          "E 1.00 0.00 0 0 0", "end"}},
        {"2099 timestamp accepted",
         StreamBuilder()
             .rawTimestamp({0x59, 0x59, 0x23, 0x31, 0x12, 0x99})
             .record(256, 0, 0, 0, 0)
             .bytes({0}),
         0,
         {"R 12 2099-12-31 23:59:59", "E 1.00 0.00 0 0 0", "end"}},
        {"hour 0x24 ignored: the time before it stays",
         StreamBuilder()
             .rawTimestamp({0x00, 0x00, 0x24, 0x01, 0x01, 0x24})
             .record(256, 0, 0, 0, 0)
             .bytes({0}),
         0,
         {"R 12 2024-03-03 09:00:00", "E 1.00 0.00 0 0 0", "end"}},
        {"in range but no real date (31 April): ignored",
         StreamBuilder()
             .rawTimestamp({0x00, 0x00, 0x10, 0x31, 0x04, 0x24})
             .record(256, 0, 0, 0, 0)
             .bytes({0}),
         0,
         {"R 12 2024-03-03 09:00:00", "E 1.00 0.00 0 0 0", "end"}},
        {"body 0x0000 and 0xFF00 both mean none",
         StreamBuilder().record(0x0000, 256, 0, 0, 0).record(0xFF00, 256, 0, 0, 0).bytes({0}),
         0,
         {"R 12 2024-03-03 09:00:00", "E - 1.00 0 0 0", "R 12 2024-03-03 09:00:00",
          "E - 1.00 0 0 0", "end"}},
        {"a block end straight after a block end: an empty group",
         StreamBuilder().record(256, 0, 0, 0, 0).bytes({0xAA, 0xA1, 0x00}),
         0,
         {"R 12 2024-03-03 09:00:00", "E 1.00 0.00 0 0 0", "G 12 2024-03-03 09:00:00", "g", "end"}},
        {"a group before any record carries the PC clock",
         StreamBuilder().bytes({0xAA, 70, 71}).timestamp(0, 0, 1, 1, 1, 24).bytes({72, 0x00}),
         4,
         {"G 12 2024-03-03 09:00:00", "V 70", "V 71", "g", "G 12 2024-03-03 09:00:00", "V 72",
          "end"}},
        {"bytes before any marker are skipped; a first record is not advanced",
         StreamBuilder().bytes({1, 2, 3}).record(256, 0, 0, 0, 0).bytes({0}),
         4,
         {"R 12 2024-03-03 09:01:00", "E 1.00 0.00 0 0 0", "end"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decode(c.stream.document(12, c.intervalSteps)), c.expected) << c.name;
}

TEST(DataStreamDecoder, ThePaneLimitStopsAtBufferPosition50000)
{
    // 100000 data bytes of records: only the first 49927 are looked at.
    StreamBuilder builder;
    while (builder.stream().size() + 13 <= 100'000)
        builder.record(256, 256, 1, 1, 1);
    while (builder.stream().size() < 100'000)
        builder.bytes({0x00});
    const DataDocument doc = builder.document(12, 4);
    const Events all = decode(doc);
    const Events limited = decode(doc, DataStreamDecoder::PanePositionLimit);
    const auto records = [](const Events& e) {
        return std::count_if(e.begin(), e.end(), [](const std::string& s) { return s[0] == 'R'; });
    };
    EXPECT_EQ(records(limited), (49927 + 12) / 13); // the last one cut: Id and date only
    EXPECT_EQ(limited[limited.size() - 2].substr(0, 2), "R ");
    EXPECT_EQ(records(all), 100'000 / 13);
}
