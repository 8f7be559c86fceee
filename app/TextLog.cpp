#include "app/TextLog.h"

#include "app/DataFolders.h"

#include <QDir>

TextLog::~TextLog()
{
    close();
}

QString TextLog::fileName(const QString& logName, const QString& devicePart, const QDateTime& start)
{
    return logName + QLatin1Char('_') + devicePart + timeStamp(start) + QStringLiteral(".txt");
}

QString TextLog::timeStamp(const QDateTime& time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd_HH'h'mm'm'ss's'"));
}

QString TextLog::eventLine(const QString& tag, const QDateTime& time, const QString& values)
{
    return tag + QStringLiteral(": ") + time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
           values;
}

bool TextLog::open(const DataFolders& folders, const QString& logName, const QString& devicePart,
                   const QDateTime& start)
{
    close();
    QString folder = folders.folder(logName);
    if (folder.isEmpty())
        folder = QDir(folders.root()).filePath(logName); // the open below then fails
    m_path = QDir(folder).filePath(fileName(logName, devicePart, start));
    m_file.setFileName(m_path);
    return m_file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

void TextLog::writeLine(const QString& line)
{
    if (!m_file.isOpen())
        return;
    m_file.write(line.toLatin1());
    m_file.write("\r\n", 2);
    // A run can last for hours and end with the laptop's battery: every
    // line reaches the disk as it is written.
    m_file.flush();
}

void TextLog::close()
{
    if (m_file.isOpen())
        m_file.close();
}
