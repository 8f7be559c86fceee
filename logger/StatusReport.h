#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

class DataFolders;
class LoggerStatus;

// The text report written for every status read: "StatusLogCollar/
// StatusLogCollar_ImpID5LogID12_2024-03-03_09h05m07s.txt" for a logger on the
// cable, the same in "StatusLogBase" for one read through a base station.
class StatusReport {
public:
    static constexpr auto FolderName = "StatusLogCollar";
    static constexpr auto BaseFolderName = "StatusLogBase";

    // The report for the block; the clock and logging start are the values
    // the dialog's pickers hold (a display keeps its old value when the block
    // names no real date).
    static QByteArray text(const LoggerStatus& status, const QDateTime& clock,
                           const QDateTime& loggingStart);
    // `reportName` names both the folder and the file's prefix.
    static QString fileName(const LoggerStatus& status, const QDateTime& writtenAt,
                            const QString& reportName = QString::fromLatin1(FolderName));
    // Writes the report; the path written, or empty when the file could not
    // be created (which is not reported to the user).
    static QString write(const DataFolders& folders, const LoggerStatus& status,
                         const QDateTime& clock, const QDateTime& loggingStart,
                         const QDateTime& writtenAt,
                         const QString& reportName = QString::fromLatin1(FolderName));
};
