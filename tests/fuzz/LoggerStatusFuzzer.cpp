// Arbitrary bytes as a logger's reply to the status command, through the
// decoders, the status report text and its file name, and the settings form
// that the dialog fills from it. Besides not crashing: every derived value
// stays in its range, the texts come through unchanged, and settings read and
// written back unedited give the logger what it had.

#include "logger/LoggerCommands.h"
#include "logger/LoggerSettingsForm.h"
#include "logger/LoggerStatus.h"
#include "logger/StatusReport.h"
#include "tests/fuzz/FuzzSupport.h"

#include <QByteArray>

#include <algorithm>
#include <cmath>

using FuzzSupport::check;

namespace {

// The text field as it stands in the block: up to the first zero byte.
QByteArray rawText(const LoggerStatus& status, std::size_t offset)
{
    const auto* begin = reinterpret_cast<const char*>(status.bytes().data() + offset);
    const auto* end = std::find(begin, begin + 10, '\0');
    return QByteArray(begin, end - begin);
}

bool validBcd(std::uint8_t byte)
{
    return (byte >> 4) <= 9 && (byte & 0x0F) <= 9;
}

void checkDecoders(const LoggerStatus& status)
{
    const float percent = status.usedMemoryPercent();
    check(std::isfinite(percent) && percent >= 0.0F, "the used memory is a positive percentage");
    check(status.intervalSeconds() >= 0 &&
              status.intervalSeconds() <= LoggerSettingsForm::MaxIntervalSeconds &&
              status.intervalSeconds() % 15 == 0,
          "the interval is 0 to 3825 s in steps of 15");
    check(status.capacityBytes() == LoggerStatus::SmallCapacity ||
              status.capacityBytes() == LoggerStatus::LargeCapacity,
          "the capacity is one of the two memory sizes");
    for (const QTime& time :
         {status.clockTime(), status.loggingStartTime(), status.vhfStart(), status.vhfStop()})
        check(time.isValid(), "a decoded time of day is always a real time");
    for (const auto& moment : {status.clock(), status.loggingStart()})
        check(!moment || moment->isValid(), "a decoded date is a real date or none");
    check(status.vhfDisabled() == (status.monthMask() == 0),
          "VHF is off exactly when no month is enabled");
    check(status.firmwareRevision().size() <= 10 && status.hardwareRevision().size() <= 10,
          "a revision text is at most ten characters");
}

void checkReport(const LoggerStatus& status, const LoggerSettingsForm& form)
{
    const QByteArray report = StatusReport::text(status, form.clock, form.loggingStart);
    check(report.startsWith("Logger Status:\r\n"), "the report begins with its title");
    check(report.endsWith(QByteArray("Sync loss count:\t\t\t") +
                          QByteArray::number(status.syncLosses()) + "\r\n"),
          "the report ends with the last counter");
    check(report.contains("FW Rev:\t\t\t\t\t" + rawText(status, 0) + "\r\n") &&
              report.contains("HW Rev:\t\t\t\t\t" + rawText(status, 10) + "\r\n"),
          "the revision texts stand in the report byte for byte");
    const QString name = StatusReport::fileName(status, QDateTime(QDate(2024, 3, 3), QTime(9, 5)));
    check(name == QStringLiteral("StatusLogCollar_ImpID%1LogID%2_2024-03-03_09h05m00s.txt")
                      .arg(status.implantId())
                      .arg(status.loggerId()),
          "the report's file name holds the two IDs and the time");
}

void checkForm(const LoggerStatus& status, const LoggerSettingsForm& before)
{
    LoggerSettingsForm form = before;
    form.applyStatus(status);
    check(form.clock == status.clock().value_or(before.clock) &&
              form.loggingStart == status.loggingStart().value_or(before.loggingStart),
          "a clock or start that names no real date leaves the display as it was");
    check(form.loggerId == status.loggerId() && form.implantId == status.implantId() &&
              form.intervalSeconds == status.intervalSeconds() &&
              form.threshold == status.headThreshold() &&
              form.validPackets == status.validPackets(),
          "the form shows the block's values");

    // Written back unedited, the settings are the logger's own.
    const LoggerSettings settings = form.settingsToWrite();
    check(settings.implantId == status.implantId() && settings.loggerId == status.loggerId() &&
              settings.intervalSeconds == status.intervalSeconds(),
          "IDs and interval go back as they came");
    check(settings.monthMask == (status.monthMask() & 0x0FFF) &&
              settings.dayMask == (status.vhfDisabled() ? 0 : status.dayMask() & 0x7F),
          "the VHF masks go back as they came, without the unused bits");
    for (const auto& [code, time] : {std::pair{std::uint8_t{20}, settings.vhfStart},
                                     std::pair{std::uint8_t{21}, settings.vhfStop}}) {
        const auto command =
            LoggerCommands::vhfCommand(code, settings.dayMask, settings.monthMask, time);
        check(validBcd(command[4]) && validBcd(command[5]) && validBcd(command[6]),
              "a VHF time goes out as decimal digits");
        check(LoggerStatus::decodeTime(command[4], command[6], command[5]) == time,
              "a VHF time read back is the time written");
    }
    checkReport(status, form);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const LoggerStatus status(std::span(data, size));
    const std::size_t used = std::min(size, LoggerStatus::Size);
    check(std::equal(data, data + used, status.bytes().begin()) &&
              std::all_of(status.bytes().begin() + static_cast<long>(used), status.bytes().end(),
                          [](std::uint8_t b) { return b == 0; }),
          "the block holds the reply, and zeros where a short reply ends");
    checkDecoders(status);

    // The form as it opens, and as an earlier read left it.
    checkForm(status, LoggerSettingsForm{});
    LoggerSettingsForm earlier;
    earlier.applyStatus(LoggerStatus(std::span(status.bytes()).subspan(8)));
    checkForm(status, earlier);
    return 0;
}
