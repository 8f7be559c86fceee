#include "base/BaseFrame.h"
#include "base/BaseReport.h"
#include "base/BaseReportReader.h"
#include "base/Crc16.h"
#include "tests/support/SimulatedBench.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
using Bytes = std::vector<std::uint8_t>;
const QDateTime At(QDate(2024, 4, 5), QTime(14, 3, 9));

Bytes withCrcLowFirst(Bytes bytes)
{
    Crc16::append(bytes);
    return bytes;
}

Bytes withCrcHighFirst(Bytes bytes)
{
    const std::uint16_t crc = Crc16::compute(bytes);
    bytes.push_back(static_cast<std::uint8_t>(crc >> 8));
    bytes.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    return bytes;
}
} // namespace

TEST(Crc16, HasTheCheckValueAndTableOfMcrf4xx)
{
    const char* digits = "123456789";
    const Bytes check(digits, digits + 9);
    EXPECT_EQ(Crc16::compute(check), 0x6F91);
    EXPECT_EQ(Crc16::table()[0], 0x0000);
    EXPECT_EQ(Crc16::table()[1], 0x1189);
    EXPECT_EQ(Crc16::table()[128], 0x8408);
    // The length limits the bytes taken; the initial value is the caller's.
    EXPECT_EQ(Crc16::compute(check, 0xFFFF, 9), Crc16::compute(check, 0xFFFF, 20));
    EXPECT_NE(Crc16::compute(check, 0xFFFF, 8), 0x6F91);
    EXPECT_EQ(Crc16::compute(check, Crc16::compute(check, 0xFFFF, 4), 0),
              Crc16::compute(check, 0xFFFF, 4));
}

TEST(Crc16, AFramePassesOnlyWholeWithItsCrcLowByteFirst)
{
    const Bytes payload{0x10, 0x20, 0x30, 0x40, 0x55};
    struct Case {
        const char* name;
        Bytes frame;
        std::size_t length;
        bool passes;
    };
    // A payload whose CRC has two equal bytes passes either way round.
    Bytes equalBytes;
    for (int i = 0; i < 65536 && equalBytes.empty(); ++i) {
        const Bytes candidate{static_cast<std::uint8_t>(i >> 8), static_cast<std::uint8_t>(i)};
        const std::uint16_t crc = Crc16::compute(candidate);
        if ((crc >> 8) == (crc & 0xFF))
            equalBytes = candidate;
    }
    ASSERT_FALSE(equalBytes.empty());
    Bytes damaged = withCrcLowFirst(payload);
    damaged[2] ^= 0x01;
    Bytes cut = withCrcLowFirst(payload);
    cut.pop_back();
    const Case cases[] = {
        {"low byte first", withCrcLowFirst(payload), 7, true},
        {"high byte first", withCrcHighFirst(payload), 7, false},
        {"equal CRC bytes, high first", withCrcHighFirst(equalBytes), 4, true},
        {"one bit changed", damaged, 7, false},
        {"one byte short", cut, 7, false},
        {"longer than the frame", withCrcLowFirst(payload), 6, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Crc16::frameIsValid(c.frame, c.length), c.passes) << c.name;
}

TEST(BaseFrame, StatusAndChunkFramesCarryTheirCrc)
{
    const auto status = SimulatedLogger::typicalStatus();
    Bytes frame = BaseFrame::statusFrame(status, 0x12, 0x34);
    ASSERT_EQ(frame.size(), 76u);
    EXPECT_EQ(frame[72], 0x12);
    const auto decoded = BaseFrame::statusFromFrame(frame);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->bytes(), status);
    frame[40] ^= 0x80;
    EXPECT_FALSE(BaseFrame::statusFromFrame(frame).has_value());
    EXPECT_FALSE(BaseFrame::statusFromFrame(Bytes(frame.begin(), frame.begin() + 74)));

    // A chunk past the end of the written memory reads as erased flash.
    const Bytes data{1, 2, 3};
    const Bytes chunk = BaseFrame::chunkFrame(data);
    ASSERT_EQ(chunk.size(), 102u);
    EXPECT_TRUE(BaseFrame::chunkIsValid(chunk));
    EXPECT_EQ(chunk[2], 3);
    EXPECT_EQ(chunk[3], 0xFF);
    EXPECT_EQ(chunk[99], 0xFF);
}

TEST(BaseFrame, TheConnectedSignalIsFourBytesBeginningA0A0)
{
    EXPECT_TRUE(BaseFrame::isConnectedSignal(Bytes{0xA0, 0xA0, 0x0C, 0x00}));
    EXPECT_FALSE(BaseFrame::isConnectedSignal(Bytes{0xA0, 0x05, 0xA0, 0xA0}));
    EXPECT_FALSE(BaseFrame::isConnectedSignal(Bytes{0xA0, 0xA0}));
    EXPECT_FALSE(BaseFrame::isConnectedSignal(Bytes{0xA0, 0xA0, 0x01}));
    EXPECT_FALSE(BaseFrame::isConnectedSignal(Bytes{0x25, 0xA0, 0xA0, 0x00}));
}

TEST(BaseFrame, ARevisionFieldEndsAtItsZeroOrAfterTenCharacters)
{
    Bytes reply(20, 0);
    std::memcpy(reply.data(), "BS2a", 4);
    std::memcpy(reply.data() + 10, "HWREV12345", 10);
    EXPECT_EQ(BaseFrame::revisionText(std::span(reply).first(10)), QStringLiteral("BS2a"));
    EXPECT_EQ(BaseFrame::revisionText(std::span(reply).subspan(10)), QStringLiteral("HWREV12345"));
    std::memcpy(reply.data(), "0123456789", 10);
    EXPECT_EQ(BaseFrame::revisionText(reply), QStringLiteral("0123456789")); // not the next field
}

TEST(BaseReport, LoggerAndImplantReportsMakeTheirLines)
{
    EXPECT_EQ(BaseReport::loggerLine(Bytes{0xA0, 21, 0x40, 0}, At),
              QStringLiteral("LG: 2024-04-05 14:03:09, 21"));
    struct Case {
        Bytes report;
        std::optional<QString> line;
    };
    const Case cases[] = {
        {{0xA0, 0x85, 0x80, 0x25, 0, 0, 0}, QStringLiteral("BT: 2024-04-05 14:03:09, 5, 37.50")},
        {{0xA0, 0x85, 0x00, 0x00, 0, 0, 0}, QStringLiteral("BT: 2024-04-05 14:03:09, 5,")},
        {{0xA0, 0x85, 0x00, 0xFF, 0, 0, 0}, QStringLiteral("BT: 2024-04-05 14:03:09, 5,")},
        {{0xA0, 0xBF, 0x01, 0x00, 0, 0, 0}, QStringLiteral("BT: 2024-04-05 14:03:09, 63, 0.00")},
        {{0xA0, 0xC5, 0, 0, 0x45, 0x45, 0},
         QStringLiteral("MS: 2024-04-05 14:03:09, 5, Turned On")},
        {{0xA0, 0xC5, 0, 0, 0x41, 0x41, 0},
         QStringLiteral("MS: 2024-04-05 14:03:09, 5, Turned Off")},
        {{0xA0, 0xC5, 0, 0, 0x45, 0x41, 0}, std::nullopt},
        {{0xA0, 0x45, 0x80, 0x25, 0x45, 0x45, 0}, std::nullopt}, // kind 01
        {{0xA0, 0x05, 0x80, 0x25, 0, 0, 0}, std::nullopt},       // kind 00
        {{0xA1, 0x85, 0x80, 0x25, 0, 0, 0}, std::nullopt},
        {{0xA0, 0x85, 0x80}, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto line = BaseReport::implantLine(c.report, At);
        EXPECT_EQ(line, c.line) << (line ? line->toStdString() : "none");
    }
}

// The reader on a simulated base station: what it hands on when reports
// come whole, split or cut off.
struct ReportReaderFixture : ::testing::Test {
    BaseBench bench;
    BaseReportReader reader{bench.link, bench.pump, 4};

    std::vector<Bytes> pollFor(std::int64_t ms)
    {
        std::vector<Bytes> reports;
        const std::int64_t end = bench.pump.nowMs() + ms;
        while (bench.pump.nowMs() < end) {
            bench.pump.wait(1);
            if (auto report = reader.poll())
                reports.push_back(*report);
        }
        return reports;
    }
};

TEST_F(ReportReaderFixture, ASplitReportIsPutTogether)
{
    const std::int64_t t = bench.pump.nowUs();
    bench.device.sendUnsolicited({0xA0}, t + 10'000);
    bench.device.sendUnsolicited({0x15, 0x33, 0x00}, t + 40'000);
    bench.device.sendUnsolicited({0xA0, 0x16, 0x00, 0x00}, t + 80'000);
    EXPECT_EQ(pollFor(150), (std::vector<Bytes>{{0xA0, 0x15, 0x33, 0x00}, {0xA0, 0x16, 0, 0}}));
}

TEST_F(ReportReaderFixture, AReadFromTheMiddleOfAReportMakesNoEntry)
{
    const std::int64_t t = bench.pump.nowUs();
    bench.device.sendUnsolicited({0x15, 0x33, 0x00}, t + 10'000);
    bench.device.sendUnsolicited({0xA0, 0x16, 0x00, 0x00}, t + 50'000);
    EXPECT_EQ(pollFor(100), (std::vector<Bytes>{{0xA0, 0x16, 0, 0}}));
}

TEST_F(ReportReaderFixture, AStartWhoseRestNeverComesIsDropped)
{
    const std::int64_t t = bench.pump.nowUs();
    bench.device.sendUnsolicited({0xA0, 0x15}, t + 10'000);
    bench.device.sendUnsolicited({0xA0, 0x16, 0x00, 0x00}, t + 900'000);
    EXPECT_EQ(pollFor(1000), (std::vector<Bytes>{{0xA0, 0x16, 0, 0}}));
}
