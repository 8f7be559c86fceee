#pragma once

#include "data/CivilTime.h"

#include <QString>

#include <cstdint>
#include <span>

class DataDocument;
class QSaveFile;

// The two comma-separated files written beside a saved data file: one line
// per record ("...BT.csv") and one line per heart-rate group ("...HB.csv").
// Written with a formatter of its own rather than printf, for speed; the
// output is byte for byte what the printf formats give.
class CsvExport {
public:
    static constexpr auto RecordHeader =
        "Id,Date,BodyTemp,CollarTemp,Activity,DurHeadDown,ChangesHeadPos\r\n";
    static constexpr auto GroupHeader = "Id,Date,\r\n";

    // Cow12.bin -> Cow12BT.csv / Cow12HB.csv. Only the file name's own last
    // dot counts (never one in a folder name); a name without an extension
    // gets the suffix appended. `kind` is "BT" or "HB".
    static QString exportPath(const QString& dataPath, const QString& kind);

    // Writes both files, or neither: each goes to a temporary file first, and
    // the earlier pair is replaced only once both are complete. False, with
    // the message for the user, when one cannot be written.
    static bool write(const DataDocument& document, const QString& recordPath,
                      const QString& groupPath, CivilTime pcClock, QString* error = nullptr);

    // The record file's lines for the records dated from `from` to `to`
    // (seconds, both included), with its header and its end: the whole range
    // gives the record file byte for byte.
    static bool writeRecords(const DataDocument& document, const QString& path, CivilTime pcClock,
                             std::int64_t from, std::int64_t to, QString* error = nullptr);

    // "%3.2f" of raw / 256 as printf writes it; returns the characters written
    // (at most 8).
    static std::size_t formatTemperature(std::int16_t raw, char* out);
    // The same as text: "38.50".
    static QString temperatureText(std::int16_t raw);

private:
    static bool commitPair(QSaveFile& first, QSaveFile& second, QString* error);
};
