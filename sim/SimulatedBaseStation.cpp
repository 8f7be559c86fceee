#include "sim/SimulatedBaseStation.h"

#include "base/BaseFrame.h"
#include "link/CommandCode.h"
#include "link/Exchange.h"

#include <algorithm>

SimulatedBaseStation::SimulatedBaseStation()
{
    addLogger();
    setRevision("BS2.07", "BSHW1.2");
}

SimulatedBaseStation::~SimulatedBaseStation() = default;

SimulatedLogger& SimulatedBaseStation::addLogger()
{
    m_loggers.push_back(std::make_unique<SimulatedLogger>());
    return *m_loggers.back();
}

SimulatedLogger* SimulatedBaseStation::loggerForImplant(std::uint8_t implant)
{
    for (const auto& logger : m_loggers) {
        if (logger->status()[46] == implant)
            return logger.get();
    }
    return nullptr;
}

void SimulatedBaseStation::setRevision(std::string firmware, std::string hardware)
{
    m_revision.assign(BaseFrame::RevisionSize, 0);
    std::copy_n(firmware.begin(), std::min<std::size_t>(firmware.size(), 10), m_revision.begin());
    std::copy_n(hardware.begin(), std::min<std::size_t>(hardware.size(), 10),
                m_revision.begin() + 10);
}

int SimulatedBaseStation::argumentCount(std::uint8_t code) const
{
    using namespace CommandCode;
    switch (code) {
    case RemoteStatus:
    case Identify:
    case BaseRevision:
        return 0;
    case SetImplantId:
    case ImplantSurveillance:
    case VicinityObservation:
    case LoggerConnection:
        return 1;
    case RemoteChunk:
        return 4;
    default:
        return -1;
    }
}

int SimulatedBaseStation::noise(int range)
{
    m_noise = m_noise * 1103515245U + 12345U;
    return static_cast<int>((m_noise >> 16) % static_cast<std::uint32_t>(range));
}

void SimulatedBaseStation::send(std::vector<std::uint8_t> bytes, std::int64_t atUs)
{
    const std::size_t size = bytes.size();
    transmit(std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes)), 0, size, atUs);
}

void SimulatedBaseStation::relay(std::vector<std::uint8_t> frame, std::int64_t atUs)
{
    if (m_radioFaults.corruptFrames > 0) {
        --m_radioFaults.corruptFrames;
        frame[frame.size() / 3] ^= 0x5A;
    } else if (m_radioFaults.shortFrames > 0) {
        --m_radioFaults.shortFrames;
        frame.resize(frame.size() * 2 / 3);
    }
    reply(std::move(frame), atUs);
}

void SimulatedBaseStation::handleCommand(std::uint8_t code, std::span<const std::uint8_t> arguments,
                                         std::int64_t atUs)
{
    using namespace CommandCode;
    switch (code) {
    case Identify: {
        const auto kind =
            faults().answersAsOtherDevice ? DeviceKind::Logger : DeviceKind::BaseStation;
        reply({0x00, Identify, static_cast<std::uint8_t>(kind), 0x00}, atUs);
        break;
    }
    case BaseRevision:
        reply(m_revision, atUs);
        break;
    case SetImplantId:
        m_selectedImplant = arguments[0];
        break;
    case LoggerConnection:
        m_connected = false;
        m_connecting = false;
        if (arguments[0] != On)
            break;
        if (!m_radioFaults.noConnectReply)
            reply({LoggerConnection, On}, atUs);
        m_target = loggerForImplant(m_selectedImplant);
        // No logger paired with that implant in range: the base station
        // keeps calling and nothing comes.
        if (m_target != nullptr && !m_radioFaults.neverConnects) {
            m_connecting = true;
            m_connectAtUs = atUs + m_connectDelayUs;
        }
        break;
    case RemoteStatus:
        if (m_connected) {
            m_connecting = false; // the program has heard the signal
            const SimulatedLogger::StatusBlock status = m_target->statusAt(atUs);
            relay(BaseFrame::statusFrame(status, static_cast<std::uint8_t>(noise(64)), 0), atUs);
        }
        break;
    case RemoteChunk: {
        m_chunkRequestsUs.push_back(atUs);
        if (!m_connected)
            break;
        const std::uint32_t offset = arguments[0] | (arguments[1] << 8) | (arguments[2] << 16) |
                                     (static_cast<std::uint32_t>(arguments[3]) << 24);
        const std::vector<std::uint8_t>& memory = m_target->memory();
        const std::size_t from = std::min<std::size_t>(offset, memory.size());
        const std::size_t to =
            std::min<std::size_t>(from + BaseFrame::ChunkDataSize, memory.size());
        relay(BaseFrame::chunkFrame(std::span(memory).subspan(from, to - from)), atUs);
        break;
    }
    case VicinityObservation:
        m_loggerReports = arguments[0] == On;
        m_nextLoggerReportUs = atUs + m_loggerReportPeriodUs;
        reply({VicinityObservation, arguments[0]}, atUs);
        break;
    case ImplantSurveillance:
        m_implantReports = arguments[0] == On;
        m_nextImplantReportUs = atUs + m_implantReportPeriodUs;
        reply({ImplantSurveillance, arguments[0]}, atUs);
        break;
    default:
        break;
    }
}

void SimulatedBaseStation::produceUntil(std::int64_t nowUs)
{
    while (m_connecting && m_connectAtUs <= nowUs) {
        m_connected = true;
        send({BaseFrame::Marker, BaseFrame::Marker, m_target->status()[47], 0x00}, m_connectAtUs);
        m_connecting = m_signalRepeatUs > 0;
        m_connectAtUs += m_signalRepeatUs;
    }
    while (m_loggerReports && m_nextLoggerReportUs <= nowUs) {
        send(nextLoggerReport(), m_nextLoggerReportUs);
        m_nextLoggerReportUs += m_loggerReportPeriodUs;
    }
    while (m_implantReports && m_nextImplantReportUs <= nowUs) {
        send(nextImplantReport(), m_nextImplantReportUs);
        m_nextImplantReportUs += m_implantReportPeriodUs;
    }
}

std::vector<std::uint8_t> SimulatedBaseStation::nextLoggerReport()
{
    const std::size_t heard = m_loggers.size() + m_extraLoggers.size();
    const std::size_t turn = m_loggerTurn++ % heard;
    const std::uint8_t id = turn < m_loggers.size() ? m_loggers[turn]->status()[47]
                                                    : m_extraLoggers[turn - m_loggers.size()];
    return {BaseFrame::Marker, id, static_cast<std::uint8_t>(40 + noise(60)), 0x00};
}

std::vector<std::uint8_t> SimulatedBaseStation::nextImplantReport()
{
    const std::size_t heard = m_loggers.size() + m_extraImplants.size();
    const std::size_t turn = m_implantTurn++ % heard;
    const std::uint8_t id = static_cast<std::uint8_t>(
        (turn < m_loggers.size() ? m_loggers[turn]->status()[46]
                                 : m_extraImplants[turn - m_loggers.size()]) &
        0x3F);
    ++m_implantReportCount;
    if (m_implantReportCount % 8 == 0) {
        // Now and then an implant reports being switched on or off.
        const std::uint8_t state = (m_implantReportCount / 8) % 2 == 1 ? 0x45 : 0x41;
        return {BaseFrame::Marker,
                static_cast<std::uint8_t>(0xC0 | id),
                0x00,
                0x00,
                state,
                state,
                0x00};
    }
    // A cow's body temperature, about 38.5 degrees, in 1/256 degree.
    const int raw = 38 * 256 + 128 + noise(96) - 48;
    return {BaseFrame::Marker,
            static_cast<std::uint8_t>(0x80 | id),
            static_cast<std::uint8_t>(raw & 0xFF),
            static_cast<std::uint8_t>(raw >> 8),
            0x00,
            0x00,
            0x00};
}
