#pragma once

#include "data/DataDocument.h"
#include "link/DeviceContext.h"
#include "link/Exchange.h"

#include <QString>

#include <cstdint>
#include <functional>

class ReadDataView;

// Downloads a logger's whole used memory over the cable into a data file in
// "ReadData", and hands the data to the document.
class ReadDataProcedure {
public:
    static constexpr std::size_t ReadChunk = 2000;
    static constexpr std::uint16_t IdleTicks = 20; // of 100 ms: 2 s without a byte
    static constexpr std::uint32_t TickMs = 100;
    // Bytes that never arrived are written as erased flash reads.
    static constexpr std::uint8_t MissingByte = 0xFF;
    static constexpr auto FolderName = "ReadData";
    // How often what has arrived is put on the disk while the dump runs.
    static constexpr std::int64_t CheckpointMs = 3000;

    struct Hooks {
        // Asks to save unsaved data first; false when the user cancels.
        std::function<bool()> saveModified = [] { return true; };
        // Installs the downloaded data into the document (marked modified).
        std::function<void(DataDocument)> installData = [](DataDocument) {};
        // A file of the caller's choice instead of "ReadData/ImpID..LogID.._
        // <time>.bin". It is checked before anything is read, and when it
        // still cannot be written at the end the data go to ReadData.
        QString targetPath;
    };

    ReadDataProcedure(DeviceContext context, ReadDataView& view, Hooks hooks);

    // The "Read data" button. True when a file was written (whole or not:
    // lastComplete() tells).
    bool readData();
    // The "Abort" button, pressed while the dump runs.
    void abort() { m_abort = true; }

    [[nodiscard]] QString lastFilePath() const { return m_lastFile; }
    // Where the data go while the dump runs (removed once the file is written).
    [[nodiscard]] QString lastPartialPath() const { return m_lastPartial; }
    // Every announced byte arrived (the last one may stay out: it is never
    // decoded), without an abort or a lost link.
    [[nodiscard]] bool lastComplete() const { return m_complete; }
    [[nodiscard]] std::uint32_t lastMissingBytes() const { return m_missing; }
    [[nodiscard]] std::uint64_t lastBytesRead() const { return m_bytesRead; }

    // "ImpID12LogID7_2021-03-03_14h05m09s.bin"
    static QString fileName(int implantId, int loggerId, const QDateTime& time);
    static QString summary(int loggerId, int implantId, float usedPercent);

private:
    bool giveUp();
    QString defaultFilePath(const LoggerStatus& status) const;

    DeviceContext m_context;
    ReadDataView& m_view;
    Hooks m_hooks;
    Exchange m_exchange;
    QString m_lastFile;
    QString m_lastPartial;
    std::uint32_t m_missing = 0;
    std::uint64_t m_bytesRead = 0;
    bool m_abort = false;
    bool m_complete = false;
};
