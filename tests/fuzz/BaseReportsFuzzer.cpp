// What a base station sends unasked while its reports are on: the loggers it
// hears (4-byte reports) and the implants (7-byte reports), fed through a port
// that hands the input out in pieces and pauses of sizes the input chooses.
// Each input is read both ways. Besides not crashing: a report handed on is
// whole and starts with the marker, the reader takes every byte that
// arrives, and each report gives the line its kind calls for.

#include "base/BaseReport.h"
#include "base/BaseReportReader.h"
#include "sim/SimulatedPump.h"
#include "tests/fuzz/ChunkedLink.h"
#include "tests/fuzz/FuzzSupport.h"

using FuzzSupport::check;

namespace {

void checkLine(const std::vector<std::uint8_t>& report, const QDateTime& time)
{
    const QString stamp = time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (report.size() == BaseReport::LoggerReportSize) {
        check(BaseReport::loggerLine(report, time) ==
                  QStringLiteral("LG: %1, %2").arg(stamp).arg(report[1]),
              "a logger report gives the logger's ID");
        return;
    }
    const auto line = BaseReport::implantLine(report, time);
    const int kind = report[1] >> 6;
    const QString implant = QString::number(report[1] & 0x3F);
    if (kind == 0b10) {
        const QString lead = QStringLiteral("BT: %1, %2,").arg(stamp, implant);
        check(line && line->startsWith(lead), "a temperature report gives a BT line");
        const auto raw = static_cast<std::int16_t>(report[2] | (report[3] << 8));
        bool number = false;
        line->mid(lead.size()).toDouble(&number);
        check(raw <= 0 ? *line == lead : number,
              "a BT line holds the temperature, or nothing when there is none");
    } else if (kind == 0b11 && report[4] == report[5] && (report[4] == 0x45 || report[4] == 0x41)) {
        check(line == QStringLiteral("MS: %1, %2, Turned %3")
                          .arg(stamp, implant,
                               report[4] == 0x45 ? QStringLiteral("On") : QStringLiteral("Off")),
              "an on/off report gives an MS line");
    } else {
        check(!line, "any other report gives no line");
    }
}

void checkReader(std::span<const std::uint8_t> input, std::size_t reportSize)
{
    SimulatedPump pump;
    ChunkedLink link(input);
    BaseReportReader reader(link, pump, reportSize);
    std::size_t reports = 0;
    auto poll = [&] {
        const auto report = reader.poll();
        if (!report)
            return;
        check(report->size() == reportSize && (*report)[0] == BaseReportReader::Marker,
              "a report handed on is whole and starts with the marker");
        checkLine(*report, pump.currentDateTime());
        ++reports;
    };
    link.play(pump, poll);
    check(link.buffered() == 0, "the reader takes every byte that arrives");
    check(reports * reportSize <= link.handedOut(), "no more reports than the bytes can make");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span input(data, size);
    checkReader(input, BaseReport::LoggerReportSize);
    checkReader(input, BaseReport::ImplantReportSize);
    return 0;
}
