#pragma once

#include "cli/CliCommand.h"

#include <QStringList>

#include <cstdio>
#include <vector>

// harvane-cli: `harvane-cli [--port PORT] [--data-dir DIR] COMMAND [options]`.
// Each command has its own --help. Errors print the program's own message on
// the error stream and exit with 1; usage errors exit with 2.
class CliRunner {
public:
    static constexpr int ExitOk = CliCommand::ExitOk;
    static constexpr int ExitFailure = CliCommand::ExitFailure;
    static constexpr int ExitUsage = CliCommand::ExitUsage;

    CliRunner(std::FILE* out = stdout, std::FILE* err = stderr);

    int run(const QStringList& arguments);
    // Stops the running command the way it allows (a download ends with
    // what it has); nothing when it cannot be stopped part way.
    void interrupt();

    // Prints the problem and the hint to --help; returns the usage status.
    static int usage(const CliContext& cli, const QString& problem);

private:
    QString overview() const;
    const CliCommand* findCommand(const QString& name) const;

    CliContext m_cli;
    std::vector<CliCommand> m_commands;
};
