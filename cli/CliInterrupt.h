#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

// Ctrl-C (or a polite kill) during a command. A long job - a download, a
// surveillance - stops the way its dialog's Abort or Stop button would: it
// keeps what has arrived, switches the device's stream off, closes its files,
// and the command exits 1. Without a job to stop, the command ends at once.
//
// The signals are taken as events of the event loop, so the stop runs inside
// the job's own waits, exactly where a click would.
class CliInterrupt {
public:
    static constexpr int InterruptedExitStatus = 130;

    // Takes SIGINT and SIGTERM away from their default action for this
    // thread and every thread made after it: make it before anything else.
    CliInterrupt();
    ~CliInterrupt();

    CliInterrupt(const CliInterrupt&) = delete;
    CliInterrupt& operator=(const CliInterrupt&) = delete;

    // Starts listening; needs the application object.
    void listen();
    // What an interrupt does from now on; an empty action ends the program.
    void setAction(std::function<void()> action) { m_action = std::move(action); }
    [[nodiscard]] bool interrupted() const { return m_interrupted; }

private:
    void onSignal();

    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::function<void()> m_action;
    bool m_interrupted = false;
};
