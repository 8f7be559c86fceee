#include "app/ContextHelpTable.h"

#include <algorithm>
#include <array>

namespace {

// A control listed with a right-click text: its number is the dialog's base
// plus that text's topic.
constexpr ContextHelpControl withText(const char* name, int base, int topic)
{
    return {name, base + topic, topic};
}

// A control F1 knows but right-click does not.
constexpr ContextHelpControl f1Only(const char* name, int number)
{
    return {name, number, 0};
}

// One control a line, as in the help's own topic table.
// clang-format off
constexpr int ChooseComBase = 1000;
constexpr std::array ChooseComControls{
    withText("ExitButton", ChooseComBase, 1),
    withText("OkButton", ChooseComBase, 2), // the dialog has no OK button to press
    withText("PortChoice", ChooseComBase, 3),
};

constexpr int ConfigBase = 1100;
constexpr std::array ConfigControls{
    withText("ReadSettingsButton", ConfigBase, 1),
    withText("StartButton", ConfigBase, 2),
    withText("StopButton", ConfigBase, 3),
    withText("WriteSettingsButton", ConfigBase, 4),
    withText("SurveillanceButton", ConfigBase, 5),
    withText("DeleteLogButton", ConfigBase, 6),
    withText("SurveillanceList", ConfigBase, 7),
    withText("LoggerStatusLed", ConfigBase, 8),
    withText("ImplantDataLed", ConfigBase, 10),
    withText("VhfDayMon", ConfigBase, 12),
    withText("VhfDayTue", ConfigBase, 13),
    withText("VhfDayWed", ConfigBase, 14),
    withText("VhfDayThu", ConfigBase, 15),
    withText("VhfDayFri", ConfigBase, 16),
    withText("VhfDaySat", ConfigBase, 17),
    withText("VhfDaySun", ConfigBase, 18),
    withText("VhfMonthJan", ConfigBase, 19),
    withText("VhfMonthFeb", ConfigBase, 20),
    withText("VhfMonthMar", ConfigBase, 21),
    withText("VhfMonthApr", ConfigBase, 22),
    withText("VhfMonthMai", ConfigBase, 23),
    withText("VhfMonthJun", ConfigBase, 24),
    withText("VhfMonthJul", ConfigBase, 25),
    withText("VhfMonthAug", ConfigBase, 26),
    withText("VhfMonthSept", ConfigBase, 27),
    withText("VhfMonthOct", ConfigBase, 28),
    withText("VhfMonthNov", ConfigBase, 29),
    withText("VhfMonthDec", ConfigBase, 30),
    withText("VhfStartTime", ConfigBase, 31),
    withText("VhfStopTime", ConfigBase, 32),
    withText("LoggerTime", ConfigBase, 33),
    withText("ExitButton", ConfigBase, 35),
    withText("LoggerDate", ConfigBase, 36),
    withText("UsedMemoryField", ConfigBase, 37),
    withText("ThresholdField", ConfigBase, 38),
    withText("LoggerIdField", ConfigBase, 39),
    withText("ImplantIdField", ConfigBase, 40),
    withText("IntervalField", ConfigBase, 41),
    withText("IntervalUp", ConfigBase, 42), // the two arrows are one control
    withText("IntervalDown", ConfigBase, 42),
    withText("FirmwareField", ConfigBase, 43),
    withText("HardwareField", ConfigBase, 44),
    withText("ValidPacketCount", ConfigBase, 45),
    withText("InvalidPacketCount", ConfigBase, 46),
    withText("NoPacketCount", ConfigBase, 47),
    withText("SyncLossCount", ConfigBase, 48),
    withText("VhfDisableBox", ConfigBase, 49),
    f1Only("LoggerStartTime", ConfigBase + 50),
    f1Only("LoggerStartDate", ConfigBase + 51),
};

constexpr int EraseBase = 1200;
constexpr std::array EraseControls{
    withText("EraseButton", EraseBase, 1),
    withText("ExitButton", EraseBase, 2),
};

constexpr int HeadPosBase = 1300;
constexpr std::array HeadPosControls{
    withText("CancelButton", HeadPosBase, 1), // the dialog has no Cancel button to press
    withText("ExitButton", HeadPosBase, 2),
    withText("ReadTiltButton", HeadPosBase, 3),
    withText("WriteThresholdButton", HeadPosBase, 4),
    withText("TiltField", HeadPosBase, 5),
    withText("HeadPosThresholdField", HeadPosBase, 6),
};

constexpr int CalibBase = 1400;
constexpr std::array CalibControls{
    withText("CancelButton", CalibBase, 1), // the dialog has no Cancel button to press
    withText("ExitButton", CalibBase, 2),
    withText("LogButton", CalibBase, 3),
    withText("DeleteLogButton", CalibBase, 4),
    withText("AddOffsetButton", CalibBase, 5),
    withText("OffsetField", CalibBase, 6),
    withText("FrequencyList", CalibBase, 7),
    f1Only("ReadOffsetButton", CalibBase + 50),
    f1Only("ResetOffsetButton", CalibBase + 51),
};

constexpr int ReadBase = 1500;
constexpr std::array ReadControls{
    withText("ExitButton", ReadBase, 1),
    withText("OkButton", ReadBase, 2),
    withText("ReadDataButton", ReadBase, 3),
    withText("ProgressBar", ReadBase, 4),
    f1Only("AbortButton", ReadBase + 50),
    f1Only("SummaryText", ReadBase + 51),
};

// The read-only fields it shares with Logger Settings keep the same offsets.
constexpr int BaseSettingsBase = 1600;
constexpr std::array BaseSettingsControls{
    withText("ReadButton", BaseSettingsBase, 1),
    withText("OkButton", BaseSettingsBase, 2),
    withText("ExitButton", BaseSettingsBase, 3),
    withText("PickImplantField", BaseSettingsBase, 4),
    withText("ObservationButton", BaseSettingsBase, 5),
    withText("DeleteLogButton", BaseSettingsBase, 6),
    withText("VicinityList", BaseSettingsBase, 7),
    withText("LoggerStatusLed", BaseSettingsBase, 8),
    withText("ImplantDataLed", BaseSettingsBase, 10),
    withText("VhfDayMon", BaseSettingsBase, 12),
    withText("VhfDayTue", BaseSettingsBase, 13),
    withText("VhfDayWed", BaseSettingsBase, 14),
    withText("VhfDayThu", BaseSettingsBase, 15),
    withText("VhfDayFri", BaseSettingsBase, 16),
    withText("VhfDaySat", BaseSettingsBase, 17),
    withText("VhfDaySun", BaseSettingsBase, 18),
    withText("VhfMonthJan", BaseSettingsBase, 19),
    withText("VhfMonthFeb", BaseSettingsBase, 20),
    withText("VhfMonthMar", BaseSettingsBase, 21),
    withText("VhfMonthApr", BaseSettingsBase, 22),
    withText("VhfMonthMai", BaseSettingsBase, 23),
    withText("VhfMonthJun", BaseSettingsBase, 24),
    withText("VhfMonthJul", BaseSettingsBase, 25),
    withText("VhfMonthAug", BaseSettingsBase, 26),
    withText("VhfMonthSept", BaseSettingsBase, 27),
    withText("VhfMonthOct", BaseSettingsBase, 28),
    withText("VhfMonthNov", BaseSettingsBase, 29),
    withText("VhfMonthDec", BaseSettingsBase, 30),
    withText("VhfStartTime", BaseSettingsBase, 31),
    withText("VhfStopTime", BaseSettingsBase, 32),
    withText("LoggerTime", BaseSettingsBase, 33),
    f1Only("LoggerDate", BaseSettingsBase + 36),
    f1Only("UsedMemoryField", BaseSettingsBase + 37),
    f1Only("ThresholdField", BaseSettingsBase + 38),
    f1Only("LoggerIdField", BaseSettingsBase + 39),
    f1Only("ImplantIdField", BaseSettingsBase + 40),
    f1Only("IntervalField", BaseSettingsBase + 41),
    f1Only("FirmwareField", BaseSettingsBase + 43),
    f1Only("HardwareField", BaseSettingsBase + 44),
    f1Only("ValidPacketCount", BaseSettingsBase + 45),
    f1Only("InvalidPacketCount", BaseSettingsBase + 46),
    f1Only("NoPacketCount", BaseSettingsBase + 47),
    f1Only("SyncLossCount", BaseSettingsBase + 48),
    f1Only("VhfDisableBox", BaseSettingsBase + 49),
    f1Only("LoggerStartTime", BaseSettingsBase + 50),
    f1Only("LoggerStartDate", BaseSettingsBase + 51),
};

constexpr int BaseReadBase = 1700;
constexpr std::array BaseReadControls{
    withText("OkButton", BaseReadBase, 2),
    withText("ExitButton", BaseReadBase, 3),
    f1Only("ReadButton", BaseReadBase + 50),
    f1Only("PickImplantField", BaseReadBase + 51),
    f1Only("DownloadProgress", BaseReadBase + 52),
    f1Only("DownloadStatus", BaseReadBase + 53),
    f1Only("TimeSinceLastPacket", BaseReadBase + 54),
    f1Only("TimeElapsed", BaseReadBase + 55),
    f1Only("ObservationButton", BaseReadBase + 56),
    f1Only("DeleteLogButton", BaseReadBase + 57),
    f1Only("VicinityList", BaseReadBase + 58),
};

constexpr int ImplantBase = 1800;
constexpr std::array ImplantControls{
    withText("CancelButton", ImplantBase, 1),
    withText("ExitButton", ImplantBase, 2),
    withText("SurveillanceButton", ImplantBase, 3),
    withText("DeleteLogButton", ImplantBase, 4),
    withText("PacketList", ImplantBase, 5),
};

constexpr int RevisionBase = 1900;
constexpr std::array RevisionControls{
    withText("OkButton", RevisionBase, 2),
    withText("ExitButton", RevisionBase, 3),
    f1Only("ReadRevisionButton", RevisionBase + 50),
    f1Only("FirmwareRevisionField", RevisionBase + 51),
    f1Only("HardwareRevisionField", RevisionBase + 52),
};

const std::array<DialogHelpEntry, 10> Dialogs{{
    {"CCOMChooseDlg", ChooseComBase, HelpFileKind::Program, "ContextSensHelpChooseComDlg.txt",
     ChooseComControls},
    {"COmbrelRepeaterConfigDlg", ConfigBase, HelpFileKind::Program,
     "ContextSensHelpConfigDlg.txt", ConfigControls},
    {"COmbrelRepeaterAskBeforeErase", EraseBase, HelpFileKind::Program,
     "ContextSensHelpEraseDlg.txt", EraseControls},
    {"COmbrelRepeaterSetZAxisThresDlg", HeadPosBase, HelpFileKind::Program,
     "ContextSensHelpSetHeadPosDlg.txt", HeadPosControls},
    {"COmbrelRepeaterFreqCalibDlg", CalibBase, HelpFileKind::Program,
     "ContextSensHelpCalibFreqDlg.txt", CalibControls},
    {"COmbrelRepeaterDataReadDlg", ReadBase, HelpFileKind::Program, "ContextSensHelpReadDlg.txt",
     ReadControls},
    {"COmbrelRepGetSetgsViaBaseDlg", BaseSettingsBase, HelpFileKind::ProgramHlp,
     "ContextSensHelpStgsViaBaseDlg.txt", BaseSettingsControls},
    {"COmbrelRepDownloadDataViaBaseDlg", BaseReadBase, HelpFileKind::Program,
     "ContextSensHelpReadDlg.txt", BaseReadControls},
    {"COmbrelRepeaterImplantSurveillanceDlg", ImplantBase, HelpFileKind::Program,
     "ContextSensHelpImplantSurvDlg.txt", ImplantControls},
    {"COmbrelRepReadBaseRevDlg", RevisionBase, HelpFileKind::ProgramHlp,
     "ContextSensHelpStgsViaBaseDlg.txt", RevisionControls},
}};
// clang-format on

// Parts of the main window that a click in help mode explains.
constexpr std::array<PageHelpEntry, 8> Parts{{
    {"RecordPane", "main-window.html#panes"},
    {"HeartRatePane", "main-window.html#panes"},
    {"PortList", "main-window.html#port-toolbar"},
    {"PortToolBar", "main-window.html#port-toolbar"},
    {"StandardToolBar", "main-window.html#toolbars"},
    {"ExpertToolBar", "main-window.html#expert-button"},
    {"PortPane", "main-window.html#status-bar"},
    {"StatusBar", "main-window.html#status-bar"},
}};

constexpr std::array<PageHelpEntry, 2> Windows{{
    {"CMainFrame", ContextHelpTable::MainWindowPage},
    {"CDataExplorerWnd", "data-explorer.html"},
}};

} // namespace

std::span<const DialogHelpEntry> ContextHelpTable::dialogs()
{
    return Dialogs;
}

const DialogHelpEntry* ContextHelpTable::dialog(const QString& dialogClass)
{
    const auto found = std::find_if(Dialogs.begin(), Dialogs.end(), [&](const DialogHelpEntry& d) {
        return dialogClass == QLatin1String(d.dialogClass);
    });
    return found == Dialogs.end() ? nullptr : &*found;
}

const ContextHelpControl* ContextHelpTable::control(const DialogHelpEntry& dialog,
                                                    const QString& objectName)
{
    if (objectName.isEmpty())
        return nullptr;
    const auto found = std::find_if(
        dialog.controls.begin(), dialog.controls.end(),
        [&](const ContextHelpControl& c) { return objectName == QLatin1String(c.objectName); });
    return found == dialog.controls.end() ? nullptr : &*found;
}

std::span<const PageHelpEntry> ContextHelpTable::windows()
{
    return Windows;
}

QString ContextHelpTable::windowPage(const QString& windowClass)
{
    for (const PageHelpEntry& window : Windows) {
        if (windowClass == QLatin1String(window.name))
            return QString::fromLatin1(window.page);
    }
    return {};
}

QString ContextHelpTable::partPage(const QString& objectName)
{
    for (const PageHelpEntry& part : Parts) {
        if (objectName == QLatin1String(part.name))
            return QString::fromLatin1(part.page);
    }
    return {};
}

QString ContextHelpTable::commandPage(MainCommand command)
{
    const char* page = MainWindowPage;
    switch (command) {
    case MainCommand::New:
    case MainCommand::Open:
        page = "data-files.html#opening";
        break;
    case MainCommand::Save:
    case MainCommand::SaveAs:
        page = "data-files.html#saving";
        break;
    case MainCommand::OpenDataFolder:
        page = "file-locations.html#data-folder";
        break;
    case MainCommand::Print:
    case MainCommand::Pageview:
    case MainCommand::PrintSetup:
    case MainCommand::Exit:
    case MainCommand::Undo:
    case MainCommand::Cut:
    case MainCommand::Copy:
    case MainCommand::Paste:
    case MainCommand::ToggleToolbar:
    case MainCommand::About:
        page = "main-window.html#menus";
        break;
    case MainCommand::ToggleStatusBar:
        page = "main-window.html#status-bar";
        break;
    case MainCommand::DataExplorer:
        page = "data-explorer.html";
        break;
    case MainCommand::ChooseComPort:
        page = "port-choice.html";
        break;
    case MainCommand::ReadData:
        page = "read-data.html";
        break;
    case MainCommand::LoggerSettings:
        page = "logger-settings.html";
        break;
    case MainCommand::EraseMemory:
        page = "erase-memory.html";
        break;
    case MainCommand::HeadPosThreshold:
        page = "head-position-threshold.html";
        break;
    case MainCommand::CalibrateFrequency:
        page = "frequency-calibration.html";
        break;
    case MainCommand::BaseReadSettings:
        page = "base-read-settings.html";
        break;
    case MainCommand::ImplantSurveillance:
        page = "implant-surveillance.html";
        break;
    case MainCommand::BaseReadData:
        page = "base-read-data.html";
        break;
    case MainCommand::BaseRevision:
        page = "base-revision.html";
        break;
    case MainCommand::HelpTopics:
    case MainCommand::WindowHelp:
    case MainCommand::ContextHelp:
        page = "main-window.html#help";
        break;
    case MainCommand::ExpertMode:
        page = "expert-mode.html";
        break;
    case MainCommand::UpdateComPort:
        page = "main-window.html#port-toolbar";
        break;
    case MainCommand::NextPane:
        page = "main-window.html#panes";
        break;
    case MainCommand::Count:
        break;
    }
    return QString::fromLatin1(page);
}
