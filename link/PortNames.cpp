#include "link/PortNames.h"

#include <algorithm>

QStringList sortedPortNames(QStringList names)
{
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseSensitive) < 0;
    });
    return names;
}

PortPresence presenceAmongPorts(const std::optional<std::vector<ListedPort>>& ports,
                                const QString& portName)
{
    if (!ports)
        return PortPresence::Undetermined;
    if (portName.isEmpty())
        return PortPresence::Absent;
    const bool found = std::any_of(ports->begin(), ports->end(), [&](const ListedPort& port) {
        return port.name == portName || port.location == portName;
    });
    return found ? PortPresence::Present : PortPresence::Absent;
}
