#include "logger/SurveillanceReader.h"
#include "tests/support/SimulatedBench.h"

#include <gtest/gtest.h>

namespace {

const QDateTime Noon(QDate(2024, 4, 5), QTime(14, 3, 9));
using Bytes = std::vector<std::uint8_t>;
const Bytes BtFrame{0xA0, 0x00, 0x00, 0x25, 0x00, 0x15, 0x2C, 0x01, 0x00, 0x00, 0x05, 0x03, 0xAA};

// Bytes that reach the port at given times, and a reader polling as the
// surveillance loop does.
struct ReaderBench : LoggerBench {
    SurveillanceReader reader{link, pump};
    QStringList pollFor(std::int64_t ms)
    {
        QStringList lines;
        const std::int64_t end = pump.nowMs() + ms;
        while (pump.nowMs() < end) {
            pump.wait(1);
            lines += reader.poll();
        }
        return lines;
    }
};

} // namespace

TEST(SurveillanceReader, PacketFramesGiveBtOrLgLines)
{
    EXPECT_EQ(
        SurveillanceReader::packetLine(std::span<const std::uint8_t, 13>(BtFrame.data(), 13), Noon),
        QStringLiteral("BT: 2024-04-05 14:03:09, 37.00, 21.00, 300, 5, 3"));
    for (const std::uint8_t bodyHigh : {std::uint8_t{0x00}, std::uint8_t{0x80}}) {
        Bytes lg = BtFrame;
        lg[2] = 0x00;
        lg[3] = bodyHigh; // zero, or negative
        EXPECT_EQ(
            SurveillanceReader::packetLine(std::span<const std::uint8_t, 13>(lg.data(), 13), Noon),
            QStringLiteral("LG: 2024-04-05 14:03:09,, 21.00, 300, 5, 3"));
    }
    Bytes fraction = BtFrame;
    fraction[2] = 0x80; // 37.5
    fraction[4] = 0x01; // 21 + 1/256 = 21.0039 -> 21.00
    EXPECT_TRUE(
        SurveillanceReader::packetLine(std::span<const std::uint8_t, 13>(fraction.data(), 13), Noon)
            .startsWith(QStringLiteral("BT: 2024-04-05 14:03:09, 37.50, 21.00,")));
}

TEST(SurveillanceReader, HeartRateReadsOfDifferentSizes)
{
    const struct {
        std::size_t bytes;
        int lines;
    } cases[] = {{16, 4}, {6, 1}, {3, 0}, {8, 2}};
    for (const auto& c : cases) {
        ReaderBench bench;
        Bytes beats(c.bytes);
        for (std::size_t i = 0; i < beats.size(); ++i)
            beats[i] = static_cast<std::uint8_t>(0x4B + i);
        bench.device.sendUnsolicited(beats, 1000);
        const QStringList lines = bench.pollFor(50);
        EXPECT_EQ(lines.size(), c.lines) << c.bytes;
        if (c.lines > 0) {
            EXPECT_TRUE(lines.front().endsWith(QStringLiteral(", 75, 76, 77, 78")))
                << lines.front().toStdString();
        }
    }
}

TEST(SurveillanceReader, AFrameSplitAcrossReadsGivesOneLineAndNoStaleBytes)
{
    ReaderBench bench;
    // First a complete LG frame, so the buffer holds old bytes...
    Bytes old = BtFrame;
    old[2] = 0;
    old[3] = 0;
    old[11] = 9;
    bench.device.sendUnsolicited(old, 1000);
    // ...then a BT frame whose second half comes 20 ms after its first.
    bench.device.sendUnsolicited(Bytes(BtFrame.begin(), BtFrame.begin() + 5), 100'000);
    bench.device.sendUnsolicited(Bytes(BtFrame.begin() + 5, BtFrame.end()), 120'000);
    const QStringList lines = bench.pollFor(300);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("LG:")));
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral(", 5, 9")));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(", 37.00, 21.00, 300, 5, 3")))
        << lines[1].toStdString();
}

TEST(SurveillanceReader, AFrameWhoseRestNeverComesIsDropped)
{
    ReaderBench bench;
    bench.device.sendUnsolicited(Bytes(BtFrame.begin(), BtFrame.begin() + 6), 1000);
    bench.device.sendUnsolicited({60, 61, 62, 63}, 400'000); // later heart-rate bytes
    const QStringList lines = bench.pollFor(600);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("HB:")));
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral(", 60, 61, 62, 63")));
}
