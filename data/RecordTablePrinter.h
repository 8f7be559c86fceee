#pragma once

#include <QString>

#include <climits>
#include <cstdint>
#include <vector>

class QPagedPaintDevice;
class RecordIndex;

// The explorer's record table on paper: on every page a title (logger and
// implant, the date range), the column headers with their units, the rows,
// and "Page n of N" at the foot.
class RecordTablePrinter {
public:
    struct Job {
        const RecordIndex* index = nullptr;
        std::vector<std::uint32_t> records; // in the order printed
        QString title;                      // "Logger 12 · Implant 7"
        QString scope;                      // what is printed: all records, or a range
        QString source;                     // the data file, for the foot
        double feverAbove = 39.5;           // body temperatures above it print bold
    };

    explicit RecordTablePrinter(Job job);

    [[nodiscard]] int rowsPerPage(QPagedPaintDevice& device) const;
    [[nodiscard]] int pageCount(QPagedPaintDevice& device) const;
    // Prints the pages, at most `maxPages` of them (a preview stops early
    // and says so on its last page). Returns the number printed.
    int print(QPagedPaintDevice& device, int maxPages = INT_MAX) const;

private:
    Job m_job;
};
