#pragma once

#include <QDateTime>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// The reports a base station sends unasked while its reports are on, and
// the log lines made of them.
//
//   LoggerReport   4 bytes: 0xA0, logger ID, two bytes not interpreted
//   ImplantReport  7 bytes: 0xA0; kind (bits 7, 6) and implant ID (bits 5..0);
//                  body temperature (i16, 1/256 degree, kind 10);
//                  0x45 0x45 on / 0x41 0x41 off (kind 11); one byte not interpreted
class BaseReport {
public:
    static constexpr std::uint8_t Marker = 0xA0;
    static constexpr std::size_t LoggerReportSize = 4;
    static constexpr std::size_t ImplantReportSize = 7;

    // "LG: 2024-04-05 14:03:09, 21"
    static QString loggerLine(std::span<const std::uint8_t> report, const QDateTime& time);
    // "BT: <time>, 5, 37.50", "BT: <time>, 5," (no temperature), "MS: <time>, 5, Turned On"
    // or "... Turned Off"; nothing for kinds 00 and 01 and for another on/off pair.
    static std::optional<QString> implantLine(std::span<const std::uint8_t> report,
                                              const QDateTime& time);
};
