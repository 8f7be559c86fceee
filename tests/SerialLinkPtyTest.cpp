// End-to-end tests of the real serial code (QSerialPort) against
// pseudo-terminals: a bare one the test writes to itself, and one with a
// simulated device behind it, in real time.

#include "link/CommandCode.h"
#include "link/Exchange.h"
#include "link/QtPump.h"
#include "link/RoutingDeviceLink.h"
#include "link/SerialDeviceLink.h"
#include "sim/PtyDeviceBridge.h"
#include "sim/SimulatedBaseStation.h"
#include "sim/SimulatedLogger.h"
#include "tests/support/ScriptedPrompts.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

// A pseudo-terminal whose far end the test drives by hand.
struct BarePty {
    int master = -1;
    int slave = -1;
    QString path;

    BarePty()
    {
        std::array<char, 256> name{};
        if (::openpty(&master, &slave, name.data(), nullptr, nullptr) == 0) {
            termios settings{};
            ::tcgetattr(slave, &settings);
            ::cfmakeraw(&settings);
            ::tcsetattr(slave, TCSANOW, &settings);
            path = QString::fromLocal8Bit(name.data());
        }
    }
    ~BarePty()
    {
        closeMaster();
        if (slave >= 0)
            ::close(slave);
    }
    void closeMaster()
    {
        if (master >= 0)
            ::close(master);
        master = -1;
    }
    void send(const std::vector<std::uint8_t>& bytes) const
    {
        ASSERT_EQ(::write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    std::vector<std::uint8_t> receive(std::size_t expected, int timeoutMs = 1000) const
    {
        std::vector<std::uint8_t> bytes;
        QElapsedTimer clock;
        clock.start();
        while (bytes.size() < expected && clock.elapsed() < timeoutMs) {
            pollfd fd{master, POLLIN, 0};
            if (::poll(&fd, 1, 20) > 0) {
                std::uint8_t buffer[256];
                const ssize_t got = ::read(master, buffer, sizeof buffer);
                if (got > 0)
                    bytes.insert(bytes.end(), buffer, buffer + got);
            }
        }
        return bytes;
    }
};

} // namespace

TEST(SerialLinkPty, AShortReadReturnsWhatIsThereWithinAFewMilliseconds)
{
    BarePty pty;
    ASSERT_FALSE(pty.path.isEmpty());
    SerialDeviceLink link;
    ASSERT_TRUE(link.open(pty.path)) << pty.path.toStdString();
    EXPECT_TRUE(link.isOpen());

    std::vector<std::uint8_t> forty(40);
    for (std::size_t i = 0; i < forty.size(); ++i)
        forty[i] = static_cast<std::uint8_t>(i);
    pty.send(forty);
    QtPump pump;
    pump.wait(50);

    std::array<std::uint8_t, 72> buffer{};
    QElapsedTimer clock;
    clock.start();
    const std::size_t got = link.read(buffer);
    const qint64 took = clock.elapsed();
    EXPECT_EQ(got, 40u);
    EXPECT_TRUE(std::equal(forty.begin(), forty.end(), buffer.begin()));
    // It does not wait for the 32 bytes that never come (generous bound:
    // the figure itself is measured in bench_identify_pty).
    EXPECT_LT(took, 250);
}

TEST(SerialLinkPty, BytesPassUnchangedBothWays)
{
    // XON, XOFF, CR, LF, ^C, DEL and 0xFF must not be eaten or translated.
    const std::vector<std::uint8_t> awkward{0x11, 0x13, 0x0D, 0x0A, 0x03, 0x7F, 0xFF, 0x00, 0xAA};
    BarePty pty;
    SerialDeviceLink link;
    ASSERT_TRUE(link.open(pty.path));
    link.write(awkward);
    EXPECT_EQ(pty.receive(awkward.size()), awkward);

    pty.send(awkward);
    QtPump pump;
    pump.wait(50);
    std::array<std::uint8_t, 16> buffer{};
    const std::size_t got = link.read(buffer);
    EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + static_cast<long>(got)),
              awkward);
}

TEST(SerialLinkPty, ClosedAndMissingPortsFailHarmlessly)
{
    SerialDeviceLink neverOpened;
    std::array<std::uint8_t, 8> buffer{};
    EXPECT_EQ(neverOpened.read(buffer), 0u);
    neverOpened.write(buffer);
    EXPECT_FALSE(neverOpened.isOpen());

    SerialDeviceLink missing;
    EXPECT_FALSE(missing.open(QStringLiteral("/dev/harvane-no-such-port")));
    EXPECT_FALSE(missing.isOpen());
    EXPECT_EQ(missing.read(buffer), 0u);

    BarePty pty;
    SerialDeviceLink link;
    ASSERT_TRUE(link.open(pty.path));
    link.close();
    EXPECT_EQ(link.read(buffer), 0u);
    link.write(buffer);
    EXPECT_TRUE(pty.receive(1, 100).empty());
}

TEST(SerialLinkPty, ASecondOpenOfAnOpenPortFails)
{
    BarePty pty;
    SerialDeviceLink first;
    SerialDeviceLink second;
    ASSERT_TRUE(first.open(pty.path));
    EXPECT_FALSE(second.open(pty.path));
    first.close();
    EXPECT_TRUE(second.open(pty.path));
}

TEST(SerialLinkPty, AHangUpClosesTheLinkInsteadOfFloodingErrors)
{
    BarePty pty;
    SerialDeviceLink link;
    ASSERT_TRUE(link.open(pty.path));
    ::close(pty.slave); // only the link holds the terminal side now
    pty.slave = -1;
    pty.closeMaster(); // the adapter is pulled out
    QtPump pump;
    QElapsedTimer clock;
    clock.start();
    pump.wait(100);
    EXPECT_LT(clock.elapsed(), 2000); // the wait was not drowned in error events
    std::array<std::uint8_t, 8> buffer{};
    EXPECT_EQ(link.read(buffer), 0u);
    EXPECT_FALSE(link.isOpen());
}

TEST(SerialLinkPty, IdentifyAgainstSimulatedDevicesOverThePty)
{
    struct Case {
        const char* name;
        bool base;
        bool silent;
        DeviceKind expected;
        IdentifyResult result;
    };
    const Case cases[] = {
        {"logger", false, false, DeviceKind::Logger, IdentifyResult::Identified},
        {"base station", true, false, DeviceKind::BaseStation, IdentifyResult::Identified},
        {"base where a logger is wanted", true, false, DeviceKind::Logger,
         IdentifyResult::WrongDevice},
        {"silent logger", false, true, DeviceKind::Logger, IdentifyResult::NoReply},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedLogger logger;
        SimulatedBaseStation base;
        SimulatedDevice& device = c.base ? static_cast<SimulatedDevice&>(base) : logger;
        device.faults().silent = c.silent;
        PtyDeviceBridge bridge(device);
        ASSERT_TRUE(bridge.open());
        bridge.start();

        QtPump pump;
        ScriptedPrompts prompts;
        RoutingDeviceLink link; // no simulated ports: the path opens as a serial port
        ASSERT_TRUE(link.open(bridge.devicePath()));
        Exchange exchange(link, pump, prompts);
        EXPECT_EQ(exchange.identify(c.expected), c.result);
        if (c.result == IdentifyResult::Identified)
            EXPECT_TRUE(prompts.messages().isEmpty());
        else
            EXPECT_EQ(prompts.messages().size(), 1);
    }
}

TEST(SerialLinkPty, StatusBlockArrivesWholeAtTheLineRate)
{
    SimulatedLogger logger;
    PtyDeviceBridge bridge(logger);
    ASSERT_TRUE(bridge.open());
    bridge.start();
    QtPump pump;
    ScriptedPrompts prompts;
    SerialDeviceLink link;
    ASSERT_TRUE(link.open(bridge.devicePath()));
    Exchange exchange(link, pump, prompts);
    exchange.drainInput(100, 26);
    const auto status = exchange.request({CommandCode::ReadStatus}, 200, 72);
    ASSERT_EQ(status.size(), 72u);
    EXPECT_EQ(status[46], 7);
    EXPECT_EQ(status[47], 12);
}

TEST(SerialLinkPty, APortOpenedThroughALinkIsHeldByItsRealName)
{
    // /dev/serial/by-id/... names are links to /dev/ttyUSB0 and the like:
    // a second program must not get the same port under its other name.
    BarePty pty;
    QTemporaryDir dir;
    const QString alias = dir.filePath(QStringLiteral("usb-FTDI_logger-if00-port0"));
    ASSERT_TRUE(QFile::link(pty.path, alias));
    SerialDeviceLink first;
    SerialDeviceLink second;
    ASSERT_TRUE(first.open(alias));
    EXPECT_FALSE(second.open(pty.path));
    first.close();
    ASSERT_TRUE(second.open(pty.path));
    EXPECT_FALSE(first.open(alias));
    EXPECT_EQ(first.portName(), alias); // shown as the user named it
}
