#pragma once

#include "base/ToggleFeature.h"
#include "logger/LoggerStatus.h"

#include <cstdint>

// The way to one distant logger through the base station, chosen by the ID
// of the implant the logger is paired with:
//
//   Start          name the implant (23), connect (37, 0xAA), which the base
//                  station acknowledges
//   WaitLogger     until the base station says the logger is connected
//   RequestStatus  ask for the logger's status (38)
//   ReceiveStatus  a good StatusFrame goes to the dialog; a short or damaged
//                  one is asked for again
//   End            the run is over
//
// The download adds RequestChunk and ReceiveChunk. The run steps from state
// to state with 1 ms between steps, without a time limit: it ends when the
// dialog's handling is done, when the user stops it (the next stop check
// ends the connection with 37, 0xEE), or at once when the port goes away.
class LoggerConnection : public ToggleFeature {
public:
    enum class State {
        Start,
        WaitLogger,
        RequestStatus,
        ReceiveStatus,
        RequestChunk,
        ReceiveChunk,
        End
    };

    using ToggleFeature::ToggleFeature;

    [[nodiscard]] State state() const { return m_state; }
    // The byte the base station gets for an implant ID: its low eight bits.
    static std::uint8_t implantByte(int implantId)
    {
        return static_cast<std::uint8_t>(implantId & 0xFF);
    }

protected:
    // Runs from Start until a step returns false.
    void runConnection();
    // 37, 0xEE: the base station lets the logger go. Nothing is read.
    void endConnection();

    // The implant whose logger to reach, taken when Start runs.
    virtual int implantIdForStart() = 0;
    virtual void setAnimation(bool running) = 0;
    // What a dialog does around the common steps.
    virtual void beforeStart() {}
    virtual void afterWaitLoggerRead() {}
    virtual void beforeReceiveStatus() {}
    // A good StatusFrame: the dialog's handling, which names the next state.
    virtual State statusReceived(const LoggerStatus& status) = 0;
    // Whether a stop is checked after a ReceiveStatus step too.
    [[nodiscard]] virtual bool checksStopAfterReceiveStatus() const { return false; }
    // One step in a state the dialog adds; returns the next state.
    virtual State stepOwnState(State state) = 0;
    // The base station did not acknowledge the connect command (after the
    // message); the run ends.
    virtual void noConnectReply() {}
    // The run ended because the port went away (after the message).
    virtual void linkWasLost() {}

private:
    bool step();
    State stepStart();
    State stepWaitLogger();
    State stepReceiveStatus();
    // A stop asked for during the step just done ends the connection.
    void checkStop();

    State m_state = State::Start;
};
