#pragma once

#include "link/UserPrompts.h"

#include <QStringList>

#include <deque>
#include <functional>

// Prompts for the tests: every message and question is recorded, and answers
// come from a script. A question the script did not expect is answered No
// (Cancel for save-changes) and recorded as unexpected.
class ScriptedPrompts final : public UserPrompts {
public:
    void showMessage(const QString& text) override;
    YesNoAnswer askYesNo(const QString& question) override;
    SaveChangesAnswer askSaveChanges(const QString& documentName) override;

    void answerYesNo(YesNoAnswer answer) { m_yesNo.push_back(answer); }
    void answerSaveChanges(SaveChangesAnswer answer) { m_save.push_back(answer); }
    // Runs inside the next message box, as a user's action while it is up.
    void onNextMessage(std::function<void()> action) { m_onMessage = std::move(action); }
    // Runs while the next Yes/No question is up, before it is answered.
    void onNextQuestion(std::function<void()> action) { m_onQuestion = std::move(action); }

    [[nodiscard]] const QStringList& messages() const { return m_messages; }
    [[nodiscard]] const QStringList& questions() const { return m_questions; }
    [[nodiscard]] int unexpectedQuestions() const { return m_unexpected; }
    void clear();

private:
    QStringList m_messages;
    QStringList m_questions;
    std::deque<YesNoAnswer> m_yesNo;
    std::deque<SaveChangesAnswer> m_save;
    std::function<void()> m_onMessage;
    std::function<void()> m_onQuestion;
    int m_unexpected = 0;
};
