// What a logger sends unasked while a run is on: the surveillance stream
// (packet frames and heart-rate bytes), fed through a port that hands it out
// in pieces and pauses of sizes the input chooses, and the calibration log's
// frequency reports with the read-offset reply. Besides not crashing: every
// line has its tag, its time and its number of values, no more lines come
// than the bytes can make, and every decoded frequency lies in the range the
// bits can express.

#include "logger/FrequencyCalibrationProcedure.h"
#include "logger/SurveillanceReader.h"
#include "sim/SimulatedPump.h"
#include "tests/fuzz/ChunkedLink.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cmath>

using FuzzSupport::check;

namespace {

// "BT: 2024-03-03 09:05:07, ..." with the number of values the tag has.
void checkLine(const QString& line, const QString& stamp)
{
    const QString tag = line.left(4);
    check(tag == QLatin1String("BT: ") || tag == QLatin1String("LG: ") ||
              tag == QLatin1String("HB: "),
          "a surveillance line starts with its tag");
    check(line.mid(4, stamp.size()) == stamp, "a surveillance line carries the time it was read");
    // BT: ", body, collar, activity, head down, changes"; LG the same with
    // an empty body field; HB: ", b0, b1, b2, b3".
    const bool packet = tag == QLatin1String("BT: ");
    const QString lead =
        tag == QLatin1String("LG: ") ? QStringLiteral(",, ") : QStringLiteral(", ");
    const QString rest = line.mid(4 + stamp.size());
    check(rest.startsWith(lead), "the values follow the time after a separator");
    const QStringList values = rest.mid(lead.size()).split(QStringLiteral(", "));
    check(values.size() == (packet ? 5 : 4), "a surveillance line has the values of its tag");
    for (const QString& value : values) {
        bool number = false;
        value.toDouble(&number);
        check(number, "every value of a surveillance line is a number");
    }
}

void checkSurveillance(std::span<const std::uint8_t> input)
{
    SimulatedPump pump;
    ChunkedLink link(input);
    SurveillanceReader reader(link, pump);
    std::size_t lines = 0;
    auto poll = [&] {
        const QStringList made = reader.poll();
        if (made.isEmpty())
            return;
        const QString stamp =
            pump.currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        for (const QString& line : made)
            checkLine(line, stamp);
        lines += static_cast<std::size_t>(made.size());
    };
    link.play(pump, poll);
    check(link.buffered() == 0, "the reader takes every byte that arrives");
    // A packet line takes 13 bytes and a heart-rate line 4.
    check(lines <= link.handedOut() / 4, "no more lines than the bytes can make");
}

void checkCalibration(std::span<const std::uint8_t> input)
{
    for (std::uint8_t b : input) {
        const double kHz = FrequencyCalibrationProcedure::deviationKHz(b);
        check(kHz >= -40.0 && kHz <= 37.5 && std::fmod(kHz, 2.5) == 0.0,
              "a reported deviation is -16 to 15 steps of 2.5 kHz");
    }
    for (std::size_t i = 0; i + 4 <= input.size(); i += 4) {
        const auto a = static_cast<std::uint16_t>(input[i] | (input[i + 1] << 8));
        const auto b = static_cast<std::uint16_t>(input[i + 2] | (input[i + 3] << 8));
        const float mhz = FrequencyCalibrationProcedure::centreMHz(a);
        check(mhz >= 430.0F && mhz < 440.24F, "the centre frequency is 430 to 440.2375 MHz");
        const double offset = FrequencyCalibrationProcedure::offsetKHz(a, b);
        check(std::abs(offset) <= 65535 * 2.5, "the offset is at most a word of 2.5 kHz steps");
        FuzzSupport::keep(mhz);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span input(data, size);
    checkSurveillance(input);
    checkCalibration(input);
    return 0;
}
