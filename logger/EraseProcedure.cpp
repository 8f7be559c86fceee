#include "logger/EraseProcedure.h"
#include <QCoreApplication>

#include "link/CommandCode.h"
#include "link/DeviceLink.h"
#include "link/Pump.h"
#include "link/UserPrompts.h"
#include "logger/LoggerCommands.h"
#include "logger/LoggerStatus.h"

EraseProcedure::EraseProcedure(DeviceContext context, View view)
    : m_context(std::move(context)), m_view(std::move(view)),
      m_exchange(m_context.link, m_context.pump, m_context.prompts)
{}

bool EraseProcedure::finish(bool ok)
{
    if (m_timer)
        m_timer->stop();
    m_countdown = -1;
    m_view.showCountdown(-1);
    m_view.setAnimation(false);
    m_view.setBusy(false);
    if (ok)
        m_view.showErased();
    return ok;
}

bool EraseProcedure::fail()
{
    if (m_timer)
        m_timer->stop();
    // A pulled cable is not an erase the logger refused.
    m_context.prompts.showMessage(
        m_exchange.linkLost()
            ? Exchange::noCommunicationMessage(DeviceKind::Logger)
            : QCoreApplication::translate("EraseProcedure",
                                          "Erasing of memory not successful, please try again!"));
    return finish(false);
}

bool EraseProcedure::waitForByte()
{
    // Ends at the first byte whatever its value, or when the budget is spent.
    std::uint8_t byte = 0;
    while (m_countdown > 0 && !m_exchange.linkLost()) {
        if (m_context.link.read(std::span(&byte, 1)) > 0)
            return true;
        m_exchange.pumpWait(1);
    }
    return false;
}

bool EraseProcedure::erase()
{
    m_view.setBusy(true);
    const YesNoAnswer answer = m_context.prompts.askYesNo(QCoreApplication::translate(
        "EraseProcedure", "Are you really sure to erase the whole data memory?"));
    if (answer != YesNoAnswer::Yes) {
        m_view.setBusy(false);
        return false;
    }
    m_view.setAnimation(true);
    if (!m_context.link.isOpen()) {
        m_context.prompts.showMessage(
            QCoreApplication::translate("EraseProcedure", "Please choose a COM port first!"));
        return finish(false);
    }
    if (m_exchange.identify(DeviceKind::Logger) != IdentifyResult::Identified)
        return finish(false);
    LoggerCommands commands(m_exchange);
    const auto status = commands.readStatus(32);
    if (status.empty()) {
        m_context.prompts.showMessage(Exchange::noCommunicationMessage(DeviceKind::Logger));
        return finish(false);
    }
    if (LoggerStatus(status).loggingOn()) {
        m_context.prompts.showMessage(QCoreApplication::translate(
            "EraseProcedure", "Please turn off logging before erasing memory!"));
        return finish(false);
    }

    m_countdown = BudgetSeconds;
    m_view.showCountdown(m_countdown);
    m_timer = m_context.pump.createTimer([this] {
        if (m_countdown > 0)
            --m_countdown;
        m_view.showCountdown(m_countdown);
    });
    m_timer->start(1000);

    // Whatever is still on the line goes first; a device that keeps talking
    // gets the same limit as any drain, and the erase budget then decides.
    std::uint8_t stale[2];
    const std::int64_t drainEndUs =
        m_context.pump.nowUs() + std::int64_t{Exchange::DrainLimitMs} * 1000;
    while (m_context.link.read(stale) > 0 && m_context.pump.nowUs() < drainEndUs)
        m_exchange.pumpWait(1);
    m_exchange.write({CommandCode::EraseMemory});
    if (!waitForByte() || !waitForByte())
        return fail();
    const auto check = m_exchange.request({CommandCode::EraseCheck}, 200, 4);
    if (check.size() < 3 || check[1] != CommandCode::EraseCheck || check[2] != 0xBB)
        return fail();
    m_exchange.write({CommandCode::EraseFinish});
    if (!waitForByte())
        return fail();
    return finish(true);
}
