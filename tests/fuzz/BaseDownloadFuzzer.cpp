// Arbitrary bytes as what a base-station download meets: a reply from the
// base station (the connected signal, a status frame, a memory chunk, the
// revision texts), and the repository file that an earlier download left
// behind. Besides not crashing: the CRC agrees with a bit-by-bit reference, a
// frame is taken exactly when its size and CRC are right, frames built and
// read back give what went in, and resuming keeps the data already held,
// puts the next chunk at its offset and refuses what is not a data file
// without touching it.

#include "app/DataFolders.h"
#include "base/BaseFrame.h"
#include "base/Crc16.h"
#include "base/RepositoryFile.h"
#include "data/DataFile.h"
#include "sim/SimulatedLogger.h"
#include "tests/fuzz/FuzzSupport.h"

#include <QFile>

#include <algorithm>

using FuzzSupport::check;

namespace {

using Bytes = std::span<const std::uint8_t>;

std::uint8_t reversed(std::uint8_t b)
{
    std::uint8_t r = 0;
    for (int i = 0; i < 8; ++i)
        r = static_cast<std::uint8_t>(r | (((b >> i) & 1U) << (7 - i)));
    return r;
}

// CRC-16/MCRF4XX the textbook way: the polynomial 0x1021 most significant
// bit first on reflected bytes, the result reflected back.
std::uint16_t referenceCrc(Bytes bytes)
{
    std::uint16_t crc = 0xFFFF;
    for (std::uint8_t b : bytes) {
        crc = static_cast<std::uint16_t>(crc ^ (reversed(b) << 8));
        for (int i = 0; i < 8; ++i)
            crc = static_cast<std::uint16_t>((crc & 0x8000U) != 0 ? (crc << 1) ^ 0x1021 : crc << 1);
    }
    return static_cast<std::uint16_t>(reversed(static_cast<std::uint8_t>(crc >> 8)) |
                                      (reversed(static_cast<std::uint8_t>(crc & 0xFF)) << 8));
}

// A frame of `length` bytes whose last two are the CRC of the others, low first.
bool referenceFrame(Bytes bytes, std::size_t length)
{
    return bytes.size() == length &&
           referenceCrc(bytes.first(length - 2)) == (bytes[length - 2] | (bytes[length - 1] << 8));
}

void checkFrames(Bytes input)
{
    check(Crc16::compute(input) == referenceCrc(input), "the CRC agrees with the reference");

    const auto status = BaseFrame::statusFromFrame(input);
    check(status.has_value() == referenceFrame(input, BaseFrame::StatusFrameSize),
          "a status frame is taken exactly when its size and CRC are right");
    check(!status || std::equal(status->bytes().begin(), status->bytes().end(), input.begin()),
          "a good status frame gives its first 72 bytes");
    check(BaseFrame::chunkIsValid(input) == referenceFrame(input, BaseFrame::ChunkFrameSize),
          "a chunk is taken exactly when its size and CRC are right");
    check(BaseFrame::isConnectedSignal(input) ==
              (input.size() == BaseFrame::ConnectedSignalSize && input[0] == BaseFrame::Marker &&
               input[1] == BaseFrame::Marker),
          "the connected signal is four bytes starting 0xA0 0xA0");

    // Frames as the base station builds them are taken, and give back what
    // went in (a short status padded with zeros, a short chunk with 0xFF).
    const std::uint8_t extra = input.empty() ? 0 : input.back();
    const auto built = BaseFrame::statusFrame(input, extra, static_cast<std::uint8_t>(~extra));
    const auto back = BaseFrame::statusFromFrame(built);
    const std::size_t statusPart = std::min(input.size(), LoggerStatus::Size);
    check(back &&
              std::equal(input.begin(), input.begin() + static_cast<long>(statusPart),
                         back->bytes().begin()) &&
              std::all_of(back->bytes().begin() + static_cast<long>(statusPart),
                          back->bytes().end(), [](std::uint8_t b) { return b == 0; }),
          "a status frame built from a block reads back as that block");
    const auto chunk = BaseFrame::chunkFrame(input);
    const std::size_t chunkPart = std::min(input.size(), BaseFrame::ChunkDataSize);
    check(BaseFrame::chunkIsValid(chunk) &&
              std::equal(input.begin(), input.begin() + static_cast<long>(chunkPart),
                         chunk.begin()) &&
              std::all_of(chunk.begin() + static_cast<long>(chunkPart),
                          chunk.begin() + BaseFrame::ChunkDataSize,
                          [](std::uint8_t b) { return b == 0xFF; }),
          "a chunk frame built from memory is taken and holds that memory");

    for (std::size_t field = 0; field < 2; ++field) {
        const Bytes part = input.subspan(std::min(input.size(), field * 10));
        const Bytes first = part.first(std::min<std::size_t>(part.size(), 10));
        const auto end = std::find(first.begin(), first.end(), std::uint8_t{0});
        check(BaseFrame::revisionText(part) ==
                  QString::fromLatin1(reinterpret_cast<const char*>(first.data()),
                                      static_cast<qsizetype>(end - first.begin())),
              "a revision text is its field up to the first zero byte");
    }
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    check(file.open(QIODevice::ReadOnly), "the repository file can be read back");
    return file.readAll();
}

// The bytes as unsigned values, to compare with the input's.
Bytes bytesOf(const QByteArray& bytes)
{
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
            static_cast<std::size_t>(bytes.size())};
}

std::uint32_t u32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

QByteArray expectedHead(const LoggerStatus& status, std::uint32_t count)
{
    const auto header = RepositoryFile::headerWithCount(status, count);
    QByteArray head(reinterpret_cast<const char*>(DataFile::Signature.data()),
                    DataFile::SignatureSize);
    head.append(reinterpret_cast<const char*>(header.data()), LoggerStatus::Size);
    return head;
}

// The input as the file an earlier download of the pair left.
void checkRepositoryFile(Bytes input)
{
    static const DataFolders folders(FuzzSupport::scratchFolder());
    RepositoryFile repository(folders, 7, 12);
    {
        QFile file(repository.path());
        check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                  file.write(reinterpret_cast<const char*>(input.data()),
                             static_cast<qint64>(input.size())) ==
                      static_cast<qint64>(input.size()),
              "the earlier file can be put in place");
    }
    const LoggerStatus status(SimulatedLogger::typicalStatus());
    const std::size_t signatureBytes = std::min(input.size(), DataFile::SignatureSize);
    const bool startsLikeDataFile =
        std::equal(input.begin(), input.begin() + static_cast<long>(signatureBytes),
                   DataFile::Signature.begin());
    const auto headerEnd = static_cast<std::size_t>(RepositoryFile::DataOffset);

    std::uint32_t position = 1;
    const RepositoryFile::Opened opened = repository.open(status, &position);
    const QByteArray afterFile = readAll(repository.path());
    const Bytes after = bytesOf(afterFile);
    if (!startsLikeDataFile) {
        check(opened == RepositoryFile::Opened::Unsupported,
              "a file that is not a data file is not resumed");
        check(std::ranges::equal(after, input), "a file that is not a data file is left as it was");
        return;
    }
    std::uint32_t expected = 0;
    if (input.size() < headerEnd) {
        // Cut off while it was being made: started again.
        check(opened == RepositoryFile::Opened::Created && position == 0,
              "a file cut off inside its header starts again");
        check(afterFile == expectedHead(status, 0), "a new file holds the signature and header");
    } else {
        const std::uint64_t held = input.size() - headerEnd;
        const std::uint32_t count = u32(input.data() + 29);
        expected = count <= held ? count : static_cast<std::uint32_t>(held / 100 * 100);
        check(opened == RepositoryFile::Opened::Resumed && position == expected,
              "a data file resumes from its count, or from the last whole chunk it holds");
        check(afterFile.left(static_cast<qsizetype>(headerEnd)) == expectedHead(status, position) &&
                  std::ranges::equal(after.subspan(headerEnd), input.subspan(headerEnd)),
              "resuming rewrites the header only");
    }

    // The next chunk lands at its offset; the finished document is the new
    // header, the data held, and that chunk.
    std::array<std::uint8_t, 100> next{};
    for (std::size_t i = 0; i < next.size(); ++i)
        next[i] = static_cast<std::uint8_t>(i * 37 + input.size());
    check(repository.storeChunk(position, next), "a chunk can be stored");
    const auto document = repository.finish(status, position + 100);
    check(document.has_value(), "a finished download gives its document");
    const Bytes bytes = bytesOf(document->bytes());
    const auto header = RepositoryFile::headerWithCount(status, position + 100);
    check(bytes.size() == LoggerStatus::Size + position + 100 &&
              std::equal(header.begin(), header.end(), bytes.begin()) &&
              std::equal(input.begin() + static_cast<long>(std::min(input.size(), headerEnd)),
                         input.begin() +
                             static_cast<long>(std::min(input.size(), headerEnd + position)),
                         bytes.begin() + LoggerStatus::Size) &&
              std::equal(next.begin(), next.end(),
                         bytes.begin() + static_cast<long>(LoggerStatus::Size + position)),
          "a resumed download keeps the data held and adds the chunk at its offset");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const char check_[] = "123456789";
    check(referenceCrc(std::span(reinterpret_cast<const std::uint8_t*>(check_), 9)) == 0x6F91,
          "the reference CRC has the check value 0x6F91");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Bytes input(data, size);
    checkFrames(input);
    checkRepositoryFile(input);
    return 0;
}
