#include "sim/SimulatedBaseStation.h"

#include "link/CommandCode.h"
#include "link/Exchange.h"

SimulatedBaseStation::SimulatedBaseStation() = default;

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

void SimulatedBaseStation::handleCommand(std::uint8_t code,
                                         std::span<const std::uint8_t> /*arguments*/,
                                         std::int64_t atUs)
{
    switch (code) {
    case CommandCode::Identify: {
        const auto kind =
            faults().answersAsOtherDevice ? DeviceKind::Logger : DeviceKind::BaseStation;
        reply({0x00, CommandCode::Identify, static_cast<std::uint8_t>(kind), 0x00}, atUs);
        break;
    }
    default:
        break;
    }
}
