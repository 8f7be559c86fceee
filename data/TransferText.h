#pragma once

#include <QString>

#include <cstdint>

// How far a download is, in the words both download dialogs show beside
// their progress bar: "3000 of 20000 bytes · 2390 bytes/s · 7 s left".
class TransferText {
public:
    // The rate is left out while it is not known (0).
    static QString describe(std::uint64_t stored, std::uint64_t total, double bytesPerSecond);
    // "45 s", "3 min 05 s", "1 h 02 min"
    static QString duration(double seconds);
};
