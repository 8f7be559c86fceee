#pragma once

#include <QString>

#include <cstdio>
#include <functional>

// What every command of harvane-cli gets: the global options and the two
// output streams.
struct CliContext {
    QString port;
    QString dataDir;
    std::FILE* out = stdout;
    std::FILE* err = stderr;
    // What an interrupt (Ctrl-C) does while a command runs: set by a
    // command that can be stopped part way, empty otherwise.
    mutable std::function<void()> interrupt;

    void print(const QString& text) const
    {
        std::fprintf(out, "%s\n", qPrintable(text));
        std::fflush(out);
    }
    void printError(const QString& text) const
    {
        std::fprintf(err, "%s\n", qPrintable(text));
        std::fflush(err);
    }
};
