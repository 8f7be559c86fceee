#include "app/HelpFiles.h"

#include "app/DataFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

HelpFiles::HelpFiles(QString folder, QString mainName)
    : m_folder(std::move(folder)), m_mainName(std::move(mainName))
{}

#ifndef HARVANE_HELP_FROM_BINDIR
#define HARVANE_HELP_FROM_BINDIR "../share/harvane/help"
#endif

HelpFiles HelpFiles::forProgram()
{
    return HelpFiles(folderFor(DataFolders::programFolder()),
                     QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
}

QString HelpFiles::folderFor(const QString& programFolder)
{
    if (!DataFolders::isInstalledLocation(programFolder))
        return programFolder;
    return QDir::cleanPath(QDir(programFolder).filePath(QStringLiteral(HARVANE_HELP_FROM_BINDIR)));
}

bool HelpFiles::isInstalledFolder(const QString& folder)
{
    const QString path = QDir::cleanPath(QDir(folder).absolutePath());
    return path.endsWith(QStringLiteral("/share/harvane/help")) ||
           path.endsWith(QStringLiteral("/share/harvane/help/hlp"));
}

QString HelpFiles::path(HelpFileKind kind, const QString& extension) const
{
    const QDir folder(m_folder);
    const QString helpName = QString::fromLatin1(ContextHelpTable::HelpFileName) + extension;
    switch (kind) {
    case HelpFileKind::Program:
        return folder.filePath(helpName);
    case HelpFileKind::ProgramHlp:
        return folder.filePath(QStringLiteral("hlp/") + helpName);
    case HelpFileKind::Main:
        return folder.filePath(m_mainName + extension);
    }
    return {};
}
