#include "link/PortNames.h"

#include <algorithm>

QStringList sortedPortNames(QStringList names)
{
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseSensitive) < 0;
    });
    return names;
}

QString portFromFriendlyName(const QString& friendlyName)
{
    const qsizetype com = friendlyName.indexOf(QLatin1String("COM"), 0, Qt::CaseSensitive);
    if (com < 0)
        return {};
    const qsizetype close = friendlyName.indexOf(QLatin1Char(')'), com);
    if (close < 0)
        return {};
    return friendlyName.mid(com, close - com);
}

PortPresence presenceAmongFriendlyNames(const std::optional<QStringList>& friendlyNames,
                                        const QString& portName)
{
    if (!friendlyNames)
        return PortPresence::Undetermined;
    const bool found =
        std::any_of(friendlyNames->begin(), friendlyNames->end(), [&](const QString& friendly) {
            const QString port = portFromFriendlyName(friendly);
            return !port.isEmpty() && port == portName;
        });
    return found ? PortPresence::Present : PortPresence::Absent;
}
