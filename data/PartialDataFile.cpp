#include "data/PartialDataFile.h"

#include "data/DataDocument.h"
#include "data/DataFile.h"

#include <QFileInfo>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

// The used-memory field: header offset 20, after the 9-byte signature.
constexpr qint64 CountOffset = DataFile::SignatureSize + 20;

void syncToDisk(QFile& file)
{
#ifdef Q_OS_WIN
    _commit(file.handle());
#else
    ::fsync(file.handle());
#endif
}

} // namespace

PartialDataFile::~PartialDataFile()
{
    if (m_file.isOpen())
        checkpoint();
}

QString PartialDataFile::pathFor(const QString& finalPath)
{
    const QFileInfo info(finalPath);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > 0 ? name.left(dot) : name;
    const QString folder = finalPath.left(finalPath.size() - name.size());
    return folder + base + QStringLiteral("-partial.bin");
}

bool PartialDataFile::begin(const QString& path, const QByteArray& header)
{
    m_file.setFileName(path);
    m_dataBytes = 0;
    m_failed = false;
    if (header.size() != static_cast<qsizetype>(DataDocument::HeaderSize) ||
        !m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    m_file.write(reinterpret_cast<const char*>(DataFile::Signature.data()),
                 DataFile::SignatureSize);
    m_file.write(header);
    checkpoint();
    return !m_failed;
}

void PartialDataFile::append(const char* data, std::size_t size)
{
    if (!m_file.isOpen() || m_failed || size == 0)
        return;
    if (m_file.write(data, static_cast<qint64>(size)) != static_cast<qint64>(size)) {
        m_failed = true; // what is on the disk stays as of the last checkpoint
        return;
    }
    m_dataBytes += static_cast<std::uint32_t>(size);
}

void PartialDataFile::checkpoint()
{
    if (!m_file.isOpen() || m_failed)
        return;
    // Data first, then the count that covers them: a crash between the two
    // leaves a file that counts fewer bytes than it holds, never more.
    if (!m_file.flush()) {
        m_failed = true;
        return;
    }
    syncToDisk(m_file);
    const qint64 end = m_file.pos();
    char count[4];
    for (int i = 0; i < 4; ++i)
        count[i] = static_cast<char>((m_dataBytes >> (8 * i)) & 0xFF);
    m_file.seek(CountOffset);
    m_file.write(count, 4);
    m_file.seek(end);
    m_file.flush();
    syncToDisk(m_file);
}

void PartialDataFile::discard()
{
    if (m_file.isOpen())
        m_file.close();
    if (!m_file.fileName().isEmpty())
        QFile::remove(m_file.fileName());
}
