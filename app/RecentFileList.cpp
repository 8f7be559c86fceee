#include "app/RecentFileList.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

QSettings settings()
{
    return QSettings(QString::fromLatin1(RecentFileList::Organization),
                     QString::fromLatin1(RecentFileList::Application));
}

QString keyFor(int index)
{
    return QStringLiteral("Recent File List/File%1").arg(index + 1);
}

bool samePath(const QString& a, const QString& b)
{
#ifdef Q_OS_WIN
    return a.compare(b, Qt::CaseInsensitive) == 0;
#else
    return a == b;
#endif
}

} // namespace

RecentFileList::RecentFileList()
{
    const QSettings stored = settings();
    for (int i = 0; i < MaxEntries; ++i) {
        const QString path = stored.value(keyFor(i)).toString();
        if (!path.isEmpty())
            m_entries.append(path);
    }
}

void RecentFileList::add(const QString& path)
{
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    remove(absolute);
    m_entries.prepend(absolute);
    while (m_entries.size() > MaxEntries)
        m_entries.removeLast();
    store();
}

void RecentFileList::remove(const QString& path)
{
    m_entries.removeIf([&](const QString& entry) { return samePath(entry, path); });
    store();
}

void RecentFileList::store() const
{
    QSettings stored = settings();
    for (int i = 0; i < MaxEntries; ++i) {
        if (i < m_entries.size())
            stored.setValue(keyFor(i), m_entries[i]);
        else
            stored.remove(keyFor(i));
    }
}
