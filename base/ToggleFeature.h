#pragma once

#include "link/DeviceContext.h"
#include "link/Exchange.h"

// A base-station feature that one button starts and, pressed again, stops:
// reading settings, downloading, observing the loggers in the vicinity,
// implant surveillance. Every press first identifies the base station. The
// feature's loop runs inside the press that started it and pumps events in
// every wait, so the stopping press runs nested in one of those waits and
// only sets the stop flag; the loop sees it at its next check and winds down.
//
// Two things a user does by accident are taken care of: a click that comes
// while the previous click of the same button is still identifying the base
// station is ignored (a double click neither stops and restarts a run nor
// starts two), and a press that fails to identify the base station while a
// run is on still stops the run, whose wind-down then restores the controls.
class ToggleFeature {
public:
    ToggleFeature(const DeviceContext& context, IdentifyTiming timing);
    virtual ~ToggleFeature();

    ToggleFeature(const ToggleFeature&) = delete;
    ToggleFeature& operator=(const ToggleFeature&) = delete;

    // The button.
    void press();
    // Stops a running feature at its next check, as a stopping press does,
    // without talking to the base station first (the command-line tool's
    // time limit, Ctrl-C). A start that is still identifying does not start.
    void stop();

    // The stop flag is clear: the feature runs and has not been told to stop.
    [[nodiscard]] bool running() const { return !m_stop; }
    // The feature's loop is on the stack, its wind-down included.
    [[nodiscard]] bool active() const { return m_active; }
    // How many runs have started: a press that did not start one leaves it.
    [[nodiscard]] int runCount() const { return m_runs; }

protected:
    // Controls the press disables before it identifies the base station.
    virtual void beginPress() {}
    // The base station answered (the download enables its button again here:
    // it is now the abort button).
    virtual void identified() {}
    // The idle form after a press that did not start anything: start
    // caption, animation stopped, controls enabled.
    virtual void showIdle() = 0;
    // A running feature was told to stop: the start caption goes back on.
    virtual void showStopping() = 0;
    // The feature from its start to its end, controls restored.
    virtual void run() = 0;

    [[nodiscard]] bool stopRequested() const { return m_stop; }
    [[nodiscard]] Exchange& exchange() { return m_exchange; }
    // The port went away during the run: says so, once per run.
    void reportLinkLost();

private:
    Exchange m_exchange;
    IdentifyTiming m_timing;
    bool m_stop = true;
    bool m_active = false;
    bool m_identifying = false;
    bool m_abandonStart = false;
    bool m_lossShown = false;
    int m_runs = 0;
};
