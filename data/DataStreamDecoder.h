#pragma once

#include "data/CivilTime.h"
#include "data/DataDocument.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

// The values of one data record.
struct RecordValues {
    std::int16_t bodyRaw = 0;   // 1/256 °C; 0 or below: no body temperature
    std::int16_t collarRaw = 0; // 1/256 °C
    std::uint16_t activity = 0;
    std::uint8_t headDown = 0;
    std::uint8_t headChanges = 0;

    [[nodiscard]] bool hasBody() const { return bodyRaw > 0; }
    [[nodiscard]] float body() const { return static_cast<float>(bodyRaw) / 256.0F; }
    [[nodiscard]] float collar() const { return static_cast<float>(collarRaw) / 256.0F; }
};

// Walks a logger's data stream once and reports, in stream order, where
// records and heart-rate groups begin and end, with their dates and values.
// The panes, the export and the command-line tool all decode with it.
//
// A consumer has the members
//   recordBegins(int implantId, CivilTime date), recordEnds(const RecordValues&),
//   groupBegins(int implantId, CivilTime date), groupValue(int value), groupEnds(),
//   endOfStream().
// The decoder allocates nothing and formats nothing; it is one pass over the
// bytes with a small state machine.
class DataStreamDecoder {
public:
    static constexpr std::uint8_t TimestampStart = 0xA1;
    static constexpr std::uint8_t RecordStart = 0xA0;
    static constexpr std::uint8_t BlockEnd = 0xAA;
    static constexpr int LowestHeartRate = 15;
    static constexpr int HighestHeartRate = 150;
    // The panes look no further than this buffer position (header included).
    static constexpr std::size_t PanePositionLimit = 50000;

    // `pcClock` is the PC's local time when the decode starts: records before
    // any timestamp are dated from it. A limit is a buffer position (header
    // included) at which decoding stops early.
    template <typename Consumer>
    static void decode(const DataDocument& document, Consumer& consumer, CivilTime pcClock,
                       std::optional<std::size_t> positionLimit = std::nullopt);

    // Applies a timestamp's six values (second, minute, hour, day, month,
    // year); empty when it fails the range checks or names no real date.
    static std::optional<CivilTime> timestamp(const std::array<int, 6>& values, int count);
};

template <typename Consumer>
void DataStreamDecoder::decode(const DataDocument& document, Consumer& consumer, CivilTime pcClock,
                               std::optional<std::size_t> positionLimit)
{
    enum class State { Initial, InTimestamp, InRecord, AfterBlock, InGroup };

    const std::size_t bufferEnd =
        positionLimit ? std::min(document.size(), *positionLimit) : document.size();
    // The last byte before the end is never decoded.
    if (bufferEnd < DataDocument::HeaderSize + 2) {
        consumer.endOfStream();
        return;
    }
    const std::uint8_t* bytes = reinterpret_cast<const std::uint8_t*>(document.bytes().constData());
    const std::uint8_t* const stop = bytes + bufferEnd - 1;
    const int implant = document.implantId();
    const std::int64_t interval = document.intervalSeconds();

    CivilTime current = pcClock.plusSeconds(interval);
    CivilTime latestRecord = pcClock;
    State state = State::Initial;
    std::array<int, 6> stamp{};
    int stampCount = 0;
    std::array<std::uint8_t, 11> payload{};
    int payloadCount = 0;

    auto beginRecord = [&](bool advance) {
        if (advance)
            current = current.plusSeconds(interval);
        latestRecord = current;
        consumer.recordBegins(implant, current);
        payloadCount = 0;
        state = State::InRecord;
    };
    auto beginTimestamp = [&] {
        stampCount = 0;
        state = State::InTimestamp;
    };
    auto isValue = [](std::uint8_t b) { return b >= LowestHeartRate && b <= HighestHeartRate; };

    for (const std::uint8_t* p = bytes + DataDocument::HeaderSize; p < stop; ++p) {
        const std::uint8_t b = *p;
        switch (state) {
        case State::InRecord:
            ++payloadCount;
            if (b == BlockEnd && payloadCount >= 12) {
                RecordValues values;
                values.bodyRaw = static_cast<std::int16_t>(payload[1] | (payload[2] << 8));
                values.collarRaw = static_cast<std::int16_t>(payload[3] | (payload[4] << 8));
                values.activity = static_cast<std::uint16_t>(payload[5] | (payload[6] << 8));
                values.headDown = payload[9];
                values.headChanges = payload[10];
                consumer.recordEnds(values);
                state = State::AfterBlock;
            } else if (payloadCount <= 11) {
                payload[static_cast<std::size_t>(payloadCount - 1)] = b;
            }
            break;
        case State::InGroup:
            if (b == RecordStart) {
                consumer.groupEnds();
                beginRecord(true);
            } else if (b == TimestampStart) {
                consumer.groupEnds();
                beginTimestamp();
            } else if (b == BlockEnd) {
                consumer.groupEnds();
                state = State::AfterBlock;
            } else if (isValue(b)) {
                consumer.groupValue(b);
            }
            break;
        case State::AfterBlock:
            if (b == TimestampStart) {
                beginTimestamp();
            } else if (b == RecordStart) {
                beginRecord(true);
            } else {
                consumer.groupBegins(implant, latestRecord);
                if (isValue(b))
                    consumer.groupValue(b);
                state = State::InGroup;
            }
            break;
        case State::InTimestamp:
            if (b == BlockEnd) {
                if (const auto time = timestamp(stamp, stampCount))
                    current = *time;
                state = State::AfterBlock;
            } else if (stampCount < 6) {
                stamp[static_cast<std::size_t>(stampCount++)] = (b >> 4) * 10 + (b & 0x0F);
            }
            break;
        case State::Initial:
            if (b == RecordStart)
                beginRecord(false);
            else if (b == TimestampStart)
                beginTimestamp();
            else if (b == BlockEnd)
                state = State::AfterBlock;
            break;
        }
    }
    consumer.endOfStream();
}
