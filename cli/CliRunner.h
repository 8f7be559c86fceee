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

    CliRunner(std::FILE* out = stdout, std::FILE* err = stderr, CliInterrupt* interrupt = nullptr);

    int run(const QStringList& arguments, QList<QByteArray> nativeArguments = {});
    // Whether the command the arguments name draws pictures: the program
    // then needs a GUI application object (without a display).
    [[nodiscard]] bool needsGui(const QStringList& arguments) const;

    // Prints the problem and the hint to --help; returns the usage status.
    static int usage(const CliContext& cli, const QString& problem);

private:
    static QString commandName(const QStringList& arguments);
    QString overview() const;
    const CliCommand* findCommand(const QString& name) const;

    CliContext m_cli;
    std::vector<CliCommand> m_commands;
};
