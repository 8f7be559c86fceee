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

TEST(PortNames, PortFromFriendlyName)
{
    const struct {
        const char* friendly;
        const char* port;
    } cases[] = {
        {"USB Serial Port (COM12)", "COM12"},
        {"USB Serial Port (COM3)", "COM3"},
        {"Communications Port (COM1)", "COM1"}, // "Com" of the word is not "COM"
        {"Prolific USB-to-Serial Comm Port (COM7) extra (x)", "COM7"},
        {"COMPAQ Modem (COM2)", "COMPAQ Modem (COM2"}, // the first "COM" counts
        {"Modem on COM4", ""},                         // no ")" after the "COM"
        {"USB Serial Port (com5)", ""},
        {"Bluetooth Device", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(portFromFriendlyName(QString::fromLatin1(c.friendly)),
                  QString::fromLatin1(c.port))
            << c.friendly;
}

TEST(PortNames, PresenceAmongFriendlyNames)
{
    const QStringList devices{QStringLiteral("USB Serial Port (COM12)"),
                              QStringLiteral("Modem COM"), QStringLiteral("Mouse")};
    EXPECT_EQ(presenceAmongFriendlyNames(devices, QStringLiteral("COM12")), PortPresence::Present);
    EXPECT_EQ(presenceAmongFriendlyNames(devices, QStringLiteral("COM1")), PortPresence::Absent);
    // "Modem COM" has no ")": it never matches, not even the name "COM".
    EXPECT_EQ(presenceAmongFriendlyNames(devices, QStringLiteral("COM")), PortPresence::Absent);
    EXPECT_EQ(presenceAmongFriendlyNames(devices, QString()), PortPresence::Absent);
    EXPECT_EQ(presenceAmongFriendlyNames(std::nullopt, QStringLiteral("COM12")),
              PortPresence::Undetermined);
}
