#include "app/DataFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

DataFolders::DataFolders(QString root) : m_root(std::move(root)) {}

DataFolders DataFolders::resolve(const QString& explicitRoot, const QString& programFolder)
{
    if (!explicitRoot.isEmpty())
        return DataFolders(QDir(explicitRoot).absolutePath());
    const QString fromEnvironment = qEnvironmentVariable(EnvironmentVariable);
    if (!fromEnvironment.isEmpty())
        return DataFolders(QDir(fromEnvironment).absolutePath());
    if (!programFolder.isEmpty() && isWritableFolder(programFolder))
        return DataFolders(QDir(programFolder).absolutePath());
    return DataFolders(perUserFolder());
}

QString DataFolders::perUserFolder()
{
    // The same for the desktop program and the command-line tool, whatever
    // each calls itself.
    const QString shared = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (shared.isEmpty())
        return QDir::home().absoluteFilePath(QStringLiteral(".harvane"));
    return QDir(shared).absoluteFilePath(QStringLiteral("Harvane"));
}

QString DataFolders::programFolder()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath());
}

QString DataFolders::folder(const QString& name) const
{
    const QString path = QDir(m_root).filePath(name);
    if (!QDir().mkpath(path))
        return {};
    return QDir::cleanPath(path);
}

bool DataFolders::isWritableFolder(const QString& path)
{
    // Ask by writing: permission bits and ACLs do not always tell the truth.
    QTemporaryFile probe(QDir(path).filePath(QStringLiteral(".harvane-write-test-XXXXXX")));
    return probe.open();
}
