#pragma once

#include "cli/CliCommand.h"

#include <vector>

// base-status, base-read-data, base-revision, vicinity, implant-surveillance.
std::vector<CliCommand> baseCliCommands();
