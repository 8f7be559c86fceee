#include "data/ReadDataProcedure.h"
#include <QCoreApplication>

#include "app/DataFolders.h"
#include "app/TextLog.h"
#include "data/DataFile.h"
#include "data/PartialDataFile.h"
#include "data/ReadDataView.h"
#include "link/CommandCode.h"
#include "link/DeviceLink.h"
#include "link/Pump.h"
#include "link/UserPrompts.h"
#include "logger/LoggerCommands.h"
#include "logger/LoggerStatus.h"

#include <QDir>

#include <cstring>

ReadDataProcedure::ReadDataProcedure(DeviceContext context, ReadDataView& view, Hooks hooks)
    : m_context(std::move(context)), m_view(view), m_hooks(std::move(hooks)),
      m_exchange(m_context.link, m_context.pump, m_context.prompts)
{}

QString ReadDataProcedure::fileName(int implantId, int loggerId, const QDateTime& time)
{
    return QStringLiteral("ImpID%1LogID%2_").arg(implantId).arg(loggerId) +
           TextLog::timeStamp(time) + QStringLiteral(".bin");
}

QString ReadDataProcedure::summary(int loggerId, int implantId, float usedPercent)
{
    return QString::asprintf(
        "Logger ID: \t%i\nImplant ID: \t%i\nUsed Memory: \t%f %%\n\nDisplayed data "
        "contains only the first datasets fitting into the window!\r\n",
        loggerId, implantId, static_cast<double>(usedPercent));
}

bool ReadDataProcedure::giveUp()
{
    m_view.setAbortEnabled(false);
    m_view.setBusy(false);
    return false;
}

QString ReadDataProcedure::defaultFilePath(const LoggerStatus& status) const
{
    const QString name = QString::fromLatin1(FolderName);
    const QString folder = m_context.folders.folder(name);
    return QDir(folder.isEmpty() ? QDir(m_context.folders.root()).filePath(name) : folder)
        .filePath(
            fileName(status.implantId(), status.loggerId(), m_context.pump.currentDateTime()));
}

bool ReadDataProcedure::readData()
{
    m_lastFile.clear();
    m_missing = 0;
    m_bytesRead = 0;
    m_abort = false;
    m_complete = false;
    m_view.setBusy(true);
    if (!m_hooks.saveModified())
        return giveUp();
    if (!m_context.link.isOpen()) {
        m_context.prompts.showMessage(
            QCoreApplication::translate("ReadDataProcedure", "Please choose a COM port first!"));
        return giveUp();
    }
    // A full memory takes hours at the line rate: a target that cannot be
    // written is found out now, not after the download.
    if (!m_hooks.targetPath.isEmpty()) {
        QString error;
        if (!DataFile::checkWritable(m_hooks.targetPath, &error)) {
            m_context.prompts.showMessage(error);
            return giveUp();
        }
    }
    if (m_exchange.identify(DeviceKind::Logger) != IdentifyResult::Identified)
        return giveUp();
    const auto reply = LoggerCommands(m_exchange).readStatus(32);
    if (reply.empty()) {
        m_context.prompts.showMessage(Exchange::noCommunicationMessage(DeviceKind::Logger));
        return giveUp();
    }
    const LoggerStatus status(reply);
    const std::uint32_t n = status.usedMemoryBytes();
    m_view.setProgressRange(n);
    m_view.showProgress(0, 0, n, 0);
    m_view.showSummary(summary(status.loggerId(), status.implantId(), status.usedMemoryPercent()));
    if (status.loggingOn()) {
        m_context.prompts.showMessage(QCoreApplication::translate(
            "ReadDataProcedure", "Please turn off logging before reading data!"));
        return giveUp();
    }
    if (n > DataFile::MaxDataBytes) {
        // A damaged status: a buffer of that size would be refused on loading.
        m_context.prompts.showMessage(
            QCoreApplication::translate(
                "ReadDataProcedure",
                "The logger reports %1 bytes of data, more than any logger holds. The data "
                "cannot be read.")
                .arg(n));
        return giveUp();
    }
    m_exchange.drainInput(200, 32);

    // Header, then N data bytes.
    QByteArray buffer(static_cast<qsizetype>(DataDocument::HeaderSize + n),
                      static_cast<char>(MissingByte));
    std::memcpy(buffer.data(), status.bytes().data(), DataDocument::HeaderSize);
    std::size_t received = DataDocument::HeaderSize;
    const std::size_t full = buffer.size();

    // What arrives is kept on the disk as it comes, so that a crash or a
    // power loss hours into a full memory keeps those hours.
    PartialDataFile partial;
    m_lastPartial = PartialDataFile::pathFor(m_hooks.targetPath.isEmpty() ? defaultFilePath(status)
                                                                          : m_hooks.targetPath);
    if (!partial.begin(m_lastPartial, buffer.left(DataDocument::HeaderSize)))
        m_lastPartial.clear();
    std::int64_t nextCheckpointMs = m_context.pump.nowMs() + CheckpointMs;

    m_exchange.write({CommandCode::DumpMemory});
    m_exchange.pumpWait(1);
    std::uint16_t idle = IdleTicks;
    const auto timer = m_context.pump.createTimer([&idle] {
        if (idle > 0)
            --idle;
    });
    timer->start(TickMs);
    m_view.setAbortEnabled(true);

    const std::int64_t startUs = m_context.pump.nowUs();
    std::vector<std::uint8_t> chunk(ReadChunk);
    std::size_t lastRead = 0;
    bool lost = false;
    do {
        m_exchange.pumpWait(1);
        if (m_exchange.linkLost()) {
            lost = true;
            break;
        }
        lastRead = m_context.link.read(chunk);
        const std::size_t fits = std::min(lastRead, full - received);
        if (fits > 0) {
            std::memcpy(buffer.data() + received, chunk.data(), fits);
            partial.append(buffer.constData() + received, fits);
            received += fits;
            idle = IdleTicks;
        }
        if (m_context.pump.nowMs() >= nextCheckpointMs) {
            partial.checkpoint();
            nextCheckpointMs = m_context.pump.nowMs() + CheckpointMs;
        }
        m_bytesRead += lastRead;
        const double elapsed = static_cast<double>(m_context.pump.nowUs() - startUs) / 1e6;
        m_view.showProgress(
            m_bytesRead, static_cast<std::uint32_t>(received - DataDocument::HeaderSize), n,
            elapsed > 0.5 ? static_cast<double>(received - DataDocument::HeaderSize) / elapsed
                          : 0.0);
    } while ((received < full - 1 || lastRead > 0) && idle != 0 && !m_abort);
    m_view.setAbortEnabled(false);
    timer->stop();

    const bool aborted = m_abort;
    m_missing = static_cast<std::uint32_t>(full - received);
    // The last data byte is allowed to stay out; more than that did not arrive.
    m_complete = !aborted && !lost && m_missing <= 1;
    const DataDocument data(buffer);
    QString error;
    m_lastFile = m_hooks.targetPath.isEmpty() ? defaultFilePath(status) : m_hooks.targetPath;
    bool written = DataFile::save(m_lastFile, data, &error);
    QString fallbackNote;
    if (!written && !m_hooks.targetPath.isEmpty()) {
        // The chosen place failed after all: keep the download where
        // downloads go anyway rather than lose it.
        const QString fallback = defaultFilePath(status);
        if (DataFile::save(fallback, data)) {
            fallbackNote = QCoreApplication::translate("ReadDataProcedure",
                                                       "%1\nThe data were saved to %2 instead.")
                               .arg(error, QDir::toNativeSeparators(fallback));
            m_lastFile = fallback;
            written = true;
        }
    }
    m_view.setBusy(false);
    // The data go to the document even when the file could not be written:
    // marked as changed, they can still be saved elsewhere.
    m_hooks.installData(data);
    if (!written) {
        m_lastFile.clear();
        partial.checkpoint();
        if (partial.isOpen())
            error +=
                QCoreApplication::translate("ReadDataProcedure", "\nWhat arrived is kept in %1.")
                    .arg(QDir::toNativeSeparators(partial.path()));
        m_context.prompts.showMessage(error);
        return false;
    }
    partial.discard();
    m_lastPartial.clear();
    if (!fallbackNote.isEmpty())
        m_context.prompts.showMessage(fallbackNote);
    const std::size_t arrived = received - DataDocument::HeaderSize;
    if (lost) {
        m_context.prompts.showMessage(
            Exchange::noCommunicationMessage(DeviceKind::Logger) +
            QCoreApplication::translate(
                "ReadDataProcedure",
                "\n\nThe connection was lost during the download: %1 of %2 data "
                "bytes arrived. They are kept; the %3 missing bytes are written as "
                "0xFF.")
                .arg(arrived)
                .arg(n)
                .arg(m_missing));
    } else if (aborted) {
        m_context.prompts.showMessage(
            QCoreApplication::translate(
                "ReadDataProcedure",
                "Reading was aborted: %1 of %2 data bytes arrived. The %3 missing bytes are "
                "written as 0xFF.")
                .arg(arrived)
                .arg(n)
                .arg(m_missing));
    } else if (!m_complete) {
        m_context.prompts.showMessage(
            QCoreApplication::translate(
                "ReadDataProcedure",
                "The logger stopped sending: %1 of %2 data bytes never arrived. They are "
                "written as 0xFF.")
                .arg(m_missing)
                .arg(n));
    }
    return true;
}
