#include "logger/SurveillanceReader.h"

#include "app/TextLog.h"
#include "link/DeviceLink.h"
#include "link/Pump.h"

namespace {

std::int16_t s16(const std::uint8_t* bytes)
{
    return static_cast<std::int16_t>(bytes[0] | (bytes[1] << 8));
}

double celsius(std::int16_t raw)
{
    // Rounded to single precision, as the logger's own values are.
    return static_cast<double>(static_cast<float>(raw) / 256.0F);
}

} // namespace

SurveillanceReader::SurveillanceReader(DeviceLink& link, Pump& pump) : m_link(link), m_pump(pump) {}

QString SurveillanceReader::packetLine(std::span<const std::uint8_t, FrameSize> frame,
                                       const QDateTime& time)
{
    const std::int16_t body = s16(&frame[2]);
    const std::int16_t collar = s16(&frame[4]);
    const int activity = frame[6] | (frame[7] << 8);
    const int headDown = frame[10];
    const int changes = frame[11];
    if (body >= 1)
        return TextLog::eventLine(QStringLiteral("BT"), time,
                                  QString::asprintf(", %3.2f, %3.2f, %i, %i, %i", celsius(body),
                                                    celsius(collar), activity, headDown, changes));
    return TextLog::eventLine(
        QStringLiteral("LG"), time,
        QString::asprintf(",, %3.2f, %i, %i, %i", celsius(collar), activity, headDown, changes));
}

QStringList SurveillanceReader::heartRateLines(std::span<const std::uint8_t> bytes,
                                               const QDateTime& time)
{
    QStringList lines;
    for (std::size_t k = 0; k + 4 <= bytes.size(); k += 4)
        lines.append(
            TextLog::eventLine(QStringLiteral("HB"), time,
                               QString::asprintf(", %i, %i, %i, %i", bytes[k], bytes[k + 1],
                                                 bytes[k + 2], bytes[k + 3])));
    return lines;
}

QStringList SurveillanceReader::poll()
{
    if (m_pending > 0) {
        // The rest of a frame that began in an earlier read.
        m_pending += m_link.read(std::span(m_buffer).subspan(m_pending, FrameSize - m_pending));
        if (m_pending < FrameSize) {
            if (m_pump.nowUs() - m_pendingSinceUs > FrameRestTimeoutUs)
                m_pending = 0;
            return {};
        }
        m_pending = 0;
        return {packetLine(std::span(m_buffer).first<FrameSize>(), m_pump.currentDateTime())};
    }

    std::size_t n = m_link.read(std::span(m_buffer).first(FrameSize));
    if (n == 0)
        return {};
    if (m_buffer[0] == FrameMarker) {
        if (n < FrameSize) {
            m_pending = n;
            m_pendingSinceUs = m_pump.nowUs();
            return {};
        }
        return {packetLine(std::span(m_buffer).first<FrameSize>(), m_pump.currentDateTime())};
    }
    if (n == FrameSize) {
        // Heart-rate bytes come sixteen at a time.
        n += m_link.read(std::span(m_buffer).subspan(FrameSize, 3));
    }
    return heartRateLines(std::span(m_buffer).first(n), m_pump.currentDateTime());
}
