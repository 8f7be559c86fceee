#include "base/BaseRevisionProcedure.h"

#include "base/BaseFrame.h"
#include "link/CommandCode.h"
#include "link/UserPrompts.h"

BaseRevisionProcedure::BaseRevisionProcedure(DeviceContext context, View view)
    : m_context(std::move(context)), m_view(std::move(view)),
      m_exchange(m_context.link, m_context.pump, m_context.prompts)
{}

bool BaseRevisionProcedure::readRevision()
{
    m_view.setBusy(true);
    bool read = false;
    if (m_exchange.identify(DeviceKind::BaseStation, Timing) == IdentifyResult::Identified) {
        m_exchange.drainInput(100, 26);
        const auto reply =
            m_exchange.request({CommandCode::BaseRevision}, 100, BaseFrame::RevisionSize);
        if (reply.size() == BaseFrame::RevisionSize) {
            const std::span<const std::uint8_t> bytes(reply);
            m_firmware = BaseFrame::revisionText(bytes.first(BaseFrame::RevisionFieldSize));
            m_hardware = BaseFrame::revisionText(bytes.subspan(BaseFrame::RevisionFieldSize));
            m_view.showRevisions(m_firmware, m_hardware);
            read = true;
        } else {
            m_context.prompts.showMessage(
                Exchange::noCommunicationMessage(DeviceKind::BaseStation));
        }
    }
    m_view.setBusy(false);
    return read;
}
