// Every base-station action of every dialog against the faults of the
// field: a silent base station, the wrong device, replies cut short, stale
// bytes before the reply, a device that never goes quiet, frames that fail
// their check, a stream that stalls, and the device lost part way. Whatever
// the fault, the action ends (the user's stop ends the loops that re-ask
// for ever), gives the controls back, switches off what it switched on while
// the base station can still hear it, and leaves every file complete or
// resumable.

#include "base/COmbrelRepDownloadDataViaBaseDlg.h"
#include "base/COmbrelRepGetSetgsViaBaseDlg.h"
#include "base/COmbrelRepReadBaseRevDlg.h"
#include "base/COmbrelRepeaterImplantSurveillanceDlg.h"
#include "base/ImplantIdField.h"
#include "base/LoggersInVicinityGroup.h"
#include "data/DataFile.h"
#include "link/CommandCode.h"
#include "tests/support/BaseFixture.h"

#include <QPushButton>

namespace {

enum class Fault {
    Silent,
    WrongDevice,
    ShortReplies,
    StaleBytes,
    NeverQuiet,
    CorruptFrames,
    StalledStream,
    LostMidway
};

constexpr Fault AllFaults[] = {Fault::Silent,        Fault::WrongDevice, Fault::ShortReplies,
                               Fault::StaleBytes,    Fault::NeverQuiet,  Fault::CorruptFrames,
                               Fault::StalledStream, Fault::LostMidway};

const char* faultName(Fault fault)
{
    switch (fault) {
    case Fault::Silent:
        return "silent";
    case Fault::WrongDevice:
        return "wrong device";
    case Fault::ShortReplies:
        return "replies cut short";
    case Fault::StaleBytes:
        return "stale bytes";
    case Fault::NeverQuiet:
        return "never quiet";
    case Fault::CorruptFrames:
        return "corrupt frames";
    case Fault::StalledStream:
        return "stream stalls";
    case Fault::LostMidway:
        return "device lost";
    }
    return "?";
}

struct Cell : BaseFixture {
    void TestBody() override {}

    std::unique_ptr<COmbrelRepGetSetgsViaBaseDlg> settings;
    std::unique_ptr<COmbrelRepDownloadDataViaBaseDlg> download;
    std::unique_ptr<COmbrelRepeaterImplantSurveillanceDlg> implants;
    std::unique_ptr<COmbrelRepReadBaseRevDlg> revision;
    std::int64_t lostAtMs = -1;

    Cell() { fieldLogger().setMemory(Bytes(20'000, 0x5A)); }

    void inject(Fault fault, std::int64_t lossAfterMs)
    {
        switch (fault) {
        case Fault::Silent:
            base.faults().silent = true;
            break;
        case Fault::WrongDevice:
            base.faults().answersAsOtherDevice = true;
            break;
        case Fault::ShortReplies:
            base.faults().replyLimit = 12;
            break;
        case Fault::StaleBytes:
            base.sendUnsolicited(Bytes(40, 0x33), pump.nowUs() + 20'000);
            break;
        case Fault::NeverQuiet:
            base.faults().chatterPeriodUs = 80'000;
            break;
        case Fault::CorruptFrames:
            base.radioFaults().corruptFrames = 1'000'000;
            break;
        case Fault::StalledStream:
            // Identify, the connect acknowledgement and signal, the status
            // frame and a few chunks; then nothing.
            base.faults().stallAfterBytes = 4 + 2 + 4 + 76 + 5 * 102;
            break;
        case Fault::LostMidway:
            lostAtMs = pump.nowMs() + lossAfterMs;
            pump.at(lostAtMs, [this] { base.unplug(); });
            break;
        }
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
    // Clicks the action's button and, for one that runs until stopped, its
    // stop after `stopAfterMs`; returns whether Exit is usable afterwards.
    std::function<bool(Cell&)> run;
    bool continuous = false;
    // When the device goes, within the action.
    std::int64_t lossAfterMs = 1500;
};

const std::vector<Action>& actions()
{
    static const std::vector<Action> all{
        {"Read Settings via base",
         [](Cell& c) {
             c.settings = std::make_unique<COmbrelRepGetSetgsViaBaseDlg>(c.context());
             c.settings->implantField()->setText(QStringLiteral("7"));
             c.pump.after(20'000, [&c] { c.settings->readButton()->click(); });
             c.settings->readButton()->click();
             return c.settings->exitButton()->isEnabled();
         },
         true, 450},
        {"Read Data via base",
         [](Cell& c) {
             BaseDownloadProcedure::Hooks hooks;
             c.download = std::make_unique<COmbrelRepDownloadDataViaBaseDlg>(c.context(), hooks);
             c.download->implantField()->setText(QStringLiteral("7"));
             c.pump.after(20'000, [&c] { c.download->readButton()->click(); });
             c.download->readButton()->click();
             return c.download->exitButton()->isEnabled();
         },
         true},
        {"Vicinity in Read Settings",
         [](Cell& c) {
             c.settings = std::make_unique<COmbrelRepGetSetgsViaBaseDlg>(c.context());
             c.pump.after(5000, [&c] { c.settings->vicinity()->startButton()->click(); });
             c.settings->vicinity()->startButton()->click();
             return c.settings->exitButton()->isEnabled();
         },
         true},
        {"Vicinity in Read Data",
         [](Cell& c) {
             BaseDownloadProcedure::Hooks hooks;
             c.download = std::make_unique<COmbrelRepDownloadDataViaBaseDlg>(c.context(), hooks);
             c.pump.after(5000, [&c] { c.download->vicinity()->startButton()->click(); });
             c.download->vicinity()->startButton()->click();
             return c.download->exitButton()->isEnabled();
         },
         true},
        {"Implant surveillance",
         [](Cell& c) {
             c.implants = std::make_unique<COmbrelRepeaterImplantSurveillanceDlg>(c.context());
             c.pump.after(5000, [&c] { c.implants->surveillanceButton()->click(); });
             c.implants->surveillanceButton()->click();
             return c.implants->exitButton()->isEnabled();
         },
         true},
        {"Read revision",
         [](Cell& c) {
             c.revision = std::make_unique<COmbrelRepReadBaseRevDlg>(c.context());
             c.revision->readButton()->click();
             return c.revision->exitButton()->isEnabled();
         },
         false, 150},
    };
    return all;
}

// A log of a run is complete: it ends with the run's last line.
void expectLogsComplete(const Cell& cell, const QString& folder)
{
    for (const QString& name : cell.filesIn(folder)) {
        const QByteArray log = cell.fileContent(folder, name);
        EXPECT_TRUE(log.endsWith("Stop Log:\r\n")) << name.toStdString();
    }
}

} // namespace

TEST(BaseFaultMatrix, EveryActionEndsCleanlyUnderEveryFault)
{
    const QString noBase =
        QStringLiteral("No communication, please check connection to base station!");
    const QString notBase = QStringLiteral("Please connect a base station to use this feature!");
    for (const Action& action : actions()) {
        for (Fault fault : AllFaults) {
            SCOPED_TRACE(std::string(action.name) + " / " + faultName(fault));
            Cell cell;
            const std::int64_t startMs = cell.pump.nowMs();
            cell.inject(fault, action.lossAfterMs);
            const bool exitUsable = action.run(cell);
            const std::int64_t endMs = cell.pump.nowMs();

            // It ends: by itself, or at the user's stop (the longest after 20 s).
            EXPECT_LT(endMs - startMs, 40'000);
            EXPECT_TRUE(exitUsable);
            // What it switched on, it switched off while the base station
            // could still hear it.
            if (fault != Fault::LostMidway) {
                for (std::uint8_t mode :
                     {CommandCode::VicinityObservation, CommandCode::ImplantSurveillance,
                      CommandCode::LoggerConnection}) {
                    const int on = cell.lastWrite(mode, CommandCode::On);
                    if (on >= 0) {
                        EXPECT_GT(cell.lastWrite(mode, CommandCode::Off), on) << int(mode);
                    }
                }
            }
            expectLogsComplete(cell, QStringLiteral("InVicinityLog"));
            expectLogsComplete(cell, QStringLiteral("ImplantLog"));
            // A repository file is always one the next download can take up:
            // its header counts no more than it holds.
            for (const QString& name : cell.filesIn(QStringLiteral("Downloads"))) {
                const QByteArray file = cell.fileContent(QStringLiteral("Downloads"), name);
                ASSERT_GE(file.size(), 81) << name.toStdString();
                EXPECT_EQ(file.left(9),
                          QByteArray(reinterpret_cast<const char*>(DataFile::Signature.data()), 9));
                const auto count = static_cast<std::uint32_t>(
                    static_cast<std::uint8_t>(file[29]) | static_cast<std::uint8_t>(file[30]) << 8 |
                    static_cast<std::uint8_t>(file[31]) << 16 |
                    static_cast<std::uint32_t>(static_cast<std::uint8_t>(file[32])) << 24);
                EXPECT_LE(81 + count, static_cast<std::uint32_t>(file.size()));
            }

            const QStringList& messages = cell.prompts.messages();
            switch (fault) {
            case Fault::Silent:
                EXPECT_TRUE(messages.contains(noBase));
                break;
            case Fault::WrongDevice:
                EXPECT_TRUE(messages.contains(notBase));
                break;
            case Fault::LostMidway:
                EXPECT_TRUE(std::any_of(messages.begin(), messages.end(), [](const QString& m) {
                    return m.startsWith(QStringLiteral("No communication"));
                })) << messages.join(QLatin1Char('|')).toStdString();
                if (action.continuous) {
                    EXPECT_LT(endMs - cell.lostAtMs, 1000);
                }
                break;
            default:
                break;
            }
        }
    }
}
