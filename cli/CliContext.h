#pragma once

#include "cli/CliInterrupt.h"

#include <QByteArray>
#include <QList>
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
    // The arguments as the platform gave them, before Qt decoded them: a
    // file name need not be valid UTF-8.
    QList<QByteArray> nativeArguments;
    // Ctrl-C; absent where no one listens (commands run in-process by tests).
    CliInterrupt* interrupt = nullptr;

    // What Ctrl-C does during the job that is about to run.
    void onInterrupt(std::function<void()> action) const
    {
        if (interrupt != nullptr)
            interrupt->setAction(std::move(action));
    }
    [[nodiscard]] bool interrupted() const
    {
        return interrupt != nullptr && interrupt->interrupted();
    }

    // Whether the error stream is a terminal, where progress may rewrite
    // its line.
    [[nodiscard]] bool errorsOnTerminal() const;

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
