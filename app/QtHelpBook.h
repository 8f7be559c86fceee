#pragma once

#include "app/HelpBook.h"

#include <memory>

class QHelpEngine;

// A Qt Help collection (".qhc", with the compressed help file it
// registers) opened read-only: F1 identifiers, contents, index and the Qt
// Help full-text search.
class QtHelpBook final : public HelpBook {
    Q_OBJECT
public:
    // Null when the file is missing or is no collection with documentation.
    static std::unique_ptr<QtHelpBook> open(const QString& path);
    ~QtHelpBook() override;

    // The collection to work from: the file itself when its folder can be
    // written (the search keeps its index beside it), otherwise a copy,
    // kept up to date, with its documentation in `cacheFolder`.
    static QString workingCopy(const QString& collection, const QString& cacheFolder);

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

private:
    QtHelpBook(QString path, QHelpEngine* engine);
    void startSearch();

    QString m_path;
    QHelpEngine* m_engine = nullptr;
    QString m_nameSpace;
    bool m_indexed = false;
    QString m_pendingSearch;
    QString m_runningSearch;
};
