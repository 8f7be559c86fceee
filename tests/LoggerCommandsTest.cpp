#include "logger/LoggerCommands.h"
#include "link/CommandCode.h"
#include "logger/LoggerStatus.h"
#include "tests/support/RecordingLink.h"
#include "tests/support/SimulatedBench.h"

#include <gtest/gtest.h>

using Bytes = std::vector<std::uint8_t>;

TEST(LoggerCommands, ClockCommandCarriesBcdFieldsAndTheWeekday)
{
    // 09:05:07 on Sunday 3 March 2024.
    const auto command = LoggerCommands::clockCommand(QDateTime(QDate(2024, 3, 3), QTime(9, 5, 7)));
    EXPECT_EQ(Bytes(command.begin(), command.end()),
              (Bytes{0x13, 0x24, 0x03, 0x03, 0x09, 0x00, 0x07, 0x05}));
    // Saturday is 6, and two-digit fields are BCD.
    const auto saturday =
        LoggerCommands::clockCommand(QDateTime(QDate(2025, 12, 27), QTime(23, 59, 58)));
    EXPECT_EQ(Bytes(saturday.begin(), saturday.end()),
              (Bytes{0x13, 0x25, 0x27, 0x12, 0x23, 0x06, 0x58, 0x59}));
}

TEST(LoggerCommands, WriteSettingsSendsTheWholeSequencePaced)
{
    LoggerBench bench;
    RecordingLink link(bench.link, bench.pump);
    Exchange exchange(link, bench.pump, bench.prompts);
    LoggerCommands commands(exchange);
    LoggerSettings settings;
    settings.implantId = 5;
    settings.loggerId = 200;
    settings.intervalSeconds = 100; // 6 steps, the rest dropped
    settings.dayMask = 0x1F;
    settings.monthMask = 0x0A05;
    settings.vhfStart = QTime(6, 30, 15);
    settings.vhfStop = QTime(18, 0, 45);
    commands.writeSettings(settings, QDateTime(QDate(2024, 3, 3), QTime(9, 5, 7)));

    const std::vector<RecordingLink::Write> expected{
        {0, {0x13, 0x24, 0x03, 0x03, 0x09, 0x00, 0x07, 0x05}},
        {50, {0x14, 0x1F, 0x05, 0x0A, 0x06, 0x15, 0x30, 0x00}},
        {60, {0x15, 0x1F, 0x05, 0x0A, 0x18, 0x45, 0x00, 0x00}},
        {70, {0x17, 5}},
        {80, {0x1B, 200}},
        {90, {0x1D, 6}},
        {100, {0x1A, 0x01}},
    };
    EXPECT_EQ(link.writes(), expected);

    // The simulated logger takes them over: a status read shows them.
    const LoggerStatus status(commands.readStatus());
    EXPECT_EQ(status.implantId(), 5);
    EXPECT_EQ(status.loggerId(), 200);
    EXPECT_EQ(status.intervalSeconds(), 90);
    EXPECT_EQ(status.vhfStart(), QTime(6, 30, 15));
    EXPECT_EQ(status.vhfStop(), QTime(18, 0, 45));
    EXPECT_EQ(status.monthMask(), 0x0A05);
    EXPECT_EQ(status.clock()->date(), QDate(2024, 3, 3));
}

TEST(LoggerCommands, ReadStatusDrainsFirstAndReportsSilence)
{
    LoggerBench bench;
    bench.device.sendUnsolicited({0xA0, 1, 2, 3}, 10'000);
    LoggerCommands commands(bench.exchange);
    EXPECT_EQ(commands.readStatus(32).size(), 72u);
    bench.device.faults().silent = true;
    EXPECT_TRUE(commands.readStatus().empty());
}
