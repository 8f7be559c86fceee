#pragma once

#include "data/DataDocument.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// The ".bin" data file: a 9-byte signature, the 72-byte status block, and
// the N data bytes the block's used-memory field counts.
class DataFile {
public:
    static constexpr std::array<std::uint8_t, 9> Signature{0x23, 0x48, 0x34, 0x85, 0x69,
                                                           0x21, 0x65, 0x17, 0x93};
    static constexpr std::size_t SignatureSize = Signature.size();
    // No logger holds more; a larger N is a damaged or foreign file.
    static constexpr std::uint32_t MaxDataBytes = 67'104'864;

    struct Loaded {
        std::optional<DataDocument> document;
        QString error; // the message for the user when there is no document
    };

    // Reads a data file. Nothing past the 81 + N bytes is read; a file that
    // cannot be read whole is refused with a message saying why.
    static Loaded load(const QString& path);

    // Writes the signature and the document's bytes. The file is replaced
    // only once everything is written: a save that fails leaves the earlier
    // file as it was. False (with the reason) on failure.
    static bool save(const QString& path, const DataDocument& document, QString* error = nullptr);

    // Whether save() could write `path` now: its folder exists and takes a
    // new file, and the path is not a folder. False with the reason.
    static bool checkWritable(const QString& path, QString* error = nullptr);
};
