#include "data/DataFile.h"
#include <QCoreApplication>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstring>

DataFile::Loaded DataFile::load(const QString& path)
{
    // A pipe would block the open until someone writes into it, a device
    // never ends: only plain files are data files.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return {std::nullopt,
                QCoreApplication::translate("DataFile", "Error: %1 is not a data file!")
                    .arg(QDir::toNativeSeparators(path))};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt,
                QCoreApplication::translate("DataFile", "Error: Can not open file %1!").arg(path)};
    // A failing disk or stick is not a foreign or short file: say which.
    const auto readError = [&path] {
        return Loaded{std::nullopt,
                      QCoreApplication::translate("DataFile", "Error: Can not read the file %1!")
                          .arg(QDir::toNativeSeparators(path))};
    };
    char signature[SignatureSize];
    const qint64 signatureRead = file.read(signature, SignatureSize);
    if (signatureRead < 0)
        return readError();
    if (signatureRead != static_cast<qint64>(SignatureSize) ||
        std::memcmp(signature, Signature.data(), SignatureSize) != 0)
        return {std::nullopt,
                QCoreApplication::translate("DataFile", "Error: Unsupported file type!")};

    QByteArray header(DataDocument::HeaderSize, Qt::Uninitialized);
    const qint64 headerRead = file.read(header.data(), header.size());
    if (headerRead < 0)
        return readError();
    header.resize(headerRead);
    if (header.size() != static_cast<qsizetype>(DataDocument::HeaderSize))
        return {std::nullopt, QCoreApplication::translate(
                                  "DataFile", "Error: The file %1 ends inside its header!")
                                  .arg(QFileInfo(path).fileName())};
    const DataDocument headerOnly(header);
    const std::uint32_t dataBytes = headerOnly.header().usedMemoryBytes();
    if (dataBytes > MaxDataBytes)
        return {std::nullopt,
                QCoreApplication::translate("DataFile",
                                            "Error: The file %1 names %2 data bytes, more than any "
                                            "logger holds (%3)!")
                    .arg(QFileInfo(path).fileName())
                    .arg(dataBytes)
                    .arg(MaxDataBytes)};

    // One buffer of exactly header + data, filled in place.
    QByteArray bytes(static_cast<qsizetype>(DataDocument::HeaderSize + dataBytes),
                     Qt::Uninitialized);
    std::memcpy(bytes.data(), header.constData(), DataDocument::HeaderSize);
    qint64 got = 0;
    while (got < dataBytes) {
        const qint64 n = file.read(bytes.data() + DataDocument::HeaderSize + got, dataBytes - got);
        if (n < 0)
            return readError();
        if (n == 0)
            break;
        got += n;
    }
    if (got < dataBytes)
        return {std::nullopt,
                QCoreApplication::translate(
                    "DataFile", "Error: The file %1 is incomplete: it holds %2 of its %3 "
                                "data bytes!")
                    .arg(QFileInfo(path).fileName())
                    .arg(got)
                    .arg(dataBytes)};
    return {DataDocument(std::move(bytes)), {}};
}

bool DataFile::save(const QString& path, const DataDocument& document, QString* error)
{
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(reinterpret_cast<const char*>(Signature.data()),
                                    SignatureSize) == static_cast<qint64>(SignatureSize) &&
                         file.write(document.bytes()) == document.bytes().size() && file.commit();
    if (!written && error != nullptr)
        *error = QCoreApplication::translate("DataFile", "Error: Can not write the data file %1!")
                     .arg(path);
    return written;
}

bool DataFile::checkWritable(const QString& path, QString* error)
{
    const QFileInfo info(path);
    bool ok = !info.isDir();
    if (ok) {
        // The same way save() writes: a new file beside the target, renamed
        // over it. Made and thrown away here.
        QSaveFile probe(path);
        ok = probe.open(QIODevice::WriteOnly);
        probe.cancelWriting();
    }
    if (!ok && error != nullptr)
        *error = QCoreApplication::translate("DataFile", "Error: Can not write the data file %1!")
                     .arg(QDir::toNativeSeparators(path));
    return ok;
}
