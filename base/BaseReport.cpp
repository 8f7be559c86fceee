#include "base/BaseReport.h"

#include "app/TextLog.h"

QString BaseReport::loggerLine(std::span<const std::uint8_t> report, const QDateTime& time)
{
    return TextLog::eventLine(QStringLiteral("LG"), time,
                              QStringLiteral(", %1").arg(report.size() > 1 ? report[1] : 0));
}

std::optional<QString> BaseReport::implantLine(std::span<const std::uint8_t> report,
                                               const QDateTime& time)
{
    if (report.size() < ImplantReportSize || report[0] != Marker)
        return std::nullopt;
    const int kind = report[1] >> 6;
    const int implant = report[1] & 0x3F;
    switch (kind) {
    case 0b10: {
        const auto raw = static_cast<std::int16_t>(report[2] | (report[3] << 8));
        if (raw <= 0)
            return TextLog::eventLine(QStringLiteral("BT"), time,
                                      QStringLiteral(", %1,").arg(implant));
        // Rounded to single precision, as the implant's own values are.
        const double celsius = static_cast<double>(static_cast<float>(raw) / 256.0F);
        return TextLog::eventLine(QStringLiteral("BT"), time,
                                  QString::asprintf(", %i, %3.2f", implant, celsius));
    }
    case 0b11:
        if (report[4] == 0x45 && report[5] == 0x45)
            return TextLog::eventLine(QStringLiteral("MS"), time,
                                      QStringLiteral(", %1, Turned On").arg(implant));
        if (report[4] == 0x41 && report[5] == 0x41)
            return TextLog::eventLine(QStringLiteral("MS"), time,
                                      QStringLiteral(", %1, Turned Off").arg(implant));
        return std::nullopt;
    default:
        return std::nullopt;
    }
}
