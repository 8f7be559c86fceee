#pragma once

#include "link/PortEnumerator.h"

#include <QString>
#include <QStringList>

#include <optional>

// Port lists are sorted as plain text, as users know them from the device
// manager: COM10 comes before COM2.
QStringList sortedPortNames(QStringList names);

// The port a device's friendly name refers to: the text from the first "COM"
// up to the first ")" after it ("USB Serial Port (COM12)" gives "COM12");
// empty when there is no "COM" or no ")".
QString portFromFriendlyName(const QString& friendlyName);

// Present when one of the friendly names refers to the port exactly;
// undetermined when the device list could not be obtained.
PortPresence presenceAmongFriendlyNames(const std::optional<QStringList>& friendlyNames,
                                        const QString& portName);
