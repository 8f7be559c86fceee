#pragma once

#include "data/DataDocument.h"

#include <QByteArray>

#include <cstdint>
#include <initializer_list>
#include <vector>

// Builds logger data streams and documents for the tests, block by block.
class StreamBuilder {
public:
    StreamBuilder& timestamp(int second, int minute, int hour, int day, int month, int year)
    {
        m_bytes.push_back(0xA1);
        for (int v : {second, minute, hour, day, month, year})
            m_bytes.push_back(static_cast<std::uint8_t>((v / 10) * 16 + v % 10));
        m_bytes.push_back(0xAA);
        return *this;
    }
    StreamBuilder& rawTimestamp(std::initializer_list<std::uint8_t> bcd)
    {
        m_bytes.push_back(0xA1);
        m_bytes.insert(m_bytes.end(), bcd);
        m_bytes.push_back(0xAA);
        return *this;
    }
    StreamBuilder& record(int bodyRaw, int collarRaw, int activity, int headDown, int changes,
                          std::uint8_t filler = 0x00)
    {
        m_bytes.push_back(0xA0);
        m_bytes.push_back(filler);
        for (int v : {bodyRaw, collarRaw, activity}) {
            m_bytes.push_back(static_cast<std::uint8_t>(v & 0xFF));
            m_bytes.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
        }
        m_bytes.push_back(filler);
        m_bytes.push_back(filler);
        m_bytes.push_back(static_cast<std::uint8_t>(headDown));
        m_bytes.push_back(static_cast<std::uint8_t>(changes));
        m_bytes.push_back(0xAA);
        return *this;
    }
    StreamBuilder& bytes(std::initializer_list<std::uint8_t> raw)
    {
        m_bytes.insert(m_bytes.end(), raw);
        return *this;
    }
    [[nodiscard]] const std::vector<std::uint8_t>& stream() const { return m_bytes; }

    // A document of header + stream, with the implant ID and interval given.
    [[nodiscard]] DataDocument document(int implantId = 12, int intervalSteps = 4) const
    {
        QByteArray bytes(static_cast<qsizetype>(DataDocument::HeaderSize + m_bytes.size()), '\0');
        const auto n = static_cast<std::uint32_t>(m_bytes.size());
        for (int i = 0; i < 4; ++i)
            bytes[20 + i] = static_cast<char>((n >> (8 * i)) & 0xFF);
        bytes[46] = static_cast<char>(implantId);
        bytes[47] = 21;
        bytes[48] = static_cast<char>(intervalSteps);
        std::copy(m_bytes.begin(), m_bytes.end(), bytes.begin() + DataDocument::HeaderSize);
        return DataDocument(bytes);
    }

private:
    std::vector<std::uint8_t> m_bytes;
};
