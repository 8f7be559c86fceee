#pragma once

#include "cli/CliCommand.h"

#include <vector>

// status, write-settings, start-logging, stop-logging, surveillance.
std::vector<CliCommand> loggerCliCommands();
