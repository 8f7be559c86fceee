#include "link/PortNames.h"

#include <gtest/gtest.h>

TEST(PortNames, SortAsText)
{
    EXPECT_EQ(
        sortedPortNames({QStringLiteral("COM2"), QStringLiteral("COM10"), QStringLiteral("COM1")}),
        (QStringList{QStringLiteral("COM1"), QStringLiteral("COM10"), QStringLiteral("COM2")}));
    EXPECT_EQ(sortedPortNames({QStringLiteral("ttyUSB2"), QStringLiteral("ttyACM0"),
                               QStringLiteral("ttyUSB10")}),
              (QStringList{QStringLiteral("ttyACM0"), QStringLiteral("ttyUSB10"),
                           QStringLiteral("ttyUSB2")}));
    EXPECT_TRUE(sortedPortNames({}).isEmpty());
}

TEST(PortNames, PresenceFollowsThePortNameThePlatformReports)
{
    // A description that itself holds "COM" once made the open port read as
    // absent; only names and device paths count.
    const std::vector<ListedPort> ports{
        {QStringLiteral("COM5"), QStringLiteral("\\\\.\\COM5")},
        {QStringLiteral("ttyUSB0"), QStringLiteral("/dev/ttyUSB0")},
    };
    const struct {
        const char* port;
        PortPresence expected;
    } cases[] = {
        {"COM5", PortPresence::Present},         {"ttyUSB0", PortPresence::Present},
        {"/dev/ttyUSB0", PortPresence::Present}, {"COM50", PortPresence::Absent},
        {"com5", PortPresence::Absent},          {"", PortPresence::Absent},
    };
    for (const auto& c : cases)
        EXPECT_EQ(presenceAmongPorts(ports, QString::fromLatin1(c.port)), c.expected) << c.port;
    EXPECT_EQ(presenceAmongPorts(std::vector<ListedPort>{}, QStringLiteral("COM5")),
              PortPresence::Absent);
    EXPECT_EQ(presenceAmongPorts(std::nullopt, QStringLiteral("COM5")), PortPresence::Undetermined);
}
