#pragma once

#include <QString>

// What reading a logger's settings through the base station asks of the
// window that shows it.
class BaseSettingsView {
public:
    virtual ~BaseSettingsView() = default;

    // The integer in "Pick Implant ID:". A field that holds none brings
    // "Enter an integer." and gives (and shows again) the previous value.
    virtual int takeImplantId() = 0;
    // "Exit" (and the hidden "OK"), "Start Observation" and "Delete Log".
    virtual void setOtherControlsEnabled(bool enabled) = 0;
    // "Read Settings", or "Abort Reading" while a read runs.
    virtual void setReadCaption(const QString& caption) = 0;
    virtual void setAnimation(bool running) = 0;
    // Shows the form's values in the shared settings fields and lamps.
    virtual void showValues() = 0;
};
