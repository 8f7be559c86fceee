#pragma once

#include "base/LoggerConnection.h"
#include "base/RepositoryFile.h"
#include "data/DataDocument.h"
#include "link/DeviceContext.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class BaseDownloadView;

// "Read Data" through the base station: connects to the logger paired with
// the picked implant, asks for its memory 100 bytes at a time from where the
// pair's repository file left off, stores each good chunk as it comes, and at
// the end (completed or stopped) makes the file's content the document.
class BaseDownloadProcedure final : public LoggerConnection {
public:
    static constexpr IdentifyTiming Timing{200, 100};
    static constexpr std::uint32_t ChunkSize = 100;

    struct Hooks {
        // Replaces the document's data (marked modified, views updated).
        std::function<void(DataDocument)> installData = [](DataDocument) {};
    };

    // How the last download ended: it got every byte; it was stopped with
    // bytes still missing (what came is in the file and the document); it
    // was stopped before the logger's status came (nothing was touched); or
    // it failed, with the message in lastError().
    enum class Outcome { None, Completed, Aborted, Stopped, Failed };

    BaseDownloadProcedure(DeviceContext context, BaseDownloadView& view, Hooks hooks);

    [[nodiscard]] Outcome lastOutcome() const { return m_outcome; }
    [[nodiscard]] QString lastStatusText() const { return m_statusText; }
    // Why the last download failed: the message shown, when there was one.
    [[nodiscard]] QString lastError() const { return m_error; }
    [[nodiscard]] QString lastFilePath() const { return m_filePath; }
    // Where the last download started and stopped, and the bytes its file
    // counts as stored when it ended.
    [[nodiscard]] std::uint32_t startPosition() const { return m_startPosition; }
    [[nodiscard]] std::uint32_t position() const { return m_position; }
    [[nodiscard]] std::uint32_t storedCount() const { return m_storedCount; }
    [[nodiscard]] std::uint32_t total() const { return m_total; }

    // The texts in their formats: hours wrap at 24 and minutes at 60, as the
    // differences are read as a time of day.
    static QString waitingText(std::int64_t sinceStartUs);
    static QString connectedText(std::int64_t sinceStartUs);
    static QString sinceLastPacketText(std::int64_t us);
    static QString elapsedText(std::int64_t us);
    static QString abortedText(std::uint32_t position, std::uint32_t total);

private:
    void beginPress() override;
    void identified() override;
    void showIdle() override;
    void showStopping() override;
    void run() override;
    int implantIdForStart() override;
    void setAnimation(bool running) override;
    void beforeStart() override;
    void afterWaitLoggerRead() override;
    void beforeReceiveStatus() override;
    State statusReceived(const LoggerStatus& status) override;
    State stepOwnState(State state) override;
    void noConnectReply() override;
    void linkWasLost() override;

    State requestChunk();
    State receiveChunk();
    State finish();
    State fail(const QString& message);
    // What the file's header counts now: one chunk behind what arrived.
    [[nodiscard]] std::uint32_t heldCount() const;
    void setStatus(const QString& text);
    void showTimes();
    void showTransfer(bool running = true);

    DeviceContext m_context;
    BaseDownloadView& m_view;
    Hooks m_hooks;
    std::optional<LoggerStatus> m_status;
    std::optional<RepositoryFile> m_file;
    std::uint32_t m_total = 0;
    std::uint32_t m_position = 0;
    std::uint32_t m_startPosition = 0;
    std::uint32_t m_storedCount = 0;
    std::int64_t m_waitStartUs = 0;
    std::int64_t m_connectedUs = 0;
    std::optional<std::int64_t> m_lastChunkUs; // kept from one download to the next
    QString m_sinceLastText;
    QString m_elapsedText;
    QString m_statusText;
    QString m_error;
    QString m_filePath;
    Outcome m_outcome = Outcome::None;
};
