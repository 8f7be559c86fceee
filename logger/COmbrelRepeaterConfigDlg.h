#pragma once

#include "link/DeviceContext.h"
#include "logger/LoggerSettingsProcedure.h"
#include "logger/LoggerSettingsView.h"

#include "widgets/ExitGuardedDialog.h"

#include <array>
#include <memory>

class BusyAnimation;
class CLed;
class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class LogListWidget;
class QPushButton;
class QTimeEdit;
class QToolButton;

// "Harvane - Logger Settings": a logger's settings, clock, state and packet
// counters; writing them, starting and stopping logging, and the live
// surveillance. The work is done by LoggerSettingsProcedure; this dialog
// shows its form and forwards the buttons.
class COmbrelRepeaterConfigDlg final : public ExitGuardedDialog, private LoggerSettingsView {
    Q_OBJECT
public:
    explicit COmbrelRepeaterConfigDlg(DeviceContext context, QWidget* parent = nullptr);
    ~COmbrelRepeaterConfigDlg() override;

    [[nodiscard]] LoggerSettingsProcedure& procedure() { return *m_procedure; }

    // The controls, for the tests and for help.
    QPushButton* readButton() const { return m_read; }
    QPushButton* writeButton() const { return m_write; }
    QPushButton* startButton() const { return m_start; }
    QPushButton* stopButton() const { return m_stop; }
    QPushButton* exitButton() const { return m_exit; }
    QPushButton* surveillanceButton() const { return m_surveillance; }
    QPushButton* deleteLogButton() const { return m_deleteLog; }
    QLineEdit* loggerIdField() const { return m_loggerId; }
    QLineEdit* implantIdField() const { return m_implantId; }
    QLineEdit* intervalField() const { return m_interval; }
    QToolButton* intervalUp() const { return m_intervalUp; }
    QToolButton* intervalDown() const { return m_intervalDown; }
    QLineEdit* usedMemoryField() const { return m_usedMemory; }
    QLineEdit* thresholdField() const { return m_threshold; }
    QLineEdit* firmwareField() const { return m_firmware; }
    QLineEdit* hardwareField() const { return m_hardware; }
    QLineEdit* validPacketsField() const { return m_counts[0]; }
    QTimeEdit* clockTimeField() const { return m_clockTime; }
    QDateEdit* clockDateField() const { return m_clockDate; }
    QGroupBox* vhfGroup() const { return m_vhfGroup; }
    QCheckBox* vhfDisableBox() const { return m_vhfDisable; }
    QTimeEdit* vhfStartField() const { return m_vhfStart; }
    QTimeEdit* vhfStopField() const { return m_vhfStop; }
    QCheckBox* dayBox(int monday0) const { return m_days[static_cast<std::size_t>(monday0)]; }
    QCheckBox* monthBox(int january0) const { return m_months[static_cast<std::size_t>(january0)]; }
    CLed* loggingLamp() const { return m_loggingLamp; }
    CLed* implantLamp() const { return m_implantLamp; }
    BusyAnimation* animation() const { return m_animation; }
    LogListWidget* surveillanceList() const { return m_list; }

private:
    // LoggerSettingsView
    bool takeValues() override;
    void showValues() override;
    void disableBusySet(bool surveillanceButtonsToo) override;
    void applyReadyRule() override;
    void enableSurveillanceButtons() override;
    void reset() override;
    void setAnimation(bool running) override;
    void setSurveillanceCaption(const QString& caption) override;
    void appendLogLine(const QString& line) override;

    void buildLayout();
    void enableVhfControls(bool enabled);
    void onIdLeft(QLineEdit* field);
    void onIntervalLeft();
    void onIntervalArrow(int step);
    bool fieldError(QLineEdit* field, const QString& message);

    DeviceContext m_context;
    std::unique_ptr<LoggerSettingsProcedure> m_procedure;

    QPushButton* m_read = nullptr;
    QPushButton* m_write = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_exit = nullptr;
    QPushButton* m_surveillance = nullptr;
    QPushButton* m_deleteLog = nullptr;
    CLed* m_loggingLamp = nullptr;
    CLed* m_implantLamp = nullptr;
    BusyAnimation* m_animation = nullptr;
    QLineEdit* m_loggerId = nullptr;
    QLineEdit* m_implantId = nullptr;
    QLineEdit* m_interval = nullptr;
    QToolButton* m_intervalUp = nullptr;
    QToolButton* m_intervalDown = nullptr;
    QLineEdit* m_threshold = nullptr;
    QLineEdit* m_usedMemory = nullptr;
    QLineEdit* m_firmware = nullptr;
    QLineEdit* m_hardware = nullptr;
    QTimeEdit* m_clockTime = nullptr;
    QDateEdit* m_clockDate = nullptr;
    QTimeEdit* m_startTime = nullptr;
    QDateEdit* m_startDate = nullptr;
    QGroupBox* m_vhfGroup = nullptr;
    QCheckBox* m_vhfDisable = nullptr;
    QTimeEdit* m_vhfStart = nullptr;
    QTimeEdit* m_vhfStop = nullptr;
    std::array<QCheckBox*, 7> m_days{};
    std::array<QCheckBox*, 12> m_months{};
    std::array<QLineEdit*, 4> m_counts{}; // valid, invalid, no packet, sync loss
    LogListWidget* m_list = nullptr;
    bool m_leavingField = false;
};
