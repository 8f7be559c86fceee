#pragma once

#include "cli/CliCommand.h"

#include <vector>

// export, info: data files, no port needed.
std::vector<CliCommand> dataCliCommands();
