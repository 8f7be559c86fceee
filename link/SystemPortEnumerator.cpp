#include "link/SystemPortEnumerator.h"

#include "link/PortNames.h"

#include <QFileInfo>
#include <QSerialPortInfo>

QStringList SystemPortEnumerator::portNames() const
{
    QStringList names;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : ports)
        names.append(info.portName());
    return sortedPortNames(names);
}

PortPresence SystemPortEnumerator::presence(const QString& portName) const
{
    if (portName.isEmpty())
        return PortPresence::Absent;
    const auto ports = QSerialPortInfo::availablePorts();
#ifdef Q_OS_WIN
    // Windows names devices "USB Serial Port (COM3)"; match the way the
    // device manager shows them.
    QStringList friendlyNames;
    for (const QSerialPortInfo& info : ports)
        friendlyNames.append(info.description() + QLatin1String(" (") + info.portName() +
                             QLatin1Char(')'));
    return presenceAmongFriendlyNames(friendlyNames, portName);
#else
    for (const QSerialPortInfo& info : ports) {
        if (info.portName() == portName || info.systemLocation() == portName)
            return PortPresence::Present;
    }
    // Ports opened by full path (pseudo-terminals, /dev/serial/by-id links)
    // are not in the platform's list: they are there while the path is.
    if (portName.startsWith(QLatin1Char('/')))
        return QFileInfo::exists(portName) ? PortPresence::Present : PortPresence::Absent;
    return PortPresence::Absent;
#endif
}
