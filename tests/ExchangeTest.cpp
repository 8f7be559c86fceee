#include "link/CommandCode.h"
#include "tests/support/SimulatedBench.h"

#include <gtest/gtest.h>

namespace {

const QString NoLogger = QStringLiteral("No communication, please check connection to logger!");
const QString NoBase = QStringLiteral("No communication, please check connection to base station!");
const QString WantLogger = QStringLiteral("Please connect a logger to use this feature!");
const QString WantBase = QStringLiteral("Please connect a base station to use this feature!");

struct IdentifyCase {
    const char* name;
    bool baseOnCable;
    bool silent;
    DeviceKind expected;
    IdentifyResult result;
    QString message; // empty: none shown
};

} // namespace

TEST(Exchange, IdentifyOutcomesAndTheirMessages)
{
    const IdentifyCase cases[] = {
        {"logger wanted, logger there",
         false,
         false,
         DeviceKind::Logger,
         IdentifyResult::Identified,
         {}},
        {"base wanted, base there",
         true,
         false,
         DeviceKind::BaseStation,
         IdentifyResult::Identified,
         {}},
        {"logger wanted, nothing answers", false, true, DeviceKind::Logger, IdentifyResult::NoReply,
         NoLogger},
        {"base wanted, nothing answers", true, true, DeviceKind::BaseStation,
         IdentifyResult::NoReply, NoBase},
        {"logger wanted, base there", true, false, DeviceKind::Logger, IdentifyResult::WrongDevice,
         WantLogger},
        {"base wanted, logger there", false, false, DeviceKind::BaseStation,
         IdentifyResult::WrongDevice, WantBase},
    };
    for (const IdentifyCase& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedPump pump;
        ScriptedPrompts prompts;
        SimulatedLogger logger;
        SimulatedBaseStation base;
        SimulatedDevice& device = c.baseOnCable ? static_cast<SimulatedDevice&>(base) : logger;
        device.faults().silent = c.silent;
        SimulatedDeviceLink link(device, pump);
        ASSERT_TRUE(link.open(QStringLiteral("sim:test")));
        Exchange exchange(link, pump, prompts);

        EXPECT_EQ(exchange.identify(c.expected), c.result);
        EXPECT_EQ(prompts.messages(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        // One quiet drain wait, the identify command, its reply wait.
        EXPECT_EQ(device.commandLog(), (std::vector<std::vector<std::uint8_t>>{{0x27}}));
        EXPECT_GE(pump.nowMs(), 200);
        EXPECT_LT(pump.nowMs(), 220);
    }
}

TEST(Exchange, IdentifyOnAClosedLinkIsNoCommunication)
{
    LoggerBench bench;
    bench.link.close();
    EXPECT_EQ(bench.exchange.identify(DeviceKind::Logger), IdentifyResult::NoReply);
    EXPECT_EQ(bench.prompts.messages(), QStringList{NoLogger});
    EXPECT_TRUE(bench.device.commandLog().empty());
}

TEST(Exchange, AShortButNonEmptyReplyIsUsedAsItIs)
{
    // Three bytes still carry the echo and the type: identified.
    LoggerBench three;
    three.device.faults().replyLimit = 3;
    EXPECT_EQ(three.exchange.identify(DeviceKind::Logger), IdentifyResult::Identified);
    // Two bytes are an answer, but not a logger's.
    LoggerBench two;
    two.device.faults().replyLimit = 2;
    EXPECT_EQ(two.exchange.identify(DeviceKind::Logger), IdentifyResult::WrongDevice);
    EXPECT_EQ(two.prompts.messages(), QStringList{WantLogger});
    // A status request answered with 40 of 72 bytes hands back the 40.
    LoggerBench status;
    status.device.faults().replyLimit = 40;
    EXPECT_EQ(status.exchange.request({CommandCode::ReadStatus}, 200, 72).size(), 40u);
}

TEST(Exchange, DrainInputRepeatsUntilAWaitPassesQuietly)
{
    LoggerBench bench;
    // Left-over packets every 60 ms for 1.2 s: shorter gaps than the 100 ms
    // drain wait keep the drain going until they stop.
    bench.device.sendUnsolicited(std::vector<std::uint8_t>(13, 0xA0), 0, 20, 60'000);
    const std::size_t drained = bench.exchange.drainInput(100, 26);
    EXPECT_EQ(drained, 20u * 13u);
    EXPECT_GE(bench.pump.nowMs(), 19 * 60 + 100);
    EXPECT_LT(bench.pump.nowMs(), 19 * 60 + 300);
    EXPECT_EQ(bench.exchange.identify(DeviceKind::Logger), IdentifyResult::Identified);
}

TEST(Exchange, DrainInputGivesUpOnADeviceThatNeverGoesQuiet)
{
    LoggerBench bench;
    // A logger left streaming: a frame every 80 ms, for an hour.
    bench.device.sendUnsolicited(std::vector<std::uint8_t>(13, 0xA0), 0, 45'000, 80'000);
    bench.exchange.drainInput(100, 26);
    EXPECT_GE(bench.pump.nowMs(), Exchange::DrainLimitMs);
    EXPECT_LT(bench.pump.nowMs(), Exchange::DrainLimitMs + 200);
    // The command after it still goes out and is answered.
    bench.device.clearCommandLog();
    EXPECT_FALSE(bench.exchange.request({CommandCode::Identify}, 100, 4).empty());
    EXPECT_EQ(bench.device.commandLog().size(), 1u);
}

TEST(Exchange, DrainInputStopsAtTheFirstQuietWaitEvenIfMoreComesLater)
{
    LoggerBench bench;
    bench.device.sendUnsolicited({1, 2, 3}, 50'000);
    bench.device.sendUnsolicited({4, 5, 6}, 400'000);
    EXPECT_EQ(bench.exchange.drainInput(100, 26), 3u);
    // Two waits, and two reads that each gave up after 3 ms.
    EXPECT_EQ(bench.pump.nowMs(), 2 * 100 + 2 * 3);
    // Bytes longer than a chunk take several reads.
    LoggerBench big;
    big.device.sendUnsolicited(std::vector<std::uint8_t>(100, 0x55), 0);
    EXPECT_EQ(big.exchange.drainInput(100, 26), 100u);
}

TEST(Exchange, StaleBytesBeforeIdentifyAreDrainedAway)
{
    LoggerBench bench;
    // A surveillance packet and a stray identify reply still on the line.
    bench.device.sendUnsolicited({0xA0, 0x27, 0x02, 0x00, 0xA0, 0x11}, 20'000);
    EXPECT_EQ(bench.exchange.identify(DeviceKind::Logger), IdentifyResult::Identified);
    EXPECT_TRUE(bench.prompts.messages().isEmpty());
}

TEST(Exchange, UnpluggingDuringAnExchangeGivesNoCommunication)
{
    BaseBench bench;
    bench.device.faults().unplugOnCommand = CommandCode::Identify;
    EXPECT_EQ(bench.exchange.identify(DeviceKind::BaseStation), IdentifyResult::NoReply);
    EXPECT_EQ(bench.prompts.messages(), QStringList{NoBase});
    EXPECT_FALSE(bench.link.isOpen());
    EXPECT_FALSE(bench.link.open(QStringLiteral("sim:test")));
}

TEST(Exchange, AClickInsideAWaitRunsItsOwnExchangeNested)
{
    // While one exchange waits for its reply, a second button press runs a
    // complete identify of its own; the first then reads its reply, which
    // the second one's drain has already taken away.
    LoggerBench bench;
    IdentifyResult nested = IdentifyResult::NoReply;
    bench.pump.at(150, [&] { nested = bench.exchange.identify(DeviceKind::Logger); });
    bench.exchange.drainInput(100, 26);
    const auto reply = bench.exchange.request({CommandCode::ReadStatus}, 200, 72);
    EXPECT_EQ(nested, IdentifyResult::Identified);
    EXPECT_TRUE(reply.empty());
    EXPECT_EQ(bench.device.commandLog(), (std::vector<std::vector<std::uint8_t>>{
                                             {CommandCode::ReadStatus}, {CommandCode::Identify}}));
}
