#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstddef>
#include <cstdint>

// The data file of a download that is still running, kept on disk as the
// bytes come. It is a valid data file at every checkpoint: signature, header,
// and the data so far, with the header's used-memory field saying how many
// bytes that is. A crash, a power loss or a pulled plug three hours into a
// full memory then keeps those three hours; a download that ends normally
// writes its real file and throws this one away.
class PartialDataFile {
public:
    PartialDataFile() = default;
    ~PartialDataFile();

    PartialDataFile(const PartialDataFile&) = delete;
    PartialDataFile& operator=(const PartialDataFile&) = delete;

    // "Cow12.bin" -> "Cow12-partial.bin", beside it.
    static QString pathFor(const QString& finalPath);

    // Creates the file with the 72-byte header and no data yet.
    bool begin(const QString& path, const QByteArray& header);
    void append(const char* data, std::size_t size);
    // Brings the count in the header up to date and puts everything on the disk.
    void checkpoint();
    // The download ended and its real file is written: this one goes.
    void discard();

    [[nodiscard]] bool isOpen() const { return m_file.isOpen(); }
    [[nodiscard]] QString path() const { return m_file.fileName(); }
    [[nodiscard]] std::uint32_t dataBytes() const { return m_dataBytes; }

private:
    QFile m_file;
    std::uint32_t m_dataBytes = 0;
    bool m_failed = false;
};
