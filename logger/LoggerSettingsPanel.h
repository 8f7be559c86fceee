#pragma once

#include <array>

class BusyAnimation;
class CLed;
class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QTimeEdit;
class QToolButton;
class QWidget;
class UserPrompts;
struct LoggerSettingsForm;

// The fields and lamps that show a logger's status, shared by the dialogs
// that read one (over the cable, and through a base station): the groups
// "Logger Status" (the two lamps and the busy animation), "Logger Settings",
// "Logger Time" (with the VHF schedule) and "Packet Statistics". Each dialog
// places the groups in its own layout; the widgets belong to its window.
class LoggerSettingsPanel {
public:
    explicit LoggerSettingsPanel(QWidget* parent);

    [[nodiscard]] QGroupBox* statusGroup() const { return m_statusGroup; }
    [[nodiscard]] QGroupBox* settingsGroup() const { return m_settingsGroup; }
    [[nodiscard]] QGroupBox* timeGroup() const { return m_timeGroup; }
    [[nodiscard]] QGroupBox* packetsGroup() const { return m_packetsGroup; }

    // Shows the form's values in the fields and lamps.
    void showValues(const LoggerSettingsForm& form);
    // Takes the values from the fields, in field order; the first field that
    // breaks its rule gets the message and the focus, and false is returned.
    bool takeValues(LoggerSettingsForm& form, UserPrompts& prompts);
    void enableVhfControls(bool enabled);
    // For a dialog that only shows what it read: nothing can be edited, and
    // the VHF schedule (still filled) stays out of sight.
    void setDisplayOnly();

    [[nodiscard]] CLed* loggingLamp() const { return m_loggingLamp; }
    [[nodiscard]] CLed* implantLamp() const { return m_implantLamp; }
    [[nodiscard]] BusyAnimation* animation() const { return m_animation; }
    [[nodiscard]] QLineEdit* loggerIdField() const { return m_loggerId; }
    [[nodiscard]] QLineEdit* implantIdField() const { return m_implantId; }
    [[nodiscard]] QLineEdit* intervalField() const { return m_interval; }
    [[nodiscard]] QToolButton* intervalUp() const { return m_intervalUp; }
    [[nodiscard]] QToolButton* intervalDown() const { return m_intervalDown; }
    [[nodiscard]] QLineEdit* thresholdField() const { return m_threshold; }
    [[nodiscard]] QLineEdit* usedMemoryField() const { return m_usedMemory; }
    [[nodiscard]] QLineEdit* firmwareField() const { return m_firmware; }
    [[nodiscard]] QLineEdit* hardwareField() const { return m_hardware; }
    [[nodiscard]] QTimeEdit* clockTimeField() const { return m_clockTime; }
    [[nodiscard]] QDateEdit* clockDateField() const { return m_clockDate; }
    [[nodiscard]] QTimeEdit* startTimeField() const { return m_startTime; }
    [[nodiscard]] QDateEdit* startDateField() const { return m_startDate; }
    [[nodiscard]] QGroupBox* vhfGroup() const { return m_vhfGroup; }
    [[nodiscard]] QCheckBox* vhfDisableBox() const { return m_vhfDisable; }
    [[nodiscard]] QTimeEdit* vhfStartField() const { return m_vhfStart; }
    [[nodiscard]] QTimeEdit* vhfStopField() const { return m_vhfStop; }
    [[nodiscard]] QCheckBox* dayBox(int monday0) const
    {
        return m_days[static_cast<std::size_t>(monday0)];
    }
    [[nodiscard]] QCheckBox* monthBox(int january0) const
    {
        return m_months[static_cast<std::size_t>(january0)];
    }
    [[nodiscard]] const std::array<QCheckBox*, 7>& dayBoxes() const { return m_days; }
    [[nodiscard]] const std::array<QCheckBox*, 12>& monthBoxes() const { return m_months; }
    // Valid, invalid, no packet and sync loss counts.
    [[nodiscard]] QLineEdit* countField(int index) const
    {
        return m_counts[static_cast<std::size_t>(index)];
    }

private:
    QGroupBox* m_statusGroup = nullptr;
    QGroupBox* m_settingsGroup = nullptr;
    QGroupBox* m_timeGroup = nullptr;
    QGroupBox* m_packetsGroup = nullptr;
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
};
