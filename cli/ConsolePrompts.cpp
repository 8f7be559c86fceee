#include "cli/ConsolePrompts.h"

void ConsolePrompts::showMessage(const QString& text)
{
    m_messages.append(text);
    std::fprintf(m_out, "%s\n", qPrintable(text));
    std::fflush(m_out);
}

YesNoAnswer ConsolePrompts::askYesNo(const QString& question)
{
    std::fprintf(m_out, "%s %s\n", qPrintable(question),
                 m_assumeYes ? "Yes (--yes)" : "No (give --yes to answer Yes)");
    return m_assumeYes ? YesNoAnswer::Yes : YesNoAnswer::No;
}

SaveChangesAnswer ConsolePrompts::askSaveChanges(const QString& /*documentName*/)
{
    // The tool never holds unsaved work of the user's.
    return SaveChangesAnswer::Discard;
}
