#pragma once

#include "app/DataFolders.h"
#include "cli/ConsolePrompts.h"
#include "link/DeviceContext.h"
#include "link/Exchange.h"
#include "link/QtPump.h"
#include "link/RoutingDeviceLink.h"
#include "sim/SimulatedDeviceSet.h"

struct CliContext;

// One command's time on a port: the real clock, the port (a serial port or
// an in-process simulated device), prompts on the error stream and the data
// folders.
class PortSession {
public:
    PortSession(const CliContext& cli, bool assumeYes = false);

    // Opens the port; prints the program's message and returns false when it
    // cannot be opened.
    bool open();

    [[nodiscard]] DeviceContext context();

    QtPump pump;
    SimulatedDeviceSet simulated;
    RoutingDeviceLink link;
    ConsolePrompts prompts;
    DataFolders folders;
    Exchange exchange;

private:
    const CliContext& m_cli;
};
