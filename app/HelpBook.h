#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

class QAbstractItemModel;
class QModelIndex;

// One page found by a full-text search.
struct HelpSearchHit {
    QUrl url;
    QString title;
    QString snippet; // rich text, the words found in bold
};

// One opened help file: its pages, the F1 topics it maps to them, its
// contents, index and full-text search. Pages are addressed by URL
// ("qthelp://namespace/folder/page.html#anchor") whatever the file's kind.
class HelpBook : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    [[nodiscard]] virtual QString fileName() const = 0;
    [[nodiscard]] virtual QUrl homePage() const = 0;
    // The page of an F1 topic number; empty when the file holds no such topic.
    [[nodiscard]] virtual QUrl topicUrl(int topic) const = 0;
    // "page.html" or "page.html#anchor" as the file's URL; empty when the file
    // has no such page.
    [[nodiscard]] virtual QUrl pageUrl(const QString& page) const = 0;
    // The bytes of a page, style sheet or popup page; empty when missing.
    [[nodiscard]] virtual QByteArray fileData(const QUrl& url) const = 0;

    // The contents tree (one column); contentsUrl gives an entry's page.
    [[nodiscard]] virtual QAbstractItemModel* contentsModel() = 0;
    [[nodiscard]] virtual QUrl contentsUrl(const QModelIndex& index) const = 0;
    // The index: one keyword per row; keywordUrls gives its pages.
    [[nodiscard]] virtual QAbstractItemModel* indexModel() = 0;
    [[nodiscard]] virtual QList<QUrl> keywordUrls(const QString& keyword) const = 0;

    // Starts a search for pages holding all the words; searchFinished
    // follows, at once or when the file's search index is ready.
    virtual void search(const QString& words) = 0;

Q_SIGNALS:
    void searchFinished(const QString& words, const QList<HelpSearchHit>& hits);
};
