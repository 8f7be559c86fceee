#pragma once

#include <QString>

// Where Harvane keeps what it writes: ReadData, Downloads, StatusLogCollar,
// SurveillanceLog, StatusLogBase, InVicinityLog and ImplantLog, each made on
// first use below one root folder.
//
// The root is, first found: the folder named with --data-dir; the
// HARVANE_DATA_DIR environment variable; the program's own folder when it is
// a portable copy (on a stick or in the user's files: not where the program
// is installed) and can be written to; and otherwise the user's own
// application data folder. An installed program never writes beside itself,
// not even when run as root, where /usr/bin can be written.
class DataFolders {
public:
    static constexpr auto EnvironmentVariable = "HARVANE_DATA_DIR";

    explicit DataFolders(QString root);

    // Applies the rules above; `explicitRoot` is the --data-dir value or empty.
    static DataFolders resolve(const QString& explicitRoot, const QString& programFolder);
    // Whether a program in `programFolder` is an installed one: in the
    // folder it was built to be installed to, or in a system one.
    static bool isInstalledLocation(const QString& programFolder);
    // The user's own data folder for Harvane (~/.local/share/Harvane,
    // %LOCALAPPDATA%\Harvane).
    static QString perUserFolder();
    // The folder holding the program file, without a trailing separator.
    static QString programFolder();

    [[nodiscard]] QString root() const { return m_root; }
    // The named folder below the root, made when missing. Empty when it can
    // neither be found nor made.
    [[nodiscard]] QString folder(const QString& name) const;

private:
    static bool isWritableFolder(const QString& path);

    QString m_root;
};
