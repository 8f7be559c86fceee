#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>
#include <functional>
#include <vector>

class QCommandLineParser;

// harvane-cli: `harvane-cli [--port PORT] [--data-dir DIR] COMMAND [options]`.
// Each command has its own --help. Errors print the program's own message on
// the error stream and exit with 1; usage errors exit with 2.
class CliRunner {
public:
    static constexpr int ExitOk = 0;
    static constexpr int ExitFailure = 1;
    static constexpr int ExitUsage = 2;

    CliRunner(std::FILE* out = stdout, std::FILE* err = stderr);

    int run(const QStringList& arguments);

private:
    struct Command {
        QString name;
        QString summary;
        bool needsPort;
        std::function<void(QCommandLineParser&)> addOptions;
        std::function<int(const QCommandLineParser&)> execute;
    };

    int usage(const QString& problem);
    QString overview() const;
    const Command* findCommand(const QString& name) const;

    int listPorts(const QCommandLineParser& parser);
    int identify(const QCommandLineParser& parser);

    void print(const QString& text) const;
    void printError(const QString& text) const;

    std::FILE* m_out;
    std::FILE* m_err;
    std::vector<Command> m_commands;
    QString m_port;
    QString m_dataDir;
};
