// The real-time pump: waits dispatch events, nest like the platform's
// message loop, and time passes as it should. Bounds are loose on purpose:
// these check behaviour, the figures are in bench_pumpwait.

#include "link/QtPump.h"

#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(QtPump, AWaitDispatchesEventsAndNestedWaitsFinishFirst)
{
    QtPump pump;
    std::vector<std::string> order;
    QTimer::singleShot(10, [&] {
        order.push_back("click");
        pump.wait(60); // a handler that runs its own exchange inside the outer wait
        order.push_back("click done");
    });
    QElapsedTimer clock;
    clock.start();
    pump.wait(30);
    order.push_back("outer done");
    EXPECT_EQ(order, (std::vector<std::string>{"click", "click done", "outer done"}));
    EXPECT_GE(clock.elapsed(), 68); // the nested wait ran to its own end
    EXPECT_LT(clock.elapsed(), 1000);
}

TEST(QtPump, TimersRunOnlyWhileEventsAreDispatched)
{
    QtPump pump;
    int ticks = 0;
    auto timer = pump.createTimer([&] { ++ticks; });
    timer->start(10);
    pump.block(60'000); // a blocking read: nothing is dispatched
    EXPECT_EQ(ticks, 0);
    pump.wait(55);
    EXPECT_GE(ticks, 1);
    timer->stop();
    EXPECT_FALSE(timer->isActive());
    EXPECT_GE(pump.nowMs(), 100);
}
