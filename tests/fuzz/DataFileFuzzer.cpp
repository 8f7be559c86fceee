// Arbitrary bytes as a data file, through everything that reads one: the
// loader, the stream decoder, the CSV export, saving, the two panes' drawing
// and the explorer's index and plot series. Besides not crashing, each must
// do what the file format promises: a complete file loads byte for byte and
// nothing else does, the decoder's events make whole lines, the export
// matches what printf would write, a saved document loads back unchanged, and
// the explorer holds the decoder's records with date ranges and sums that
// agree with a count one by one.

#include "data/CsvExport.h"
#include "data/DataFile.h"
#include "data/DataStreamDecoder.h"
#include "data/PaneDrawing.h"
#include "data/PlotSeries.h"
#include "data/RecordIndex.h"
#include "tests/fuzz/FuzzSupport.h"

#include <QFile>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
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
    // Each record's date and line (an open last one has no values), and each
    // group's date and values, in stream order.
    struct Record {
        std::int64_t time;
        std::string line;
        std::optional<RecordValues> values;
    };
    struct Group {
        std::int64_t time;
        std::vector<std::uint8_t> values;
    };
    std::vector<Record> recordList;
    std::vector<Group> groupList;

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
        recordList.push_back({date.seconds(), text, std::nullopt});
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
        recordList.back().line += text;
        recordList.back().values = v;
    }
    void groupBegins(int id, CivilTime date)
    {
        begin(Open::Group, id);
        const std::string text = idAndDate(id, date);
        groups += text;
        events.push_back("G" + text);
        groupList.push_back({date.seconds(), {}});
    }
    void groupValue(int value)
    {
        check(open == Open::Group, "a heart-rate value stands inside a group");
        check(value >= DataStreamDecoder::LowestHeartRate &&
                  value <= DataStreamDecoder::HighestHeartRate,
              "a heart-rate value is 15 to 150");
        groups += "," + std::to_string(value);
        events.push_back("V" + std::to_string(value));
        groupList.back().values.push_back(static_cast<std::uint8_t>(value));
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

CheckingConsumer checkDecodes(const DataDocument& document, const std::uint8_t* data,
                              std::size_t size)
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

    // The records of a date range, as the explorer exports them: the record
    // file's lines of the records dated in it; the whole range is the file.
    check(CsvExport::writeRecords(document, recordPath, PcClock, INT64_MIN, INT64_MAX, &error) &&
              readFile(recordPath) == full.records,
          "the records of every date are the record file");
    if (!full.recordList.empty() && size >= 2) {
        const std::int64_t from = full.recordList[data[0] % full.recordList.size()].time;
        const std::int64_t to = full.recordList[data[1] % full.recordList.size()].time;
        std::string expected = CsvExport::RecordHeader;
        for (const auto& record : full.recordList)
            if (record.time >= from && record.time <= to)
                expected += record.line;
        expected += "\r";
        check(CsvExport::writeRecords(document, recordPath, PcClock, from, to, &error) &&
                  readFile(recordPath) == expected,
              "the records of a date range are the record file's lines of those dates");
    }
    return full;
}

bool sameValues(const RecordValues& a, const RecordValues& b)
{
    return a.bodyRaw == b.bodyRaw && a.collarRaw == b.collarRaw && a.activity == b.activity &&
           a.headDown == b.headDown && a.headChanges == b.headChanges;
}

// Positions 0..count-1 in time order: every stream index once, dates never
// going back, equal dates in stream order.
template <typename Order, typename Time>
void checkTimeOrder(std::size_t count, Order order, Time time)
{
    std::vector<bool> seen(count);
    for (std::size_t pos = 0; pos < count; ++pos) {
        const std::size_t index = order(pos);
        check(index < count && !seen[index], "time order names every entry once");
        seen[index] = true;
        if (pos > 0) {
            const std::size_t before = order(pos - 1);
            check(time(before) < time(index) || (time(before) == time(index) && before < index),
                  "time order sorts by date and keeps stream order for equal dates");
        }
    }
}

// [first, second) in time order against every date one by one.
template <typename Time>
void checkRange(std::pair<std::size_t, std::size_t> range, std::size_t count, Time timeAt,
                std::int64_t from, std::int64_t to)
{
    std::size_t inside = 0;
    for (std::size_t pos = 0; pos < count; ++pos)
        inside += timeAt(pos) >= from && timeAt(pos) <= to ? 1 : 0;
    check(range.first <= range.second && range.second <= count &&
              range.second - range.first == inside,
          "a date range holds every entry of those dates");
    for (std::size_t pos = range.first; pos < range.second; ++pos)
        check(timeAt(pos) >= from && timeAt(pos) <= to,
              "a date range holds only entries of those dates");
}

void checkPlotSeries(const RecordIndex& index, PlotQuantity quantity, std::int64_t from,
                     std::int64_t to, const std::uint8_t* data, std::size_t size)
{
    const PlotSeries series(index, quantity);
    const std::size_t n = series.size();
    SeriesAggregate all;
    for (std::size_t pos = 0; pos < n; ++pos) {
        check(pos == 0 || series.time(pos - 1) <= series.time(pos),
              "a plot series runs in time order");
        check(series.hasValue(pos) == !series.entry(pos).isEmpty(),
              "an entry has a value exactly when it adds a reading");
        all.merge(series.entry(pos));
    }
    // Sums over a stretch, from the block summaries, against entry by entry.
    const std::size_t a = size > 2 ? data[2] * 7U % (n + 1) : 0;
    const std::size_t b = size > 3 ? data[3] * 13U % (n + 1) : n;
    const std::size_t begin = std::min(a, b);
    const std::size_t end = std::max(a, b);
    SeriesAggregate stretch;
    for (std::size_t pos = begin; pos < end; ++pos)
        stretch.merge(series.entry(pos));
    const SeriesAggregate summed = series.aggregate(begin, end);
    check(summed.count == stretch.count && summed.sum == stretch.sum &&
              (stretch.isEmpty() || (summed.min == stretch.min && summed.max == stretch.max)),
          "a series' sum over a stretch is the sum of its entries");

    // The columns of a plot share out the readings of its dates: each
    // reading lies in the one column whose dates hold it, and each column's
    // lowest, highest, sum and count are those of its readings one by one.
    const auto range = series.between(from, to);
    const SeriesAggregate shown = series.aggregate(range.first, range.second);
    for (int wholeDays : {0, 3}) {
        const std::vector<PlotColumn> columns = series.columns(from, to, 37, wholeDays);
        std::vector<std::size_t> filled;
        std::int64_t count = 0;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const PlotColumn& column = columns[c];
            count += column.values.count;
            if (column.values.isEmpty())
                continue;
            check(column.firstTime >= from && column.firstTime <= column.lastTime &&
                      column.lastTime <= to &&
                      (filled.empty() || columns[filled.back()].lastTime < column.firstTime),
                  "a plot column's readings lie inside its dates, after the column before");
            check(wholeDays > 0 || column.mean == column.values.mean(),
                  "a plot column is drawn at the mean of its readings");
            filled.push_back(c);
        }
        check(count == shown.count, "the columns of a plot hold every reading of its dates once");

        std::vector<SeriesAggregate> readings(columns.size());
        for (std::size_t pos = range.first; pos < range.second; ++pos) {
            if (!series.hasValue(pos))
                continue;
            const std::int64_t t = series.time(pos);
            const auto holder = std::ranges::find_if(
                filled, [&](std::size_t c) { return columns[c].lastTime >= t; });
            check(holder != filled.end() && columns[*holder].firstTime <= t,
                  "every reading of a plot's dates lies in a column");
            readings[*holder].merge(series.entry(pos));
        }
        for (const std::size_t c : filled) {
            const SeriesAggregate& held = columns[c].values;
            check(held.min == readings[c].min && held.max == readings[c].max &&
                      held.sum == readings[c].sum && held.count == readings[c].count,
                  "a plot column's lowest and highest hold every reading in it");
        }
    }

    // The entry nearest to a moment is as near as any with a value.
    const std::int64_t moment = from + (to - from) / 2;
    const std::int64_t within = size > 4 ? data[4] * 600 : 3600;
    std::optional<std::int64_t> best;
    for (std::size_t pos = 0; pos < n; ++pos) {
        const std::int64_t distance = std::abs(series.time(pos) - moment);
        if (series.hasValue(pos) && distance <= within && (!best || distance < *best))
            best = distance;
    }
    const auto nearest = series.nearest(moment, within);
    check(nearest.has_value() == best.has_value() &&
              (!nearest ||
               (series.hasValue(*nearest) && std::abs(series.time(*nearest) - moment) == *best)),
          "the nearest entry with a value is found");
}

// The explorer's index of the same document: the decoder's records and
// groups, in stream and in time order, with its date ranges and plots.
void checkExplorer(const DataDocument& document, const CheckingConsumer& decoded,
                   const std::uint8_t* data, std::size_t size)
{
    const RecordIndex index(document, PcClock);
    std::size_t complete = 0;
    for (const auto& record : decoded.recordList)
        complete += record.values ? 1 : 0;
    check(index.recordCount() == decoded.recordList.size() && index.completeRecords() == complete,
          "the index holds the decoder's records");
    for (std::size_t i = 0; i < index.recordCount(); ++i) {
        const auto& record = decoded.recordList[i];
        check(index.recordTime(i) == record.time &&
                  index.hasValues(i) == record.values.has_value() &&
                  (!record.values || sameValues(index.values(i), *record.values)),
              "each record of the index is the decoder's");
    }
    check(index.groupCount() == decoded.groupList.size(), "the index holds the decoder's groups");
    for (std::size_t g = 0; g < index.groupCount(); ++g) {
        const auto values = index.groupValues(g);
        check(index.groupTime(g) == decoded.groupList[g].time &&
                  std::ranges::equal(values, decoded.groupList[g].values),
              "each group of the index is the decoder's");
    }
    checkTimeOrder(
        complete, [&](std::size_t pos) { return index.timeOrderedRecord(pos); },
        [&](std::size_t r) { return index.recordTime(r); });
    checkTimeOrder(
        index.groupCount(), [&](std::size_t pos) { return index.timeOrderedGroup(pos); },
        [&](std::size_t g) { return index.groupTime(g); });

    const auto span = index.timeSpan();
    if (complete > 0)
        check(span.first == index.timeOrderedRecordTime(0) &&
                  span.second == index.timeOrderedRecordTime(complete - 1),
              "the time span runs from the first to the last record");
    else if (index.groupCount() == 0)
        check(span.first == 0 && span.second == -1, "nothing dated has no time span");

    // A range from two of the entries' dates, moved a little.
    std::int64_t from = span.first;
    std::int64_t to = span.second;
    if (size > 1) {
        from += static_cast<std::int8_t>(data[0]) * 60;
        to -= static_cast<std::int8_t>(data[1]) * 60;
    }
    checkRange(
        index.recordsBetween(from, to), complete,
        [&](std::size_t pos) { return index.timeOrderedRecordTime(pos); }, from, to);
    checkRange(
        index.groupsBetween(from, to), index.groupCount(),
        [&](std::size_t pos) { return index.groupTime(index.timeOrderedGroup(pos)); }, from, to);
    if (from <= to)
        for (int q = 0; q < PlotQuantityCount; ++q)
            checkPlotSeries(index, static_cast<PlotQuantity>(q), from, to, data, size);
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

    const CheckingConsumer decoded = checkDecodes(document, data, size);
    checkExplorer(document, decoded, data, size);

    const QString copy = scratch("copy.bin");
    check(DataFile::save(copy, document), "a loaded document can be saved");
    const DataFile::Loaded again = DataFile::load(copy);
    check(again.document && again.document->bytes() == document.bytes(),
          "a saved document loads back byte for byte");

    draw(document);
    return 0;
}
