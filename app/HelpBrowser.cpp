#include "app/HelpBrowser.h"

#include "app/HelpBook.h"

#include <QDesktopServices>

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent)
{
    setObjectName(QStringLiteral("HelpBrowser"));
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        const QUrl url = source().resolved(link);
        if (url.scheme() == QLatin1String("qthelp"))
            setSource(url);
        else
            QDesktopServices::openUrl(url);
    });
}

void HelpBrowser::setBook(HelpBook* book)
{
    m_book = book;
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name)
{
    // A page names its style sheet and pictures relative to itself; while a
    // page loads, only the document knows where it comes from.
    const QUrl base = document()->baseUrl().isEmpty() ? source() : document()->baseUrl();
    const QUrl url = name.isRelative() ? base.resolved(name) : name;
    if (url.scheme() == QLatin1String("qthelp")) {
        if (m_book == nullptr)
            return {};
        const QByteArray data = m_book->fileData(url);
        if (type == QTextDocument::HtmlResource || type == QTextDocument::StyleSheetResource)
            return QString::fromUtf8(data);
        return data;
    }
    return QTextBrowser::loadResource(type, name);
}
