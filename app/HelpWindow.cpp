#include "app/HelpWindow.h"

#include "app/HelpBook.h"
#include "app/HelpBrowser.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

QString withoutFragment(const QUrl& url)
{
    return url.adjusted(QUrl::RemoveFragment).toString();
}

// The entry whose page is `url`: the same anchor if there is one, else the
// page itself.
QModelIndex findEntry(const QAbstractItemModel& model, const QModelIndex& parent,
                      const std::function<QUrl(const QModelIndex&)>& urlOf, const QUrl& url,
                      bool exact)
{
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        const QUrl entry = urlOf(index);
        if (exact ? entry == url
                  : entry.fragment().isEmpty() && withoutFragment(entry) == withoutFragment(url))
            return index;
        const QModelIndex inside = findEntry(model, index, urlOf, url, exact);
        if (inside.isValid())
            return inside;
    }
    return {};
}

} // namespace

HelpWindow::HelpWindow(QWidget* parent) : QMainWindow(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(tr("Harvane Help"));
    // Help left open does not keep the program running.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(1040, 720);

    m_browser = new HelpBrowser(this);
    m_browser->setMinimumWidth(420);
    // Pages read better with some room around the text.
    m_browser->document()->setDocumentMargin(14);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("HelpTabs"));
    m_contents = new QTreeView(m_tabs);
    m_contents->setObjectName(QStringLiteral("HelpContents"));
    m_contents->setHeaderHidden(true);
    m_contents->setUniformRowHeights(true);
    m_contents->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tabs->addTab(m_contents, tr("&Contents"));
    m_tabs->addTab(makeIndexTab(), tr("&Index"));
    m_tabs->addTab(makeSearchTab(), tr("&Search"));
    // A tab chosen is a tab to type into.
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int tab) {
        if (tab == 1)
            m_indexFilter->setFocus();
        else if (tab == 2)
            m_searchField->setFocus();
    });

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(m_tabs);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({300, 740});
    splitter->setChildrenCollapsible(false);
    setCentralWidget(splitter);

    QToolBar* bar = addToolBar(tr("Navigation"));
    bar->setObjectName(QStringLiteral("HelpToolBar"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const QStyle* style = QApplication::style();
    m_back = bar->addAction(style->standardIcon(QStyle::SP_ArrowBack), tr("Back"), m_browser,
                            &QTextBrowser::backward);
    m_back->setShortcut(QKeySequence::Back);
    m_back->setEnabled(false);
    m_forward = bar->addAction(style->standardIcon(QStyle::SP_ArrowForward), tr("Forward"),
                               m_browser, &QTextBrowser::forward);
    m_forward->setShortcut(QKeySequence::Forward);
    m_forward->setEnabled(false);
    m_home = bar->addAction(style->standardIcon(QStyle::SP_DirHomeIcon), tr("Home"), this,
                            &HelpWindow::showHome);
    m_home->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);
    // The signal comes before the browser's history holds the new page:
    // source() still names the page before.
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
        syncContents(url);
        updateTitle();
    });

    auto openEntry = [this](const QModelIndex& index) {
        if (m_book != nullptr && index.isValid()) {
            const QUrl url = m_book->contentsUrl(index);
            if (url.isValid())
                showUrl(url);
        }
    };
    connect(m_contents, &QTreeView::clicked, this, openEntry);
    connect(m_contents, &QTreeView::activated, this, openEntry);
}

HelpWindow::~HelpWindow() = default;

QWidget* HelpWindow::makeIndexTab()
{
    auto* tab = new QWidget(this);
    m_indexFilter = new QLineEdit(tab);
    m_indexFilter->setObjectName(QStringLiteral("HelpIndexFilter"));
    m_indexFilter->setClearButtonEnabled(true);
    m_indexFilter->setPlaceholderText(tr("Type a word, a button or a message"));
    auto* label = new QLabel(tr("&Look for:"), tab);
    label->setBuddy(m_indexFilter);
    m_index = new QListView(tab);
    m_index->setObjectName(QStringLiteral("HelpIndex"));
    m_index->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_index->setUniformItemSizes(true);
    m_indexProxy = new QSortFilterProxyModel(this);
    m_indexProxy->setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_index->setModel(m_indexProxy);
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(label);
    layout->addWidget(m_indexFilter);
    layout->addWidget(m_index, 1);
    connect(m_indexFilter, &QLineEdit::textChanged, this, &HelpWindow::filterIndex);
    connect(m_indexFilter, &QLineEdit::returnPressed, this, [this] {
        const QModelIndex current = m_index->currentIndex();
        openIndexRow(current.isValid() ? current.row() : 0);
    });
    connect(m_index, &QListView::activated, this,
            [this](const QModelIndex& index) { openIndexRow(index.row()); });
    connect(m_index, &QListView::clicked, this,
            [this](const QModelIndex& index) { openIndexRow(index.row()); });
    return tab;
}

QWidget* HelpWindow::makeSearchTab()
{
    auto* tab = new QWidget(this);
    m_searchField = new QLineEdit(tab);
    m_searchField->setObjectName(QStringLiteral("HelpSearchField"));
    m_searchField->setClearButtonEnabled(true);
    m_searchField->setPlaceholderText(tr("Words to find"));
    auto* go = new QPushButton(tr("Search"), tab);
    go->setObjectName(QStringLiteral("HelpSearchButton"));
    m_searchResults = new QTextBrowser(tab);
    m_searchResults->setObjectName(QStringLiteral("HelpSearchResults"));
    m_searchResults->setOpenLinks(false);
    auto* row = new QHBoxLayout;
    row->addWidget(m_searchField, 1);
    row->addWidget(go);
    auto* layout = new QVBoxLayout(tab);
    auto* label = new QLabel(tr("Pages that hold &all of these words:"), tab);
    label->setBuddy(m_searchField);
    label->setWordWrap(true);
    layout->addWidget(label);
    layout->addLayout(row);
    layout->addWidget(m_searchResults, 1);
    connect(m_searchField, &QLineEdit::returnPressed, this,
            [this] { search(m_searchField->text()); });
    connect(go, &QPushButton::clicked, this, [this] { search(m_searchField->text()); });
    connect(m_searchResults, &QTextBrowser::anchorClicked, this, &HelpWindow::showUrl);
    return tab;
}

void HelpWindow::setBook(HelpBook* book)
{
    if (book == m_book)
        return;
    disconnect(m_searchConnection);
    disconnect(m_contentsConnection);
    m_book = book;
    m_browser->setBook(book);
    m_contents->setModel(book != nullptr ? book->contentsModel() : nullptr);
    m_indexProxy->setSourceModel(book != nullptr ? book->indexModel() : nullptr);
    m_searchResults->clear();
    if (book == nullptr)
        return;
    m_searchConnection =
        connect(book, &HelpBook::searchFinished, this, &HelpWindow::showSearchHits);
    // Some files fill their contents a moment after opening.
    if (QAbstractItemModel* model = book->contentsModel()) {
        m_contentsConnection = connect(model, &QAbstractItemModel::modelReset, this, [this] {
            m_contents->expandToDepth(0);
            syncContents(m_browser->source());
        });
        m_contents->expandToDepth(0);
    }
    filterIndex(m_indexFilter->text());
}

void HelpWindow::showUrl(const QUrl& url)
{
    if (url.isEmpty())
        return;
    if (url.adjusted(QUrl::RemoveFragment) == m_browser->source().adjusted(QUrl::RemoveFragment) &&
        !url.fragment().isEmpty()) {
        // The same page: setSource would not move to the anchor again.
        m_browser->setSource(url);
        m_browser->scrollToAnchor(url.fragment());
        return;
    }
    m_browser->setSource(url);
}

QUrl HelpWindow::currentUrl() const
{
    return m_browser->source();
}

void HelpWindow::showHome()
{
    if (m_book != nullptr)
        showUrl(m_book->homePage());
}

void HelpWindow::showContentsTab()
{
    m_tabs->setCurrentIndex(0);
}

void HelpWindow::showIndexTab()
{
    m_tabs->setCurrentIndex(1);
    m_indexFilter->setFocus();
}

void HelpWindow::showSearchTab()
{
    m_tabs->setCurrentIndex(2);
    m_searchField->setFocus();
}

void HelpWindow::filterIndex(const QString& text)
{
    m_indexProxy->setFilterFixedString(text.trimmed());
    // The first keyword that starts with the text, else the first that holds it.
    int best = m_indexProxy->rowCount() > 0 ? 0 : -1;
    for (int row = 0; row < m_indexProxy->rowCount(); ++row) {
        if (m_indexProxy->index(row, 0).data().toString().startsWith(text.trimmed(),
                                                                     Qt::CaseInsensitive)) {
            best = row;
            break;
        }
    }
    if (best >= 0) {
        m_index->setCurrentIndex(m_indexProxy->index(best, 0));
        m_index->scrollTo(m_index->currentIndex());
    }
}

void HelpWindow::openIndexRow(int row)
{
    if (m_book == nullptr || row < 0 || row >= m_indexProxy->rowCount())
        return;
    const QString keyword = m_indexProxy->index(row, 0).data().toString();
    const QList<QUrl> urls = m_book->keywordUrls(keyword);
    if (!urls.isEmpty())
        showUrl(urls.constFirst());
}

void HelpWindow::search(const QString& words)
{
    if (m_book == nullptr || words.trimmed().isEmpty())
        return;
    m_searchField->setText(words);
    m_searchResults->setHtml(QStringLiteral("<p>Searching...</p>"));
    m_book->search(words);
}

void HelpWindow::showSearchHits(const QString& words, const QList<HelpSearchHit>& hits)
{
    if (hits.isEmpty()) {
        m_searchResults->setHtml(QStringLiteral("<p>No page holds all of &ldquo;%1&rdquo;.</p>")
                                     .arg(words.toHtmlEscaped()));
        return;
    }
    QString html = QStringLiteral("<p>%1 page%2 found:</p>")
                       .arg(hits.size())
                       .arg(hits.size() == 1 ? QString() : QStringLiteral("s"));
    for (const HelpSearchHit& hit : hits) {
        html += QStringLiteral("<p><a href=\"%1\"><b>%2</b></a><br/><span>%3</span></p>")
                    .arg(hit.url.toString().toHtmlEscaped(),
                         (hit.title.isEmpty() ? hit.url.fileName() : hit.title).toHtmlEscaped(),
                         hit.snippet);
    }
    m_searchResults->setHtml(html);
}

void HelpWindow::syncContents(const QUrl& url)
{
    if (m_book == nullptr || m_contents->model() == nullptr || url.isEmpty())
        return;
    auto urlOf = [this](const QModelIndex& index) { return m_book->contentsUrl(index); };
    QModelIndex entry = findEntry(*m_contents->model(), {}, urlOf, url, true);
    if (!entry.isValid())
        entry = findEntry(*m_contents->model(), {}, urlOf, url, false);
    if (entry.isValid()) {
        m_contents->setCurrentIndex(entry);
        m_contents->scrollTo(entry);
    }
}

void HelpWindow::updateTitle()
{
    const QString name = tr("Harvane Help");
    const QString title = m_browser->documentTitle();
    setWindowTitle(title.isEmpty() || title == name ? name : title + QStringLiteral(" - ") + name);
}
