#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

class DataFolders;
class LoggerStatus;

// The text report written for every status read: "StatusLogCollar/
// StatusLogCollar_ImpID5LogID12_2024-03-03_09h05m07s.txt".
class StatusReport {
public:
    static constexpr auto FolderName = "StatusLogCollar";

    // The report for the block; the clock and logging start are the values
    // the dialog's pickers hold (a display keeps its old value when the block
    // names no real date).
    static QByteArray text(const LoggerStatus& status, const QDateTime& clock,
                           const QDateTime& loggingStart);
    static QString fileName(const LoggerStatus& status, const QDateTime& writtenAt);
    // Writes the report; the path written, or empty when the file could not
    // be created (which is not reported to the user).
    static QString write(const DataFolders& folders, const LoggerStatus& status,
                         const QDateTime& clock, const QDateTime& loggingStart,
                         const QDateTime& writtenAt);
};
