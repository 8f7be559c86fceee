#include "data/TransferText.h"
#include <QCoreApplication>

QString TransferText::duration(double seconds)
{
    const auto s = static_cast<qint64>(seconds + 0.5);
    if (s >= 3600)
        return QCoreApplication::translate("TransferText", "%1 h %2 min")
            .arg(s / 3600)
            .arg(s / 60 % 60, 2, 10, QLatin1Char('0'));
    if (s >= 60)
        return QCoreApplication::translate("TransferText", "%1 min %2 s")
            .arg(s / 60)
            .arg(s % 60, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1 s").arg(s);
}

QString TransferText::describe(std::uint64_t stored, std::uint64_t total, double bytesPerSecond)
{
    QString text =
        QCoreApplication::translate("TransferText", "%1 of %2 bytes").arg(stored).arg(total);
    if (bytesPerSecond > 0) {
        text += QCoreApplication::translate("TransferText", " · %1 bytes/s")
                    .arg(static_cast<qint64>(bytesPerSecond));
        if (stored < total)
            text += QCoreApplication::translate("TransferText", " · %1 left")
                        .arg(duration(static_cast<double>(total - stored) / bytesPerSecond));
    }
    return text;
}
