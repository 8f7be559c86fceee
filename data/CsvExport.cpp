#include "data/CsvExport.h"

#include "data/DataDocument.h"
#include "data/DataStreamDecoder.h"

#include <QFileInfo>
#include <QSaveFile>

#include <charconv>
#include <cstring>
#include <string>

namespace {

constexpr std::size_t FlushSize = 1 << 20;

// Collects the output of one file and hands it to the file in large pieces.
class Output {
public:
    explicit Output(QSaveFile& file) : m_file(file) { m_buffer.reserve(FlushSize + 4096); }

    char* grow(std::size_t most)
    {
        const std::size_t size = m_buffer.size();
        m_buffer.resize(size + most);
        return m_buffer.data() + size;
    }
    void shrinkTo(const char* end)
    {
        m_buffer.resize(static_cast<std::size_t>(end - m_buffer.data()));
    }
    void append(const char* text, std::size_t length)
    {
        std::memcpy(grow(length), text, length);
        if (m_buffer.size() >= FlushSize)
            flush();
    }
    void maybeFlush()
    {
        if (m_buffer.size() >= FlushSize)
            flush();
    }
    bool flush()
    {
        if (!m_buffer.empty() &&
            m_file.write(m_buffer.data(), static_cast<qint64>(m_buffer.size())) !=
                static_cast<qint64>(m_buffer.size()))
            m_failed = true;
        m_buffer.clear();
        return !m_failed;
    }
    [[nodiscard]] bool failed() const { return m_failed; }

private:
    QSaveFile& m_file;
    std::string m_buffer;
    bool m_failed = false;
};

char* writeInt(char* out, int value)
{
    return std::to_chars(out, out + 12, value).ptr;
}

char* writeIdAndDate(char* out, int id, CivilTime date)
{
    out = writeInt(out, id);
    *out++ = ',';
    date.format(out);
    return out + CivilTime::TextLength;
}

struct ExportConsumer {
    Output& records;
    Output& groups;

    void recordBegins(int id, CivilTime date)
    {
        char* out = records.grow(32);
        records.shrinkTo(writeIdAndDate(out, id, date));
    }
    void recordEnds(const RecordValues& v)
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
        records.maybeFlush();
    }
    void groupBegins(int id, CivilTime date)
    {
        char* out = groups.grow(32);
        groups.shrinkTo(writeIdAndDate(out, id, date));
    }
    void groupValue(int value)
    {
        char* out = groups.grow(8);
        *out++ = ',';
        groups.shrinkTo(writeInt(out, value));
    }
    void groupEnds()
    {
        groups.append("\r\n", 2);
        groups.maybeFlush();
    }
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

bool CsvExport::write(const DataDocument& document, const QString& recordPath,
                      const QString& groupPath, CivilTime pcClock, QString* error)
{
    QSaveFile recordFile(recordPath);
    QSaveFile groupFile(groupPath);
    auto fail = [&](const QString& path) {
        if (error != nullptr)
            *error = QStringLiteral("Error: Can not write the export file %1!").arg(path);
        recordFile.cancelWriting();
        groupFile.cancelWriting();
        return false;
    };
    if (!recordFile.open(QIODevice::WriteOnly))
        return fail(recordPath);
    if (!groupFile.open(QIODevice::WriteOnly))
        return fail(groupPath);
    Output records(recordFile);
    Output groups(groupFile);
    records.append(RecordHeader, std::strlen(RecordHeader));
    groups.append(GroupHeader, std::strlen(GroupHeader));
    ExportConsumer consumer{records, groups};
    DataStreamDecoder::decode(document, consumer, pcClock);
    records.append("\r", 1);
    groups.append("\r", 1);
    if (!records.flush() || !recordFile.commit())
        return fail(recordPath);
    if (!groups.flush() || !groupFile.commit())
        return fail(groupPath);
    return true;
}
