#pragma once

#include "logger/FrequencyCalibrationProcedure.h"

#include "widgets/ExitGuardedDialog.h"

#include <memory>

class BusyAnimation;
class QLineEdit;
class LogListWidget;
class QPushButton;

// "Harvane - Frequency Calibration".
class COmbrelRepeaterFreqCalibDlg final : public ExitGuardedDialog {
    Q_OBJECT
public:
    static constexpr int MinOffset = -16;
    static constexpr int MaxOffset = 16;

    explicit COmbrelRepeaterFreqCalibDlg(DeviceContext context, QWidget* parent = nullptr);
    ~COmbrelRepeaterFreqCalibDlg() override;

    QPushButton* logButton() const { return m_log; }
    QPushButton* deleteLogButton() const { return m_deleteLog; }
    QPushButton* addButton() const { return m_add; }
    QPushButton* resetButton() const { return m_reset; }
    QPushButton* readButton() const { return m_read; }
    QPushButton* exitButton() const { return m_exit; }
    QLineEdit* offsetField() const { return m_offset; }
    LogListWidget* list() const { return m_list; }
    BusyAnimation* animation() const { return m_animation; }
    [[nodiscard]] FrequencyCalibrationProcedure& procedure() { return *m_procedure; }

    void accept() override;

protected:
    // Never while the calibration log runs: the logger would go on reporting.
    [[nodiscard]] bool mayClose() const override;

private:
    std::optional<int> takeOffset();

    DeviceContext m_context;
    std::unique_ptr<FrequencyCalibrationProcedure> m_procedure;
    bool m_leavingField = false;
    int m_value = 0;
    QPushButton* m_log = nullptr;
    QPushButton* m_deleteLog = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_reset = nullptr;
    QPushButton* m_read = nullptr;
    QPushButton* m_exit = nullptr;
    QLineEdit* m_offset = nullptr;
    LogListWidget* m_list = nullptr;
    BusyAnimation* m_animation = nullptr;
};
