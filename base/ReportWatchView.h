#pragma once

#include <QString>

// What a report watch (loggers in the vicinity, implant surveillance) asks of
// the window that shows it.
class ReportWatchView {
public:
    virtual ~ReportWatchView() = default;

    // The controls the dialog disables while the watch runs ("Exit", its
    // hidden twin, the dialog's main button...).
    virtual void setControlsEnabled(bool enabled) = 0;
    virtual void setCaption(const QString& caption) = 0;
    virtual void setAnimation(bool running) = 0;
    // Appends a line to the list and selects it, so that the list scrolls.
    virtual void appendLine(const QString& line) = 0;
    // The base station's reports are on: the watch has begun.
    virtual void runStarted() {}
};
