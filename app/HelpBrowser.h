#pragma once

#include "app/HelpBook.h"

#include <QPointer>
#include <QTextBrowser>

// Shows the pages of a help file: pages, style sheets and pictures come
// from the file; links to anything else open in the system's browser.
class HelpBrowser final : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpBrowser(QWidget* parent = nullptr);

    void setBook(HelpBook* book);
    [[nodiscard]] HelpBook* book() const { return m_book; }

    QVariant loadResource(int type, const QUrl& name) override;

private:
    QPointer<HelpBook> m_book;
};
