#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// Asks before expert mode is switched on or off.
class CExpertDlg final : public QDialog {
    Q_OBJECT
public:
    CExpertDlg(bool expertModeOn, QWidget* parent = nullptr);

    [[nodiscard]] QString question() const;
    [[nodiscard]] QLabel* questionLabel() const { return m_question; }
    [[nodiscard]] QPushButton* yesButton() const { return m_yes; }
    [[nodiscard]] QPushButton* noButton() const { return m_no; }

private:
    QLabel* m_question = nullptr;
    QPushButton* m_yes = nullptr;
    QPushButton* m_no = nullptr;
};
