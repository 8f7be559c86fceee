#include "logger/LoggerStatus.h"

#include <gtest/gtest.h>

namespace {
LoggerStatus with(std::initializer_list<std::pair<std::size_t, std::uint8_t>> bytes)
{
    std::array<std::uint8_t, LoggerStatus::Size> block{};
    for (const auto& [offset, value] : bytes)
        block[offset] = value;
    return LoggerStatus(block);
}
} // namespace

TEST(LoggerStatus, AllZeroBlock)
{
    const LoggerStatus zero = with({});
    EXPECT_TRUE(zero.firmwareRevision().isEmpty());
    EXPECT_TRUE(zero.hardwareRevision().isEmpty());
    EXPECT_EQ(zero.usedMemoryPercent(), 0.0F);
    EXPECT_EQ(zero.intervalSeconds(), 0);
    EXPECT_FALSE(zero.clock().has_value()); // month 0: displays keep what they showed
    EXPECT_FALSE(zero.loggingStart().has_value());
    EXPECT_EQ(zero.vhfStart(), QTime(0, 0, 0));
    EXPECT_EQ(zero.vhfStop(), QTime(0, 0, 0));
    EXPECT_TRUE(zero.vhfDisabled());
    EXPECT_EQ(zero.validPackets(), 0u);
    EXPECT_FALSE(zero.loggingOn());
    EXPECT_FALSE(zero.implantLocked());
}

TEST(LoggerStatus, CapacityFollowsTheSelectorDigits)
{
    const struct {
        std::uint8_t b4, b5;
        std::uint32_t capacity;
    } cases[] = {{0, 2, 33'552'432}, {0, 3, 67'104'864}, {1, 0, 67'104'864}, {0, 0, 33'552'432}};
    for (const auto& c : cases)
        EXPECT_EQ(with({{4, c.b4}, {5, c.b5}}).capacityBytes(), c.capacity)
            << int(c.b4) << int(c.b5);
}

TEST(LoggerStatus, DerivedValues)
{
    // 16,776,216 of 33,552,432 bytes.
    EXPECT_FLOAT_EQ(with({{20, 0x18}, {21, 0xFC}, {22, 0xFF}, {23, 0x00}}).usedMemoryPercent(),
                    50.0F);
    // The count is unsigned: 2^31 and more never turns negative.
    EXPECT_GT(with({{23, 0x80}}).usedMemoryPercent(), 6000.0F);
    EXPECT_EQ(with({{48, 255}}).intervalSeconds(), 3825);
    EXPECT_EQ(with({{48, 4}}).intervalSeconds(), 60);
    EXPECT_EQ(with({{44, 0x38}, {45, 0xFF}}).headThreshold(), -200);
    EXPECT_TRUE(with({{50, 0x81}}).loggingOn());
    EXPECT_TRUE(with({{50, 0x81}}).implantLocked());
    EXPECT_EQ(with({{68, 0x01}, {69, 0x02}, {70, 0x03}, {71, 0x04}}).validPackets(), 0x04030201u);
}

TEST(LoggerStatus, ClockAndItsRangeRules)
{
    const LoggerStatus end =
        with({{25, 0x59}, {26, 0x59}, {27, 0x23}, {28, 0x31}, {29, 0x12}, {30, 0x99}});
    ASSERT_TRUE(end.clock().has_value());
    EXPECT_EQ(*end.clock(), QDateTime(QDate(2099, 12, 31), QTime(23, 59, 59)));

    // Hours 24: the time becomes 00:00:00, the date stays.
    const LoggerStatus badHour =
        with({{25, 0x10}, {26, 0x20}, {27, 0x24}, {28, 0x15}, {29, 0x06}, {30, 0x24}});
    EXPECT_EQ(*badHour.clock(), QDateTime(QDate(2024, 6, 15), QTime(0, 0, 0)));

    // 30 February passes the range rule but is no date: no value at all.
    EXPECT_FALSE(with({{28, 0x30}, {29, 0x02}, {30, 0x24}}).clock().has_value());
    // Year 0xA0 reads as 100: out of range, so the whole date is dropped.
    EXPECT_FALSE(with({{28, 0x01}, {29, 0x01}, {30, 0xA0}}).clock().has_value());

    // No digit check: 0x1F is 25, a valid minute.
    EXPECT_EQ(LoggerStatus::bcd(0x1F), 25);
    EXPECT_EQ(with({{26, 0x1F}, {27, 0x10}, {28, 0x01}, {29, 0x01}, {30, 0x24}}).clockTime(),
              QTime(10, 25, 0));
}

TEST(LoggerStatus, VhfTimesRunHoursSecondsMinutes)
{
    const LoggerStatus status = with({{35, 0x06},
                                      {36, 0x30},
                                      {37, 0x15},
                                      {41, 0x18},
                                      {42, 0x05},
                                      {43, 0x45},
                                      {32, 0x7F},
                                      {33, 0x00},
                                      {34, 0x08}});
    EXPECT_EQ(status.vhfStart(), QTime(6, 15, 30));
    EXPECT_EQ(status.vhfStop(), QTime(18, 45, 5));
    EXPECT_EQ(status.dayMask(), 0x7F);
    EXPECT_EQ(status.monthMask(), 0x0800); // December only
    EXPECT_FALSE(status.vhfDisabled());
    EXPECT_TRUE(with({{32, 0x7F}}).vhfDisabled()); // no months: disabled whatever the days say
}

TEST(LoggerStatus, RevisionTextsEndAtZeroOrFieldEnd)
{
    std::array<std::uint8_t, LoggerStatus::Size> block{};
    const char fw[] = "V3.1";
    std::copy(fw, fw + 4, block.begin());
    const char hw[] = "HWREV12345"; // fills all ten bytes
    std::copy(hw, hw + 10, block.begin() + 10);
    const LoggerStatus status(block);
    EXPECT_EQ(status.firmwareRevision(), QStringLiteral("V3.1"));
    EXPECT_EQ(status.hardwareRevision(), QStringLiteral("HWREV12345"));
    // A short reply leaves the rest zero.
    const std::uint8_t shortReply[] = {'A', 'B'};
    EXPECT_EQ(LoggerStatus(shortReply).firmwareRevision(), QStringLiteral("AB"));
}
