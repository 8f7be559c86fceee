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
    std::vector<ListedPort> listed;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : ports)
        listed.push_back({info.portName(), info.systemLocation()});
    const PortPresence presence = presenceAmongPorts(listed, portName);
    // Ports opened by full path (pseudo-terminals, /dev/serial/by-id links)
    // are not in the platform's list: they are there while the path is.
    if (presence == PortPresence::Absent && QFileInfo(portName).isAbsolute())
        return QFileInfo::exists(portName) ? PortPresence::Present : PortPresence::Absent;
    return presence;
}
