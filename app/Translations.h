#pragma once

#include <QLocale>
#include <QStringList>

class QCoreApplication;

// Every text the user reads goes through Qt's translation functions, so a
// translation is added by dropping a compiled "harvane_<language>.qm" into one
// of the translation folders; no code changes. Without one the program speaks
// its own English texts.
namespace Translations {

// Where the programs look, first match wins: "translations" beside the
// program (a build tree or a portable copy), then the installed share folder.
QStringList folders(const QString& programFolder);

// Installs Harvane's translation for the locale's languages, and Qt's own
// for its standard dialogs, as children of the application object. Returns
// how many were installed.
int install(QCoreApplication& app, const QStringList& folders, const QLocale& locale);

} // namespace Translations
