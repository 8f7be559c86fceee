#include "link/CommandCode.h"
#include "tests/support/SimulatedBench.h"

#include <gtest/gtest.h>

namespace {
std::vector<std::uint8_t> readAll(SimulatedDevice& device, std::int64_t atUs)
{
    std::vector<std::uint8_t> bytes(1024);
    bytes.resize(device.read(bytes, atUs));
    return bytes;
}
} // namespace

TEST(SimulatedDevice, RepliesLeaveAtTheLineRateAfterTheResponseDelay)
{
    SimulatedLogger logger;
    logger.setResponseDelayUs(2000);
    const std::uint8_t status[] = {CommandCode::ReadStatus};
    logger.receive(status, 0);
    // One byte time for the command to arrive, 2 ms to answer, then 72
    // bytes at 5760 bytes/s: 12.5 ms on the line.
    EXPECT_EQ(logger.available(2000), 0u);
    EXPECT_EQ(logger.available(2173 + 5000), 28u);
    EXPECT_EQ(logger.available(2173 + 12'499), 71u);
    EXPECT_EQ(logger.available(2173 + 12'500), 72u);
    EXPECT_EQ(readAll(logger, 1'000'000).size(), 72u);
    EXPECT_EQ(logger.available(2'000'000), 0u);
    EXPECT_FALSE(logger.nextArrivalUs(2'000'000).has_value());
}

TEST(SimulatedDevice, RepliesQueueBehindEachOtherOnTheLine)
{
    SimulatedBaseStation base;
    base.setResponseDelayUs(0);
    const std::uint8_t identify[] = {CommandCode::Identify};
    base.receive(identify, 0);
    base.receive(identify, 0);
    // Eight bytes, one byte time apart after the command has come in.
    EXPECT_EQ(base.available(173 + 4 * 174), 4u);
    EXPECT_EQ(readAll(base, 10'000), (std::vector<std::uint8_t>{0, 39, 2, 0, 0, 39, 2, 0}));
}

TEST(SimulatedDevice, CommandsSplitAcrossWritesAreJoinedAndJunkIsSkipped)
{
    SimulatedLogger logger;
    const std::uint8_t junk[] = {0x00, 0xFF, 0x99};
    const std::uint8_t clockStart[] = {CommandCode::SetClock, 0x24, 0x03};
    const std::uint8_t clockRest[] = {0x03, 0x09, 0x00, 0x07, 0x05};
    logger.receive(junk, 0);
    logger.receive(clockStart, 1000);
    logger.receive(clockRest, 2000);
    EXPECT_EQ(logger.commandLog(),
              (std::vector<std::vector<std::uint8_t>>{
                  {CommandCode::SetClock, 0x24, 0x03, 0x03, 0x09, 0x00, 0x07, 0x05}}));
}

TEST(SimulatedDevice, AnAbandonedCommandDoesNotSwallowTheNextOne)
{
    SimulatedLogger logger;
    const std::uint8_t partial[] = {CommandCode::SetClock, 0x24};
    const std::uint8_t identify[] = {CommandCode::Identify};
    logger.receive(partial, 0);
    logger.receive(identify, 500'000);
    EXPECT_EQ(logger.commandLog(),
              (std::vector<std::vector<std::uint8_t>>{{CommandCode::Identify}}));
    EXPECT_EQ(readAll(logger, 1'000'000).size(), 4u);
}

TEST(SimulatedDevice, StatusCarriesTheRunningClock)
{
    SimulatedLogger logger;
    logger.setClock(QDateTime(QDate(2099, 12, 31), QTime(23, 59, 58)), 0);
    const std::uint8_t status[] = {CommandCode::ReadStatus};
    logger.receive(status, 1'500'000);
    const auto block = readAll(logger, 2'000'000);
    ASSERT_EQ(block.size(), 72u);
    EXPECT_EQ((std::vector<std::uint8_t>(block.begin() + 25, block.begin() + 31)),
              (std::vector<std::uint8_t>{0x59, 0x59, 0x23, 0x31, 0x12, 0x99}));
    EXPECT_EQ(block[47], 12); // logger ID of the typical block
}

TEST(SimulatedDevice, FaultsCutStallAndCorruptReplies)
{
    const std::uint8_t status[] = {CommandCode::ReadStatus};
    const SimulatedLogger::StatusBlock typical = SimulatedLogger::typicalStatus();

    SimulatedLogger cut;
    cut.faults().replyLimit = 10;
    cut.receive(status, 0);
    EXPECT_EQ(readAll(cut, 1'000'000).size(), 10u);

    SimulatedLogger stalled;
    stalled.faults().stallAfterBytes = 100;
    stalled.receive(status, 0);
    stalled.receive(status, 100'000);
    stalled.receive(status, 200'000);
    EXPECT_EQ(readAll(stalled, 1'000'000).size(), 100u);

    SimulatedLogger corrupt;
    corrupt.faults().corruptReplies = 1;
    corrupt.faults().corruptByteIndex = 47;
    corrupt.receive(status, 0);
    corrupt.receive(status, 100'000);
    const auto first = readAll(corrupt, 1'000'000);
    ASSERT_EQ(first.size(), 144u);
    EXPECT_EQ(first[47], static_cast<std::uint8_t>(typical[47] ^ 0xFF));
    EXPECT_EQ(first[72 + 47], typical[47]); // only the one reply

    SimulatedLogger silent;
    silent.faults().silent = true;
    silent.receive(status, 0);
    EXPECT_TRUE(readAll(silent, 1'000'000).empty());
    EXPECT_EQ(silent.commandLog().size(), 1u); // it heard the command all the same
}

TEST(SimulatedDeviceLink, AShortReadReturnsWhatCameWithinAboutThreeMilliseconds)
{
    LoggerBench bench;
    bench.device.faults().stallAfterBytes = 40;
    bench.exchange.write({CommandCode::ReadStatus});
    bench.pump.wait(200);
    const std::int64_t before = bench.pump.nowUs();
    EXPECT_EQ(bench.exchange.read(72).size(), 40u);
    EXPECT_EQ(bench.pump.nowUs() - before, SimulatedDeviceLink::ReadTimeoutUs);
}

TEST(SimulatedDeviceLink, AReadWaitsForBytesStillOnTheLine)
{
    // Asked right after the reply starts, a read collects the bytes that
    // arrive during its 3 ms and no more.
    LoggerBench bench;
    bench.device.setResponseDelayUs(0);
    bench.exchange.write({CommandCode::ReadStatus});
    bench.pump.block(174);
    const auto first = bench.exchange.read(72);
    EXPECT_GE(first.size(), 16u);
    EXPECT_LE(first.size(), 18u);
    bench.pump.wait(50);
    EXPECT_EQ(first.size() + bench.exchange.read(72).size(), 72u);
}

TEST(SimulatedDeviceLink, ClosedLinkReadsNothingAndWritesNothing)
{
    LoggerBench bench;
    bench.link.close();
    std::uint8_t buffer[8]{};
    EXPECT_EQ(bench.link.read(buffer), 0u);
    bench.exchange.write({CommandCode::Identify});
    EXPECT_TRUE(bench.device.commandLog().empty());
    EXPECT_EQ(bench.pump.nowUs(), 0); // a closed read does not wait either
}
