// harvane-cli against faulty devices on a pseudo-terminal (harvane-devsim),
// through the real serial code: every command ends, and a job that did not
// complete exits 1 with the program's message.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>

#include <unistd.h>

namespace {

const QString NoLogger = QStringLiteral("No communication, please check connection to logger!");

struct CliResult {
    bool finished = false;
    int exitCode = -1;
    QString out;
    QString err;
};

CliResult finish(QProcess& process, int timeoutMs)
{
    CliResult result;
    result.finished = process.waitForFinished(timeoutMs);
    if (!result.finished) {
        process.kill();
        process.waitForFinished(5000);
    }
    result.exitCode = process.exitCode();
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    result.err = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    return result;
}

CliResult runCli(const QStringList& arguments, int timeoutMs = 60'000)
{
    QProcess process;
    process.start(QStringLiteral(HARVANE_CLI_PATH), arguments);
    return finish(process, timeoutMs);
}

// A simulated logger on a pseudo-terminal with the faults asked for.
class Devsim {
public:
    explicit Devsim(const QStringList& options)
    {
        m_process.start(QStringLiteral(HARVANE_DEVSIM_PATH),
                        QStringList{QStringLiteral("logger")} + options);
        if (m_process.waitForStarted(10'000) && m_process.waitForReadyRead(10'000))
            m_path = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
    ~Devsim() { stop(); }
    Devsim(const Devsim&) = delete;
    Devsim& operator=(const Devsim&) = delete;

    [[nodiscard]] QString path() const { return m_path; }
    // The device and its end of the line go away, like a pulled adapter.
    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(10'000))
            m_process.kill();
    }

private:
    QProcess m_process;
    QString m_path;
};

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(CliFaults, ACutShortStatusReplyIsAFailedReadForEveryCommand)
{
    Devsim devsim({QStringLiteral("--reply-limit"), QStringLiteral("40")});
    ASSERT_FALSE(devsim.path().isEmpty());
    QTemporaryDir data;
    const QStringList common{QStringLiteral("--port"), devsim.path(), QStringLiteral("--data-dir"),
                             data.path()};
    const QString target = data.filePath(QStringLiteral("cow.bin"));
    for (const QStringList& command :
         {QStringList{QStringLiteral("status")},
          QStringList{QStringLiteral("write-settings"), QStringLiteral("--logger-id"),
                      QStringLiteral("33")},
          QStringList{QStringLiteral("start-logging")}, QStringList{QStringLiteral("stop-logging")},
          QStringList{QStringLiteral("erase"), QStringLiteral("--yes")},
          QStringList{QStringLiteral("read-data"), QStringLiteral("-o"), target}}) {
        SCOPED_TRACE(command.join(QLatin1Char(' ')).toStdString());
        const auto result = runCli(common + command);
        EXPECT_TRUE(result.finished);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(result.err.contains(NoLogger)) << result.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_FALSE(QDir(data.filePath(QStringLiteral("StatusLogCollar"))).exists());
}

TEST(CliFaults, AStalledDownloadKeepsItsFileButFails)
{
    // Identify, status, then 3000 of the 49152 data bytes.
    Devsim devsim({QStringLiteral("--stall-after"), QString::number(4 + 72 + 3000)});
    ASSERT_FALSE(devsim.path().isEmpty());
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("cow.bin"));
    const auto result = runCli({QStringLiteral("--port"), devsim.path(),
                                QStringLiteral("read-data"), QStringLiteral("-o"), target});
    EXPECT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, target); // the part that came is kept, and named
    EXPECT_TRUE(result.err.contains(QStringLiteral("The logger stopped sending")))
        << result.err.toStdString();
    const QByteArray file = contentOf(target);
    ASSERT_GT(file.size(), 81 + 3000);
    EXPECT_EQ(file.right(100), QByteArray(100, '\xFF'));
}

TEST(CliFaults, ADownloadTargetThatCannotBeWrittenIsRefusedFirst)
{
    const auto result =
        runCli({QStringLiteral("--port"), QStringLiteral("sim:logger"), QStringLiteral("read-data"),
                QStringLiteral("-o"), QStringLiteral("/no/such/dir/x.bin")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, QStringLiteral("Error: Can not write the data file /no/such/dir/x.bin!"));
    EXPECT_TRUE(result.out.isEmpty());
}

TEST(CliFaults, CtrlCDuringADownloadKeepsWhatArrivedAndFails)
{
    // About 35 s of data at the line rate.
    Devsim devsim({QStringLiteral("--memory-bytes"), QStringLiteral("200000")});
    ASSERT_FALSE(devsim.path().isEmpty());
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("cow.bin"));
    QProcess cli;
    cli.start(QStringLiteral(HARVANE_CLI_PATH),
              {QStringLiteral("--port"), devsim.path(), QStringLiteral("read-data"),
               QStringLiteral("-o"), target});
    ASSERT_TRUE(cli.waitForStarted(10'000));
    QThread::msleep(3000);
    ::kill(static_cast<pid_t>(cli.processId()), SIGINT);
    const auto result = finish(cli, 20'000);
    EXPECT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains(QStringLiteral("Reading was aborted")))
        << result.err.toStdString();
    const QByteArray file = contentOf(target);
    ASSERT_GT(file.size(), 81 + 200'000 - 1);
    // Some data came before the interrupt; the rest is marked missing.
    EXPECT_NE(file.mid(81, 100), QByteArray(100, '\xFF'));
    EXPECT_EQ(file.right(100), QByteArray(100, '\xFF'));
}

TEST(CliFaults, ASurveillanceEndsAtOnceWhenTheDeviceGoesAway)
{
    Devsim devsim({QStringLiteral("--logging")});
    ASSERT_FALSE(devsim.path().isEmpty());
    QTemporaryDir data;
    QProcess cli;
    cli.start(QStringLiteral(HARVANE_CLI_PATH),
              {QStringLiteral("--port"), devsim.path(), QStringLiteral("--data-dir"), data.path(),
               QStringLiteral("surveillance"), QStringLiteral("--seconds"), QStringLiteral("600")});
    ASSERT_TRUE(cli.waitForStarted(10'000));
    QThread::msleep(4000);
    devsim.stop();
    QElapsedTimer clock;
    clock.start();
    const auto result = finish(cli, 20'000);
    EXPECT_TRUE(result.finished);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains(NoLogger)) << result.err.toStdString();
    const QStringList logs =
        QDir(data.filePath(QStringLiteral("SurveillanceLog"))).entryList(QDir::Files);
    ASSERT_EQ(logs.size(), 1);
    EXPECT_TRUE(contentOf(data.filePath(QStringLiteral("SurveillanceLog/") + logs[0]))
                    .endsWith("Stop Log:\r\n"));
}

TEST(CliFaults, CommandsEndBesideADeviceThatNeverGoesQuiet)
{
    Devsim devsim(
        {QStringLiteral("--logging"), QStringLiteral("--chatter-ms"), QStringLiteral("80")});
    ASSERT_FALSE(devsim.path().isEmpty());
    QTemporaryDir data;
    const QStringList common{QStringLiteral("--port"), devsim.path(), QStringLiteral("--data-dir"),
                             data.path()};
    const auto watched =
        runCli(common + QStringList{QStringLiteral("surveillance"), QStringLiteral("--seconds"),
                                    QStringLiteral("3")},
               40'000);
    EXPECT_TRUE(watched.finished);
    EXPECT_TRUE(watched.exitCode == 0 || watched.exitCode == 1) << watched.exitCode;
    const auto status = runCli(common + QStringList{QStringLiteral("status")}, 40'000);
    EXPECT_TRUE(status.finished);
    EXPECT_TRUE(status.exitCode == 0 || status.exitCode == 1) << status.exitCode;
}

TEST(CliFaults, AFileNameThatIsNotUtf8IsExported)
{
    QTemporaryDir dir;
    const QString made = dir.filePath(QStringLiteral("made.bin"));
    const auto read = runCli({QStringLiteral("--port"), QStringLiteral("sim:logger"),
                              QStringLiteral("read-data"), QStringLiteral("-o"), made});
    ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();
    // "Kuh" with a Latin-1 u-umlaut: one byte that is no UTF-8.
    const QByteArray folder = QFile::encodeName(dir.path());
    const QByteArray latin1 = folder + "/K\xfch.bin";
    ASSERT_EQ(::rename(QFile::encodeName(made).constData(), latin1.constData()), 0);
    QProcess shell;
    shell.setProgram(QStringLiteral("/bin/sh"));
    shell.setArguments({QStringLiteral("-c"),
                        QStringLiteral("exec \"$0\" export \"$1$(printf '/K\\374h.bin')\""),
                        QStringLiteral(HARVANE_CLI_PATH), dir.path()});
    shell.start();
    const auto result = finish(shell, 30'000);
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    // Qt cannot list or remove these names either: plain system calls.
    for (const char* name : {"/K\xfchBT.csv", "/K\xfchHB.csv", "/K\xfch.bin"}) {
        const QByteArray path = folder + name;
        EXPECT_EQ(::access(path.constData(), R_OK), 0) << name;
        ::unlink(path.constData());
    }
}

TEST(CliFaults, AStatusWhoseReportCannotBeWrittenFails)
{
    QTemporaryDir dir;
    // The data folder is taken by a file: no report can be made below it.
    const QString blocked = dir.filePath(QStringLiteral("data"));
    QFile blocker(blocked);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const auto result = runCli({QStringLiteral("--port"), QStringLiteral("sim:logger"),
                                QStringLiteral("--data-dir"), blocked, QStringLiteral("status")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.contains(QStringLiteral("Logger Status:"))); // still shown
    EXPECT_TRUE(result.err.contains(QStringLiteral("The status report could not be written.")));
}

TEST(CliFaults, AKilledDownloadLeavesWhatArrivedOnTheDisk)
{
    Devsim devsim({QStringLiteral("--memory-bytes"), QStringLiteral("200000")});
    ASSERT_FALSE(devsim.path().isEmpty());
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("cow.bin"));
    QProcess cli;
    cli.start(QStringLiteral(HARVANE_CLI_PATH),
              {QStringLiteral("--port"), devsim.path(), QStringLiteral("read-data"),
               QStringLiteral("-o"), target});
    ASSERT_TRUE(cli.waitForStarted(10'000));
    QThread::msleep(8000);
    cli.kill(); // no chance to clean up, as with a crash or a flat battery
    cli.waitForFinished(10'000);
    EXPECT_FALSE(QFile::exists(target));
    const QByteArray partial = contentOf(dir.filePath(QStringLiteral("cow-partial.bin")));
    ASSERT_GT(partial.size(), 81);
    const std::uint32_t count =
        static_cast<std::uint8_t>(partial[29]) | static_cast<std::uint8_t>(partial[30]) << 8 |
        static_cast<std::uint8_t>(partial[31]) << 16 |
        static_cast<std::uint32_t>(static_cast<std::uint8_t>(partial[32])) << 24;
    // Several seconds at 5760 bytes/s, all of them counted and there.
    EXPECT_GT(count, 15'000u);
    EXPECT_GE(static_cast<std::uint32_t>(partial.size()), 81 + count);
    const auto info =
        runCli({QStringLiteral("info"), dir.filePath(QStringLiteral("cow-partial.bin"))});
    EXPECT_EQ(info.exitCode, 0) << info.err.toStdString();
}
