#pragma once

#include "link/DeviceContext.h"
#include "link/Exchange.h"
#include "link/PumpTimer.h"

#include <cstdint>
#include <functional>
#include <memory>

// Erases a logger's data memory: a confirmation, the status check, then
// erase (18), check (40) and finish (22), all within 180 seconds counted down
// by a one-second timer on the pump's clock.
class EraseProcedure {
public:
    static constexpr int BudgetSeconds = 180;

    struct View {
        // "Erase" and "Exit" off while busy.
        std::function<void(bool busy)> setBusy = [](bool) {};
        std::function<void(bool running)> setAnimation = [](bool) {};
        // Seconds left while erasing; -1 when no erase runs.
        std::function<void(int seconds)> showCountdown = [](int) {};
        // The erase was confirmed by the logger.
        std::function<void()> showErased = [] {};
    };

    EraseProcedure(DeviceContext context, View view);

    // True when the logger confirmed the erase.
    bool erase();

    [[nodiscard]] int secondsLeft() const { return m_countdown; }

private:
    bool waitForByte();
    bool finish(bool ok);
    bool fail();

    DeviceContext m_context;
    View m_view;
    Exchange m_exchange;
    std::unique_ptr<PumpTimer> m_timer;
    int m_countdown = -1;
};
