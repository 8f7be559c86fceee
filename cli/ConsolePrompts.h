#pragma once

#include "link/UserPrompts.h"

#include <QStringList>

#include <cstdio>

// Prompts for the command-line tool: messages go to the error stream, and
// questions are answered by the --yes flag rather than by asking, so that
// scripts never hang on a prompt.
class ConsolePrompts final : public UserPrompts {
public:
    explicit ConsolePrompts(bool assumeYes = false, std::FILE* out = stderr)
        : m_assumeYes(assumeYes), m_out(out)
    {}

    void showMessage(const QString& text) override;
    YesNoAnswer askYesNo(const QString& question) override;
    SaveChangesAnswer askSaveChanges(const QString& documentName) override;

    [[nodiscard]] const QStringList& messages() const { return m_messages; }

private:
    bool m_assumeYes;
    std::FILE* m_out;
    QStringList m_messages;
};
