#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// CRC-16/MCRF4XX, the check the base station puts on the frames it relays
// from a logger: polynomial 0x1021 taken least significant bit first (the
// reflected 0x8408), register preset to 0xFFFF, no final XOR. The check
// value over "123456789" is 0x6F91.
class Crc16 {
public:
    static constexpr std::uint16_t Initial = 0xFFFF;
    static constexpr std::uint16_t ReflectedPolynomial = 0x8408;

    // The 256 entries the byte-wise update looks up; entry 1 is 0x1189.
    static const std::array<std::uint16_t, 256>& table();

    // Runs the register from `initial` over the first `length` bytes (at most
    // all of them): crc = (crc >> 8) ^ table[(crc ^ byte) & 0xFF].
    static std::uint16_t compute(std::span<const std::uint8_t> bytes, std::uint16_t initial,
                                 std::size_t length);
    static std::uint16_t compute(std::span<const std::uint8_t> bytes)
    {
        return compute(bytes, Initial, bytes.size());
    }

    // A frame passes when it has exactly `length` bytes and the CRC over all
    // of them, its own two CRC bytes included, comes out 0: the sender
    // appended the CRC of the bytes before, low byte first.
    static bool frameIsValid(std::span<const std::uint8_t> frame, std::size_t length);

    // Appends the CRC of `bytes`, low byte first, as the base station does.
    static void append(std::vector<std::uint8_t>& bytes);
};
