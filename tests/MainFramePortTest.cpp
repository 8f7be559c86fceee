#include "app/CVelmoraDoc.h"
#include "link/DeviceLink.h"
#include "link/Exchange.h"
#include "tests/support/MainFrameFixture.h"

#include <QComboBox>
#include <QLabel>
#include <QStatusBar>

#include <gtest/gtest.h>

TEST_F(MainFrameFixture, StartsWithNoPortAndASortedListWithoutSelection)
{
    EXPECT_FALSE(frame().isPortOpen());
    EXPECT_TRUE(frame().portName().isEmpty());
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Untitled - Harvane"));
    ASSERT_EQ(frame().portList()->count(), 3);
    EXPECT_EQ(frame().portList()->itemText(0), QStringLiteral("sim:base"));
    EXPECT_EQ(frame().portList()->currentIndex(), -1);
}

TEST_F(MainFrameFixture, APortThatFailsToOpenLeavesItsNameButNoPort)
{
    frame().choosePort(QStringLiteral("ttyUSB9"));
    EXPECT_EQ(prompts.messages(),
              QStringList{QStringLiteral("Error could not create handle to serial port!")});
    EXPECT_FALSE(frame().isPortOpen());
    EXPECT_EQ(frame().portName(), QStringLiteral("ttyUSB9"));
    EXPECT_EQ(portPane(), QStringLiteral("ttyUSB9"));
}

TEST_F(MainFrameFixture, UpdateComPortClosesButKeepsTheName)
{
    frame().choosePort(QStringLiteral("sim:logger"));
    ASSERT_TRUE(frame().isPortOpen());
    EXPECT_EQ(frame().portList()->currentText(), QStringLiteral("sim:logger"));
    frame().updateComPort();
    EXPECT_FALSE(frame().isPortOpen());
    EXPECT_EQ(frame().portList()->currentIndex(), -1);
    EXPECT_EQ(portPane(), QStringLiteral("sim:logger"));
}

TEST_F(MainFrameFixture, UnpluggingTheOpenPortClosesAndForgetsIt)
{
    frame().choosePort(QStringLiteral("sim:logger"));
    ASSERT_TRUE(frame().isPortOpen());
    // Another device goes: the port stays open and selected.
    ports.unplug(QStringLiteral("ttyUSB9"));
    pump.wait(2000);
    EXPECT_TRUE(frame().isPortOpen());
    EXPECT_EQ(frame().portList()->currentText(), QStringLiteral("sim:logger"));
    // Its own adapter goes: closed, name emptied, list refilled unselected.
    ports.unplug(QStringLiteral("sim:logger"));
    pump.wait(2000);
    EXPECT_FALSE(frame().isPortOpen());
    EXPECT_TRUE(frame().portName().isEmpty());
    EXPECT_EQ(portPane(), QString());
    EXPECT_EQ(frame().portList()->count(), 1);
    EXPECT_EQ(frame().portList()->currentIndex(), -1);
}

TEST_F(MainFrameFixture, ArrivalRefillsAndReselectsTheChosenPort)
{
    frame().choosePort(QStringLiteral("sim:base"));
    ports.plug(QStringLiteral("ttyACM0"));
    pump.wait(2000);
    EXPECT_EQ(frame().portList()->count(), 4);
    EXPECT_EQ(frame().portList()->currentText(), QStringLiteral("sim:base"));
    EXPECT_TRUE(frame().isPortOpen());
}

TEST_F(MainFrameFixture, RemovalWhileTheDeviceListIsUnknownKeepsThePort)
{
    frame().choosePort(QStringLiteral("sim:base"));
    ports.setUndetermined(true);
    ports.unplug(QStringLiteral("ttyUSB9"));
    pump.wait(2000);
    EXPECT_TRUE(frame().isPortOpen());
    EXPECT_EQ(frame().portList()->currentText(), QStringLiteral("sim:base"));
}

TEST_F(MainFrameFixture, ArrivalWithNoPortChosenSelectsNothing)
{
    frame();
    ports.plug(QStringLiteral("ttyUSB0"));
    pump.wait(2000);
    EXPECT_EQ(frame().portList()->count(), 4);
    EXPECT_EQ(frame().portList()->currentIndex(), -1);
    EXPECT_FALSE(frame().isPortOpen());
}

TEST_F(MainFrameFixture, OpeningAPortEmptiesTheDocumentAgainEachTime)
{
    frame().document().setModifiedFlag(true);
    frame().choosePort(QStringLiteral("sim:logger"));
    EXPECT_FALSE(frame().document().isModified());
    // The same port again: closed, reopened, emptied again.
    frame().document().setModifiedFlag(true);
    frame().choosePort(QStringLiteral("sim:logger"));
    EXPECT_TRUE(frame().isPortOpen());
    EXPECT_FALSE(frame().document().isModified());
    // A port that fails leaves the document alone.
    frame().document().setModifiedFlag(true);
    frame().choosePort(QStringLiteral("ttyUSB9"));
    EXPECT_TRUE(frame().document().isModified());
}

TEST_F(MainFrameFixture, TheSimulatedDeviceAnswersThroughTheChosenPort)
{
    frame().choosePort(QStringLiteral("sim:base"));
    Exchange exchange(frame().link(), pump, prompts);
    EXPECT_EQ(exchange.identify(DeviceKind::BaseStation), IdentifyResult::Identified);
    // Unplugged mid-session: the next exchange finds nobody.
    devices.baseStation().unplug();
    EXPECT_EQ(exchange.identify(DeviceKind::BaseStation), IdentifyResult::NoReply);
    devices.baseStation().plugIn();
}

namespace {
// A port that is there but that this user may not open.
class DeniedLink final : public DeviceLink {
public:
    bool open(const QString&) override { return false; }
    [[nodiscard]] bool lastOpenDenied() const override { return true; }
    void configure() override {}
    void close() override {}
    [[nodiscard]] bool isOpen() const override { return false; }
    [[nodiscard]] QString portName() const override { return {}; }
    std::size_t read(std::span<std::uint8_t>) override { return 0; }
    void write(std::span<const std::uint8_t>) override {}
};
} // namespace

TEST_F(MainFrameFixture, APortThisUserMayNotOpenSaysHowToFixIt)
{
    DeniedLink denied;
    CMainFrame window(MainFrameServices{pump, prompts, ports, denied, folders, recent});
    window.choosePort(QStringLiteral("ttyUSB9"));
    ASSERT_EQ(prompts.messages().size(), 1);
    const QString message = prompts.messages().front();
    // The program's own text stays first, whole; one line follows it.
    EXPECT_TRUE(
        message.startsWith(QStringLiteral("Error could not create handle to serial port!\n")));
    EXPECT_EQ(message.count(QLatin1Char('\n')), 1);
#ifdef Q_OS_LINUX
    EXPECT_TRUE(message.contains(QStringLiteral("dialout")));
#endif
}
