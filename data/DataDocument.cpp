#include "data/DataDocument.h"

LoggerStatus DataDocument::header() const
{
    return LoggerStatus(std::span(reinterpret_cast<const std::uint8_t*>(m_bytes.constData()),
                                  std::min<std::size_t>(size(), HeaderSize)));
}

std::span<const std::uint8_t> DataDocument::stream() const
{
    if (size() <= HeaderSize)
        return {};
    return {reinterpret_cast<const std::uint8_t*>(m_bytes.constData()) + HeaderSize,
            size() - HeaderSize};
}

int DataDocument::implantId() const
{
    return size() > 46 ? static_cast<std::uint8_t>(m_bytes[46]) : 0;
}

int DataDocument::intervalSeconds() const
{
    return size() > 48 ? static_cast<std::uint8_t>(m_bytes[48]) * 15 : 0;
}
