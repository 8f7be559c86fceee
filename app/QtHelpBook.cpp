#include "app/QtHelpBook.h"

#include "app/HelpFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHelpContentModel>
#include <QHelpEngine>
#include <QHelpIndexModel>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

bool isWritableFolder(const QString& path)
{
    // Ask by writing: permission bits and ACLs do not always tell the truth.
    QTemporaryFile probe(QDir(path).filePath(QStringLiteral(".harvane-write-test-XXXXXX")));
    return probe.open();
}

// Copies `from` to `to` unless `to` already is the same file.
bool refresh(const QString& from, const QString& to)
{
    const QFileInfo source(from);
    const QFileInfo copy(to);
    if (copy.exists() && copy.size() == source.size() &&
        copy.lastModified() >= source.lastModified())
        return true;
    QFile::remove(to);
    return QFile::copy(from, to);
}

} // namespace

QString QtHelpBook::workingCopy(const QString& collection, const QString& cacheFolder)
{
    const QFileInfo info(collection);
    // Qt Help keeps its search index beside the collection: an installed
    // collection is read from a copy in the user's cache, so that nothing is
    // written where the package put it.
    if (cacheFolder.isEmpty() || (!HelpFiles::isInstalledFolder(info.absolutePath()) &&
                                  isWritableFolder(info.absolutePath())))
        return collection;
    // One cache folder per installed folder, so that two installs never
    // share a search index.
    const QString key = QString::fromLatin1(
        QCryptographicHash::hash(info.absolutePath().toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16));
    const QDir target(QDir(cacheFolder).filePath(key));
    if (!QDir().mkpath(target.path()))
        return collection;
    // The collection names its documentation relative to itself: copy the
    // compressed help files beside it as well.
    const QDir source(info.absolutePath());
    for (const QString& name : source.entryList({QStringLiteral("*.qch")}, QDir::Files)) {
        if (!refresh(source.filePath(name), target.filePath(name)))
            return collection;
    }
    const QString copy = target.filePath(info.fileName());
    return refresh(collection, copy) ? copy : collection;
}

std::unique_ptr<QtHelpBook> QtHelpBook::open(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return nullptr;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    auto engine = std::make_unique<QHelpEngine>(workingCopy(
        path, cache.isEmpty() ? QString() : QDir(cache).filePath(QStringLiteral("help"))));
    // Never written: an installed help file stays as it was shipped.
    engine->setReadOnly(true);
    if (!engine->setupData() || engine->registeredDocumentations().isEmpty())
        return nullptr;
    return std::unique_ptr<QtHelpBook>(new QtHelpBook(path, engine.release()));
}

QtHelpBook::QtHelpBook(QString path, QHelpEngine* engine)
    : m_path(std::move(path)), m_engine(engine)
{
    m_engine->setParent(this);
    m_nameSpace = m_engine->registeredDocumentations().constFirst();
    QHelpSearchEngine* search = m_engine->searchEngine();
    connect(search, &QHelpSearchEngine::indexingFinished, this, [this] {
        m_indexed = true;
        if (!m_pendingSearch.isEmpty())
            startSearch();
    });
    connect(search, &QHelpSearchEngine::searchingFinished, this, [this, search](int count) {
        QList<HelpSearchHit> hits;
        for (const QHelpSearchResult& result : search->searchResults(0, count))
            hits.append({result.url(), result.title(), result.snippet()});
        const QString words = m_runningSearch;
        m_runningSearch.clear();
        Q_EMIT searchFinished(words, hits);
        if (!m_pendingSearch.isEmpty())
            startSearch();
    });
    // The index is made (or found up to date) in the background, so that it
    // is there by the time someone searches.
    search->scheduleIndexDocumentation();
}

QtHelpBook::~QtHelpBook()
{
    m_engine->searchEngine()->cancelIndexing();
    m_engine->searchEngine()->cancelSearching();
}

QUrl QtHelpBook::homePage() const
{
    const QUrl home(m_engine->customValue(QStringLiteral("defaultHomepage")).toString());
    if (home.isValid() && !home.isEmpty())
        return home;
    return QUrl(QStringLiteral("qthelp://%1/doc/index.html").arg(m_nameSpace));
}

QUrl QtHelpBook::topicUrl(int topic) const
{
    const QList<QHelpLink> links = m_engine->documentsForIdentifier(QString::number(topic));
    return links.isEmpty() ? QUrl() : links.constFirst().url;
}

QUrl QtHelpBook::pageUrl(const QString& page) const
{
    const QUrl url = homePage().resolved(QUrl(page));
    return fileData(url).isEmpty() ? QUrl() : url;
}

QByteArray QtHelpBook::fileData(const QUrl& url) const
{
    if (url.scheme() != QLatin1String("qthelp"))
        return {};
    return m_engine->fileData(url.adjusted(QUrl::RemoveFragment | QUrl::RemoveQuery));
}

QAbstractItemModel* QtHelpBook::contentsModel()
{
    return m_engine->contentModel();
}

QUrl QtHelpBook::contentsUrl(const QModelIndex& index) const
{
    const QHelpContentItem* item = m_engine->contentModel()->contentItemAt(index);
    return item != nullptr ? item->url() : QUrl();
}

QAbstractItemModel* QtHelpBook::indexModel()
{
    return m_engine->indexModel();
}

QList<QUrl> QtHelpBook::keywordUrls(const QString& keyword) const
{
    QList<QUrl> urls;
    for (const QHelpLink& link : m_engine->documentsForKeyword(keyword))
        urls.append(link.url);
    return urls;
}

void QtHelpBook::search(const QString& words)
{
    m_pendingSearch = words.simplified();
    if (m_pendingSearch.isEmpty()) {
        Q_EMIT searchFinished(words, {});
        return;
    }
    if (m_indexed && m_runningSearch.isEmpty())
        startSearch();
}

void QtHelpBook::startSearch()
{
    m_runningSearch = m_pendingSearch;
    m_pendingSearch.clear();
    m_engine->searchEngine()->search(m_runningSearch);
}
