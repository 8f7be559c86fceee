#pragma once

#include "logger/LoggerCommands.h"

#include <QDateTime>
#include <QString>
#include <QTime>

#include <array>
#include <cstdint>

class LoggerStatus;

// The values the settings dialog holds and shows, as a read fills them and a
// write takes them.
struct LoggerSettingsForm {
    // Grey: green in the disabled (grey) mode; GreyRed: red in that mode.
    enum class Lamp { Grey, GreyRed, Red, Green };

    static constexpr int MaxLoggerId = 255;
    static constexpr int MaxImplantId = 63;
    static constexpr int MaxIntervalSeconds = 3825;

    int loggerId = 0;
    int implantId = 0;
    int intervalSeconds = 0;
    float usedMemoryPercent = 0;
    std::int16_t threshold = 0;
    std::uint32_t validPackets = 0;
    std::uint32_t invalidPackets = 0;
    std::uint32_t noPackets = 0;
    std::uint32_t syncLosses = 0;
    QString firmwareRevision;
    QString hardwareRevision;
    QDateTime clock{QDate(2000, 1, 1), QTime(0, 0, 0)};
    QDateTime loggingStart{QDate(2000, 1, 1), QTime(0, 0, 0)};
    QTime vhfStart{0, 0, 0};
    QTime vhfStop{23, 59, 59};
    bool vhfDisabled = false;
    std::array<bool, 7> days{};    // Monday to Sunday
    std::array<bool, 12> months{}; // January to December
    Lamp loggingLamp = Lamp::Grey;
    Lamp implantLamp = Lamp::Grey;

    // Fills every field from a status block. A clock or start that names no
    // real date leaves those fields as they were.
    void applyStatus(const LoggerStatus& status);

    [[nodiscard]] std::uint8_t dayMask() const;
    [[nodiscard]] std::uint16_t monthMask() const;
    [[nodiscard]] LoggerSettings settingsToWrite() const;

    // Field edits: IDs are clamped into range; the interval comes down to a
    // multiple of 15 and into 0..3825; an arrow click moves it one step.
    static int clampLoggerId(int value);
    static int clampImplantId(int value);
    static int intervalAfterEdit(int seconds);
    static int intervalAfterArrow(int seconds, int step);
};
