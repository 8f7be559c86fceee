#include "logger/LoggerSettingsForm.h"

#include "logger/LoggerStatus.h"

#include <algorithm>

void LoggerSettingsForm::applyStatus(const LoggerStatus& status)
{
    validPackets = status.validPackets();
    invalidPackets = status.invalidPackets();
    noPackets = status.noPackets();
    syncLosses = status.syncLosses();
    if (const auto value = status.clock())
        clock = *value;
    if (const auto value = status.loggingStart())
        loggingStart = *value;
    vhfStart = status.vhfStart();
    vhfStop = status.vhfStop();
    loggerId = status.loggerId();
    implantId = status.implantId();
    usedMemoryPercent = status.usedMemoryPercent();
    intervalSeconds = status.intervalSeconds();
    threshold = status.headThreshold();
    firmwareRevision = status.firmwareRevision();
    hardwareRevision = status.hardwareRevision();
    for (std::size_t i = 0; i < days.size(); ++i)
        days[i] = (status.dayMask() >> i) & 1U;
    for (std::size_t i = 0; i < months.size(); ++i)
        months[i] = (status.monthMask() >> i) & 1U;
    loggingLamp = status.loggingOn() ? Lamp::Green : Lamp::Red;
    implantLamp = status.implantLocked() ? Lamp::Green : Lamp::Red;
    vhfDisabled = status.vhfDisabled();
}

std::uint8_t LoggerSettingsForm::dayMask() const
{
    if (vhfDisabled)
        return 0;
    std::uint8_t mask = 0;
    for (std::size_t i = 0; i < days.size(); ++i)
        mask |= static_cast<std::uint8_t>(days[i] ? 1U << i : 0U);
    return mask;
}

std::uint16_t LoggerSettingsForm::monthMask() const
{
    if (vhfDisabled)
        return 0;
    std::uint16_t mask = 0;
    for (std::size_t i = 0; i < months.size(); ++i)
        mask |= static_cast<std::uint16_t>(months[i] ? 1U << i : 0U);
    return mask;
}

LoggerSettings LoggerSettingsForm::settingsToWrite() const
{
    return LoggerSettings{implantId,   loggerId, intervalSeconds, dayMask(),
                          monthMask(), vhfStart, vhfStop};
}

int LoggerSettingsForm::clampLoggerId(int value)
{
    return std::clamp(value, 0, MaxLoggerId);
}

int LoggerSettingsForm::clampImplantId(int value)
{
    return std::clamp(value, 0, MaxImplantId);
}

int LoggerSettingsForm::intervalAfterEdit(int seconds)
{
    // Integer division rounds toward zero, so a negative entry lands on 0
    // after the clamp either way.
    return std::clamp(seconds / 15 * 15, 0, MaxIntervalSeconds);
}

int LoggerSettingsForm::intervalAfterArrow(int seconds, int step)
{
    return std::clamp(seconds / 15 * 15 + 15 * step, 0, MaxIntervalSeconds);
}
