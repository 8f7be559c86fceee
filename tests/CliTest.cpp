// harvane-cli as a user runs it: a separate process, its output and exit
// status. The last case goes through harvane-devsim and a pseudo-terminal,
// so the whole real serial path is in it.

#include <QDir>
#include <QFile>
#include <QProcess>

#include "data/CsvExport.h"
#include "data/DataFile.h"
#include "tests/support/CliProcess.h"
#include "tests/support/StreamBuilder.h"
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(Cli, IdentifyNamesTheDevice)
{
    const auto logger = runCli(
        {QStringLiteral("--port"), QStringLiteral("sim:logger"), QStringLiteral("identify")});
    EXPECT_EQ(logger.exitCode, 0) << logger.err.toStdString();
    EXPECT_EQ(logger.out, QStringLiteral("logger"));

    // Options may follow the command.
    const auto base = runCli({QStringLiteral("identify"), QStringLiteral("--port=sim:base")});
    EXPECT_EQ(base.exitCode, 0) << base.err.toStdString();
    EXPECT_EQ(base.out, QStringLiteral("base station"));
}

TEST(Cli, FailuresPrintTheProgramsMessageAndExitWithOne)
{
    const auto wrong =
        runCli({QStringLiteral("--port"), QStringLiteral("sim:base"), QStringLiteral("identify"),
                QStringLiteral("--expect"), QStringLiteral("logger")});
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_EQ(wrong.err, QStringLiteral("Please connect a logger to use this feature!"));
    EXPECT_TRUE(wrong.out.isEmpty());

    const auto missing = runCli({QStringLiteral("--port"), QStringLiteral("/dev/harvane-none"),
                                 QStringLiteral("identify")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, QStringLiteral("Error could not create handle to serial port!"));
}

TEST(Cli, UsageErrorsExitWithTwoAndHelpExitsWithZero)
{
    EXPECT_EQ(runCli({}).exitCode, 2);
    EXPECT_EQ(runCli({QStringLiteral("frobnicate")}).exitCode, 2);
    EXPECT_EQ(runCli({QStringLiteral("identify")}).exitCode, 2); // no --port
    EXPECT_EQ(runCli({QStringLiteral("identify"), QStringLiteral("--port"),
                      QStringLiteral("sim:logger"), QStringLiteral("--bogus")})
                  .exitCode,
              2);
    EXPECT_EQ(
        runCli({QStringLiteral("--port"), QStringLiteral("sim:logger"), QStringLiteral("identify"),
                QStringLiteral("--expect"), QStringLiteral("toaster")})
            .exitCode,
        2);

    const auto overview = runCli({QStringLiteral("--help")});
    EXPECT_EQ(overview.exitCode, 0);
    EXPECT_TRUE(overview.out.contains(QStringLiteral("identify")));
    EXPECT_TRUE(overview.out.contains(QStringLiteral("ports")));
    const auto help = runCli({QStringLiteral("identify"), QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("--expect")));
}

TEST(Cli, PortsListsWithoutError)
{
    EXPECT_EQ(runCli({QStringLiteral("ports")}).exitCode, 0);
}

TEST(Cli, IdentifyThroughDevsimOnAPseudoTerminal)
{
    QProcess devsim;
    devsim.start(QStringLiteral(HARVANE_DEVSIM_PATH), {QStringLiteral("base")});
    ASSERT_TRUE(devsim.waitForStarted(10'000));
    ASSERT_TRUE(devsim.waitForReadyRead(10'000));
    const QString path = QString::fromLocal8Bit(devsim.readLine()).trimmed();
    ASSERT_TRUE(path.startsWith(QStringLiteral("/dev/"))) << path.toStdString();

    const auto result = runCli({QStringLiteral("--port"), path, QStringLiteral("identify"),
                                QStringLiteral("--expect"), QStringLiteral("base")});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, QStringLiteral("base station"));

    devsim.terminate();
    EXPECT_TRUE(devsim.waitForFinished(10'000));
}

TEST(Cli, StatusPrintsTheReportAndWritesItsFile)
{
    QTemporaryDir data;
    const auto result =
        runCli({QStringLiteral("--port"), QStringLiteral("sim:logger"),
                QStringLiteral("--data-dir"), data.path(), QStringLiteral("status")});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(result.out.startsWith(QStringLiteral("Logger Status:")));
    EXPECT_TRUE(result.out.contains(QStringLiteral("Logger ID:\t\t\t\t12")));
    const QStringList reports =
        QDir(data.filePath(QStringLiteral("StatusLogCollar"))).entryList(QDir::Files);
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(result.err.contains(reports[0]));
}

TEST(Cli, WriteSettingsChecksItsValuesBeforeTouchingTheLogger)
{
    QTemporaryDir data;
    const auto bad =
        runCli({QStringLiteral("--port"), QStringLiteral("sim:logger"),
                QStringLiteral("--data-dir"), data.path(), QStringLiteral("write-settings"),
                QStringLiteral("--logger-id"), QStringLiteral("300")});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_FALSE(QDir(data.filePath(QStringLiteral("StatusLogCollar"))).exists());

    const auto good = runCli(
        {QStringLiteral("--port"), QStringLiteral("sim:logger"), QStringLiteral("--data-dir"),
         data.path(), QStringLiteral("write-settings"), QStringLiteral("--logger-id"),
         QStringLiteral("44"), QStringLiteral("--interval-s"), QStringLiteral("120")});
    EXPECT_EQ(good.exitCode, 0) << good.err.toStdString();
    EXPECT_TRUE(good.out.contains(QStringLiteral("Logger ID:\t\t\t\t44")));
    EXPECT_TRUE(good.out.contains(QStringLiteral("Logging interval in seconds:\t\t120")));
}

TEST(Cli, LoggingAndSurveillanceAgainstDevsim)
{
    // One device that keeps its state between commands, on a pseudo-terminal.
    QProcess devsim;
    devsim.start(QStringLiteral(HARVANE_DEVSIM_PATH), {QStringLiteral("logger")});
    ASSERT_TRUE(devsim.waitForReadyRead(10'000));
    const QString path = QString::fromLocal8Bit(devsim.readLine()).trimmed();
    QTemporaryDir data;
    auto cli = [&](QStringList arguments) {
        return runCli(
            QStringList{QStringLiteral("--port"), path, QStringLiteral("--data-dir"), data.path()} +
            arguments);
    };

    const auto refused =
        cli({QStringLiteral("surveillance"), QStringLiteral("--seconds"), QStringLiteral("1")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, QStringLiteral("Please turn on logging before starting surveillance!"));

    const auto started = cli({QStringLiteral("start-logging")});
    EXPECT_EQ(started.exitCode, 0) << started.err.toStdString();
    EXPECT_EQ(started.out, QStringLiteral("Logging on"));

    const auto watched =
        cli({QStringLiteral("surveillance"), QStringLiteral("--seconds"), QStringLiteral("3")});
    EXPECT_EQ(watched.exitCode, 0) << watched.err.toStdString();
    const QStringList lines = watched.out.split(QLatin1Char('\n'));
    EXPECT_EQ(lines.front(), QStringLiteral("Start Log:"));
    EXPECT_EQ(lines.back(), QStringLiteral("Stop Log:"));
    EXPECT_GE(lines.size(), 3);
    const QStringList logs =
        QDir(data.filePath(QStringLiteral("SurveillanceLog"))).entryList(QDir::Files);
    EXPECT_EQ(logs.size(), 1);

    const auto stopped = cli({QStringLiteral("stop-logging")});
    EXPECT_EQ(stopped.exitCode, 0) << stopped.err.toStdString();
    EXPECT_EQ(stopped.out, QStringLiteral("Logging off"));

    devsim.terminate();
    devsim.waitForFinished(10'000);
}

TEST(Cli, ExportWritesTheSameFilesAsSaveAndInfoShowsTheHeader)
{
    QTemporaryDir dir;
    const DataDocument doc = StreamBuilder()
                                 .timestamp(0, 0, 6, 1, 2, 25)
                                 .record(9856, 5120, 250, 3, 2)
                                 .bytes({70, 72, 71})
                                 .record(0, 5100, 12, 0, 0)
                                 .bytes({0xAA})
                                 .document(7, 4);
    const QString data = dir.filePath(QStringLiteral("Herd 4.v2.bin"));
    ASSERT_TRUE(DataFile::save(data, doc));
    const auto exported = runCli({QStringLiteral("export"), data});
    EXPECT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    const QString bt = dir.filePath(QStringLiteral("Herd 4.v2BT.csv"));
    const QString hb = dir.filePath(QStringLiteral("Herd 4.v2HB.csv"));
    EXPECT_EQ(exported.out, bt + QLatin1Char('\n') + hb);

    const QString refBt = dir.filePath(QStringLiteral("refBT.csv"));
    const QString refHb = dir.filePath(QStringLiteral("refHB.csv"));
    ASSERT_TRUE(CsvExport::write(doc, refBt, refHb, CivilTime()));
    auto bytesOf = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    EXPECT_EQ(bytesOf(bt), bytesOf(refBt));
    EXPECT_EQ(bytesOf(hb), bytesOf(refHb));
    EXPECT_TRUE(bytesOf(bt).contains("7,2025-02-01 06:01:00,38.50,20.00,250,3,2\r\n"));

    const auto info = runCli({QStringLiteral("info"), data});
    EXPECT_EQ(info.exitCode, 0);
    EXPECT_TRUE(info.out.contains(QStringLiteral("Implant ID:\t\t\t\t7")));
    EXPECT_TRUE(info.out.contains(QStringLiteral("Logging interval in seconds:\t\t60")));

    QFile bad(dir.filePath(QStringLiteral("bad.bin")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a data file");
    bad.close();
    const auto refused = runCli({QStringLiteral("export"), bad.fileName()});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, QStringLiteral("Error: Unsupported file type!"));
    EXPECT_EQ(runCli({QStringLiteral("export")}).exitCode, 2);
}

TEST(Cli, LoggerToolsOnTheSimulatedLogger)
{
    QTemporaryDir dir;
    const QStringList port{QStringLiteral("--port"), QStringLiteral("sim:logger")};
    const auto tilt = runCli(port + QStringList{QStringLiteral("head-tilt")});
    EXPECT_EQ(tilt.exitCode, 0) << tilt.err.toStdString();
    EXPECT_EQ(tilt.out, QStringLiteral("-120"));
    EXPECT_EQ(runCli(port + QStringList{QStringLiteral("set-threshold"), QStringLiteral("--"),
                                        QStringLiteral("-5")})
                  .out,
              QStringLiteral("Head position threshold -5 written"));
    EXPECT_EQ(runCli(port + QStringList{QStringLiteral("set-threshold"), QStringLiteral("99999")})
                  .exitCode,
              2);
    EXPECT_EQ(runCli(port + QStringList{QStringLiteral("freq-read")}).out,
              QStringLiteral("Center Frequency: 440.0 MHz\nOffset Frequency: 0.0 kHz"));

    const auto unconfirmed = runCli(port + QStringList{QStringLiteral("erase")});
    EXPECT_EQ(unconfirmed.exitCode, 1);
    const auto erased =
        runCli(port + QStringList{QStringLiteral("erase"), QStringLiteral("--yes")});
    EXPECT_EQ(erased.exitCode, 0) << erased.err.toStdString();
    EXPECT_EQ(erased.out, QStringLiteral("Memory erased"));

    const QString out = dir.filePath(QStringLiteral("cow.bin"));
    const auto read =
        runCli(port + QStringList{QStringLiteral("read-data"), QStringLiteral("-o"), out});
    EXPECT_EQ(read.exitCode, 0) << read.err.toStdString();
    EXPECT_EQ(read.out, out);
    const auto info = runCli({QStringLiteral("info"), out});
    EXPECT_TRUE(info.out.contains(QStringLiteral("Logger ID:\t\t\t\t12")));
}
