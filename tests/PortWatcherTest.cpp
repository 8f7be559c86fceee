#include "link/PortWatcher.h"
#include "sim/SimulatedPump.h"
#include "tests/support/FakePortEnumerator.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

TEST(PortWatcher, ReportsPlugAndUnplugAtTheNextPoll)
{
    SimulatedPump pump;
    FakePortEnumerator ports({QStringLiteral("ttyUSB0")});
    PortWatcher watcher(ports, pump);
    QSignalSpy arrived(&watcher, &PortWatcher::deviceArrived);
    QSignalSpy removed(&watcher, &PortWatcher::deviceRemoved);
    watcher.start(1000);

    pump.at(2500, [&] { ports.plug(QStringLiteral("ttyUSB1")); });
    pump.at(5200, [&] { ports.unplug(QStringLiteral("ttyUSB0")); });
    pump.wait(2999);
    EXPECT_EQ(arrived.count(), 0);
    pump.wait(1);
    EXPECT_EQ(arrived.count(), 1);
    pump.wait(10'000);
    EXPECT_EQ(arrived.count(), 1);
    EXPECT_EQ(removed.count(), 1);
}

TEST(PortWatcher, ASwapWithinOneIntervalIsBothARemovalAndAnArrival)
{
    SimulatedPump pump;
    FakePortEnumerator ports({QStringLiteral("COM3")});
    PortWatcher watcher(ports, pump);
    QSignalSpy arrived(&watcher, &PortWatcher::deviceArrived);
    QSignalSpy removed(&watcher, &PortWatcher::deviceRemoved);
    ports.unplug(QStringLiteral("COM3"));
    ports.plug(QStringLiteral("COM4"));
    watcher.poll();
    EXPECT_EQ(arrived.count(), 1);
    EXPECT_EQ(removed.count(), 1);
    watcher.poll();
    EXPECT_EQ(arrived.count(), 1);
    EXPECT_EQ(removed.count(), 1);
}
