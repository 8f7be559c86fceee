#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// harvane-cli as a user runs it: a separate process, its output and exit
// status.
struct CliResult {
    int exitCode = -1;
    QString out;
    QString err;
};

inline CliResult
runCli(const QStringList& arguments,
       const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(HARVANE_CLI_PATH), arguments);
    process.waitForFinished(60'000);
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed(),
            QString::fromLocal8Bit(process.readAllStandardError()).trimmed()};
}
