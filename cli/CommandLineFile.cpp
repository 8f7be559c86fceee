#include "cli/CommandLineFile.h"
#include <QCoreApplication>

#include "data/CsvExport.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// The byte form of CsvExport::exportPath: Cow12.bin -> Cow12BT.csv.
QByteArray nativeExportPath(const QByteArray& dataPath, const char* kind)
{
    const qsizetype slash = dataPath.lastIndexOf('/');
    const QByteArray folder = dataPath.left(slash + 1);
    const QByteArray name = dataPath.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf('.');
    const QByteArray base = dot > 0 ? name.left(dot) : name;
    return folder + base + kind + ".csv";
}

} // namespace

CommandLineFile::CommandLineFile(QByteArray nativeName, QString decoded)
    : m_native(std::move(nativeName)), m_decoded(std::move(decoded))
{
#ifdef Q_OS_UNIX
    if (needsBytes()) {
        // Not blocking: a pipe under that name must be refused, not waited on.
        m_fileFd = ::open(m_native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        struct stat status {};
        if (m_fileFd >= 0 && (::fstat(m_fileFd, &status) != 0 || !S_ISREG(status.st_mode))) {
            ::close(m_fileFd);
            m_fileFd = -1;
        }
        const qsizetype slash = m_native.lastIndexOf('/');
        const QByteArray folder = slash < 0 ? QByteArray(".") : m_native.left(slash + 1);
        m_folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    }
#endif
}

CommandLineFile::~CommandLineFile()
{
#ifdef Q_OS_UNIX
    if (m_fileFd >= 0)
        ::close(m_fileFd);
    if (m_folderFd >= 0)
        ::close(m_folderFd);
#endif
}

QByteArray CommandLineFile::nativeArgument(const QList<QByteArray>& nativeArguments,
                                           const QString& decoded)
{
    for (const QByteArray& argument : nativeArguments) {
        if (QFile::decodeName(argument) == decoded)
            return argument;
    }
    return QFile::encodeName(decoded);
}

bool CommandLineFile::needsBytes() const
{
#ifdef Q_OS_UNIX
    return !m_native.isEmpty() && QFile::encodeName(m_decoded) != m_native;
#else
    return false; // names are UTF-16 there, and Qt keeps them whole
#endif
}

QString CommandLineFile::readablePath() const
{
    if (!needsBytes())
        return m_decoded;
    // An absent file keeps its (marked) name, so the message names it.
    return m_fileFd >= 0 ? QStringLiteral("/proc/self/fd/%1").arg(m_fileFd) : m_decoded;
}

bool CommandLineFile::writeExports(const DataDocument& document, CivilTime pcClock,
                                   QStringList* written, QString* error)
{
    if (!needsBytes()) {
        const QString records = CsvExport::exportPath(m_decoded, QStringLiteral("BT"));
        const QString groups = CsvExport::exportPath(m_decoded, QStringLiteral("HB"));
        if (!CsvExport::write(document, records, groups, pcClock, error))
            return false;
        *written = {records, groups};
        return true;
    }
#ifdef Q_OS_UNIX
    const QByteArray records = nativeExportPath(m_native, "BT");
    const QByteArray groups = nativeExportPath(m_native, "HB");
    const auto fail = [&] {
        if (error != nullptr)
            *error = QCoreApplication::translate("CommandLineFile",
                                                 "Error: Can not write the export file %1!")
                         .arg(QFile::decodeName(records));
        return false;
    };
    if (m_folderFd < 0)
        return fail();
    // Written whole under plain names in the same folder, then renamed.
    const QString folder = QStringLiteral("/proc/self/fd/%1/").arg(m_folderFd);
    const QByteArray stage = ".harvane-export-" + QByteArray::number(::getpid());
    const QByteArray stagedRecords = stage + "BT.csv";
    const QByteArray stagedGroups = stage + "HB.csv";
    if (!CsvExport::write(document, folder + QString::fromLatin1(stagedRecords),
                          folder + QString::fromLatin1(stagedGroups), pcClock, error))
        return false;
    const auto baseName = [](const QByteArray& path) {
        return path.mid(path.lastIndexOf('/') + 1);
    };
    if (::renameat(m_folderFd, stagedRecords.constData(), m_folderFd,
                   baseName(records).constData()) != 0 ||
        ::renameat(m_folderFd, stagedGroups.constData(), m_folderFd,
                   baseName(groups).constData()) != 0) {
        ::unlinkat(m_folderFd, stagedRecords.constData(), 0);
        ::unlinkat(m_folderFd, stagedGroups.constData(), 0);
        return fail();
    }
    *written = {QFile::decodeName(records), QFile::decodeName(groups)};
    return true;
#else
    return false;
#endif
}
