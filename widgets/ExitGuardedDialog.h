#pragma once

#include <QDialog>

class QPushButton;

// A device dialog that can be left only the way its "Exit" button allows:
// while an exchange runs and Exit is disabled, Esc and the close box do
// nothing either, so no exchange is cut off half way.
class ExitGuardedDialog : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;

    void reject() override;

protected:
    void setExitButton(QPushButton* exit) { m_exit = exit; }
    // Whether Esc and the close box may close the dialog now.
    [[nodiscard]] virtual bool mayClose() const;
    void closeEvent(QCloseEvent* event) override;

private:
    QPushButton* m_exit = nullptr;
};
