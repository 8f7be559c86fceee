#include "app/CMainFrame.h"
#include "app/DataFolders.h"
#include "app/RecentFileList.h"
#include "link/RoutingDeviceLink.h"
#include "sim/SimulatedDeviceSet.h"
#include "sim/SimulatedPump.h"
#include "tests/support/FakePortEnumerator.h"
#include "tests/support/ScriptedPrompts.h"

#include <QComboBox>
#include <QLabel>
#include <QStatusBar>

#include <gtest/gtest.h>

namespace {

// The main window over a scripted port list whose names "sim:logger" and
// "sim:base" open simulated devices; any other name fails to open.
struct MainFrameFixture : ::testing::Test {
    SimulatedPump pump;
    ScriptedPrompts prompts;
    SimulatedDeviceSet devices;
    FakePortEnumerator ports{
        {QStringLiteral("sim:logger"), QStringLiteral("sim:base"), QStringLiteral("ttyUSB9")}};
    RoutingDeviceLink link{[this](const QString& name) { return devices.makeLink(name, pump); }};
    DataFolders folders{QStringLiteral("/tmp")};
    RecentFileList recent;
    CMainFrame frame{MainFrameServices{pump, prompts, ports, link, folders, recent}};

    QString portPane() const
    {
        const auto* pane = frame.findChild<QLabel*>(QStringLiteral("PortPane"));
        return pane != nullptr ? pane->text() : QStringLiteral("<no port pane>");
    }
};

} // namespace

TEST_F(MainFrameFixture, StartsWithNoPortAndASortedListWithoutSelection)
{
    EXPECT_FALSE(frame.isPortOpen());
    EXPECT_TRUE(frame.portName().isEmpty());
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Untitled - Harvane"));
    ASSERT_EQ(frame.portList()->count(), 3);
    EXPECT_EQ(frame.portList()->itemText(0), QStringLiteral("sim:base"));
    EXPECT_EQ(frame.portList()->currentIndex(), -1);
}

TEST_F(MainFrameFixture, APortThatFailsToOpenLeavesItsNameButNoPort)
{
    frame.choosePort(QStringLiteral("ttyUSB9"));
    EXPECT_EQ(prompts.messages(),
              QStringList{QStringLiteral("Error could not create handle to serial port!")});
    EXPECT_FALSE(frame.isPortOpen());
    EXPECT_EQ(frame.portName(), QStringLiteral("ttyUSB9"));
    EXPECT_EQ(portPane(), QStringLiteral("ttyUSB9"));
}

TEST_F(MainFrameFixture, UpdateComPortClosesButKeepsTheName)
{
    frame.choosePort(QStringLiteral("sim:logger"));
    ASSERT_TRUE(frame.isPortOpen());
    EXPECT_EQ(frame.portList()->currentText(), QStringLiteral("sim:logger"));
    frame.updateComPort();
    EXPECT_FALSE(frame.isPortOpen());
    EXPECT_EQ(frame.portList()->currentIndex(), -1);
    EXPECT_EQ(portPane(), QStringLiteral("sim:logger"));
}

TEST_F(MainFrameFixture, UnpluggingTheOpenPortClosesAndForgetsIt)
{
    frame.choosePort(QStringLiteral("sim:logger"));
    ASSERT_TRUE(frame.isPortOpen());
    // Another device goes: the port stays open and selected.
    ports.unplug(QStringLiteral("ttyUSB9"));
    pump.wait(2000);
    EXPECT_TRUE(frame.isPortOpen());
    EXPECT_EQ(frame.portList()->currentText(), QStringLiteral("sim:logger"));
    // Its own adapter goes: closed, name emptied, list refilled unselected.
    ports.unplug(QStringLiteral("sim:logger"));
    pump.wait(2000);
    EXPECT_FALSE(frame.isPortOpen());
    EXPECT_TRUE(frame.portName().isEmpty());
    EXPECT_EQ(portPane(), QString());
    EXPECT_EQ(frame.portList()->count(), 1);
    EXPECT_EQ(frame.portList()->currentIndex(), -1);
}

TEST_F(MainFrameFixture, ArrivalRefillsAndReselectsTheChosenPort)
{
    frame.choosePort(QStringLiteral("sim:base"));
    ports.plug(QStringLiteral("ttyACM0"));
    pump.wait(2000);
    EXPECT_EQ(frame.portList()->count(), 4);
    EXPECT_EQ(frame.portList()->currentText(), QStringLiteral("sim:base"));
    EXPECT_TRUE(frame.isPortOpen());
}

TEST_F(MainFrameFixture, RemovalWhileTheDeviceListIsUnknownKeepsThePort)
{
    frame.choosePort(QStringLiteral("sim:base"));
    ports.setUndetermined(true);
    ports.unplug(QStringLiteral("ttyUSB9"));
    pump.wait(2000);
    EXPECT_TRUE(frame.isPortOpen());
    EXPECT_EQ(frame.portList()->currentText(), QStringLiteral("sim:base"));
}
