#pragma once

#include "cli/CliContext.h"

#include <QString>

#include <functional>

class QCommandLineParser;

// One sub-command of harvane-cli: its name, a line of help, its own options
// and what it does. It returns the exit status.
struct CliCommand {
    static constexpr int ExitOk = 0;
    static constexpr int ExitFailure = 1;
    static constexpr int ExitUsage = 2;

    QString name;
    QString summary;
    bool needsPort = true;
    std::function<void(QCommandLineParser&)> addOptions;
    std::function<int(const QCommandLineParser&, const CliContext&)> execute;
    // Whether it takes arguments after its name (a file name).
    bool takesArguments = false;
    // Whether it draws text into pictures (and so needs Qt's font machinery).
    bool needsGui = false;
};
