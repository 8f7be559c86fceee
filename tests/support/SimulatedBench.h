#pragma once

#include "link/Exchange.h"
#include "sim/SimulatedBaseStation.h"
#include "sim/SimulatedDeviceLink.h"
#include "sim/SimulatedLogger.h"
#include "sim/SimulatedPump.h"
#include "tests/support/ScriptedPrompts.h"

// A device on the cable in simulated time: the pump, the prompts, a link to
// the device and an Exchange over it, opened and ready.
template <typename Device> struct SimulatedBench {
    SimulatedPump pump;
    ScriptedPrompts prompts;
    Device device;
    SimulatedDeviceLink link{device, pump};
    Exchange exchange{link, pump, prompts};

    SimulatedBench() { link.open(QStringLiteral("sim:test")); }
};

using LoggerBench = SimulatedBench<SimulatedLogger>;
using BaseBench = SimulatedBench<SimulatedBaseStation>;
