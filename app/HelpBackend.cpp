#include "app/HelpBackend.h"

#include "app/HtmlHelpBook.h"

#ifdef HARVANE_HAVE_QTHELP
#include "app/QtHelpBook.h"

#include <QSqlDatabase>
#endif

bool HelpBackend::hasQtHelp()
{
#ifdef HARVANE_HAVE_QTHELP
    return true;
#else
    return false;
#endif
}

HelpBackend HelpBackend::qtHelp()
{
#ifdef HARVANE_HAVE_QTHELP
    // A collection is an SQLite database: without Qt's SQLite driver no
    // collection can be read at all.
    return {
        QStringLiteral(".qhc"),
        [] { return QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")); },
        [](const QString& path) -> std::unique_ptr<HelpBook> { return QtHelpBook::open(path); }};
#else
    return {QStringLiteral(".qhc"), [] { return false; },
            [](const QString&) { return std::unique_ptr<HelpBook>(); }};
#endif
}

HelpBackend HelpBackend::plainHtml()
{
    return {
        QStringLiteral(".rcc"), [] { return true; },
        [](const QString& path) -> std::unique_ptr<HelpBook> { return HtmlHelpBook::open(path); }};
}

HelpBackend HelpBackend::builtIn()
{
    return hasQtHelp() ? qtHelp() : plainHtml();
}
