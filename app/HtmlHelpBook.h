#pragma once

#include "app/HelpBook.h"
#include "app/HelpProject.h"

#include <QHash>
#include <QMultiHash>

#include <memory>

class QStandardItemModel;
class QStringListModel;

// A help file of plain HTML pages packed in one Qt resource file (".rcc")
// with their help project: the viewer where Qt Help is not available. It
// offers what a compiled collection offers, read from the project: the
// contents, the index, the F1 identifiers, and a search over the pages' text.
class HtmlHelpBook final : public HelpBook {
    Q_OBJECT
public:
    // Null when the file is missing, is no resource file or holds no project.
    static std::unique_ptr<HtmlHelpBook> open(const QString& path);
    ~HtmlHelpBook() override;

    [[nodiscard]] QString fileName() const override { return m_path; }
    [[nodiscard]] QUrl homePage() const override;
    [[nodiscard]] QUrl topicUrl(int topic) const override;
    [[nodiscard]] QUrl pageUrl(const QString& page) const override;
    [[nodiscard]] QByteArray fileData(const QUrl& url) const override;
    [[nodiscard]] QAbstractItemModel* contentsModel() override;
    [[nodiscard]] QUrl contentsUrl(const QModelIndex& index) const override;
    [[nodiscard]] QAbstractItemModel* indexModel() override;
    [[nodiscard]] QList<QUrl> keywordUrls(const QString& keyword) const override;
    void search(const QString& words) override;

    // The hits of a search, best first, without the signal.
    [[nodiscard]] QList<HelpSearchHit> findPages(const QString& words) const;

private:
    struct PageText {
        QString title;
        QString text;
    };

    HtmlHelpBook(QString path, QString root, HelpProject project);
    [[nodiscard]] QUrl urlOf(const QString& ref) const;
    // The file inside the resource that a URL names; empty when it names none.
    [[nodiscard]] QString resourcePath(const QUrl& url) const;
    const QHash<QString, PageText>& pageTexts() const;

    QString m_path;
    QString m_root; // where the resource file is mapped
    HelpProject m_project;
    QStandardItemModel* m_contents = nullptr;
    QStringListModel* m_index = nullptr;
    QMultiHash<QString, QString> m_keywordRefs;
    QHash<int, QString> m_topicRefs;
    mutable QHash<QString, PageText> m_pageTexts; // read on the first search
};
