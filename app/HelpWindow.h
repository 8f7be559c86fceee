#pragma once

#include "app/HelpBook.h"

#include <QMainWindow>
#include <QPointer>
#include <QUrl>

class HelpBrowser;
class QAction;
class QLineEdit;
class QListView;
class QModelIndex;
class QSortFilterProxyModel;
class QTabWidget;
class QTextBrowser;
class QTreeView;

// The help viewer: the pages of one help file with its contents, index and
// full-text search beside them, and Back, Forward and Home. One window
// serves the whole run; each request shows its page in it.
class HelpWindow final : public QMainWindow {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    ~HelpWindow() override;

    // The file whose pages are shown; it outlives its showing here.
    void setBook(HelpBook* book);
    [[nodiscard]] HelpBook* book() const { return m_book; }
    void showUrl(const QUrl& url);
    void showHome();
    // Brings the contents, index or search to the front.
    void showContentsTab();
    void showIndexTab();
    void showSearchTab();

    [[nodiscard]] HelpBrowser* browser() const { return m_browser; }
    [[nodiscard]] QUrl currentUrl() const;
    [[nodiscard]] QTabWidget* tabs() const { return m_tabs; }
    [[nodiscard]] QTreeView* contentsView() const { return m_contents; }
    [[nodiscard]] QLineEdit* indexFilter() const { return m_indexFilter; }
    [[nodiscard]] QListView* indexView() const { return m_index; }
    [[nodiscard]] QLineEdit* searchField() const { return m_searchField; }
    [[nodiscard]] QTextBrowser* searchResults() const { return m_searchResults; }
    [[nodiscard]] QAction* backAction() const { return m_back; }
    [[nodiscard]] QAction* forwardAction() const { return m_forward; }
    [[nodiscard]] QAction* homeAction() const { return m_home; }

    // Opens the page of the index entry at `row` of the filtered index.
    void openIndexRow(int row);
    void search(const QString& words);

private:
    QWidget* makeIndexTab();
    QWidget* makeSearchTab();
    void filterIndex(const QString& text);
    void showSearchHits(const QString& words, const QList<HelpSearchHit>& hits);
    void syncContents(const QUrl& url);
    void updateTitle();

    QPointer<HelpBook> m_book;
    HelpBrowser* m_browser = nullptr;
    QTabWidget* m_tabs = nullptr;
    QTreeView* m_contents = nullptr;
    QLineEdit* m_indexFilter = nullptr;
    QListView* m_index = nullptr;
    QSortFilterProxyModel* m_indexProxy = nullptr;
    QLineEdit* m_searchField = nullptr;
    QTextBrowser* m_searchResults = nullptr;
    QAction* m_back = nullptr;
    QAction* m_forward = nullptr;
    QAction* m_home = nullptr;
    QMetaObject::Connection m_searchConnection;
    QMetaObject::Connection m_contentsConnection;
};
