#pragma once

#include "logger/EraseProcedure.h"

#include "widgets/ExitGuardedDialog.h"

#include <memory>

class BusyAnimation;
class QLabel;
class QPushButton;

// "Harvane – Erase memory".
class COmbrelRepeaterAskBeforeErase final : public ExitGuardedDialog {
    Q_OBJECT
public:
    explicit COmbrelRepeaterAskBeforeErase(DeviceContext context, QWidget* parent = nullptr);
    ~COmbrelRepeaterAskBeforeErase() override;

    QPushButton* eraseButton() const { return m_erase; }
    QPushButton* exitButton() const { return m_exit; }
    QLabel* countdownText() const { return m_countdown; }
    // The question, and after a confirmed erase "Memory erased.".
    QLabel* questionText() const { return m_question; }
    BusyAnimation* animation() const { return m_animation; }
    [[nodiscard]] EraseProcedure& procedure() { return *m_procedure; }

private:
    std::unique_ptr<EraseProcedure> m_procedure;
    QPushButton* m_erase = nullptr;
    QPushButton* m_exit = nullptr;
    QLabel* m_question = nullptr;
    QLabel* m_countdown = nullptr;
    BusyAnimation* m_animation = nullptr;
};
