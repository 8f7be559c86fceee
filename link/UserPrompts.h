#pragma once

#include <QString>

// Dismissed: the question was closed with Esc, neither Yes nor No.
enum class YesNoAnswer { Yes, No, Dismissed };
enum class SaveChangesAnswer { Save, Discard, Cancel };

// Everything the program asks or tells the user goes through here, so the
// desktop program shows message boxes, the command-line tool prints, and the
// tests script the answers and check every message shown.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    // A plain message with an OK button.
    virtual void showMessage(const QString& text) = 0;
    virtual YesNoAnswer askYesNo(const QString& question) = 0;
    // "Save changes to <name>?" with Yes, No and Cancel.
    virtual SaveChangesAnswer askSaveChanges(const QString& documentName) = 0;
};
