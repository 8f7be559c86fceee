#include "sim/SimulatedLogger.h"

#include "link/CommandCode.h"
#include "link/Exchange.h"

#include <cstring>

namespace {

std::uint8_t toBcd(int value)
{
    return static_cast<std::uint8_t>((value / 10) * 16 + value % 10);
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
    : m_status(typicalStatus()), m_clockBase(QDateTime(QDate(2024, 3, 3), QTime(9, 0, 0)))
{}

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
    return m_clockBase.addMSecs((atUs - m_clockBaseUs) / 1000);
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

void SimulatedLogger::handleCommand(std::uint8_t code, std::span<const std::uint8_t> /*arguments*/,
                                    std::int64_t atUs)
{
    switch (code) {
    case CommandCode::Identify: {
        const auto kind =
            faults().answersAsOtherDevice ? DeviceKind::BaseStation : DeviceKind::Logger;
        reply({0x00, CommandCode::Identify, static_cast<std::uint8_t>(kind), 0x00}, atUs);
        break;
    }
    case CommandCode::ReadStatus: {
        StatusBlock block = m_status;
        const QDateTime now = clockAt(atUs);
        block[25] = toBcd(now.time().second());
        block[26] = toBcd(now.time().minute());
        block[27] = toBcd(now.time().hour());
        block[28] = toBcd(now.date().day());
        block[29] = toBcd(now.date().month());
        block[30] = toBcd(now.date().year() - 2000);
        reply(std::vector<std::uint8_t>(block.begin(), block.end()), atUs);
        break;
    }
    default:
        // Known but not simulated yet: taken in silently, as the logger
        // does with commands that need no reply.
        break;
    }
}
