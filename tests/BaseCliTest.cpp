// harvane-cli's base-station commands as a user runs them: separate
// processes, their output and exit status; the last cases over harvane-devsim
// on a pseudo-terminal, with the CLI killed, and the base station pulled,
// in the middle of a download.

#include "data/DataFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <random>
#include <string>

#include <gtest/gtest.h>

namespace {

struct CliResult {
    int exitCode = -1;
    QString out;
    QString err;
    qint64 ms = 0;
};

CliResult runCli(const QStringList& arguments, int timeoutMs = 60'000)
{
    QProcess process;
    QElapsedTimer clock;
    clock.start();
    process.start(QStringLiteral(HARVANE_CLI_PATH), arguments);
    process.waitForFinished(timeoutMs);
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed(),
            QString::fromLocal8Bit(process.readAllStandardError()).trimmed(), clock.elapsed()};
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::uint32_t storedCountOf(const QByteArray& file)
{
    if (file.size() < 81)
        return 0;
    const auto* p = reinterpret_cast<const std::uint8_t*>(file.constData()) + 29;
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// A simulated base station on a pseudo-terminal, started for one test.
class Devsim {
public:
    explicit Devsim(const QStringList& options)
    {
        m_process.start(QStringLiteral(HARVANE_DEVSIM_PATH),
                        QStringList{QStringLiteral("base")} + options);
        if (m_process.waitForReadyRead(10'000))
            m_path = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
    ~Devsim() { stop(); }
    [[nodiscard]] QString path() const { return m_path; }
    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        m_process.waitForFinished(10'000);
    }

private:
    QProcess m_process;
    QString m_path;
};

const QStringList DevsimOptions{QStringLiteral("--memory-bytes"), QStringLiteral("4000"),
                                QStringLiteral("--frozen-clock"),
                                QStringLiteral("--connect-delay-ms"), QStringLiteral("200")};

QString repositoryIn(const QTemporaryDir& data)
{
    return QDir(data.filePath(QStringLiteral("Downloads")))
        .filePath(QStringLiteral("DldImpID7LogID12.bin"));
}

} // namespace

TEST(BaseCli, RevisionAndStatusThroughTheSimulatedBaseStation)
{
    QTemporaryDir data;
    const QStringList common{QStringLiteral("--port"), QStringLiteral("sim:base"),
                             QStringLiteral("--data-dir"), data.path()};
    const auto revision = runCli(common + QStringList{QStringLiteral("base-revision")});
    EXPECT_EQ(revision.exitCode, 0) << revision.err.toStdString();
    EXPECT_EQ(revision.out, QStringLiteral("FW revision: BS2.07\nHW revision: BSHW1.2"));

    const auto status =
        runCli(common + QStringList{QStringLiteral("base-status"), QStringLiteral("--implant"),
                                    QStringLiteral("7")});
    EXPECT_EQ(status.exitCode, 0) << status.err.toStdString();
    EXPECT_TRUE(status.out.startsWith(QStringLiteral("Logger Status:")));
    EXPECT_TRUE(status.out.contains(QStringLiteral("Logger ID:\t\t\t\t12")));
    const QStringList reports =
        QDir(data.filePath(QStringLiteral("StatusLogBase"))).entryList(QDir::Files);
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(status.err.contains(reports[0]));

    // No logger of that implant in range: the wait has its end.
    const auto unreached =
        runCli(common + QStringList{QStringLiteral("base-status"), QStringLiteral("--implant"),
                                    QStringLiteral("5"), QStringLiteral("--connect-seconds"),
                                    QStringLiteral("2")});
    EXPECT_EQ(unreached.exitCode, 1);
    EXPECT_TRUE(unreached.err.contains(
        QStringLiteral("The logger of implant 5 did not answer within 2 s.")))
        << unreached.err.toStdString();
    EXPECT_LT(unreached.ms, 10'000);

    const auto wrong = runCli(
        {QStringLiteral("--port"), QStringLiteral("sim:logger"), QStringLiteral("base-revision")});
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_EQ(wrong.err, QStringLiteral("Please connect a base station to use this feature!"));
    EXPECT_EQ(runCli(common + QStringList{QStringLiteral("base-status")}).exitCode, 2);
    EXPECT_EQ(runCli(common + QStringList{QStringLiteral("base-read-data"),
                                          QStringLiteral("--implant"), QStringLiteral("5,x")})
                  .exitCode,
              2);
}

TEST(BaseCli, ObservationsEndOnTimeAndLeaveTheirLog)
{
    QTemporaryDir data;
    const QStringList common{QStringLiteral("--port"), QStringLiteral("sim:base"),
                             QStringLiteral("--data-dir"), data.path()};
    struct Case {
        const char* command;
        const char* folder;
        const char* tag;
        int seconds;
    };
    for (const Case& c : {Case{"vicinity", "InVicinityLog", "LG: ", 3},
                          Case{"implant-surveillance", "ImplantLog", "BT: ", 5}}) {
        SCOPED_TRACE(c.command);
        const auto result =
            runCli(common + QStringList{QString::fromLatin1(c.command), QStringLiteral("--seconds"),
                                        QString::number(c.seconds)});
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        EXPECT_GE(result.ms, c.seconds * 1000);
        EXPECT_LT(result.ms, c.seconds * 1000 + 4000);
        const QStringList lines = result.out.split(QLatin1Char('\n'));
        EXPECT_EQ(lines.front(), QStringLiteral("Start Log:"));
        EXPECT_EQ(lines.back(), QStringLiteral("Stop Log:"));
        EXPECT_TRUE(result.out.contains(QString::fromLatin1(c.tag))) << result.out.toStdString();
        const QStringList logs =
            QDir(data.filePath(QString::fromLatin1(c.folder))).entryList(QDir::Files);
        ASSERT_EQ(logs.size(), 1);
        EXPECT_TRUE(result.err.contains(logs[0]));
        const QByteArray log =
            contentOf(QDir(data.filePath(QString::fromLatin1(c.folder))).filePath(logs[0]));
        EXPECT_EQ(log, (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1());
    }
}

TEST(BaseCli, AHerdIsReadInTurnWithALineForEachImplant)
{
    QTemporaryDir data;
    const auto result =
        runCli({QStringLiteral("--port"), QStringLiteral("sim:base"), QStringLiteral("--data-dir"),
                data.path(), QStringLiteral("base-read-data"), QStringLiteral("--implant"),
                QStringLiteral("9,5"), QStringLiteral("--connect-seconds"), QStringLiteral("4")});
    EXPECT_EQ(result.exitCode, 1); // implant 5 has no logger in range
    const QStringList lines = result.out.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2) << result.out.toStdString();
    const QString file9 = QDir(data.filePath(QStringLiteral("Downloads")))
                              .filePath(QStringLiteral("DldImpID9LogID33.bin"));
    EXPECT_EQ(lines[0].toStdString(),
              QStringLiteral("implant 9: %1, 12200 bytes stored, Download completed!")
                  .arg(file9)
                  .toStdString());
    EXPECT_EQ(lines[1].toStdString(), "implant 5: no file, 0 bytes stored, the logger did not "
                                      "answer within 4 s");
    EXPECT_EQ(storedCountOf(contentOf(file9)), 12200u);
    EXPECT_TRUE(result.err.contains(QStringLiteral("bytes/s"))) << result.err.toStdString();
}

TEST(BaseCli, AKilledDownloadResumesToTheSameFileAsAnUninterruptedOne)
{
    Devsim devsim(DevsimOptions);
    ASSERT_TRUE(devsim.path().startsWith(QStringLiteral("/dev/")));
    QTemporaryDir reference;
    const auto whole = runCli(
        {QStringLiteral("--port"), devsim.path(), QStringLiteral("--data-dir"), reference.path(),
         QStringLiteral("base-read-data"), QStringLiteral("--implant"), QStringLiteral("7")});
    ASSERT_EQ(whole.exitCode, 0) << whole.err.toStdString();
    EXPECT_EQ(whole.out, repositoryIn(reference) + QStringLiteral("\nDownload completed!"));
    const QByteArray complete = contentOf(repositoryIn(reference));
    ASSERT_EQ(complete.size(), 81 + 4000);

    QTemporaryDir data;
    QProcess cli;
    cli.start(QStringLiteral(HARVANE_CLI_PATH),
              {QStringLiteral("--port"), devsim.path(), QStringLiteral("--data-dir"), data.path(),
               QStringLiteral("base-read-data"), QStringLiteral("--implant"), QStringLiteral("7")});
    ASSERT_TRUE(cli.waitForStarted(10'000));
    QElapsedTimer clock;
    clock.start();
    while (QFileInfo(repositoryIn(data)).size() < 81 + 1500 && clock.elapsed() < 20'000)
        QThread::msleep(5);
    cli.kill();
    ASSERT_TRUE(cli.waitForFinished(10'000));
    const QByteArray cut = contentOf(repositoryIn(data));
    ASSERT_LT(cut.size(), complete.size()) << "the download ended before it was killed";
    EXPECT_EQ(cut.left(9), complete.left(9));
    const std::uint32_t count = storedCountOf(cut);
    EXPECT_GE(count, 1400u);
    EXPECT_LE(81 + count, static_cast<std::uint32_t>(cut.size()));

    const auto resumed = runCli(
        {QStringLiteral("--port"), devsim.path(), QStringLiteral("--data-dir"), data.path(),
         QStringLiteral("base-read-data"), QStringLiteral("--implant"), QStringLiteral("7")});
    EXPECT_EQ(resumed.exitCode, 0) << resumed.err.toStdString();
    EXPECT_TRUE(resumed.out.endsWith(QStringLiteral("Download completed!")));
    EXPECT_TRUE(resumed.err.contains(QStringLiteral("%1 of 4000 bytes").arg(count)))
        << resumed.err.toStdString();
    EXPECT_EQ(contentOf(repositoryIn(data)), complete);
}

TEST(BaseCli, APulledBaseStationEndsTheDownloadAtOnceAndTheFileResumes)
{
    QTemporaryDir data;
    QByteArray complete;
    {
        Devsim devsim(DevsimOptions);
        QProcess cli;
        cli.start(QStringLiteral(HARVANE_CLI_PATH),
                  {QStringLiteral("--port"), devsim.path(), QStringLiteral("--data-dir"),
                   data.path(), QStringLiteral("base-read-data"), QStringLiteral("--implant"),
                   QStringLiteral("7")});
        ASSERT_TRUE(cli.waitForStarted(10'000));
        QElapsedTimer clock;
        clock.start();
        while (QFileInfo(repositoryIn(data)).size() < 81 + 1500 && clock.elapsed() < 20'000)
            QThread::msleep(5);
        devsim.stop(); // the terminal hangs up
        clock.restart();
        ASSERT_TRUE(cli.waitForFinished(10'000));
        EXPECT_LT(clock.elapsed(), 2000);
        EXPECT_EQ(cli.exitCode(), 1);
        EXPECT_TRUE(QString::fromLocal8Bit(cli.readAllStandardError())
                        .contains(QStringLiteral(
                            "No communication, please check connection to base station!")));
        EXPECT_GE(storedCountOf(contentOf(repositoryIn(data))), 1400u);
    }
    // The same base station plugged in again (on a new terminal).
    Devsim again(DevsimOptions);
    QTemporaryDir reference;
    ASSERT_EQ(runCli({QStringLiteral("--port"), again.path(), QStringLiteral("--data-dir"),
                      reference.path(), QStringLiteral("base-read-data"),
                      QStringLiteral("--implant"), QStringLiteral("7")})
                  .exitCode,
              0);
    const auto resumed = runCli(
        {QStringLiteral("--port"), again.path(), QStringLiteral("--data-dir"), data.path(),
         QStringLiteral("base-read-data"), QStringLiteral("--implant"), QStringLiteral("7")});
    EXPECT_EQ(resumed.exitCode, 0) << resumed.err.toStdString();
    EXPECT_EQ(contentOf(repositoryIn(data)), contentOf(repositoryIn(reference)));
}

TEST(BaseCli, TwentyKillsAtRandomMomentsStillEndInTheSameFileAsOneUninterruptedDownload)
{
    // Big enough that twenty short runs do not finish it, so every kill
    // lands somewhere in a download: while connecting, between chunks, in
    // the middle of a chunk or of the header update.
    const QStringList options{QStringLiteral("--memory-bytes"), QStringLiteral("30000"),
                              QStringLiteral("--frozen-clock"),
                              QStringLiteral("--connect-delay-ms"), QStringLiteral("200")};
    Devsim devsim(options);
    ASSERT_TRUE(devsim.path().startsWith(QStringLiteral("/dev/")));
    const QStringList download{QStringLiteral("--port"), devsim.path(),
                               QStringLiteral("base-read-data"), QStringLiteral("--implant"),
                               QStringLiteral("7")};
    QTemporaryDir reference;
    ASSERT_EQ(
        runCli(QStringList{QStringLiteral("--data-dir"), reference.path()} + download).exitCode, 0);
    const QByteArray complete = contentOf(repositoryIn(reference));
    ASSERT_EQ(complete.size(), 81 + 30000);

    QTemporaryDir data;
    std::mt19937 random(20261211);
    std::uniform_int_distribution<int> moment(700, 2200);
    std::uint32_t before = 0;
    for (int kill = 0; kill < 20; ++kill) {
        const int atMs = moment(random);
        SCOPED_TRACE("kill " + std::to_string(kill) + " at " + std::to_string(atMs) + " ms");
        QProcess cli;
        cli.start(QStringLiteral(HARVANE_CLI_PATH),
                  QStringList{QStringLiteral("--data-dir"), data.path()} + download);
        ASSERT_TRUE(cli.waitForStarted(10'000));
        cli.waitForFinished(atMs);
        cli.kill();
        ASSERT_TRUE(cli.waitForFinished(10'000));
        // What the killed run left is one the next run can take up: a header
        // that counts no more than the file holds, and those bytes exactly
        // the logger's.
        const QByteArray cut = contentOf(repositoryIn(data));
        if (cut.isEmpty())
            continue; // killed before the file was made
        ASSERT_GE(cut.size(), 81);
        EXPECT_EQ(cut.left(9), complete.left(9));
        const std::uint32_t count = storedCountOf(cut);
        EXPECT_LE(81 + count, static_cast<std::uint32_t>(cut.size()));
        EXPECT_GE(count, before) << "a resumed download lost what an earlier run stored";
        EXPECT_EQ(cut.mid(81, static_cast<int>(count)), complete.mid(81, static_cast<int>(count)));
        before = count;
    }
    EXPECT_LT(before, 30000u) << "the kills came too late to cut the download";

    const auto last = runCli(QStringList{QStringLiteral("--data-dir"), data.path()} + download);
    EXPECT_EQ(last.exitCode, 0) << last.err.toStdString();
    EXPECT_EQ(contentOf(repositoryIn(data)), complete);
}
