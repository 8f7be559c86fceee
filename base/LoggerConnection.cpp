#include "base/LoggerConnection.h"

#include "base/BaseFrame.h"
#include "link/CommandCode.h"
#include "link/UserPrompts.h"

void LoggerConnection::runConnection()
{
    m_state = State::Start;
    for (;;) {
        if (exchange().linkLost()) {
            reportLinkLost();
            setAnimation(false);
            m_state = State::End;
            linkWasLost();
            return;
        }
        if (!step())
            return;
        exchange().pumpWait(1);
    }
}

void LoggerConnection::endConnection()
{
    exchange().write({CommandCode::LoggerConnection, CommandCode::Off});
}

void LoggerConnection::checkStop()
{
    if (stopRequested() && m_state != State::End) {
        endConnection();
        m_state = State::End;
    }
}

bool LoggerConnection::step()
{
    switch (m_state) {
    case State::Start:
        m_state = stepStart();
        if (m_state != State::End)
            checkStop();
        return true;
    case State::WaitLogger:
        m_state = stepWaitLogger();
        checkStop();
        return true;
    case State::RequestStatus:
        exchange().write({CommandCode::RemoteStatus});
        m_state = State::ReceiveStatus;
        checkStop();
        return true;
    case State::ReceiveStatus:
        m_state = stepReceiveStatus();
        if (checksStopAfterReceiveStatus())
            checkStop();
        return true;
    case State::RequestChunk:
    case State::ReceiveChunk:
        m_state = stepOwnState(m_state);
        return true;
    case State::End:
        break;
    }
    return false;
}

LoggerConnection::State LoggerConnection::stepStart()
{
    setAnimation(true);
    beforeStart();
    const int implant = implantIdForStart();
    Exchange& link = exchange();
    link.write({CommandCode::SetImplantId, implantByte(implant)});
    link.pumpWait(10);
    link.drainInput(100, 26);
    const auto reply = link.request({CommandCode::LoggerConnection, CommandCode::On}, 200, 2);
    if (!reply.empty())
        return State::WaitLogger;
    if (stopRequested() && !link.linkLost()) {
        // A stop press came during the wait, and its drain took the
        // acknowledgement away: that is the user's stop, not a silent logger.
        endConnection();
        setAnimation(false);
        return State::End;
    }
    if (link.linkLost()) {
        reportLinkLost();
    } else {
        link.prompts().showMessage(Exchange::noCommunicationMessage(DeviceKind::Logger));
        noConnectReply();
    }
    setAnimation(false);
    return State::End;
}

LoggerConnection::State LoggerConnection::stepWaitLogger()
{
    exchange().pumpWait(10);
    const auto reply = exchange().read(BaseFrame::ConnectedSignalSize);
    afterWaitLoggerRead();
    return BaseFrame::isConnectedSignal(reply) ? State::RequestStatus : State::WaitLogger;
}

LoggerConnection::State LoggerConnection::stepReceiveStatus()
{
    beforeReceiveStatus();
    exchange().pumpWait(70);
    const auto reply = exchange().read(BaseFrame::StatusFrameSize);
    if (const auto status = BaseFrame::statusFromFrame(reply))
        return statusReceived(*status);
    exchange().drainInput(10, 26);
    return State::RequestStatus;
}
