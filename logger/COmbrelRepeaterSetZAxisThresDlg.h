#pragma once

#include "logger/HeadThresholdProcedure.h"

#include "widgets/ExitGuardedDialog.h"

#include <cstdint>

class QLineEdit;
class QPushButton;

// "Head position threshold dialog": the head-tilt reading and the threshold.
class COmbrelRepeaterSetZAxisThresDlg final : public ExitGuardedDialog {
    Q_OBJECT
public:
    explicit COmbrelRepeaterSetZAxisThresDlg(DeviceContext context, QWidget* parent = nullptr);

    QPushButton* readButton() const { return m_read; }
    QPushButton* writeButton() const { return m_write; }
    QPushButton* exitButton() const { return m_exit; }
    QLineEdit* tiltField() const { return m_tiltField; }
    QLineEdit* thresholdField() const { return m_thresholdField; }
    [[nodiscard]] std::int16_t threshold() const { return m_threshold; }

    void accept() override;

private:
    bool takeThreshold();
    void showValues();
    void setBusy(bool busy);

    DeviceContext m_context;
    HeadThresholdProcedure m_procedure;
    std::int16_t m_threshold = 0;
    std::int16_t m_tilt = 0;
    QPushButton* m_read = nullptr;
    QPushButton* m_write = nullptr;
    QPushButton* m_exit = nullptr;
    QLineEdit* m_tiltField = nullptr;
    QLineEdit* m_thresholdField = nullptr;
};
