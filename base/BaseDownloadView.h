#pragma once

#include <QString>

#include <cstdint>

// What a download through the base station shows, bound to the dialog's
// controls (or to the terminal by the command-line tool).
class BaseDownloadView {
public:
    virtual ~BaseDownloadView() = default;

    // The integer in "Pick Implant ID:" (see BaseSettingsView::takeImplantId).
    virtual int takeImplantId() = 0;
    // "Exit" (and the hidden "OK"), "Pick Implant ID:", "Start Observation"
    // and "Delete Log".
    virtual void setOtherControlsEnabled(bool enabled) = 0;
    virtual void setReadEnabled(bool enabled) = 0;
    // "Read Data", or "Abort Reading" while a download runs.
    virtual void setReadCaption(const QString& caption) = 0;
    virtual void setAnimation(bool running) = 0;
    // "Download Status:"
    virtual void setStatusText(const QString& text) = 0;
    // "Time Since Last Packet:" and "Time Elapsed Since Started:"
    virtual void setTimeTexts(const QString& sinceLastPacket, const QString& sinceStart) = 0;
    virtual void setProgressRange(std::uint32_t maximum) = 0;
    virtual void setProgress(std::uint32_t value) = 0;
    // Bytes in the file of the logger's total, and the rate of this download
    // (0: not known yet), for the text beside the progress bar.
    virtual void showTransfer(std::uint32_t stored, std::uint32_t total, double bytesPerSecond) = 0;
};
