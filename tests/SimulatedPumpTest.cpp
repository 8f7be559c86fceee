#include "sim/SimulatedPump.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(SimulatedPump, RunsScheduledActionsInTimeOrderInsideWaits)
{
    SimulatedPump pump;
    std::vector<std::pair<std::string, std::int64_t>> seen;
    pump.at(300, [&] { seen.emplace_back("c", pump.nowMs()); });
    pump.at(100, [&] { seen.emplace_back("a", pump.nowMs()); });
    pump.at(100, [&] { seen.emplace_back("b", pump.nowMs()); }); // same time: scheduling order
    pump.at(900, [&] { seen.emplace_back("late", pump.nowMs()); });

    pump.wait(500);

    EXPECT_EQ(pump.nowMs(), 500);
    const std::vector<std::pair<std::string, std::int64_t>> expected{
        {"a", 100}, {"b", 100}, {"c", 300}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(pump.pendingActions(), 1u);
}

TEST(SimulatedPump, ActionNestsInsideAWaitAndAnOverrunWaitReturnsAtOnce)
{
    // A "stop click" at t = 50 runs its own 200 ms exchange inside the outer
    // 100 ms wait; the outer wait then returns at once, as a real one does.
    SimulatedPump pump;
    std::vector<std::string> order;
    pump.at(50, [&] {
        order.emplace_back("click");
        pump.wait(200);
        order.emplace_back("click done");
    });
    pump.wait(100);
    order.emplace_back("outer done");

    EXPECT_EQ((std::vector<std::string>{"click", "click done", "outer done"}), order);
    EXPECT_EQ(pump.nowMs(), 250);
}

TEST(SimulatedPump, BlockingTimeRunsNothingUntilTheNextWait)
{
    SimulatedPump pump;
    std::int64_t ranAt = -1;
    pump.at(2, [&] { ranAt = pump.nowUs(); });
    pump.block(3000); // a port read holding the thread for 3 ms
    EXPECT_EQ(ranAt, -1);
    EXPECT_EQ(pump.blockedUs(), 3000);
    pump.wait(0);
    EXPECT_EQ(ranAt, 3000); // delivered late, once events are dispatched again
}

TEST(SimulatedPump, TimersRepeatOnTheSameClockAndMayStopThemselves)
{
    SimulatedPump pump;
    std::vector<std::int64_t> ticks;
    std::unique_ptr<PumpTimer> timer;
    timer = pump.createTimer([&] {
        ticks.push_back(pump.nowMs());
        if (ticks.size() == 3)
            timer->stop();
    });
    timer->start(1000);
    std::vector<std::int64_t> clicks;
    pump.at(1500, [&] { clicks.push_back(pump.nowMs()); });

    for (int i = 0; i < 10; ++i)
        pump.wait(1); // short waits never reach a tick
    pump.wait(9000);

    EXPECT_EQ((std::vector<std::int64_t>{1000, 2000, 3000}), ticks);
    EXPECT_EQ((std::vector<std::int64_t>{1500}), clicks);
    EXPECT_FALSE(timer->isActive());
}

TEST(SimulatedPump, ATimerDeletedByItsOwnCallbackIsSafe)
{
    SimulatedPump pump;
    int fired = 0;
    std::unique_ptr<PumpTimer> timer = pump.createTimer([&] {
        ++fired;
        timer.reset();
    });
    timer->start(10);
    pump.wait(100);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(timer, nullptr);
}

TEST(SimulatedPump, WallClockFollowsSimulatedTime)
{
    SimulatedPump pump(QDateTime(QDate(2024, 3, 3), QTime(9, 5, 7)));
    pump.wait(180'000);
    EXPECT_EQ(pump.currentDateTime(), QDateTime(QDate(2024, 3, 3), QTime(9, 8, 7)));
    pump.setCurrentDateTime(QDateTime(QDate(2025, 1, 1), QTime(0, 0)));
    pump.wait(1000);
    EXPECT_EQ(pump.currentDateTime(), QDateTime(QDate(2025, 1, 1), QTime(0, 0, 1)));
}
