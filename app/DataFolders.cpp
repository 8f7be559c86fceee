#include "app/DataFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <algorithm>

DataFolders::DataFolders(QString root) : m_root(std::move(root)) {}

DataFolders DataFolders::resolve(const QString& explicitRoot, const QString& programFolder)
{
    if (!explicitRoot.isEmpty())
        return DataFolders(QDir(explicitRoot).absolutePath());
    const QString fromEnvironment = qEnvironmentVariable(EnvironmentVariable);
    if (!fromEnvironment.isEmpty())
        return DataFolders(QDir(fromEnvironment).absolutePath());
    if (!programFolder.isEmpty() && !isInstalledLocation(programFolder) &&
        isWritableFolder(programFolder))
        return DataFolders(QDir(programFolder).absolutePath());
    return DataFolders(perUserFolder());
}

bool DataFolders::isInstalledLocation(const QString& programFolder)
{
    const auto canonical = [](const QString& path) {
        const QString real = QFileInfo(path).canonicalFilePath();
        return QDir::cleanPath(real.isEmpty() ? QDir(path).absolutePath() : real);
    };
    const QString folder = canonical(programFolder);
    QStringList installed{QStringLiteral(HARVANE_INSTALL_BINDIR)};
#ifndef Q_OS_WIN
    // Wherever a package manager or `make install` puts programs.
    installed << QStringLiteral("/usr/bin") << QStringLiteral("/usr/local/bin")
              << QStringLiteral("/bin") << QStringLiteral("/usr/sbin");
#endif
    return std::any_of(installed.begin(), installed.end(), [&](const QString& path) {
        return !path.isEmpty() && canonical(path) == folder;
    });
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
