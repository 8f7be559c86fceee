#pragma once

#include "cli/CliCommand.h"
#include "data/DataDocument.h"

#include <optional>
#include <vector>

// export, info: data files, no port needed.
std::vector<CliCommand> dataCliCommands();

// The data file a command names as its one argument. Nothing, with the
// message printed and the exit status in `failure`, when there is not
// exactly one or it cannot be loaded.
std::optional<DataDocument> loadDataFileArgument(const QCommandLineParser& parser,
                                                 const CliContext& cli, QString* path,
                                                 int* failure);
// Declares that argument for --help.
void addDataFileArgument(QCommandLineParser& parser);
