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
    // What an interrupt (Ctrl-C) does during the job that is about to run:
    // set by a command that can be stopped part way, empty otherwise.
    void onInterrupt(std::function<void()> action) const { m_interruptAction = std::move(action); }
    [[nodiscard]] bool interrupted() const { return m_interrupted; }
    // The program's signal handling calls this (through CliRunner).
    void interrupt() const
    {
        m_interrupted = true;
        if (m_interruptAction)
            m_interruptAction();
    }

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

private:
    mutable std::function<void()> m_interruptAction;
    mutable bool m_interrupted = false;
};
