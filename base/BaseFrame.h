#pragma once

#include "logger/LoggerStatus.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// What the base station sends back: the signal that the named logger is
// connected, the logger's status and memory relayed in CRC-checked frames,
// and its own revision texts.
//
//   ConnectedSignal  4 bytes: 0xA0 0xA0, two bytes not interpreted
//   StatusFrame     76 bytes: LoggerStatus (72), 2 not interpreted, CRC (low first)
//   ChunkFrame     102 bytes: 100 memory bytes, CRC (low first)
//   revision        20 bytes: firmware text (10), hardware text (10)
class BaseFrame {
public:
    static constexpr std::uint8_t Marker = 0xA0;
    static constexpr std::size_t ConnectedSignalSize = 4;
    static constexpr std::size_t StatusFrameSize = 76;
    static constexpr std::size_t ChunkDataSize = 100;
    static constexpr std::size_t ChunkFrameSize = ChunkDataSize + 2;
    static constexpr std::size_t RevisionFieldSize = 10;
    static constexpr std::size_t RevisionSize = 2 * RevisionFieldSize;

    // Exactly four bytes, the first two 0xA0.
    static bool isConnectedSignal(std::span<const std::uint8_t> reply);
    // The logger's status from a whole frame whose CRC checks; nothing from
    // a short or damaged one.
    static std::optional<LoggerStatus> statusFromFrame(std::span<const std::uint8_t> reply);
    static bool chunkIsValid(std::span<const std::uint8_t> reply);

    // The frames as the base station builds them.
    static std::vector<std::uint8_t> statusFrame(std::span<const std::uint8_t> status,
                                                 std::uint8_t extra0 = 0, std::uint8_t extra1 = 0);
    static std::vector<std::uint8_t> chunkFrame(std::span<const std::uint8_t> data);

    // A revision field: its text up to the first zero byte or its end.
    static QString revisionText(std::span<const std::uint8_t> field);
};
