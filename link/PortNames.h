#pragma once

#include "link/PortEnumerator.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Port lists are sorted as plain text, as users know them from the device
// manager: COM10 comes before COM2.
QStringList sortedPortNames(QStringList names);

// A port as the platform lists it: the name users pick (COM3, ttyUSB0) and
// the device it opens (\\.\COM3, /dev/ttyUSB0).
struct ListedPort {
    QString name;
    QString location;
};

// Present when the platform still lists the port, by the name it reports
// itself or by its device; undetermined when no list could be had. A device
// description is never parsed for a port name: "Virtual COM Port (COM5)"
// names the device, not the port.
PortPresence presenceAmongPorts(const std::optional<std::vector<ListedPort>>& ports,
                                const QString& portName);
