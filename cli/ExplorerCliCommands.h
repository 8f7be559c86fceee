#pragma once

#include "cli/CliCommand.h"

#include <vector>

// episodes, plot: what the data explorer shows, for a batch of data files.
std::vector<CliCommand> explorerCliCommands();
