// Arbitrary bytes as a data file, through everything that reads one: the
// loader, the stream decoder, the CSV export, saving and the two panes'
// drawing. Besides not crashing, each must do what the file format promises:
// a complete file loads byte for byte and nothing else does, the decoder's
// events make whole lines, the export matches what printf would write, and a
// saved document loads back unchanged.

#include "data/CsvExport.h"
#include "data/DataFile.h"
#include "data/DataStreamDecoder.h"
#include "data/PaneDrawing.h"
#include "tests/fuzz/FuzzSupport.h"

#include <QFile>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using FuzzSupport::check;

namespace {

const CivilTime PcClock = CivilTime::fromFields(2024, 3, 3, 9, 5, 7);

QString scratch(const char* name)
{
    return FuzzSupport::scratchFolder() + QLatin1Char('/') + QLatin1String(name);
}

void writeFile(const QString& path, const std::uint8_t* data, std::size_t size)
{
    QFile file(path);
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                         file.write(reinterpret_cast<const char*>(data),
                                    static_cast<qint64>(size)) == static_cast<qint64>(size);
    check(written, "the input can be put in the scratch folder");
}

std::string readFile(const QString& path)
{
    QFile file(path);
    check(file.open(QIODevice::ReadOnly), "a file just written can be read");
    return file.readAll().toStdString();
}

// The date as the export writes it, from the calendar fields.
std::string idAndDate(int id, CivilTime date)
{
    const CivilTime::Fields f = date.fields();
    char text[64];
    std::snprintf(text, sizeof text, "%i,%04d-%02d-%02d %02d:%02d:%02d", id, f.year, f.month, f.day,
                  f.hour, f.minute, f.second);
    return text;
}

// Checks that the decoder's events come in an order that makes lines, keeps
// them for comparing decodes, and writes the two export files the slow way,
// with printf, to compare with the export's own formatter.
struct CheckingConsumer {
    enum class Open { Nothing, Record, Group };

    explicit CheckingConsumer(int implant) : implantId(implant) {}

    int implantId;
    Open open = Open::Nothing;
    bool ended = false;
    std::vector<std::string> events;
    std::string records = CsvExport::RecordHeader;
    std::string groups = CsvExport::GroupHeader;

    void begin(Open what, int id)
    {
        check(!ended, "nothing comes after the end of the stream");
        check(open == Open::Nothing, "a record or group begins only when none is open");
        check(id == implantId, "every line carries the file's implant ID");
        open = what;
    }
    void recordBegins(int id, CivilTime date)
    {
        begin(Open::Record, id);
        const std::string text = idAndDate(id, date);
        records += text;
        events.push_back("R" + text);
    }
    void recordEnds(const RecordValues& v)
    {
        check(open == Open::Record, "a record ends only after it began");
        open = Open::Nothing;
        char text[96];
        if (v.hasBody())
            std::snprintf(text, sizeof text, ",%3.2f,%3.2f,%i,%i,%i\r\n",
                          static_cast<double>(v.body()), static_cast<double>(v.collar()),
                          v.activity, v.headDown, v.headChanges);
        else
            std::snprintf(text, sizeof text, ",,%3.2f,%i,%i,%i\r\n",
                          static_cast<double>(v.collar()), v.activity, v.headDown, v.headChanges);
        records += text;
        events.push_back(std::string("E") + text);
    }
    void groupBegins(int id, CivilTime date)
    {
        begin(Open::Group, id);
        const std::string text = idAndDate(id, date);
        groups += text;
        events.push_back("G" + text);
    }
    void groupValue(int value)
    {
        check(open == Open::Group, "a heart-rate value stands inside a group");
        check(value >= DataStreamDecoder::LowestHeartRate &&
                  value <= DataStreamDecoder::HighestHeartRate,
              "a heart-rate value is 15 to 150");
        groups += "," + std::to_string(value);
        events.push_back("V" + std::to_string(value));
    }
    void groupEnds()
    {
        check(open == Open::Group, "a group ends only after it began");
        open = Open::Nothing;
        groups += "\r\n";
        events.emplace_back("g");
    }
    void endOfStream()
    {
        check(!ended, "the stream ends once");
        ended = true;
        records += "\r";
        groups += "\r";
    }
};

std::uint32_t u32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void checkDecodes(const DataDocument& document, const std::uint8_t* data, std::size_t size)
{
    CheckingConsumer full(document.implantId());
    DataStreamDecoder::decode(document, full, PcClock);
    check(full.ended, "the decoder reports the end of the stream");

    // A decode that stops early (as the panes' does) sees the beginning of
    // the same events and nothing else.
    const std::size_t dataBytes = document.size() - DataDocument::HeaderSize;
    const std::size_t limit =
        DataDocument::HeaderSize + (size > 0 ? data[size - 1] * 131U % (dataBytes + 1) : 0);
    CheckingConsumer early(document.implantId());
    DataStreamDecoder::decode(document, early, PcClock, limit);
    check(early.ended, "a decode with a limit reports the end too");
    check(early.events.size() <= full.events.size() &&
              std::equal(early.events.begin(), early.events.end(), full.events.begin()),
          "a decode with a limit gives the first events of the whole decode");

    const QString recordPath = scratch("exportBT.csv");
    const QString groupPath = scratch("exportHB.csv");
    QString error;
    check(CsvExport::write(document, recordPath, groupPath, PcClock, &error),
          "the export of a loaded document is written");
    check(readFile(recordPath) == full.records, "the record file is what printf would write");
    check(readFile(groupPath) == full.groups, "the heart-rate file is what printf would write");
}

// The export names for a data file of any name (the input's last bytes):
// one of each kind, both in the data file's folder, neither the data file.
void checkExportPaths(const std::uint8_t* data, std::size_t size)
{
    const std::size_t length = std::min<std::size_t>(size, 24);
    const QString path = QStringLiteral("/data/") +
                         QString::fromUtf8(reinterpret_cast<const char*>(data + size - length),
                                           static_cast<qsizetype>(length));
    const QString records = CsvExport::exportPath(path, QStringLiteral("BT"));
    const QString groups = CsvExport::exportPath(path, QStringLiteral("HB"));
    check(records != groups && records != path && groups != path,
          "the two export files and the data file have three names");
    check(records.endsWith(QLatin1String("BT.csv")) && groups.endsWith(QLatin1String("HB.csv")),
          "an export file is named for its kind");
    const auto folder = [](const QString& p) {
        return p.left(p.lastIndexOf(QLatin1Char('/')) + 1);
    };
    check(folder(records) == folder(path) && folder(groups) == folder(path),
          "the export files stand beside the data file");
}

void draw(const DataDocument& document)
{
    QImage image(240, 160, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        PaneDrawing::drawRecords(painter, document, PcClock);
    }
    {
        // The left pane after a download: 800 x 800 stretched to the pane.
        QPainter painter(&image);
        painter.setWindow(0, 0, 800, 800);
        PaneDrawing::drawRecords(painter, document, PcClock);
        PaneDrawing::drawGroups(painter, document, PcClock);
    }
    FuzzSupport::keep(image.pixel(0, 0));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::ensureGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    checkExportPaths(data, size);

    const QString input = scratch("input.bin");
    writeFile(input, data, size);
    const DataFile::Loaded loaded = DataFile::load(input);

    // What the format says: the signature, the 72-byte block, then the N
    // data bytes its used-memory field counts; N beyond any logger's memory
    // is a damaged file.
    const bool signature =
        size >= DataFile::SignatureSize &&
        std::memcmp(data, DataFile::Signature.data(), DataFile::SignatureSize) == 0;
    const std::size_t headerEnd = DataFile::SignatureSize + DataDocument::HeaderSize;
    const std::uint32_t dataBytes = signature && size >= headerEnd ? u32(data + 29) : 0;
    const bool complete = signature && size >= headerEnd && dataBytes <= DataFile::MaxDataBytes &&
                          size - headerEnd >= dataBytes;
    if (!loaded.document) {
        check(!complete, "a complete data file loads");
        check(!loaded.error.isEmpty(), "a file is never refused without a message");
        return 0;
    }
    check(complete, "only a complete data file loads");
    const DataDocument& document = *loaded.document;
    check(document.size() == DataDocument::HeaderSize + dataBytes &&
              std::memcmp(document.bytes().constData(), data + DataFile::SignatureSize,
                          document.size()) == 0,
          "the document holds the header and the data bytes as the file has them");

    checkDecodes(document, data, size);

    const QString copy = scratch("copy.bin");
    check(DataFile::save(copy, document), "a loaded document can be saved");
    const DataFile::Loaded again = DataFile::load(copy);
    check(again.document && again.document->bytes() == document.bytes(),
          "a saved document loads back byte for byte");

    draw(document);
    return 0;
}
