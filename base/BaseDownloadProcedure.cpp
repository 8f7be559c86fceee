#include "base/BaseDownloadProcedure.h"

#include "base/BaseDownloadView.h"
#include "base/BaseFrame.h"
#include "data/DataFile.h"
#include "link/CommandCode.h"
#include "link/Pump.h"
#include "link/UserPrompts.h"

#include <algorithm>

namespace {

const QString ReadCaption = QStringLiteral("Read Data");
const QString AbortCaption = QStringLiteral("Abort Reading");
const QString Waiting = QStringLiteral("Waiting for connection to logger...");

struct Clock {
    std::int64_t hours, minutes, seconds, milliseconds;
};

// A difference read as a time of day: hours wrap at 24.
Clock clockOf(std::int64_t us)
{
    const std::int64_t ms = us > 0 ? us / 1000 : 0;
    return {ms / 3'600'000 % 24, ms / 60'000 % 60, ms / 1000 % 60, ms % 1000};
}

} // namespace

BaseDownloadProcedure::BaseDownloadProcedure(DeviceContext context, BaseDownloadView& view,
                                             Hooks hooks)
    : LoggerConnection(context, Timing), m_context(std::move(context)), m_view(view),
      m_hooks(std::move(hooks))
{}

QString BaseDownloadProcedure::waitingText(std::int64_t sinceStartUs)
{
    const Clock c = clockOf(sinceStartUs);
    return Waiting + QString::asprintf("%02d:%02d:%02d", static_cast<int>(c.hours),
                                       static_cast<int>(c.minutes), static_cast<int>(c.seconds));
}

QString BaseDownloadProcedure::connectedText(std::int64_t sinceStartUs)
{
    const Clock c = clockOf(sinceStartUs);
    return QString::asprintf("Logger connected waiting for status information...%d:%d:%d",
                             static_cast<int>(c.hours), static_cast<int>(c.minutes),
                             static_cast<int>(c.seconds));
}

QString BaseDownloadProcedure::sinceLastPacketText(std::int64_t us)
{
    const Clock c = clockOf(us);
    return QString::asprintf("%02d:%02d.%03d", static_cast<int>(c.minutes),
                             static_cast<int>(c.seconds), static_cast<int>(c.milliseconds));
}

QString BaseDownloadProcedure::elapsedText(std::int64_t us)
{
    const Clock c = clockOf(us);
    return QString::asprintf("%02d:%02d:%02d.%03d", static_cast<int>(c.hours),
                             static_cast<int>(c.minutes), static_cast<int>(c.seconds),
                             static_cast<int>(c.milliseconds));
}

QString BaseDownloadProcedure::abortedText(std::uint32_t position, std::uint32_t total)
{
    const float pending = static_cast<float>(total - position) / static_cast<float>(total) * 100.0F;
    return QString::asprintf("Download aborted, still %.1f%% pending!",
                             static_cast<double>(pending));
}

void BaseDownloadProcedure::beginPress()
{
    m_view.setOtherControlsEnabled(false);
    m_view.setReadEnabled(false);
}

void BaseDownloadProcedure::identified()
{
    // From here on the button is the abort button.
    m_view.setReadEnabled(true);
}

void BaseDownloadProcedure::showIdle()
{
    m_view.setAnimation(false);
    m_view.setReadCaption(ReadCaption);
    m_view.setOtherControlsEnabled(true);
    m_view.setReadEnabled(true);
}

void BaseDownloadProcedure::showStopping()
{
    m_view.setReadCaption(ReadCaption);
}

void BaseDownloadProcedure::setAnimation(bool running)
{
    m_view.setAnimation(running);
}

int BaseDownloadProcedure::implantIdForStart()
{
    return m_view.takeImplantId();
}

void BaseDownloadProcedure::run()
{
    m_view.takeImplantId();
    m_outcome = Outcome::Stopped;
    m_error.clear();
    m_status.reset();
    m_file.reset();
    m_filePath.clear();
    m_total = m_position = m_startPosition = m_storedCount = 0;
    m_view.setReadCaption(AbortCaption);
    runConnection();
    m_view.setAnimation(false);
    m_view.setOtherControlsEnabled(true);
    m_view.setReadCaption(ReadCaption);
}

void BaseDownloadProcedure::setStatus(const QString& text)
{
    m_statusText = text;
    m_view.setStatusText(text);
}

void BaseDownloadProcedure::showTimes()
{
    m_view.setTimeTexts(m_sinceLastText, m_elapsedText);
}

void BaseDownloadProcedure::showTransfer(bool running)
{
    const double seconds = static_cast<double>(m_context.pump.nowUs() - m_connectedUs) / 1e6;
    // A stopped download has no time left to show.
    const bool rateKnown = seconds > 0.5 && (running || m_position >= m_total);
    const double rate =
        rateKnown ? static_cast<double>(m_position - m_startPosition) / seconds : 0.0;
    // The last chunk reaches past the logger's data: count what it holds.
    m_view.showTransfer(std::min(m_position, m_total), m_total, rate);
}

void BaseDownloadProcedure::beforeStart()
{
    m_view.setProgress(0);
    m_sinceLastText.clear();
    m_elapsedText.clear();
    showTimes();
    m_waitStartUs = m_context.pump.nowUs();
    setStatus(Waiting);
}

void BaseDownloadProcedure::afterWaitLoggerRead()
{
    setStatus(waitingText(m_context.pump.nowUs() - m_waitStartUs));
}

void BaseDownloadProcedure::beforeReceiveStatus()
{
    setStatus(connectedText(m_context.pump.nowUs() - m_waitStartUs));
}

LoggerConnection::State BaseDownloadProcedure::fail(const QString& message)
{
    m_context.prompts.showMessage(message);
    m_error = message;
    m_outcome = Outcome::Failed;
    m_storedCount = heldCount();
    m_view.setAnimation(false);
    endConnection();
    return State::End;
}

std::uint32_t BaseDownloadProcedure::heldCount() const
{
    return m_file && m_position >= ChunkSize ? m_position - ChunkSize : 0;
}

LoggerConnection::State BaseDownloadProcedure::statusReceived(const LoggerStatus& status)
{
    m_status = status;
    m_total = status.usedMemoryBytes();
    if (m_total > DataFile::MaxDataBytes) {
        // A status no logger can have: asking for that many chunks would
        // never end, and the file could not be opened afterwards.
        return fail(QStringLiteral("The logger reports %1 bytes of data, more than any logger "
                                   "holds. The data cannot be read.")
                        .arg(m_total));
    }
    m_file.emplace(m_context.folders, status.implantId(), status.loggerId());
    m_filePath = m_file->path();
    switch (m_file->open(status, &m_position)) {
    case RepositoryFile::Opened::Unsupported:
        return fail(QStringLiteral("Error: Unsupported file type!"));
    case RepositoryFile::Opened::Failed:
        return fail(QStringLiteral("Error: Can not create or retrieve repository file!"));
    case RepositoryFile::Opened::Resumed:
    case RepositoryFile::Opened::Created:
        break;
    }
    m_connectedUs = m_context.pump.nowUs();
    setStatus(QStringLiteral("Connection established and download in progress"));
    m_startPosition = m_position;
    m_view.setProgressRange(m_total > m_position ? m_total - m_position : 0);
    m_view.setProgress(0);
    showTransfer();
    exchange().drainInput(100, 26);
    return State::RequestChunk;
}

LoggerConnection::State BaseDownloadProcedure::stepOwnState(State state)
{
    return state == State::RequestChunk ? requestChunk() : receiveChunk();
}

LoggerConnection::State BaseDownloadProcedure::requestChunk()
{
    showTimes();
    if (m_position >= m_total || stopRequested())
        return finish();
    const std::uint32_t p = m_position;
    exchange().write({CommandCode::RemoteChunk, static_cast<std::uint8_t>(p & 0xFF),
                      static_cast<std::uint8_t>((p >> 8) & 0xFF),
                      static_cast<std::uint8_t>((p >> 16) & 0xFF),
                      static_cast<std::uint8_t>((p >> 24) & 0xFF)});
    return State::ReceiveChunk;
}

LoggerConnection::State BaseDownloadProcedure::receiveChunk()
{
    exchange().pumpWait(40);
    const std::int64_t now = m_context.pump.nowUs();
    // Until a chunk has come since the dialog opened, the time since the
    // last one counts from the connection.
    m_sinceLastText = sinceLastPacketText(now - m_lastChunkUs.value_or(m_connectedUs));
    m_elapsedText = elapsedText(now - m_connectedUs);
    const auto reply = exchange().read(BaseFrame::ChunkFrameSize);
    if (!BaseFrame::chunkIsValid(reply)) {
        exchange().drainInput(100, BaseFrame::ChunkFrameSize);
        showTimes();
        return State::RequestChunk;
    }
    m_view.setProgress(m_position - m_startPosition);
    if (!m_file->storeChunk(m_position, std::span(reply).first(BaseFrame::ChunkDataSize)))
        return fail(QStringLiteral("Error: Can not retrieve repository file!"));
    m_position += ChunkSize;
    m_lastChunkUs = m_context.pump.nowUs();
    showTimes();
    showTransfer();
    return State::RequestChunk;
}

LoggerConnection::State BaseDownloadProcedure::finish()
{
    endConnection();
    m_view.setProgress(m_position - m_startPosition);
    const bool complete = m_position >= m_total;
    setStatus(complete ? QStringLiteral("Download completed!") : abortedText(m_position, m_total));
    showTransfer(false);
    // The last chunk is asked for again next time: the logger may have
    // written more into it. A download that stored nothing keeps 0.
    const std::uint32_t count = m_position >= ChunkSize ? m_position - ChunkSize : 0;
    auto document = m_file->finish(*m_status, count);
    if (!document) {
        const QString message = QStringLiteral("Error: Can not open repository file!");
        m_context.prompts.showMessage(message);
        m_error = message;
        m_outcome = Outcome::Failed;
        m_view.setAnimation(false);
        endConnection();
        return State::End;
    }
    m_position = count;
    m_storedCount = count;
    m_outcome = complete ? Outcome::Completed : Outcome::Aborted;
    m_hooks.installData(std::move(*document));
    return State::End;
}

void BaseDownloadProcedure::noConnectReply()
{
    m_error = Exchange::noCommunicationMessage(DeviceKind::Logger);
    m_outcome = Outcome::Failed;
}

void BaseDownloadProcedure::linkWasLost()
{
    m_error = Exchange::noCommunicationMessage(DeviceKind::BaseStation);
    m_outcome = Outcome::Failed;
    m_storedCount = heldCount();
    // What arrived is in the file, counted: the next download resumes it.
    if (m_file && m_total > 0 && m_position < m_total) {
        setStatus(abortedText(m_position, m_total));
        showTransfer(false); // no time left to count down to
    }
}
