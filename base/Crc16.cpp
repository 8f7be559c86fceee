#include "base/Crc16.h"

#include <algorithm>

namespace {

constexpr std::array<std::uint16_t, 256> makeTable()
{
    std::array<std::uint16_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint16_t value = static_cast<std::uint16_t>(i);
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 1U) != 0
                        ? static_cast<std::uint16_t>((value >> 1) ^ Crc16::ReflectedPolynomial)
                        : static_cast<std::uint16_t>(value >> 1);
        table[i] = value;
    }
    return table;
}

constexpr std::array<std::uint16_t, 256> Table = makeTable();
static_assert(Table[1] == 0x1189);

} // namespace

const std::array<std::uint16_t, 256>& Crc16::table()
{
    return Table;
}

std::uint16_t Crc16::compute(std::span<const std::uint8_t> bytes, std::uint16_t initial,
                             std::size_t length)
{
    std::uint16_t crc = initial;
    for (const std::uint8_t byte : bytes.first(std::min(length, bytes.size())))
        crc = static_cast<std::uint16_t>((crc >> 8) ^ Table[(crc ^ byte) & 0xFFU]);
    return crc;
}

bool Crc16::frameIsValid(std::span<const std::uint8_t> frame, std::size_t length)
{
    return frame.size() == length && length >= 2 && compute(frame) == 0;
}

void Crc16::append(std::vector<std::uint8_t>& bytes)
{
    const std::uint16_t crc = compute(bytes);
    bytes.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(crc >> 8));
}
