#include "app/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

#ifndef HARVANE_TRANSLATIONS_FROM_BINDIR
#define HARVANE_TRANSLATIONS_FROM_BINDIR "../share/harvane/translations"
#endif

namespace Translations {

QStringList folders(const QString& programFolder)
{
    const QDir program(programFolder);
    return {QDir::cleanPath(program.filePath(QStringLiteral("translations"))),
            QDir::cleanPath(program.filePath(QStringLiteral(HARVANE_TRANSLATIONS_FROM_BINDIR)))};
}

namespace {

bool installOne(QCoreApplication& app, const QLocale& locale, const QString& name,
                const QStringList& folders)
{
    for (const QString& folder : folders) {
        auto translator = std::make_unique<QTranslator>(&app);
        if (translator->load(locale, name, QStringLiteral("_"), folder) &&
            QCoreApplication::installTranslator(translator.get())) {
            translator.release(); // owned by the application from here on
            return true;
        }
    }
    return false;
}

} // namespace

int install(QCoreApplication& app, const QStringList& folders, const QLocale& locale)
{
    int installed = 0;
    // Only where Harvane itself is translated: a German file dialog around
    // English captions would be worse than English throughout.
    if (installOne(app, locale, QStringLiteral("harvane"), folders)) {
        ++installed;
        if (installOne(app, locale, QStringLiteral("qtbase"),
                       {QLibraryInfo::path(QLibraryInfo::TranslationsPath)}))
            ++installed;
    }
    return installed;
}

} // namespace Translations
