#pragma once

#include <QString>

// What the settings procedure asks of the window that shows it. The dialog
// binds these to its controls; the command-line tool has no controls and
// answers them trivially.
class LoggerSettingsView {
public:
    virtual ~LoggerSettingsView() = default;

    // Takes the values from the fields into the form; false (after its own
    // message, with the focus on the field) when a field breaks its rule.
    virtual bool takeValues() = 0;
    // Shows the form's values in the fields and lamps.
    virtual void showValues() = 0;
    // Disables the busy set, and the surveillance buttons with it when asked.
    virtual void disableBusySet(bool surveillanceButtonsToo) = 0;
    virtual void applyReadyRule() = 0;
    virtual void enableSurveillanceButtons() = 0;
    // Back to the opening state: default values, only Read Settings and Exit
    // usable. The surveillance list keeps its lines.
    virtual void reset() = 0;
    virtual void setAnimation(bool running) = 0;
    // The surveillance button's caption: "Stop Surveilance" while a run is on.
    virtual void setSurveillanceCaption(const QString& caption) = 0;
    // Appends a line to the surveillance list and selects it.
    virtual void appendLogLine(const QString& line) = 0;
};
