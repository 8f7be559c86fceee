#pragma once

#include <QDialog>

#include <functional>

class PortEnumerator;
class QComboBox;
class QPushButton;

// "COM pick": choose a port from a list. Each choice opens the port at
// once; the dialog stays open so another port can be tried, until "Exit".
class CCOMChooseDlg final : public QDialog {
    Q_OBJECT
public:
    // Called with the chosen name and its position in the list.
    using ChooseHandler = std::function<void(const QString& name, int index)>;

    CCOMChooseDlg(const PortEnumerator& ports, ChooseHandler onChoose, QWidget* parent = nullptr);

    [[nodiscard]] QComboBox* portList() const { return m_list; }
    [[nodiscard]] QPushButton* exitButton() const { return m_exit; }

private:
    QComboBox* m_list = nullptr;
    QPushButton* m_exit = nullptr;
};
