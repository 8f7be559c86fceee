#include "base/ToggleFeature.h"

#include "link/UserPrompts.h"

ToggleFeature::ToggleFeature(const DeviceContext& context, IdentifyTiming timing)
    : m_exchange(context.link, context.pump, context.prompts), m_timing(timing)
{}

ToggleFeature::~ToggleFeature() = default;

void ToggleFeature::stop()
{
    m_stop = true;
    if (m_identifying && !m_active)
        m_abandonStart = true;
}

void ToggleFeature::reportLinkLost()
{
    if (!m_lossShown)
        m_exchange.prompts().showMessage(Exchange::noCommunicationMessage(DeviceKind::BaseStation));
    m_lossShown = true;
}

void ToggleFeature::press()
{
    if (m_identifying)
        return;
    // Whether this press stops or starts is settled when it comes, not after
    // the waits of its identify, in which anything may have happened.
    const bool stopPress = m_active;
    beginPress();
    m_identifying = true;
    m_abandonStart = false;
    const IdentifyResult result = m_exchange.identify(DeviceKind::BaseStation, m_timing);
    m_identifying = false;
    if (result != IdentifyResult::Identified) {
        m_stop = true;
        if (m_active) {
            if (result == IdentifyResult::NoReply && m_exchange.linkLost())
                m_lossShown = true;
            showStopping();
        } else {
            showIdle();
        }
        return;
    }
    identified();
    if (stopPress || m_active) {
        if (m_active) {
            m_stop = true;
            showStopping();
        } else {
            showIdle(); // the run ended while this press was identifying
        }
        return;
    }
    if (m_abandonStart) {
        m_abandonStart = false;
        showIdle();
        return;
    }
    m_active = true;
    ++m_runs;
    m_lossShown = false;
    m_stop = false;
    run();
    m_stop = true;
    m_active = false;
}
