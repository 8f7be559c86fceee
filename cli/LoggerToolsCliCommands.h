#pragma once

#include "cli/CliCommand.h"

#include <vector>

// read-data, erase, head-tilt, set-threshold, freq-read.
std::vector<CliCommand> loggerToolsCliCommands();
