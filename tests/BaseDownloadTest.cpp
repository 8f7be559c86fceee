#include "base/BaseDownloadProcedure.h"
#include "base/COmbrelRepDownloadDataViaBaseDlg.h"
#include "base/ImplantIdField.h"
#include "base/RepositoryFile.h"
#include "data/DataFile.h"
#include "link/CommandCode.h"
#include "tests/support/BaseFixture.h"
#include "widgets/BusyAnimation.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <optional>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes pattern(std::size_t n)
{
    Bytes bytes(n);
    for (std::size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return bytes;
}

QByteArray asBytes(const Bytes& bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())};
}

std::uint32_t storedCountOf(const QByteArray& file)
{
    const auto* p = reinterpret_cast<const std::uint8_t*>(file.constData()) + 29;
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

} // namespace

// The Read Data via Base Station dialog on the simulated base station.
struct BaseDownloadFixture : BaseFixture {
    std::optional<DataDocument> installed;
    int installs = 0;
    std::unique_ptr<COmbrelRepDownloadDataViaBaseDlg> dialog;

    BaseDownloadFixture()
    {
        fieldLogger().setClockFrozen(true);
        BaseDownloadProcedure::Hooks hooks;
        hooks.installData = [this](DataDocument data) {
            installed = std::move(data);
            ++installs;
        };
        dialog = std::make_unique<COmbrelRepDownloadDataViaBaseDlg>(context(), std::move(hooks));
        dialog->implantField()->setText(QStringLiteral("7"));
    }
    BaseDownloadProcedure& procedure() { return dialog->procedure(); }
    QString repository() const
    {
        return QDir(dataRoot.filePath(QStringLiteral("Downloads")))
            .filePath(QStringLiteral("DldImpID7LogID12.bin"));
    }
    QByteArray file() const { return fileContent(repository()); }
    // Downloads once; the chunk offsets this download asked for.
    std::vector<std::uint32_t> download()
    {
        link.clear();
        dialog->readButton()->click();
        return chunkOffsets();
    }
    // What the file holds after a complete download of `memory`: chunks to
    // the next whole hundred (erased flash beyond), the count one chunk back.
    QByteArray completeFile(const Bytes& memory)
    {
        const std::uint32_t end = (static_cast<std::uint32_t>(memory.size()) + 99) / 100 * 100;
        const LoggerStatus status(fieldLogger().statusAt(pump.nowUs()));
        const auto header = RepositoryFile::headerWithCount(status, end >= 100 ? end - 100 : 0);
        QByteArray expected(reinterpret_cast<const char*>(DataFile::Signature.data()), 9);
        expected += QByteArray(reinterpret_cast<const char*>(header.data()), 72);
        expected += asBytes(memory);
        expected += QByteArray(static_cast<qsizetype>(end - memory.size()), char(0xFF));
        return expected;
    }
};

TEST_F(BaseDownloadFixture, ANewDownloadStoresChunksAndTheNextOneResumes)
{
    fieldLogger().setMemory(pattern(250));
    EXPECT_EQ(download(), (std::vector<std::uint32_t>{0, 100, 200}));
    EXPECT_TRUE(prompts.messages().isEmpty()) << prompts.messages().join('|').toStdString();
    EXPECT_EQ(dialog->statusText()->text(), QStringLiteral("Download completed!"));
    EXPECT_EQ(procedure().lastOutcome(), BaseDownloadProcedure::Outcome::Completed);
    EXPECT_EQ(writesOf(CommandCode::SetImplantId), (std::vector<Bytes>{{23, 7}}));
    EXPECT_EQ(link.writes().back().bytes, (Bytes{37, 0xEE}));

    QByteArray bytes = file();
    ASSERT_EQ(bytes.size(), 81 + 300);
    EXPECT_EQ(bytes.left(9),
              QByteArray(reinterpret_cast<const char*>(DataFile::Signature.data()), 9));
    EXPECT_EQ(storedCountOf(bytes), 200u);
    EXPECT_EQ(bytes.mid(81, 250), asBytes(pattern(250)));
    EXPECT_EQ(bytes.mid(81 + 250), QByteArray(50, char(0xFF)));
    ASSERT_TRUE(installed.has_value());
    EXPECT_EQ(installed->size(), 72u + 200u);
    EXPECT_EQ(installed->bytes(), bytes.mid(9, 72 + 200));
    EXPECT_EQ(installed->header().usedMemoryBytes(), 200u);

    // The logger has logged on: the next download starts at the stored count.
    fieldLogger().setMemory(pattern(430));
    EXPECT_EQ(download(), (std::vector<std::uint32_t>{200, 300, 400}));
    EXPECT_EQ(procedure().startPosition(), 200u);
    bytes = file();
    EXPECT_EQ(storedCountOf(bytes), 400u);
    EXPECT_EQ(bytes, completeFile(pattern(430)));
    EXPECT_EQ(installed->size(), 72u + 400u);
    EXPECT_EQ(installs, 2);
}

TEST_F(BaseDownloadFixture, AStopKeepsWhatCameAndSaysWhatIsPending)
{
    fieldLogger().setMemory(pattern(800));
    once([this] { return procedure().position() == 500; },
         [this] { dialog->readButton()->click(); });
    download();
    EXPECT_EQ(dialog->statusText()->text(),
              QStringLiteral("Download aborted, still 37.5% pending!"));
    EXPECT_EQ(procedure().lastOutcome(), BaseDownloadProcedure::Outcome::Aborted);
    EXPECT_EQ(storedCountOf(file()), 400u);
    ASSERT_TRUE(installed.has_value());
    EXPECT_EQ(installed->size(), 72u + 400u);
    EXPECT_EQ(dialog->readButton()->text(), QStringLiteral("Read Data"));
    EXPECT_TRUE(dialog->exitButton()->isEnabled());

    EXPECT_EQ(download(), (std::vector<std::uint32_t>{400, 500, 600, 700}));
    EXPECT_EQ(file(), completeFile(pattern(800)));
}

TEST_F(BaseDownloadFixture, AStoredCountNotBelowTheUsedMemoryAsksForNothing)
{
    fieldLogger().setMemory(pattern(430));
    download();
    ASSERT_EQ(storedCountOf(file()), 400u);
    // The logger was erased and has logged less since.
    fieldLogger().setMemory(pattern(300));
    for (const std::uint32_t count : {300u, 200u}) {
        EXPECT_TRUE(download().empty());
        EXPECT_EQ(dialog->statusText()->text(), QStringLiteral("Download completed!"));
        EXPECT_EQ(storedCountOf(file()), count);
    }
}

TEST_F(BaseDownloadFixture, AnEmptyMemoryStoresNothingAndNeverANegativeCount)
{
    fieldLogger().setMemory({});
    EXPECT_TRUE(download().empty());
    EXPECT_EQ(dialog->statusText()->text(), QStringLiteral("Download completed!"));
    const QByteArray bytes = file();
    ASSERT_EQ(bytes.size(), 81);
    EXPECT_EQ(storedCountOf(bytes), 0u);
    ASSERT_TRUE(installed.has_value());
    EXPECT_EQ(installed->size(), 72u);

    // Stopped before the first chunk: still 0.
    fieldLogger().setMemory(pattern(500));
    once([this] { return procedure().state() == LoggerConnection::State::RequestChunk; },
         [this] { dialog->readButton()->click(); });
    EXPECT_TRUE(download().empty());
    EXPECT_EQ(dialog->statusText()->text(),
              QStringLiteral("Download aborted, still 100.0% pending!"));
    EXPECT_EQ(storedCountOf(file()), 0u);
    EXPECT_EQ(installed->size(), 72u);
}

TEST_F(BaseDownloadFixture, DamagedAndShortChunksAreAskedForAgainUntilGood)
{
    const Bytes memory = pattern(1000);
    fieldLogger().setMemory(memory);
    once([this] { return !base.chunkRequestTimesUs().empty(); },
         [this] {
             base.radioFaults().corruptFrames = 2;
             base.radioFaults().shortFrames = 2;
         });
    const auto offsets = download();
    EXPECT_EQ(offsets.size(), 10u + 4u);
    EXPECT_EQ(offsets, (std::vector<std::uint32_t>{0, 100, 100, 100, 100, 100, 200, 300, 400, 500,
                                                   600, 700, 800, 900}));
    EXPECT_TRUE(prompts.messages().isEmpty());
    EXPECT_EQ(file(), completeFile(memory));
}

TEST_F(BaseDownloadFixture, TheProgressBarLagsOneChunkUntilTheFinish)
{
    fieldLogger().setMemory(pattern(1000));
    std::vector<std::pair<std::uint32_t, int>> samples;
    bool done = false;
    std::function<void()> sample = [&] {
        if (procedure().state() == LoggerConnection::State::RequestChunk &&
            procedure().position() > 0)
            samples.emplace_back(procedure().position(), dialog->progressBar()->value());
        if (!done)
            pump.after(1, sample);
    };
    pump.after(1, sample);
    download();
    done = true;
    ASSERT_GT(samples.size(), 5u);
    for (const auto& [position, value] : samples)
        EXPECT_EQ(value, static_cast<int>(position) - 100) << position;
    EXPECT_EQ(dialog->progressBar()->maximum(), 1000);
    EXPECT_EQ(dialog->progressBar()->value(), 1000);
    EXPECT_TRUE(dialog->transferText()->text().startsWith(QStringLiteral("1000 of 1000 bytes")))
        << dialog->transferText()->text().toStdString();
}

TEST_F(BaseDownloadFixture, ADownloadCutOffAtAnyMomentResumesToTheSameFile)
{
    const Bytes memory = pattern(1200);
    fieldLogger().setMemory(memory);
    // What the disk holds at a few moments, as a killed program leaves it.
    std::vector<std::pair<std::uint32_t, QByteArray>> snapshots;
    for (const std::uint32_t at : {0u, 300u, 700u, 1200u}) {
        once(
            [this, at] {
                return procedure().position() == at &&
                       procedure().state() == LoggerConnection::State::RequestChunk;
            },
            [this, at, &snapshots] { snapshots.emplace_back(at, file()); });
    }
    download();
    const QByteArray complete = file();
    ASSERT_EQ(complete, completeFile(memory));
    ASSERT_EQ(snapshots.size(), 4u);
    for (const auto& [position, snapshot] : snapshots) {
        SCOPED_TRACE(position);
        EXPECT_EQ(snapshot.left(9), complete.left(9)); // a data file from the start
        const std::uint32_t count = storedCountOf(snapshot);
        EXPECT_EQ(count, position >= 100 ? position - 100 : 0);
        EXPECT_GE(static_cast<std::uint32_t>(snapshot.size()), 81 + count);
        QFile restore(repository());
        ASSERT_TRUE(restore.open(QIODevice::WriteOnly | QIODevice::Truncate));
        restore.write(snapshot);
        restore.close();
        const auto offsets = download();
        ASSERT_FALSE(offsets.empty());
        EXPECT_EQ(offsets.front(), count);
        EXPECT_EQ(file(), complete);
        EXPECT_TRUE(prompts.messages().isEmpty());
    }
}

TEST_F(BaseDownloadFixture, ALostLinkEndsTheDownloadAtOnceAndTheFileResumes)
{
    const Bytes memory = pattern(2000);
    fieldLogger().setMemory(memory);
    std::int64_t lostAtMs = 0;
    once([this] { return procedure().position() == 800; },
         [this, &lostAtMs] {
             lostAtMs = pump.nowMs();
             base.unplug();
         });
    download();
    EXPECT_LT(pump.nowMs() - lostAtMs, 60);
    EXPECT_EQ(
        prompts.messages(),
        QStringList{QStringLiteral("No communication, please check connection to base station!")});
    EXPECT_EQ(procedure().lastOutcome(), BaseDownloadProcedure::Outcome::Failed);
    EXPECT_FALSE(installed.has_value());
    EXPECT_FALSE(dialog->animation()->isRunning());
    EXPECT_TRUE(dialog->exitButton()->isEnabled());
    EXPECT_TRUE(dialog->readButton()->isEnabled());
    EXPECT_EQ(dialog->readButton()->text(), QStringLiteral("Read Data"));
    EXPECT_EQ(dialog->statusText()->text(),
              QStringLiteral("Download aborted, still 60.0% pending!"));
    EXPECT_EQ(storedCountOf(file()), 700u);

    base.plugIn();
    ASSERT_TRUE(deviceLink.open(QStringLiteral("sim:base")));
    prompts.clear();
    const auto offsets = download();
    ASSERT_FALSE(offsets.empty());
    EXPECT_EQ(offsets.front(), 700u);
    EXPECT_EQ(file(), completeFile(memory));
}

TEST_F(BaseDownloadFixture, AFileOfAnotherKindIsLeftAloneAndTheLoggerLetGo)
{
    QDir().mkpath(dataRoot.filePath(QStringLiteral("Downloads")));
    QFile foreign(repository());
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write(
        QByteArray("a spreadsheet someone saved under this name, long enough").repeated(3));
    foreign.close();
    const QByteArray before = file();
    fieldLogger().setMemory(pattern(300));
    EXPECT_TRUE(download().empty());
    EXPECT_EQ(prompts.messages(), QStringList{QStringLiteral("Error: Unsupported file type!")});
    EXPECT_EQ(link.writes().back().bytes, (Bytes{37, 0xEE}));
    EXPECT_EQ(file(), before);
    EXPECT_FALSE(installed.has_value());
    EXPECT_TRUE(dialog->exitButton()->isEnabled());
}

TEST_F(BaseDownloadFixture, AFileThatCannotBeMadeIsReported)
{
    QFile blocker(dataRoot.filePath(QStringLiteral("Downloads")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    fieldLogger().setMemory(pattern(300));
    EXPECT_TRUE(download().empty());
    EXPECT_EQ(prompts.messages(),
              QStringList{QStringLiteral("Error: Can not create or retrieve repository file!")});
    EXPECT_EQ(link.writes().back().bytes, (Bytes{37, 0xEE}));
}

TEST_F(BaseDownloadFixture, AFileCutShortInsideItsHeaderStartsAfresh)
{
    // A download that was cut off while its file was being made.
    QDir().mkpath(dataRoot.filePath(QStringLiteral("Downloads")));
    QFile start(repository());
    ASSERT_TRUE(start.open(QIODevice::WriteOnly));
    start.write(reinterpret_cast<const char*>(DataFile::Signature.data()), 5);
    start.close();
    fieldLogger().setMemory(pattern(300));
    EXPECT_EQ(download(), (std::vector<std::uint32_t>{0, 100, 200}));
    EXPECT_TRUE(prompts.messages().isEmpty());
    EXPECT_EQ(file(), completeFile(pattern(300)));
}

TEST_F(BaseDownloadFixture, ACountBeyondTheFilesEndResumesFromTheLastWholeChunk)
{
    fieldLogger().setMemory(pattern(1000));
    download();
    // The disk lost the file's end in a power cut; the count still says 900.
    QByteArray cut = file().left(81 + 450);
    QFile damaged(repository());
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write(cut);
    damaged.close();
    const auto offsets = download();
    ASSERT_FALSE(offsets.empty());
    EXPECT_EQ(offsets.front(), 400u);
    EXPECT_EQ(file(), completeFile(pattern(1000)));
}

TEST_F(BaseDownloadFixture, TheTimesCountFromTheConnection)
{
    fieldLogger().setMemory(pattern(300));
    QString firstSinceLast;
    once([this] { return !dialog->sinceLastPacketText()->text().isEmpty(); },
         [&] { firstSinceLast = dialog->sinceLastPacketText()->text(); });
    download();
    // Drain, two 1 ms steps and the 40 ms wait after the connection.
    EXPECT_TRUE(firstSinceLast.startsWith(QStringLiteral("00:00.1")))
        << firstSinceLast.toStdString();
    EXPECT_TRUE(dialog->elapsedText()->text().startsWith(QStringLiteral("00:00:00.")));
}

TEST(BaseDownloadTexts, ShowDifferencesAsATimeOfDay)
{
    constexpr std::int64_t s = 1'000'000;
    EXPECT_EQ(BaseDownloadProcedure::waitingText(3723 * s),
              QStringLiteral("Waiting for connection to logger...01:02:03"));
    EXPECT_EQ(BaseDownloadProcedure::waitingText(25 * 3600 * s),
              QStringLiteral("Waiting for connection to logger...01:00:00"));
    EXPECT_EQ(BaseDownloadProcedure::connectedText(3723 * s),
              QStringLiteral("Logger connected waiting for status information...1:2:3"));
    EXPECT_EQ(BaseDownloadProcedure::connectedText(5 * s),
              QStringLiteral("Logger connected waiting for status information...0:0:5"));
    EXPECT_EQ(BaseDownloadProcedure::sinceLastPacketText(3723 * s + 45'000),
              QStringLiteral("02:03.045"));
    EXPECT_EQ(BaseDownloadProcedure::elapsedText(3723 * s + 45'000),
              QStringLiteral("01:02:03.045"));
    EXPECT_EQ(BaseDownloadProcedure::abortedText(500, 800),
              QStringLiteral("Download aborted, still 37.5% pending!"));
}

TEST_F(BaseDownloadFixture, ANoConnectReplyEndsWithTheLoggerMessage)
{
    base.radioFaults().noConnectReply = true;
    EXPECT_TRUE(download().empty());
    EXPECT_EQ(prompts.messages(),
              QStringList{QStringLiteral("No communication, please check connection to logger!")});
    EXPECT_TRUE(writesOf(CommandCode::RemoteStatus).empty());
    // Nothing was opened: nothing to end.
    EXPECT_EQ(link.writes().back().bytes, (Bytes{37, 0xAA}));
    EXPECT_EQ(procedure().lastOutcome(), BaseDownloadProcedure::Outcome::Failed);
    EXPECT_TRUE(dialog->implantField()->isEnabled());
}

// The command line's Ctrl-C and time limits stop a download without a press.
TEST_F(BaseDownloadFixture, AStopFromOutsideEndsLikeTheStopPressWithoutAnIdentify)
{
    fieldLogger().setMemory(pattern(800));
    std::size_t writesAtStop = 0;
    once([this] { return procedure().position() == 500; },
         [&] {
             writesAtStop = link.writes().size();
             procedure().stop();
         });
    download();
    EXPECT_EQ(procedure().lastOutcome(), BaseDownloadProcedure::Outcome::Aborted);
    EXPECT_EQ(storedCountOf(file()), 400u);
    // After the stop only the end of the connection went out.
    ASSERT_EQ(link.writes().size(), writesAtStop + 1);
    EXPECT_EQ(link.writes().back().bytes, (Bytes{37, 0xEE}));

    // A stop while the press still identifies the base station: nothing starts.
    link.clear();
    pump.after(50, [this] { procedure().stop(); });
    dialog->readButton()->click();
    EXPECT_EQ(link.codes(), (std::vector<std::uint8_t>{CommandCode::Identify}));
    EXPECT_FALSE(procedure().active());
    EXPECT_TRUE(dialog->exitButton()->isEnabled());
    EXPECT_EQ(dialog->readButton()->text(), QStringLiteral("Read Data"));
}

TEST_F(BaseDownloadFixture, AFileThatGoesAwayDuringTheDownloadIsReported)
{
    struct Case {
        const char* name;
        std::uint32_t removeAt; // position at which the file is taken away
        QString message;
        int connectionEnds;
    };
    const Case cases[] = {
        {"while chunks come", 300, QStringLiteral("Error: Can not retrieve repository file!"), 1},
        {"before the finish", 500, QStringLiteral("Error: Can not open repository file!"), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompts.clear();
        installed.reset();
        QFile::remove(repository());
        fieldLogger().setMemory(pattern(450));
        once(
            [this, &c] {
                return procedure().position() == c.removeAt &&
                       procedure().state() == LoggerConnection::State::RequestChunk;
            },
            [this] { QFile::remove(repository()); });
        download();
        EXPECT_EQ(prompts.messages(), QStringList{c.message});
        EXPECT_EQ(procedure().lastOutcome(), BaseDownloadProcedure::Outcome::Failed);
        const auto ends = writesOf(CommandCode::LoggerConnection);
        EXPECT_EQ(std::count(ends.begin(), ends.end(), Bytes{37, 0xEE}), c.connectionEnds);
        EXPECT_FALSE(QFile::exists(repository())); // nothing made up in its place
        EXPECT_FALSE(installed.has_value());
        EXPECT_TRUE(dialog->exitButton()->isEnabled());
    }
}
