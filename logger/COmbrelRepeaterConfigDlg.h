#pragma once

#include "link/DeviceContext.h"
#include "logger/LoggerSettingsPanel.h"
#include "logger/LoggerSettingsProcedure.h"
#include "logger/LoggerSettingsView.h"

#include "widgets/ExitGuardedDialog.h"

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
    [[nodiscard]] const LoggerSettingsPanel& panel() const { return *m_panel; }
    QLineEdit* loggerIdField() const { return m_panel->loggerIdField(); }
    QLineEdit* implantIdField() const { return m_panel->implantIdField(); }
    QLineEdit* intervalField() const { return m_panel->intervalField(); }
    QToolButton* intervalUp() const { return m_panel->intervalUp(); }
    QToolButton* intervalDown() const { return m_panel->intervalDown(); }
    QLineEdit* usedMemoryField() const { return m_panel->usedMemoryField(); }
    QLineEdit* thresholdField() const { return m_panel->thresholdField(); }
    QLineEdit* firmwareField() const { return m_panel->firmwareField(); }
    QLineEdit* hardwareField() const { return m_panel->hardwareField(); }
    QLineEdit* validPacketsField() const { return m_panel->countField(0); }
    QTimeEdit* clockTimeField() const { return m_panel->clockTimeField(); }
    QDateEdit* clockDateField() const { return m_panel->clockDateField(); }
    QGroupBox* vhfGroup() const { return m_panel->vhfGroup(); }
    QCheckBox* vhfDisableBox() const { return m_panel->vhfDisableBox(); }
    QTimeEdit* vhfStartField() const { return m_panel->vhfStartField(); }
    QTimeEdit* vhfStopField() const { return m_panel->vhfStopField(); }
    QCheckBox* dayBox(int monday0) const { return m_panel->dayBox(monday0); }
    QCheckBox* monthBox(int january0) const { return m_panel->monthBox(january0); }
    CLed* loggingLamp() const { return m_panel->loggingLamp(); }
    CLed* implantLamp() const { return m_panel->implantLamp(); }
    BusyAnimation* animation() const { return m_panel->animation(); }
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
    void onIdLeft(QLineEdit* field);
    void onIntervalLeft();
    void onIntervalArrow(int step);

    DeviceContext m_context;
    std::unique_ptr<LoggerSettingsPanel> m_panel;
    std::unique_ptr<LoggerSettingsProcedure> m_procedure;

    QPushButton* m_read = nullptr;
    QPushButton* m_write = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_exit = nullptr;
    QPushButton* m_surveillance = nullptr;
    QPushButton* m_deleteLog = nullptr;
    LogListWidget* m_list = nullptr;
    bool m_leavingField = false;
};
