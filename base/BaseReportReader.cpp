#include "base/BaseReportReader.h"

#include "link/DeviceLink.h"
#include "link/Pump.h"

#include <span>

BaseReportReader::BaseReportReader(DeviceLink& link, Pump& pump, std::size_t reportSize)
    : m_link(link), m_pump(pump), m_buffer(reportSize)
{}

std::optional<std::vector<std::uint8_t>> BaseReportReader::poll()
{
    const std::span<std::uint8_t> buffer(m_buffer);
    if (m_pending > 0) {
        m_pending += m_link.read(buffer.subspan(m_pending));
        if (m_pending < m_buffer.size()) {
            if (m_pump.nowUs() - m_pendingSinceUs > RestTimeoutUs)
                m_pending = 0;
            return std::nullopt;
        }
        m_pending = 0;
        return m_buffer;
    }
    const std::size_t got = m_link.read(buffer);
    if (got == 0 || m_buffer[0] != Marker)
        return std::nullopt;
    if (got < m_buffer.size()) {
        m_pending = got;
        m_pendingSinceUs = m_pump.nowUs();
        return std::nullopt;
    }
    return m_buffer;
}
