#pragma once

#include "sim/SimulatedDevice.h"

// A base station on the cable. It answers identify.
class SimulatedBaseStation final : public SimulatedDevice {
public:
    SimulatedBaseStation();

protected:
    [[nodiscard]] int argumentCount(std::uint8_t code) const override;
    void handleCommand(std::uint8_t code, std::span<const std::uint8_t> arguments,
                       std::int64_t atUs) override;
};
