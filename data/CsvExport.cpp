#include "data/CsvExport.h"
#include <QCoreApplication>

#include "data/DataDocument.h"
#include "data/DataStreamDecoder.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <charconv>
#include <climits>
#include <cstring>
#include <memory>

namespace {

constexpr std::size_t FlushSize = 1 << 20;

// Collects the output of one file and hands it to the file in large pieces.
class Output {
public:
    explicit Output(QSaveFile& file) : m_file(file), m_buffer(new char[Capacity]) {}

    // Room for `most` characters; the caller then says where it stopped.
    char* grow(std::size_t most)
    {
        if (m_used + most > Capacity)
            flush();
        return m_buffer.get() + m_used;
    }
    void shrinkTo(const char* end) { m_used = static_cast<std::size_t>(end - m_buffer.get()); }
    void append(const char* text, std::size_t length)
    {
        std::memcpy(grow(length), text, length);
        m_used += length;
    }
    bool flush()
    {
        if (m_used > 0 && m_file.write(m_buffer.get(), static_cast<qint64>(m_used)) !=
                              static_cast<qint64>(m_used))
            m_failed = true;
        m_used = 0;
        return !m_failed;
    }

private:
    static constexpr std::size_t Capacity = FlushSize;

    QSaveFile& m_file;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_used = 0;
    bool m_failed = false;
};

char* writeInt(char* out, int value)
{
    return std::to_chars(out, out + 12, value).ptr;
}

// "12,2021-03-03 14:05:09". Consecutive lines mostly share the Id and the
// day, so both are formatted once and the time of day per line.
class IdAndDate {
public:
    char* write(char* out, int id, CivilTime date)
    {
        if (id != m_id) {
            m_id = id;
            m_idLength = static_cast<std::size_t>(writeInt(m_idText, id) - m_idText);
            m_idText[m_idLength++] = ',';
        }
        std::memcpy(out, m_idText, m_idLength);
        out += m_idLength;
        std::int64_t day = date.seconds() / 86400;
        std::int64_t second = date.seconds() % 86400;
        if (second < 0) {
            second += 86400;
            --day;
        }
        if (day != m_day) {
            m_day = day;
            date.format(m_dateText);
        }
        std::memcpy(out, m_dateText, 11);
        out += 11;
        const auto two = [&out](std::int64_t v) {
            *out++ = static_cast<char>('0' + v / 10);
            *out++ = static_cast<char>('0' + v % 10);
        };
        two(second / 3600);
        *out++ = ':';
        two(second / 60 % 60);
        *out++ = ':';
        two(second % 60);
        return out;
    }

private:
    int m_id = -1;
    char m_idText[16]{};
    std::size_t m_idLength = 0;
    std::int64_t m_day = INT64_MIN;
    char m_dateText[CivilTime::TextLength]{};
};

// The two halves of a record line: "12,2021-03-03 14:05:09" when the record
// begins, ",38.50,37.25,512,30,4\r\n" when its values have come.
void writeRecordBegin(Output& records, IdAndDate& date, int id, CivilTime when)
{
    char* out = records.grow(32);
    records.shrinkTo(date.write(out, id, when));
}

void writeRecordValues(Output& records, const RecordValues& v)
{
    char* out = records.grow(64);
    *out++ = ',';
    if (v.hasBody())
        out += CsvExport::formatTemperature(v.bodyRaw, out);
    *out++ = ',';
    out += CsvExport::formatTemperature(v.collarRaw, out);
    *out++ = ',';
    out = writeInt(out, v.activity);
    *out++ = ',';
    out = writeInt(out, v.headDown);
    *out++ = ',';
    out = writeInt(out, v.headChanges);
    *out++ = '\r';
    *out++ = '\n';
    records.shrinkTo(out);
}

struct ExportConsumer {
    Output& records;
    Output& groups;
    IdAndDate recordDate;
    IdAndDate groupDate;

    void recordBegins(int id, CivilTime date) { writeRecordBegin(records, recordDate, id, date); }
    void recordEnds(const RecordValues& v) { writeRecordValues(records, v); }
    void groupBegins(int id, CivilTime date)
    {
        char* out = groups.grow(32);
        groups.shrinkTo(groupDate.write(out, id, date));
    }
    void groupValue(int value)
    {
        char* out = groups.grow(8);
        *out++ = ',';
        groups.shrinkTo(writeInt(out, value));
    }
    void groupEnds() { groups.append("\r\n", 2); }
    void endOfStream() {}
};

// Only the records dated in a range, each line as in the record file.
struct RangeConsumer {
    Output& records;
    std::int64_t from;
    std::int64_t to;
    IdAndDate recordDate;
    bool inRange = false;

    void recordBegins(int id, CivilTime date)
    {
        inRange = date.seconds() >= from && date.seconds() <= to;
        if (inRange)
            writeRecordBegin(records, recordDate, id, date);
    }
    void recordEnds(const RecordValues& v)
    {
        if (inRange)
            writeRecordValues(records, v);
    }
    void groupBegins(int, CivilTime) {}
    void groupValue(int) {}
    void groupEnds() {}
    void endOfStream() {}
};

} // namespace

QString CsvExport::exportPath(const QString& dataPath, const QString& kind)
{
    const QFileInfo info(dataPath);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    // A leading dot (".bin") names a hidden file, not an extension.
    const QString base = dot > 0 ? name.left(dot) : name;
    const QString folder = dataPath.left(dataPath.size() - name.size());
    return folder + base + kind + QStringLiteral(".csv");
}

std::size_t CsvExport::formatTemperature(std::int16_t raw, char* out)
{
    // raw / 256 in hundredths is raw * 25 / 64; printf rounds the exact
    // value, ties to even, and keeps the sign of a negative value that
    // rounds to zero ("-0.00").
    const bool negative = raw < 0;
    const int q = (negative ? -raw : raw) * 25;
    int hundredths = q / 64;
    const int rest = q % 64;
    if (rest > 32 || (rest == 32 && (hundredths & 1) != 0))
        ++hundredths;
    char* p = out;
    if (negative)
        *p++ = '-';
    p = std::to_chars(p, p + 6, hundredths / 100).ptr;
    *p++ = '.';
    *p++ = static_cast<char>('0' + hundredths / 10 % 10);
    *p++ = static_cast<char>('0' + hundredths % 10);
    return static_cast<std::size_t>(p - out);
}

QString CsvExport::temperatureText(std::int16_t raw)
{
    char text[16];
    const std::size_t n = formatTemperature(raw, text);
    return QString::fromLatin1(text, static_cast<qsizetype>(n));
}

bool CsvExport::write(const DataDocument& document, const QString& recordPath,
                      const QString& groupPath, CivilTime pcClock, QString* error)
{
    QSaveFile recordFile(recordPath);
    QSaveFile groupFile(groupPath);
    auto fail = [&](const QString& path) {
        if (error != nullptr)
            *error =
                QCoreApplication::translate("CsvExport", "Error: Can not write the export file %1!")
                    .arg(path);
        recordFile.cancelWriting();
        groupFile.cancelWriting();
        return false;
    };
    if (!recordFile.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(recordPath);
    if (!groupFile.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(groupPath);
    {
        Output records(recordFile);
        Output groups(groupFile);
        records.append(RecordHeader, std::strlen(RecordHeader));
        groups.append(GroupHeader, std::strlen(GroupHeader));
        ExportConsumer consumer{records, groups, {}, {}};
        DataStreamDecoder::decode(document, consumer, pcClock);
        records.append("\r", 1);
        groups.append("\r", 1);
        // Both complete before either replaces its file: a disk that fills
        // up on the second leaves the earlier pair as it was.
        if (!records.flush())
            return fail(recordPath);
        if (!groups.flush())
            return fail(groupPath);
    }
    return commitPair(recordFile, groupFile, error);
}

bool CsvExport::commitPair(QSaveFile& first, QSaveFile& second, QString* error)
{
    const QString firstPath = first.fileName();
    auto fail = [&](const QString& path) {
        if (error != nullptr)
            *error =
                QCoreApplication::translate("CsvExport", "Error: Can not write the export file %1!")
                    .arg(path);
        first.cancelWriting();
        second.cancelWriting();
        return false;
    };
    // The earlier first file is put aside until the second is in place, so
    // that a failing second rename can bring it back: both files or neither.
    QString aside;
    if (QFileInfo::exists(firstPath)) {
        aside = firstPath + QStringLiteral(".previous");
        QFile::remove(aside);
        if (!QFile::rename(firstPath, aside))
            return fail(firstPath);
    }
    auto restore = [&] {
        if (!aside.isEmpty()) {
            QFile::remove(firstPath);
            QFile::rename(aside, firstPath);
        }
    };
    if (!first.commit()) {
        restore();
        return fail(firstPath);
    }
    if (!second.commit()) {
        restore();
        return fail(second.fileName());
    }
    if (!aside.isEmpty())
        QFile::remove(aside);
    return true;
}

bool CsvExport::writeRecords(const DataDocument& document, const QString& path, CivilTime pcClock,
                             std::int64_t from, std::int64_t to, QString* error)
{
    QSaveFile file(path);
    auto fail = [&] {
        if (error != nullptr)
            *error =
                QCoreApplication::translate("CsvExport", "Error: Can not write the export file %1!")
                    .arg(path);
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail();
    Output records(file);
    records.append(RecordHeader, std::strlen(RecordHeader));
    RangeConsumer consumer{records, from, to, {}};
    DataStreamDecoder::decode(document, consumer, pcClock);
    records.append("\r", 1);
    if (!records.flush() || !file.commit())
        return fail();
    return true;
}
