#include "logger/StatusReport.h"

#include "app/DataFolders.h"
#include "app/TextLog.h"
#include "logger/LoggerStatus.h"

#include <QDir>
#include <QFile>

namespace {

QString timeText(const QDateTime& value)
{
    return value.time().toString(QStringLiteral("HH:mm:ss"));
}

QString dateText(const QDateTime& value)
{
    return value.date().toString(QStringLiteral("dd.MM.yyyy"));
}

} // namespace

QByteArray StatusReport::text(const LoggerStatus& status, const QDateTime& clock,
                              const QDateTime& loggingStart)
{
    QByteArray out;
    auto line = [&out](const QString& text) { out += text.toLatin1(); };
    line(QStringLiteral("Logger Status:\r\n"));
    line(QString::asprintf("Logger ON/Off:\t\t\t\t%s\r\n", status.loggingOn() ? "On" : "Off"));
    line(QString::asprintf("Logger Locked/Unlocked:\t\t\t%s\r\n",
                           status.implantLocked() ? "Locked" : "Unlocked"));
    line(QStringLiteral("\r\nLogger Settings:\r\n"));
    line(QString::asprintf("Used flash memory [%%]:\t\t\t%f\r\n",
                           static_cast<double>(status.usedMemoryPercent())));
    line(QString::asprintf("Head position decision threshold:\t%i\r\n", status.headThreshold()));
    line(QString::asprintf("Logger ID:\t\t\t\t%i\r\n", status.loggerId()));
    line(QString::asprintf("Implant ID:\t\t\t\t%i\r\n", status.implantId()));
    line(QString::asprintf("Logging interval in seconds:\t\t%i\r\n", status.intervalSeconds()));
    line(QStringLiteral("FW Rev:\t\t\t\t\t") + status.firmwareRevision() + QStringLiteral("\r\n"));
    line(QStringLiteral("HW Rev:\t\t\t\t\t") + status.hardwareRevision() + QStringLiteral("\r\n"));
    line(QStringLiteral("\r\nLogger Time:\r\n"));
    line(QStringLiteral("Current logger time:\t\t\t") + timeText(clock) + QStringLiteral("\r\n"));
    line(QStringLiteral("Current logger date:\t\t\t") + dateText(clock) + QStringLiteral("\r\n"));
    line(QStringLiteral("Logger start time:\t\t\t") + timeText(loggingStart) +
         QStringLiteral("\r\n"));
    line(QStringLiteral("Logger start date:\t\t\t") + dateText(loggingStart) +
         QStringLiteral("\r\n"));
    line(QStringLiteral("\r\nPacket Settings:\r\n"));
    line(QString::asprintf("Valid packet count:\t\t\t%i\r\n",
                           static_cast<int>(status.validPackets())));
    line(QString::asprintf("Invalid packet count:\t\t\t%i\r\n", status.invalidPackets()));
    line(QString::asprintf("No packet count:\t\t\t%i\r\n", status.noPackets()));
    line(QString::asprintf("Sync loss count:\t\t\t%i\r\n", status.syncLosses()));
    return out;
}

QString StatusReport::fileName(const LoggerStatus& status, const QDateTime& writtenAt,
                               const QString& reportName)
{
    return reportName +
           QStringLiteral("_ImpID%1LogID%2_").arg(status.implantId()).arg(status.loggerId()) +
           TextLog::timeStamp(writtenAt) + QStringLiteral(".txt");
}

QString StatusReport::write(const DataFolders& folders, const LoggerStatus& status,
                            const QDateTime& clock, const QDateTime& loggingStart,
                            const QDateTime& writtenAt, const QString& reportName)
{
    const QString folder = folders.folder(reportName);
    if (folder.isEmpty())
        return {};
    const QString path = QDir(folder).filePath(fileName(status, writtenAt, reportName));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    const QByteArray content = text(status, clock, loggingStart);
    if (file.write(content) != content.size())
        return {};
    return path;
}
