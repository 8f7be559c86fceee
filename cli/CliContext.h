#pragma once

#include <QString>

#include <cstdio>

// What every command of harvane-cli gets: the global options and the two
// output streams.
struct CliContext {
    QString port;
    QString dataDir;
    std::FILE* out = stdout;
    std::FILE* err = stderr;

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
