#pragma once

#include "link/DeviceContext.h"
#include "link/Exchange.h"

#include <cstdint>
#include <functional>

// Erases a logger's data memory: a confirmation, the status check, then
// erase (18), check (40) and finish (22), all within 180 seconds counted down
// by a one-second timer on the pump's clock.
class EraseProcedure {
public:
    static constexpr int BudgetSeconds = 180;

    struct View {
        std::function<void(bool busy)> setBusy = [](bool) {};
        // Seconds left while erasing; -1 when no erase runs.
        std::function<void(int seconds)> showCountdown = [](int) {};
    };

    EraseProcedure(DeviceContext context, View view);

    // True when the logger confirmed the erase.
    bool erase();

    [[nodiscard]] int secondsLeft() const { return m_countdown; }

private:
    bool waitForByte();
    bool finish(bool ok);

    DeviceContext m_context;
    View m_view;
    Exchange m_exchange;
    int m_countdown = -1;
};
