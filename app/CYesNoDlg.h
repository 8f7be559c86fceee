#pragma once

#include <QDialog>

class QTextEdit;
class QPushButton;

// The confirmation asked before an action that changes the logger. It can
// only be left by answering or with Esc: the window's close button is off,
// and a close from the window manager (Alt+F4) is refused.
class CYesNoDlg final : public QDialog {
    Q_OBJECT
public:
    static constexpr int ResultYes = 1157;
    static constexpr int ResultNo = 7;
    static constexpr int ResultDismissed = 2;

    explicit CYesNoDlg(const QString& question, QWidget* parent = nullptr);

    [[nodiscard]] QString question() const;
    [[nodiscard]] QPushButton* yesButton() const { return m_yes; }
    [[nodiscard]] QPushButton* noButton() const { return m_no; }

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QTextEdit* m_text = nullptr;
    QPushButton* m_yes = nullptr;
    QPushButton* m_no = nullptr;
};
