#pragma once

#include <QString>

#include <cstdint>

// What the read-data procedure shows, bound to the dialog's controls (or to
// the terminal by the command-line tool).
class ReadDataView {
public:
    virtual ~ReadDataView() = default;

    // Busy: "Read data", "OK" and "Exit" disabled, the animation running,
    // "Abort" usable once the dump runs.
    virtual void setBusy(bool busy) = 0;
    virtual void setAbortEnabled(bool enabled) = 0;
    virtual void showSummary(const QString& text) = 0;
    virtual void setProgressRange(std::uint32_t total) = 0;
    // Bytes read so far (stored or not), bytes stored of N, and the rate and
    // time left measured so far (rate 0: not known yet).
    virtual void showProgress(std::uint64_t bytesRead, std::uint32_t stored, std::uint32_t total,
                              double bytesPerSecond) = 0;
};
