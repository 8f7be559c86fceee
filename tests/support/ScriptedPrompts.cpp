#include "tests/support/ScriptedPrompts.h"

void ScriptedPrompts::showMessage(const QString& text)
{
    m_messages.append(text);
    if (m_onMessage) {
        auto action = std::move(m_onMessage);
        m_onMessage = nullptr;
        action();
    }
}

YesNoAnswer ScriptedPrompts::askYesNo(const QString& question)
{
    m_questions.append(question);
    if (m_onQuestion) {
        auto action = std::move(m_onQuestion);
        m_onQuestion = nullptr;
        action();
    }
    if (m_yesNo.empty()) {
        ++m_unexpected;
        return YesNoAnswer::No;
    }
    const YesNoAnswer answer = m_yesNo.front();
    m_yesNo.pop_front();
    return answer;
}

SaveChangesAnswer ScriptedPrompts::askSaveChanges(const QString& documentName)
{
    m_questions.append(QStringLiteral("Save changes to %1?").arg(documentName));
    if (m_save.empty()) {
        ++m_unexpected;
        return SaveChangesAnswer::Cancel;
    }
    const SaveChangesAnswer answer = m_save.front();
    m_save.pop_front();
    return answer;
}

void ScriptedPrompts::clear()
{
    m_messages.clear();
    m_questions.clear();
    m_yesNo.clear();
    m_save.clear();
    m_unexpected = 0;
}
