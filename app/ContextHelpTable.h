#pragma once

#include "app/MainCommand.h"

#include <QString>

#include <span>

// Which help file a dialog's F1 opens, relative to the program's folder.
enum class HelpFileKind {
    Program,    // "Zorvath" beside the program
    ProgramHlp, // "Zorvath" in the program's "hlp" folder
    Main,       // the main help, named like the program file
};

// One control of a dialog: found by its objectName, it has one fixed number
// (F1 asks for F1TopicBase + number) and, when it has a right-click text, the
// topic of that text in the dialog's popup page.
struct ContextHelpControl {
    const char* objectName;
    int number;
    int popupTopic; // 0: no right-click text
};

// What help one device dialog offers.
struct DialogHelpEntry {
    const char* dialogClass; // the dialog's class name, as its meta object gives it
    int baseNumber;          // stands for the dialog when the focus is on nothing numbered
    HelpFileKind f1File;
    const char* popupPage; // in the program folder's help file
    std::span<const ContextHelpControl> controls;
};

// A window (by class name) or a part of the main window (by objectName)
// with its page of the main help.
struct PageHelpEntry {
    const char* name;
    const char* page; // "page.html" or "page.html#anchor"
};

// All help numbers and pages of the program, in one place, so that the
// dialogs only name their controls. The numbers agree with the help file that
// is built with the program (help/topics.tsv).
class ContextHelpTable {
public:
    // F1 in a dialog asks for this plus the focused control's number.
    static constexpr int F1TopicBase = 0x60000;
    // The help files' own name.
    static constexpr auto HelpFileName = "Zorvath";
    // The page the main window's help starts at.
    static constexpr auto MainWindowPage = "main-window.html";

    static std::span<const DialogHelpEntry> dialogs();
    // The entry of a dialog class, or null when the class has no help.
    static const DialogHelpEntry* dialog(const QString& dialogClass);
    // The control of that name in the dialog's table, or null.
    static const ContextHelpControl* control(const DialogHelpEntry& dialog,
                                             const QString& objectName);

    static std::span<const PageHelpEntry> windows();
    // The page of a window class, or empty.
    static QString windowPage(const QString& windowClass);

    // The page that explains a command of the main window.
    static QString commandPage(MainCommand command);
    // The page that explains a part of the main window (a pane, a toolbar,
    // the status bar), by the part's objectName; empty for others.
    static QString partPage(const QString& objectName);
};
