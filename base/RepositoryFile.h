#pragma once

#include "data/DataDocument.h"
#include "logger/LoggerStatus.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <span>

class DataFolders;

// The file a base-station download of one implant and logger pair goes into,
// "Downloads/DldImpID12LogID34.bin": a data file (signature, the 72-byte
// status, the data) whose memory byte k lies at offset 81 + k. The used-memory
// field of its header is the stored count: the bytes held, which the next
// download of the pair resumes from.
//
// The file is kept resumable at every moment. A new file gets its signature
// and header (stored count 0) when it is made, and every stored chunk brings
// the count up to date, so a download cut off by a crash, a power loss or a
// killed program is resumed, never refused as a foreign file. The count
// stays one chunk behind what arrived: the last chunk is asked for again,
// since the logger may have written more into it since.
class RepositoryFile {
public:
    static constexpr auto FolderName = "Downloads";
    static constexpr std::uint64_t DataOffset = 81;
    static constexpr std::uint64_t CountOffset = 9 + 20;

    enum class Opened {
        Resumed,     // an earlier download's file; the position is its stored count
        Created,     // a new file, position 0
        Unsupported, // a file of that name that is not a data file: left as it is
        Failed       // neither opened nor made
    };

    RepositoryFile(const DataFolders& folders, int implantId, int loggerId);

    // "DldImpID12LogID34.bin"
    static QString fileName(int implantId, int loggerId);
    [[nodiscard]] QString path() const { return m_path; }

    // Opens or makes the file for a download that received `status`, and
    // writes that status as its header with the stored count the download
    // starts from (`*position`).
    Opened open(const LoggerStatus& status, std::uint32_t* position);
    // Stores the chunk asked for at `offset` and sets the stored count to it.
    bool storeChunk(std::uint32_t offset, std::span<const std::uint8_t> chunk);
    // The finish: signature, `status` as header with `storedCount`, and the
    // document of header and stored data read back. Nothing when the file
    // cannot be opened or read.
    std::optional<DataDocument> finish(const LoggerStatus& status, std::uint32_t storedCount);

    // The status block with its used-memory field set to `count`.
    static std::array<std::uint8_t, LoggerStatus::Size> headerWithCount(const LoggerStatus& status,
                                                                        std::uint32_t count);

private:
    QString m_path;
};
