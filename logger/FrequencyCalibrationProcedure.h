#pragma once

#include "link/DeviceContext.h"
#include "link/Exchange.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

// Trims a logger's receiver: the calibration log lists the deviations the
// logger measures (33), offsets are added (32) or reset (49) while it runs,
// and the centre frequency and offset are read back (50) while it does not.
class FrequencyCalibrationProcedure {
public:
    struct View {
        // "Exit" (and the hidden "Cancel"), and "Read Offset".
        std::function<void(bool)> setExitEnabled = [](bool) {};
        std::function<void(bool)> setReadOffsetEnabled = [](bool) {};
        std::function<void(const QString&)> setCaption = [](const QString&) {};
        std::function<void(bool)> setAnimation = [](bool) {};
        std::function<void(const QString& line, bool select)> addLine = [](const QString&, bool) {};
        // The offset field's value, or empty after the field's own message.
        std::function<std::optional<int>()> takeOffset = [] { return std::optional<int>(0); };
    };

    FrequencyCalibrationProcedure(DeviceContext context, View view);

    void startStopClick();
    void addOffset();
    void resetOffset();
    void readOffset();
    [[nodiscard]] bool running() const { return m_running; }

    // A report's deviation: the low five bits as a signed number, x 2.5 kHz.
    static double deviationKHz(std::uint8_t firstByte);
    static float centreMHz(std::uint16_t wordA);
    static double offsetKHz(std::uint16_t wordA, std::uint16_t wordB);

private:
    bool loggerReady();
    bool changeFrequency(const QString& line, std::initializer_list<std::uint8_t> command,
                         std::size_t reply);
    void enableIdleButtons();

    DeviceContext m_context;
    View m_view;
    Exchange m_exchange;
    bool m_running = false;
};
