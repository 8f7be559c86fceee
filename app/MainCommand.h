#pragma once

#include <cstddef>

// Every command of the main window's menus and toolbars. The window holds
// one action per entry, so a misspelt command is a compile error rather than
// a missing action found at run time.
enum class MainCommand : std::size_t {
    New,
    Open,
    Save,
    SaveAs,
    Print,
    Pageview,
    PrintSetup,
    OpenDataFolder,
    Exit,
    Undo,
    Cut,
    Copy,
    Paste,
    ToggleToolbar,
    ToggleStatusBar,
    DataExplorer,
    ChooseComPort,
    ReadData,
    LoggerSettings,
    EraseMemory,
    HeadPosThreshold,
    CalibrateFrequency,
    BaseReadSettings,
    ImplantSurveillance,
    BaseReadData,
    BaseRevision,
    HelpTopics,
    WindowHelp,
    About,
    ContextHelp,
    ExpertMode,
    UpdateComPort,
    NextPane,
    Count
};

inline constexpr std::size_t MainCommandCount = static_cast<std::size_t>(MainCommand::Count);
