#include "base/BaseFrame.h"

#include "base/Crc16.h"

#include <algorithm>

bool BaseFrame::isConnectedSignal(std::span<const std::uint8_t> reply)
{
    return reply.size() == ConnectedSignalSize && reply[0] == Marker && reply[1] == Marker;
}

std::optional<LoggerStatus> BaseFrame::statusFromFrame(std::span<const std::uint8_t> reply)
{
    if (!Crc16::frameIsValid(reply, StatusFrameSize))
        return std::nullopt;
    return LoggerStatus(reply.first(LoggerStatus::Size));
}

bool BaseFrame::chunkIsValid(std::span<const std::uint8_t> reply)
{
    return Crc16::frameIsValid(reply, ChunkFrameSize);
}

std::vector<std::uint8_t> BaseFrame::statusFrame(std::span<const std::uint8_t> status,
                                                 std::uint8_t extra0, std::uint8_t extra1)
{
    std::vector<std::uint8_t> frame(LoggerStatus::Size, 0);
    std::copy_n(status.begin(), std::min(status.size(), LoggerStatus::Size), frame.begin());
    frame.push_back(extra0);
    frame.push_back(extra1);
    Crc16::append(frame);
    return frame;
}

std::vector<std::uint8_t> BaseFrame::chunkFrame(std::span<const std::uint8_t> data)
{
    // Memory beyond what the logger wrote reads as erased flash.
    std::vector<std::uint8_t> frame(ChunkDataSize, 0xFF);
    std::copy_n(data.begin(), std::min(data.size(), ChunkDataSize), frame.begin());
    Crc16::append(frame);
    return frame;
}

QString BaseFrame::revisionText(std::span<const std::uint8_t> field)
{
    const auto limited = field.first(std::min(field.size(), RevisionFieldSize));
    const auto end = std::find(limited.begin(), limited.end(), std::uint8_t{0});
    return QString::fromLatin1(reinterpret_cast<const char*>(limited.data()),
                               static_cast<qsizetype>(end - limited.begin()));
}
