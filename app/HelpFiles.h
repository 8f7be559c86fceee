#pragma once

#include "app/ContextHelpTable.h"

#include <QString>

// Where the help files lie: "Zorvath" in the program's folder and in its
// "hlp" folder, and the main help named like the program file, all in the
// program's folder. The extension is the viewer's (".qhc" for a Qt Help
// collection).
class HelpFiles {
public:
    HelpFiles(QString folder, QString mainName);
    // The running program's help, the main help named after its file.
    static HelpFiles forProgram();
    // The folder the help lies in for a program in `programFolder`: that
    // folder for a portable copy or a build tree; the installed share folder
    // (../share/harvane/help from the program) for an installed program,
    // which keeps only programs in its bin folder.
    static QString folderFor(const QString& programFolder);
    // Whether `folder` is an installed program's help folder (or its "hlp"),
    // which the program must leave as the package put it, even as root.
    static bool isInstalledFolder(const QString& folder);

    [[nodiscard]] QString folder() const { return m_folder; }
    [[nodiscard]] QString mainName() const { return m_mainName; }
    [[nodiscard]] QString path(HelpFileKind kind, const QString& extension) const;

private:
    QString m_folder;
    QString m_mainName;
};
