// Every logger action of every dialog against the faults a barn throws at
// it: a silent adapter, the wrong device, a status reply cut short, stale
// bytes before a reply, corrupted replies, a stream that stalls, the device
// lost part way, and a device that never goes quiet. Whatever the fault, the action
// ends, says what went wrong, gives the controls back, switches off any
// stream it started while the logger can still hear it, and never changes
// the logger on the strength of half a status block.

#include "data/COmbrelRepeaterDataReadDlg.h"
#include "link/CommandCode.h"
#include "logger/COmbrelRepeaterAskBeforeErase.h"
#include "logger/COmbrelRepeaterFreqCalibDlg.h"
#include "logger/COmbrelRepeaterSetZAxisThresDlg.h"
#include "tests/support/ConfigDialogFixture.h"
#include "tests/support/MainFrameFixture.h"
#include "widgets/BusyAnimation.h"
#include "widgets/LogListWidget.h"

#include <QPushButton>

#include <functional>
#include <set>

namespace {

using Bytes = std::vector<std::uint8_t>;
const QString NoLogger = QStringLiteral("No communication, please check connection to logger!");
const QString NotLogger = QStringLiteral("Please connect a logger to use this feature!");

enum class Fault {
    Silent,
    WrongDevice,
    ShortStatus,
    StaleBytes,
    CorruptReplies,
    StalledStream,
    LostMidway,
    NeverQuiet
};

constexpr Fault AllFaults[] = {Fault::Silent,     Fault::WrongDevice,    Fault::ShortStatus,
                               Fault::StaleBytes, Fault::CorruptReplies, Fault::StalledStream,
                               Fault::LostMidway, Fault::NeverQuiet};

const char* faultName(Fault fault)
{
    switch (fault) {
    case Fault::Silent:
        return "silent";
    case Fault::WrongDevice:
        return "wrong device";
    case Fault::StaleBytes:
        return "stale bytes";
    case Fault::CorruptReplies:
        return "corrupt replies";
    case Fault::ShortStatus:
        return "status cut short";
    case Fault::StalledStream:
        return "stream stalls";
    case Fault::LostMidway:
        return "device lost";
    case Fault::NeverQuiet:
        return "never quiet";
    }
    return "?";
}

// One cell of the matrix: a fresh logger and dialog, the fault, the action.
struct Cell : ConfigDialogFixture {
    void TestBody() override {}

    std::unique_ptr<COmbrelRepeaterDataReadDlg> reader;
    std::unique_ptr<COmbrelRepeaterAskBeforeErase> eraser;
    std::unique_ptr<COmbrelRepeaterSetZAxisThresDlg> threshold;
    std::unique_ptr<COmbrelRepeaterFreqCalibDlg> calibration;
    std::int64_t lostAtMs = -1;

    Cell()
    {
        logger.setMemory(Bytes(20'000, 0x5A));
        logger.setSurveillancePeriodUs(100'000);
        logger.setCalibrationPeriodUs(100'000);
        logger.setEraseDurationUs(5'000'000);
    }
    void startLogging() { logger.status()[50] |= 0x01; }
    // The settings dialog after a first good read, with its buttons usable.
    void readFirst()
    {
        dialog().readButton()->click();
        link.clear();
        prompts.clear();
    }
    // `stallAfter`: how many bytes of replies and stream get through first.
    void inject(Fault fault, std::int64_t lossAfterMs, std::uint64_t stallAfter)
    {
        switch (fault) {
        case Fault::Silent:
            logger.faults().silent = true;
            break;
        case Fault::WrongDevice:
            logger.faults().answersAsOtherDevice = true;
            break;
        case Fault::StaleBytes:
            // Left over from an earlier run, arriving while the action drains.
            logger.sendUnsolicited(Bytes(40, 0x33), pump.nowUs() + 20'000);
            break;
        case Fault::CorruptReplies:
            // A flipped bit in the middle of each of the next replies.
            logger.faults().corruptReplies = 3;
            logger.faults().corruptByteIndex = 36;
            break;
        case Fault::ShortStatus:
            logger.faults().replyLimit = 40;
            break;
        case Fault::StalledStream:
            logger.faults().stallAfterBytes = stallAfter;
            break;
        case Fault::LostMidway:
            lostAtMs = pump.nowMs() + lossAfterMs;
            pump.at(lostAtMs, [this] { logger.unplug(); });
            break;
        case Fault::NeverQuiet:
            logger.faults().chatterPeriodUs = 80'000;
            break;
        }
    }
    bool wrote(std::uint8_t code, std::uint8_t argument) const
    {
        for (const auto& w : link.writes()) {
            if (w.bytes.size() >= 2 && w.bytes[0] == code && w.bytes[1] == argument)
                return true;
        }
        return false;
    }
    // The position of the last write of code + argument, or -1.
    int lastWrite(std::uint8_t code, std::uint8_t argument) const
    {
        int found = -1;
        for (std::size_t i = 0; i < link.writes().size(); ++i) {
            const auto& bytes = link.writes()[i].bytes;
            if (bytes.size() >= 2 && bytes[0] == code && bytes[1] == argument)
                found = static_cast<int>(i);
        }
        return found;
    }
};

struct Action {
    const char* name;
    // Settles the logger and the dialog before the fault comes in.
    std::function<void(Cell&)> prepare;
    // When the device is lost (ms into the action), and how many bytes pass
    // before a stall (4: the identify reply and nothing more).
    std::int64_t lossAfterMs;
    std::uint64_t stallAfter;
    // Runs the action as a click does; returns whether its dialog's Exit is
    // usable afterwards.
    std::function<bool(Cell&)> run;
    // A loop that runs until it is stopped (and so must end at once when the
    // link goes).
    bool continuous = false;
    bool readsStatus = true;
};

// Identify, status, the 2-byte acknowledgement of a switched stream.
constexpr std::uint64_t StreamStart = 4 + 72 + 2;

const std::vector<Action>& actions()
{
    static const std::vector<Action> all{
        {"Read Settings", [](Cell&) {}, 150, 4,
         [](Cell& c) {
             c.dialog().readButton()->click();
             return c.dialog().exitButton()->isEnabled();
         }},
        {"Write Settings", [](Cell& c) { c.readFirst(); }, 150, 4,
         [](Cell& c) {
             c.dialog().writeButton()->click();
             return c.dialog().exitButton()->isEnabled();
         }},
        {"Start logging",
         [](Cell& c) {
             c.readFirst();
             c.prompts.answerYesNo(YesNoAnswer::Yes);
         },
         150, 4,
         [](Cell& c) {
             c.dialog().startButton()->click();
             return c.dialog().exitButton()->isEnabled();
         }},
        {"Stop logging",
         [](Cell& c) {
             c.startLogging();
             c.readFirst();
             c.prompts.answerYesNo(YesNoAnswer::Yes);
         },
         150, 4,
         [](Cell& c) {
             c.dialog().stopButton()->click();
             return c.dialog().exitButton()->isEnabled();
         }},
        {"Surveillance",
         [](Cell& c) {
             c.startLogging();
             c.readFirst();
         },
         3000, StreamStart + 200,
         [](Cell& c) {
             c.pump.after(6000, [&c] { c.dialog().surveillanceButton()->click(); });
             c.dialog().surveillanceButton()->click();
             return c.dialog().exitButton()->isEnabled();
         },
         true},
        {"Read data", [](Cell&) {}, 1500, 4 + 72 + 5000,
         [](Cell& c) {
             ReadDataProcedure::Hooks hooks;
             c.reader = std::make_unique<COmbrelRepeaterDataReadDlg>(c.context(), hooks);
             c.reader->readButton()->click();
             return c.reader->exitButton()->isEnabled();
         },
         true},
        {"Erase",
         [](Cell& c) {
             c.eraser = std::make_unique<COmbrelRepeaterAskBeforeErase>(c.context());
             c.prompts.answerYesNo(YesNoAnswer::Yes);
         },
         1000, 4 + 72 + 1,
         [](Cell& c) {
             c.eraser->eraseButton()->click();
             return c.eraser->exitButton()->isEnabled();
         },
         true},
        {"Head tilt",
         [](Cell& c) {
             c.threshold = std::make_unique<COmbrelRepeaterSetZAxisThresDlg>(c.context());
         },
         150, 4,
         [](Cell& c) {
             c.threshold->readButton()->click();
             return c.threshold->exitButton()->isEnabled();
         },
         false, false},
        {"Write threshold",
         [](Cell& c) {
             c.threshold = std::make_unique<COmbrelRepeaterSetZAxisThresDlg>(c.context());
         },
         150, 4,
         [](Cell& c) {
             c.threshold->writeButton()->click();
             return c.threshold->exitButton()->isEnabled();
         }},
        {"Calibration log",
         [](Cell& c) {
             c.calibration = std::make_unique<COmbrelRepeaterFreqCalibDlg>(c.context());
         },
         3000, StreamStart + 200,
         [](Cell& c) {
             c.pump.after(6000, [&c] { c.calibration->logButton()->click(); });
             c.calibration->logButton()->click();
             return c.calibration->exitButton()->isEnabled();
         },
         true},
        {"Read offset",
         [](Cell& c) {
             c.calibration = std::make_unique<COmbrelRepeaterFreqCalibDlg>(c.context());
         },
         150, 4,
         [](Cell& c) {
             c.calibration->readButton()->click();
             return c.calibration->exitButton()->isEnabled();
         }},
    };
    return all;
}

} // namespace

TEST(LoggerFaultMatrix, EveryActionEndsCleanlyUnderEveryFault)
{
    // Commands that change what the logger holds or does.
    const std::set<std::uint8_t> changing{
        CommandCode::SetClock,     CommandCode::SetVhfStart,       CommandCode::SetVhfStop,
        CommandCode::SetImplantId, CommandCode::CloseSettings,     CommandCode::SetLoggerId,
        CommandCode::SetInterval,  CommandCode::EraseMemory,       CommandCode::SetHeadThreshold,
        CommandCode::DumpMemory,   CommandCode::AddFrequencyOffset};

    // Nothing is written, erased, started or dumped.
    const auto expectLoggerUntouched = [&changing](const Cell& cell) {
        for (const auto& w : cell.link.writes()) {
            EXPECT_EQ(changing.count(w.bytes.front()), 0u) << int(w.bytes.front());
        }
        EXPECT_FALSE(cell.wrote(CommandCode::Logging, CommandCode::On));
        EXPECT_FALSE(cell.wrote(CommandCode::Surveillance, CommandCode::On));
        EXPECT_FALSE(cell.wrote(CommandCode::CalibrationLog, CommandCode::On));
    };

    for (const Action& action : actions()) {
        for (Fault fault : AllFaults) {
            SCOPED_TRACE(std::string(action.name) + " / " + faultName(fault));
            Cell cell;
            action.prepare(cell);
            const std::int64_t startMs = cell.pump.nowMs();
            cell.inject(fault, action.lossAfterMs, action.stallAfter);
            const bool exitUsable = action.run(cell);
            const std::int64_t endMs = cell.pump.nowMs();

            // It ends, within the longest budget any action has (the erase's
            // 180 s), and hands the dialog back.
            EXPECT_LT(endMs - startMs, 200'000);
            EXPECT_TRUE(exitUsable);
            // Whatever it switched on, it switched off again while the
            // logger could still hear it.
            for (std::uint8_t stream : {CommandCode::Surveillance, CommandCode::CalibrationLog}) {
                const int on = cell.lastWrite(stream, CommandCode::On);
                if (on >= 0 && fault != Fault::LostMidway) {
                    EXPECT_GT(cell.lastWrite(stream, CommandCode::Off), on) << int(stream);
                }
            }

            switch (fault) {
            case Fault::Silent:
            case Fault::WrongDevice:
                // No device that answers as a logger: the user is told which,
                // and nothing but the identify goes out.
                EXPECT_TRUE(
                    cell.prompts.messages().contains(fault == Fault::Silent ? NoLogger : NotLogger))
                    << cell.prompts.messages().join(QLatin1Char('|')).toStdString();
                expectLoggerUntouched(cell);
                break;
            case Fault::StaleBytes:
                // Drained before the action speaks: it goes as without them.
                EXPECT_FALSE(cell.prompts.messages().contains(NoLogger))
                    << cell.prompts.messages().join(QLatin1Char('|')).toStdString();
                EXPECT_FALSE(cell.prompts.messages().contains(NotLogger));
                break;
            case Fault::CorruptReplies:
                // The replies carry no check sum, so a flipped bit cannot be
                // told; what matters is that the action ends and the dialog
                // comes back, which the checks above cover.
                break;
            case Fault::ShortStatus:
                // Half a block is no block: the user is told, and nothing is
                // written, erased, started or dumped on its strength.
                if (action.readsStatus) {
                    EXPECT_TRUE(cell.prompts.messages().contains(NoLogger));
                }
                expectLoggerUntouched(cell);
                break;
            case Fault::StalledStream:
                EXPECT_FALSE(cell.prompts.messages().isEmpty());
                break;
            case Fault::LostMidway:
                EXPECT_FALSE(cell.prompts.messages().isEmpty());
                EXPECT_TRUE(std::any_of(cell.prompts.messages().begin(),
                                        cell.prompts.messages().end(),
                                        [](const QString& m) { return m.startsWith(NoLogger); }))
                    << cell.prompts.messages().join(QLatin1Char('|')).toStdString();
                // A running loop notices at once, not at the user's Stop.
                if (action.continuous) {
                    EXPECT_LT(endMs - cell.lostAtMs, 1000);
                }
                break;
            case Fault::NeverQuiet:
                break;
            }
        }
    }
}

TEST(LoggerFaultMatrix, ALostSurveillanceClosesItsLogWithTheLastLine)
{
    Cell cell;
    cell.startLogging();
    cell.readFirst();
    cell.inject(Fault::LostMidway, 2500, 0);
    cell.dialog().surveillanceButton()->click();
    const QStringList logs = cell.filesIn(QStringLiteral("SurveillanceLog"));
    ASSERT_EQ(logs.size(), 1);
    const QByteArray log = cell.fileContent(QStringLiteral("SurveillanceLog"), logs[0]);
    EXPECT_TRUE(log.endsWith("Stop Log:\r\n")) << log.right(40).toStdString();
    EXPECT_GT(log.count("BT:") + log.count("LG:") + log.count("HB:"), 10);
    EXPECT_EQ(cell.dialog().surveillanceButton()->text(), QStringLiteral("Start Surveilance"));
    EXPECT_FALSE(cell.dialog().animation()->isRunning());
    EXPECT_EQ(cell.prompts.messages(), QStringList{NoLogger});
}

TEST(LoggerFaultMatrix, ALostDownloadKeepsWhatArrivedAndSaysSo)
{
    Cell cell;
    cell.inject(Fault::LostMidway, 1500, 0);
    ReadDataProcedure::Hooks hooks;
    COmbrelRepeaterDataReadDlg reader(cell.context(), hooks);
    reader.readButton()->click();
    const ReadDataProcedure& procedure = reader.procedure();
    EXPECT_FALSE(procedure.lastComplete());
    ASSERT_FALSE(procedure.lastFilePath().isEmpty());
    QFile file(procedure.lastFilePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes.size(), 81 + 20'000);
    const qsizetype arrived = bytes.indexOf('\xFF', 81) - 81;
    EXPECT_GT(arrived, 1000);
    EXPECT_LT(arrived, 20'000);
    EXPECT_EQ(bytes.count('\x5A'), arrived);
    ASSERT_EQ(cell.prompts.messages().size(), 1);
    EXPECT_TRUE(cell.prompts.messages()[0].startsWith(NoLogger));
    EXPECT_TRUE(cell.prompts.messages()[0].contains(QStringLiteral("%1 of 20000").arg(arrived)));
}

// The other way a device goes: the main window hears that its adapter was
// removed and closes the port under the running dialog.
TEST_F(MainFrameFixture, ARemovalNoticeEndsARunningSurveillanceAtOnce)
{
    devices.logger().status()[50] |= 0x01;
    frame().choosePort(QStringLiteral("sim:logger"));
    std::int64_t removedAtMs = -1;
    std::int64_t endedAtMs = -1;
    QStringList lastLines;
    whenModalOpens<COmbrelRepeaterConfigDlg>([&](COmbrelRepeaterConfigDlg& dialog) {
        dialog.readButton()->click();
        pump.after(3000, [&] {
            removedAtMs = pump.nowMs();
            ports.unplug(QStringLiteral("sim:logger"));
        });
        dialog.surveillanceButton()->click();
        endedAtMs = pump.nowMs();
        lastLines = dialog.surveillanceList()->lines();
        dialog.exitButton()->click();
    });
    frame().command(MainCommand::LoggerSettings)->trigger();
    ASSERT_GE(removedAtMs, 0);
    // The port list is looked at every 1.5 s; the run ends at the next look.
    EXPECT_LT(endedAtMs - removedAtMs, 2000);
    EXPECT_FALSE(frame().isPortOpen());
    EXPECT_TRUE(prompts.messages().contains(NoLogger));
    ASSERT_FALSE(lastLines.isEmpty());
    EXPECT_EQ(lastLines.back(), QStringLiteral("Stop Log:"));
}
