#pragma once

#include "link/UserPrompts.h"

#include <cstdio>

// Prompts for the measurement programs: messages are printed, questions
// answered Yes (and unsaved data discarded).
class QuietPrompts final : public UserPrompts {
public:
    void showMessage(const QString& text) override
    {
        std::printf("message: %s\n", qPrintable(text));
    }
    YesNoAnswer askYesNo(const QString&) override { return YesNoAnswer::Yes; }
    SaveChangesAnswer askSaveChanges(const QString&) override { return SaveChangesAnswer::Discard; }
};
