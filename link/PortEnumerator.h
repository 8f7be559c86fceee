#pragma once

#include <QStringList>

enum class PortPresence { Present, Absent, Undetermined };

// Which serial ports the machine has. The platform one reads the system's
// list; the tests plug and unplug ports of a scripted one.
class PortEnumerator {
public:
    virtual ~PortEnumerator() = default;

    // Port names as the user sees them and as they open (ttyUSB0, COM3).
    [[nodiscard]] virtual QStringList portNames() const = 0;
    // Whether the device behind the named port is still there.
    [[nodiscard]] virtual PortPresence presence(const QString& portName) const = 0;
};
