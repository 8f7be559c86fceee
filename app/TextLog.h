#pragma once

#include <QDateTime>
#include <QFile>
#include <QString>

class DataFolders;

// A text log of live observations, the same for every such log: a folder
// named after the log, a file "<Log>_<device part><start time>.txt" created
// or emptied at the start of a run, optional header lines, "Start Log:", one
// tagged line per event, "Stop Log:". Lines end in CR LF.
class TextLog {
public:
    TextLog() = default;
    ~TextLog();

    TextLog(const TextLog&) = delete;
    TextLog& operator=(const TextLog&) = delete;

    // The file name for a run started at `start`: "SurveillanceLog_ImpID7LogID21_
    // 2024-04-05_14h03m09s.txt" for the log "SurveillanceLog" and the device
    // part "ImpID7LogID21_".
    static QString fileName(const QString& logName, const QString& devicePart,
                            const QDateTime& start);
    // "2024-04-05_14h03m09s": the time stamp in every file name Harvane makes.
    static QString timeStamp(const QDateTime& time);
    // "BT: 2024-04-05 14:03:09, 37.00, ..." from the tag, the time and the
    // values already joined.
    static QString eventLine(const QString& tag, const QDateTime& time, const QString& values);

    // Makes the folder when missing and creates (or empties) the file. False
    // when the file cannot be created.
    bool open(const DataFolders& folders, const QString& logName, const QString& devicePart,
              const QDateTime& start);
    [[nodiscard]] bool isOpen() const { return m_file.isOpen(); }
    [[nodiscard]] QString path() const { return m_path; }

    // Writes the line and CR LF.
    void writeLine(const QString& line);
    void close();

private:
    QFile m_file;
    QString m_path;
};
