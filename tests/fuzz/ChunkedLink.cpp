#include "tests/fuzz/ChunkedLink.h"

#include "sim/SimulatedPump.h"

#include <algorithm>

ChunkedLink::ChunkedLink(std::span<const std::uint8_t> input) : m_input(input) {}

std::optional<int> ChunkedLink::deliverNext()
{
    if (m_inputPos >= m_input.size())
        return std::nullopt;
    const std::uint8_t control = m_input[m_inputPos++];
    const std::size_t count = std::min<std::size_t>(control & 0x1F, m_input.size() - m_inputPos);
    // What has been read is dropped before more arrives, so the buffer holds
    // only what is waiting.
    m_arrived.erase(m_arrived.begin(), m_arrived.begin() + static_cast<long>(m_readPos));
    m_readPos = 0;
    const auto chunk = m_input.subspan(m_inputPos, count);
    m_arrived.insert(m_arrived.end(), chunk.begin(), chunk.end());
    m_inputPos += count;
    m_delivered += count;
    return AdvanceMs[control >> 5];
}

void ChunkedLink::play(SimulatedPump& pump, const std::function<void()>& poll)
{
    while (const auto pauseMs = deliverNext()) {
        poll();
        pump.advance(*pauseMs);
    }
    for (std::size_t i = 0; buffered() > 0 && i < m_input.size(); ++i) {
        poll();
        pump.advance(1);
    }
}

std::vector<std::uint8_t> ChunkedLink::encode(std::span<const std::uint8_t> bytes,
                                              std::size_t chunk, std::size_t advanceIndex)
{
    chunk = std::clamp<std::size_t>(chunk, 1, MaxChunk);
    const auto pause = static_cast<std::uint8_t>((advanceIndex & 0x07) << 5);
    std::vector<std::uint8_t> out;
    for (std::size_t pos = 0; pos < bytes.size(); pos += chunk) {
        const std::size_t n = std::min(chunk, bytes.size() - pos);
        out.push_back(static_cast<std::uint8_t>(pause | n));
        out.insert(out.end(), bytes.begin() + static_cast<long>(pos),
                   bytes.begin() + static_cast<long>(pos + n));
    }
    return out;
}

bool ChunkedLink::open(const QString& portName)
{
    m_name = portName;
    m_open = true;
    return true;
}

std::size_t ChunkedLink::read(std::span<std::uint8_t> buffer)
{
    if (!m_open)
        return 0;
    const std::size_t n = std::min(buffer.size(), buffered());
    std::copy_n(m_arrived.begin() + static_cast<long>(m_readPos), n, buffer.begin());
    m_readPos += n;
    m_handedOut += n;
    return n;
}

void ChunkedLink::write(std::span<const std::uint8_t>) {}
