#include "sim/SimulatedLogger.h"

#include "link/CommandCode.h"
#include "link/Exchange.h"

#include <algorithm>
#include <cstring>

namespace {

std::uint8_t toBcd(int value)
{
    return static_cast<std::uint8_t>((value / 10) * 16 + value % 10);
}

// Seconds, minutes, hours, day, month, year - 2000, in BCD from `offset` on.
void putDateTime(SimulatedLogger::StatusBlock& block, std::size_t offset, const QDateTime& time)
{
    const int fields[] = {time.time().second(), time.time().minute(), time.time().hour(),
                          time.date().day(),    time.date().month(),  time.date().year() - 2000};
    for (std::size_t i = 0; i < 6; ++i)
        block[offset + i] = toBcd(fields[i]);
}

int fromBcd(std::uint8_t byte)
{
    return (byte >> 4) * 10 + (byte & 0x0F);
}

void putU16(SimulatedLogger::StatusBlock& block, std::size_t offset, std::uint16_t value)
{
    block[offset] = static_cast<std::uint8_t>(value & 0xFF);
    block[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

void putU32(SimulatedLogger::StatusBlock& block, std::size_t offset, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i)
        block[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

} // namespace

SimulatedLogger::SimulatedLogger()
    : m_status(typicalStatus()), m_memory(std::make_shared<const std::vector<std::uint8_t>>()),
      m_clockBase(QDateTime(QDate(2024, 3, 3), QTime(9, 0, 0)))
{}

void SimulatedLogger::setMemory(std::vector<std::uint8_t> memory)
{
    putU32(m_status, 20, static_cast<std::uint32_t>(memory.size()));
    m_memory = std::make_shared<const std::vector<std::uint8_t>>(std::move(memory));
}

SimulatedLogger::StatusBlock SimulatedLogger::typicalStatus()
{
    StatusBlock block{};
    std::memcpy(block.data(), "V3.1", 4); // bytes 4 and 5: memory-size selector 0, 3
    block[4] = 0;
    block[5] = 3;
    std::memcpy(block.data() + 10, "HW1.4", 5);
    putU32(block, 20, 0);      // used memory
    block[32] = 0x1F;          // VHF days Monday to Friday
    putU16(block, 33, 0x0FFF); // VHF months: all year
    block[35] = toBcd(6);      // VHF start 06:00:00 (hours, seconds, minutes)
    block[41] = toBcd(18);     // VHF stop 18:00:00
    putU16(block, 44, 300);    // head-position threshold
    block[46] = 7;             // implant ID
    block[47] = 12;            // logger ID
    block[48] = 4;             // 60 s interval
    block[50] = 0x80;          // implant locked, logging off
    putU16(block, 60, 3);      // invalid packets
    putU16(block, 62, 1);      // sync losses
    putU16(block, 64, 5);      // no packet
    putU32(block, 68, 1234);   // valid packets
    return block;
}

void SimulatedLogger::setClock(const QDateTime& time, std::int64_t atUs)
{
    m_clockBase = time;
    m_clockBaseUs = atUs;
}

QDateTime SimulatedLogger::clockAt(std::int64_t atUs) const
{
    if (m_clockFrozen)
        return m_clockBase;
    return m_clockBase.addMSecs((atUs - m_clockBaseUs) / 1000);
}

SimulatedLogger::StatusBlock SimulatedLogger::statusAt(std::int64_t atUs) const
{
    StatusBlock block = m_status;
    putDateTime(block, 25, clockAt(atUs));
    return block;
}

int SimulatedLogger::argumentCount(std::uint8_t code) const
{
    using namespace CommandCode;
    switch (code) {
    case DumpMemory:
    case EraseMemory:
    case EraseFinish:
    case ReadHeadTilt:
    case ReadStatus:
    case Identify:
    case EraseCheck:
    case ResetFrequencyOffset:
    case ReadFrequency:
        return 0;
    case SetImplantId:
    case CloseSettings:
    case SetLoggerId:
    case SetInterval:
    case Logging:
    case CalibrationLog:
    case Surveillance:
        return 1;
    case SetHeadThreshold:
    case AddFrequencyOffset:
        return 2;
    case SetClock:
    case SetVhfStart:
    case SetVhfStop:
        return 7;
    default:
        return -1;
    }
}

void SimulatedLogger::handleCommand(std::uint8_t code, std::span<const std::uint8_t> arguments,
                                    std::int64_t atUs)
{
    using namespace CommandCode;
    switch (code) {
    case Identify: {
        const auto kind =
            faults().answersAsOtherDevice ? DeviceKind::BaseStation : DeviceKind::Logger;
        reply({0x00, Identify, static_cast<std::uint8_t>(kind), 0x00}, atUs);
        break;
    }
    case ReadStatus: {
        const StatusBlock block = statusAt(atUs);
        reply(std::vector<std::uint8_t>(block.begin(), block.end()), atUs);
        break;
    }
    case DumpMemory: {
        // The whole used memory, straight from flash, no framing.
        std::shared_ptr<const std::vector<std::uint8_t>> memory = m_memory;
        if (m_dumpExtra > 0) {
            auto longer = std::make_shared<std::vector<std::uint8_t>>(*m_memory);
            longer->insert(longer->end(), m_dumpExtra, 0x55);
            memory = longer;
        }
        transmit(memory, 0, memory->size(), atUs + responseDelayUs());
        break;
    }
    case EraseMemory:
        reply({EraseMemory}, atUs);
        if (!m_eraseNeverFinishes) {
            sendUnsolicited({0xAA}, atUs + m_eraseDurationUs);
            m_memory = std::make_shared<const std::vector<std::uint8_t>>();
            putU32(m_status, 20, 0);
        }
        break;
    case EraseCheck:
        reply(m_eraseCheckReply, atUs);
        break;
    case EraseFinish:
        reply({EraseFinish}, atUs);
        break;
    case ReadHeadTilt:
        reply({ReadHeadTilt, static_cast<std::uint8_t>(m_tilt & 0xFF),
               static_cast<std::uint8_t>((m_tilt >> 8) & 0xFF)},
              atUs);
        break;
    case SetHeadThreshold:
        m_status[44] = arguments[0];
        m_status[45] = arguments[1];
        break;
    case CalibrationLog:
        m_calibrationLog = arguments[0] == On;
        m_nextReportUs = atUs + m_calibrationPeriodUs;
        reply({CalibrationLog, arguments[0]}, atUs);
        break;
    case AddFrequencyOffset:
        m_offsetSteps += static_cast<std::int16_t>(arguments[0] | (arguments[1] << 8));
        reply({AddFrequencyOffset, arguments[0], arguments[1]}, atUs);
        break;
    case ResetFrequencyOffset:
        m_offsetSteps = 0;
        reply({ResetFrequencyOffset}, atUs);
        break;
    case ReadFrequency: {
        const auto b = static_cast<std::uint16_t>(m_centreWord + m_offsetSteps);
        reply({static_cast<std::uint8_t>(m_centreWord & 0xFF),
               static_cast<std::uint8_t>(m_centreWord >> 8), static_cast<std::uint8_t>(b & 0xFF),
               static_cast<std::uint8_t>(b >> 8)},
              atUs);
        break;
    }
    case SetClock: {
        // year, day, month, hours, weekday, seconds, minutes
        const QDate date(2000 + fromBcd(arguments[0]), fromBcd(arguments[2]),
                         fromBcd(arguments[1]));
        const QTime time(fromBcd(arguments[3]), fromBcd(arguments[6]), fromBcd(arguments[5]));
        if (date.isValid() && time.isValid())
            setClock(QDateTime(date, time), atUs);
        break;
    }
    case SetVhfStart:
    case SetVhfStop: {
        m_status[32] = arguments[0];
        m_status[33] = arguments[1];
        m_status[34] = arguments[2];
        const std::size_t at = code == SetVhfStart ? 35 : 41; // hours, seconds, minutes
        m_status[at] = arguments[3];
        m_status[at + 1] = arguments[4];
        m_status[at + 2] = arguments[5];
        break;
    }
    case SetImplantId:
        m_status[46] = arguments[0];
        break;
    case SetLoggerId:
        m_status[47] = arguments[0];
        break;
    case SetInterval:
        m_status[48] = arguments[0];
        break;
    case Logging:
        if (arguments[0] == On && !loggingOn()) {
            m_status[50] |= 0x01;
            putDateTime(m_status, 53, clockAt(atUs));
        } else if (arguments[0] == Off) {
            m_status[50] &= static_cast<std::uint8_t>(~0x01);
        }
        break;
    case Surveillance:
        m_surveillance = arguments[0] == On;
        m_nextFrameUs = atUs + m_surveillancePeriodUs;
        reply({Surveillance, arguments[0]}, atUs);
        break;
    default:
        // Known but not simulated yet: taken in silently, as the logger
        // does with commands that need no reply.
        break;
    }
}

void SimulatedLogger::produceUntil(std::int64_t nowUs)
{
    while (m_calibrationLog && m_nextReportUs <= nowUs) {
        // What the receiver measures drifts around the trimmed centre.
        const int deviation = ((m_frameCount++ * 7) % 9) - 4 - m_offsetSteps;
        const auto low5 = static_cast<std::uint8_t>(std::clamp(deviation, -16, 15) & 0x1F);
        transmit(std::make_shared<const std::vector<std::uint8_t>>(
                     std::vector<std::uint8_t>{low5, 0x00}),
                 0, 2, m_nextReportUs);
        m_nextReportUs += m_calibrationPeriodUs;
    }
    while (m_surveillance && loggingOn() && m_nextFrameUs <= nowUs) {
        const std::int64_t at = m_nextFrameUs;
        m_nextFrameUs += m_surveillancePeriodUs;
        const auto frame = nextSurveillanceFrame();
        const std::size_t size = frame.size();
        transmit(std::make_shared<const std::vector<std::uint8_t>>(frame), 0, size, at);
    }
}

std::vector<std::uint8_t> SimulatedLogger::nextSurveillanceFrame()
{
    auto noise = [this](int range) {
        m_noise = m_noise * 1103515245U + 12345U;
        return static_cast<int>((m_noise >> 16) % static_cast<std::uint32_t>(range));
    };
    ++m_frameCount;
    if (m_frameCount % 4 == 0) {
        // Sixteen heart-rate values, beats per minute.
        std::vector<std::uint8_t> beats(16);
        for (auto& beat : beats)
            beat = static_cast<std::uint8_t>(60 + noise(30));
        return beats;
    }
    // Every fifth packet the implant was not heard: no body temperature.
    const int body = m_frameCount % 5 == 0 ? 0 : 38 * 256 + 64 + noise(128);
    const int collar = 21 * 256 + noise(512);
    const int activity = 100 + noise(400);
    std::vector<std::uint8_t> frame{0xA0, 0x01};
    for (int value : {body, collar, activity})
        frame.insert(frame.end(), {static_cast<std::uint8_t>(value & 0xFF),
                                   static_cast<std::uint8_t>((value >> 8) & 0xFF)});
    frame.insert(frame.end(), {0x00, 0x00, static_cast<std::uint8_t>(noise(15)),
                               static_cast<std::uint8_t>(noise(6)), 0xAA});
    return frame;
}
