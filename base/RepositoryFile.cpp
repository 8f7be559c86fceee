#include "base/RepositoryFile.h"

#include "app/DataFolders.h"
#include "data/DataFile.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint32_t ChunkSize = 100;

bool writeHeader(QFile& file, const std::array<std::uint8_t, LoggerStatus::Size>& header)
{
    const auto* signature = reinterpret_cast<const char*>(DataFile::Signature.data());
    return file.seek(0) &&
           file.write(signature, DataFile::SignatureSize) ==
               static_cast<qint64>(DataFile::SignatureSize) &&
           file.write(reinterpret_cast<const char*>(header.data()), LoggerStatus::Size) ==
               static_cast<qint64>(LoggerStatus::Size);
}

// A file of fewer bytes than a header holds nothing that could be resumed:
// a download that was cut off as the file was being made. Only one that is
// (the beginning of) a data file is taken for that.
bool isUnfinishedStart(const QByteArray& head)
{
    return head.size() < static_cast<qsizetype>(RepositoryFile::DataOffset) &&
           std::memcmp(head.constData(), DataFile::Signature.data(),
                       std::min<std::size_t>(static_cast<std::size_t>(head.size()),
                                             DataFile::SignatureSize)) == 0;
}

} // namespace

RepositoryFile::RepositoryFile(const DataFolders& folders, int implantId, int loggerId)
{
    QString folder = folders.folder(QString::fromLatin1(FolderName));
    if (folder.isEmpty())
        folder = QDir(folders.root()).filePath(QString::fromLatin1(FolderName));
    m_path = QDir(folder).filePath(fileName(implantId, loggerId));
}

QString RepositoryFile::fileName(int implantId, int loggerId)
{
    return QStringLiteral("DldImpID%1LogID%2.bin").arg(implantId).arg(loggerId);
}

std::array<std::uint8_t, LoggerStatus::Size>
RepositoryFile::headerWithCount(const LoggerStatus& status, std::uint32_t count)
{
    std::array<std::uint8_t, LoggerStatus::Size> header = status.bytes();
    for (std::size_t i = 0; i < 4; ++i)
        header[20 + i] = static_cast<std::uint8_t>(count >> (8 * i));
    return header;
}

RepositoryFile::Opened RepositoryFile::open(const LoggerStatus& status, std::uint32_t* position)
{
    QFile file(m_path);
    Opened result = Opened::Created;
    *position = 0;
    if (file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) {
        const QByteArray head = file.read(static_cast<qint64>(DataOffset));
        if (isUnfinishedStart(head)) {
            file.resize(0);
        } else if (head.size() < static_cast<qsizetype>(DataFile::SignatureSize) ||
                   std::memcmp(head.constData(), DataFile::Signature.data(),
                               DataFile::SignatureSize) != 0) {
            return Opened::Unsupported;
        } else {
            const LoggerStatus earlier(std::span(
                reinterpret_cast<const std::uint8_t*>(head.constData()) + DataFile::SignatureSize,
                LoggerStatus::Size));
            // A count beyond what the file holds (the file lost its end in a
            // power cut) resumes from the last whole chunk that is there.
            const std::uint64_t held = static_cast<std::uint64_t>(file.size()) - DataOffset;
            *position = earlier.usedMemoryBytes() <= held
                            ? earlier.usedMemoryBytes()
                            : static_cast<std::uint32_t>(held / ChunkSize * ChunkSize);
            result = Opened::Resumed;
        }
    } else if (!file.open(QIODevice::ReadWrite | QIODevice::Truncate)) {
        return Opened::Failed;
    }
    if (!writeHeader(file, headerWithCount(status, *position)))
        return Opened::Failed;
    return result;
}

bool RepositoryFile::storeChunk(std::uint32_t offset, std::span<const std::uint8_t> chunk)
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        return false;
    std::array<std::uint8_t, 4> count{};
    for (std::size_t i = 0; i < count.size(); ++i)
        count[i] = static_cast<std::uint8_t>(offset >> (8 * i));
    // The data first, then the count that claims it.
    return file.seek(static_cast<qint64>(DataOffset + offset)) &&
           file.write(reinterpret_cast<const char*>(chunk.data()),
                      static_cast<qint64>(chunk.size())) == static_cast<qint64>(chunk.size()) &&
           file.seek(static_cast<qint64>(CountOffset)) &&
           file.write(reinterpret_cast<const char*>(count.data()), 4) == 4;
}

std::optional<DataDocument> RepositoryFile::finish(const LoggerStatus& status,
                                                   std::uint32_t storedCount)
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        return std::nullopt;
    if (!writeHeader(file, headerWithCount(status, storedCount)) ||
        !file.seek(static_cast<qint64>(DataFile::SignatureSize)))
        return std::nullopt;
    const auto wanted = static_cast<qint64>(LoggerStatus::Size + storedCount);
    QByteArray bytes = file.read(wanted);
    if (bytes.size() != wanted)
        return std::nullopt;
    return DataDocument(std::move(bytes));
}
