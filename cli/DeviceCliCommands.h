#pragma once

#include "cli/CliCommand.h"

#include <vector>

// ports, identify.
std::vector<CliCommand> deviceCliCommands();
