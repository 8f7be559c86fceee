#pragma once

#include "logger/LoggerStatus.h"

#include <QByteArray>

#include <cstdint>
#include <span>

// Loaded data: the logger's 72-byte status block followed by its N data
// bytes, held once, exactly as they came.
class DataDocument {
public:
    static constexpr std::size_t HeaderSize = LoggerStatus::Size;

    DataDocument() = default;
    // `bytes` holds the header and the data stream.
    explicit DataDocument(QByteArray bytes) : m_bytes(std::move(bytes)) {}

    [[nodiscard]] bool isEmpty() const { return m_bytes.isEmpty(); }
    [[nodiscard]] const QByteArray& bytes() const { return m_bytes; }
    [[nodiscard]] std::size_t size() const { return static_cast<std::size_t>(m_bytes.size()); }
    [[nodiscard]] LoggerStatus header() const;
    [[nodiscard]] std::span<const std::uint8_t> stream() const;
    // The implant ID every record and group carries.
    [[nodiscard]] int implantId() const;
    [[nodiscard]] int intervalSeconds() const;

private:
    QByteArray m_bytes;
};
