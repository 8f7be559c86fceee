#include "app/HtmlHelpBook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QResource>
#include <QStandardItemModel>
#include <QStringListModel>
#include <QTextDocument>

#include <algorithm>
#include <atomic>
#include <functional>

namespace {

constexpr int UrlRole = Qt::UserRole + 1;

std::atomic<int> nextMapping{0};

void addSections(QStandardItem* parent, const std::vector<HelpProject::Section>& sections,
                 const std::function<QUrl(const QString&)>& urlOf)
{
    for (const HelpProject::Section& section : sections) {
        auto* item = new QStandardItem(section.title);
        item->setEditable(false);
        item->setData(urlOf(section.ref), UrlRole);
        addSections(item, section.children, urlOf);
        parent->appendRow(item);
    }
}

QString snippetAround(const QString& text, const QStringList& words)
{
    qsizetype first = -1;
    for (const QString& word : words) {
        const qsizetype at = text.indexOf(word, 0, Qt::CaseInsensitive);
        if (at >= 0 && (first < 0 || at < first))
            first = at;
    }
    const qsizetype from = std::max<qsizetype>(0, first - 40);
    QString part = text.mid(from, 120).simplified();
    QString html = part.toHtmlEscaped();
    for (const QString& word : words) {
        const QRegularExpression pattern(QRegularExpression::escape(word.toHtmlEscaped()),
                                         QRegularExpression::CaseInsensitiveOption);
        html.replace(pattern, QStringLiteral("<b>\\0</b>"));
    }
    return (from > 0 ? QStringLiteral("...") : QString()) + html + QStringLiteral("...");
}

} // namespace

std::unique_ptr<HtmlHelpBook> HtmlHelpBook::open(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return nullptr;
    const QString root = QStringLiteral("/harvane-help-%1").arg(nextMapping++);
    if (!QResource::registerResource(path, root))
        return nullptr;
    const QStringList projects =
        QDir(QLatin1Char(':') + root).entryList({QStringLiteral("*.qhp")}, QDir::Files);
    HelpProject project;
    if (!projects.isEmpty()) {
        QFile file(QLatin1Char(':') + root + QLatin1Char('/') + projects.constFirst());
        if (file.open(QIODevice::ReadOnly))
            project = HelpProject::parse(file.readAll());
    }
    if (!project.isValid()) {
        QResource::unregisterResource(path, root);
        return nullptr;
    }
    return std::unique_ptr<HtmlHelpBook>(new HtmlHelpBook(path, root, std::move(project)));
}

HtmlHelpBook::HtmlHelpBook(QString path, QString root, HelpProject project)
    : m_path(std::move(path)), m_root(std::move(root)), m_project(std::move(project))
{
    m_contents = new QStandardItemModel(this);
    addSections(m_contents->invisibleRootItem(), m_project.contents(),
                [this](const QString& ref) { return urlOf(ref); });
    QStringList keywords;
    for (const HelpProject::Keyword& keyword : m_project.keywords()) {
        if (!keyword.name.isEmpty()) {
            if (!m_keywordRefs.contains(keyword.name))
                keywords.append(keyword.name);
            m_keywordRefs.insert(keyword.name, keyword.ref);
        }
        bool ok = false;
        const int topic = keyword.id.toInt(&ok);
        if (ok)
            m_topicRefs.insert(topic, keyword.ref);
    }
    keywords.sort(Qt::CaseInsensitive);
    m_index = new QStringListModel(keywords, this);
}

HtmlHelpBook::~HtmlHelpBook()
{
    QResource::unregisterResource(m_path, m_root);
}

QUrl HtmlHelpBook::urlOf(const QString& ref) const
{
    QUrl url;
    url.setScheme(QStringLiteral("qthelp"));
    url.setHost(m_project.nameSpace());
    const qsizetype hash = ref.indexOf(QLatin1Char('#'));
    url.setPath(QLatin1Char('/') + m_project.virtualFolder() + QLatin1Char('/') +
                (hash < 0 ? ref : ref.left(hash)));
    if (hash >= 0)
        url.setFragment(ref.mid(hash + 1));
    return url;
}

QString HtmlHelpBook::resourcePath(const QUrl& url) const
{
    if (url.scheme() != QLatin1String("qthelp") ||
        url.host().compare(m_project.nameSpace(), Qt::CaseInsensitive) != 0)
        return {};
    const QString prefix = QLatin1Char('/') + m_project.virtualFolder() + QLatin1Char('/');
    const QString path = QDir::cleanPath(url.path());
    if (!path.startsWith(prefix))
        return {};
    return QLatin1Char(':') + m_root + QLatin1Char('/') + path.mid(prefix.size());
}

QUrl HtmlHelpBook::homePage() const
{
    const QString index = QStringLiteral("index.html");
    if (m_project.files().contains(index))
        return urlOf(index);
    return m_project.contents().empty() ? QUrl() : urlOf(m_project.contents().front().ref);
}

QUrl HtmlHelpBook::topicUrl(int topic) const
{
    const auto found = m_topicRefs.constFind(topic);
    if (found == m_topicRefs.constEnd())
        return {};
    return pageUrl(*found);
}

QUrl HtmlHelpBook::pageUrl(const QString& page) const
{
    const QUrl url = urlOf(page);
    const QString file = resourcePath(url);
    return !file.isEmpty() && QFileInfo(file).isFile() ? url : QUrl();
}

QByteArray HtmlHelpBook::fileData(const QUrl& url) const
{
    const QString path = resourcePath(url);
    if (path.isEmpty())
        return {};
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QAbstractItemModel* HtmlHelpBook::contentsModel()
{
    return m_contents;
}

QUrl HtmlHelpBook::contentsUrl(const QModelIndex& index) const
{
    return index.data(UrlRole).toUrl();
}

QAbstractItemModel* HtmlHelpBook::indexModel()
{
    return m_index;
}

QList<QUrl> HtmlHelpBook::keywordUrls(const QString& keyword) const
{
    QList<QUrl> urls;
    QStringList refs = m_keywordRefs.values(keyword);
    std::reverse(refs.begin(), refs.end()); // in the project's order
    for (const QString& ref : refs) {
        const QUrl url = pageUrl(ref);
        if (url.isValid() && !urls.contains(url))
            urls.append(url);
    }
    return urls;
}

const QHash<QString, HtmlHelpBook::PageText>& HtmlHelpBook::pageTexts() const
{
    if (m_pageTexts.isEmpty()) {
        for (const QString& file : m_project.files()) {
            if (!file.endsWith(QLatin1String(".html")))
                continue;
            QTextDocument document;
            document.setHtml(QString::fromUtf8(fileData(urlOf(file))));
            m_pageTexts.insert(file, {document.metaInformation(QTextDocument::DocumentTitle),
                                      document.toPlainText()});
        }
    }
    return m_pageTexts;
}

QList<HelpSearchHit> HtmlHelpBook::findPages(const QString& words) const
{
    const QStringList wanted = words.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (wanted.isEmpty())
        return {};
    struct Scored {
        qsizetype score;
        HelpSearchHit hit;
    };
    std::vector<Scored> found;
    const auto& texts = pageTexts();
    for (auto page = texts.constBegin(); page != texts.constEnd(); ++page) {
        qsizetype score = 0;
        bool all = true;
        for (const QString& word : wanted) {
            const qsizetype count = page->text.count(word, Qt::CaseInsensitive);
            all = all && count > 0;
            score += count + 10 * page->title.count(word, Qt::CaseInsensitive);
        }
        if (all)
            found.push_back(
                {score, {urlOf(page.key()), page->title, snippetAround(page->text, wanted)}});
    }
    std::sort(found.begin(), found.end(), [](const Scored& a, const Scored& b) {
        return a.score != b.score ? a.score > b.score : a.hit.title < b.hit.title;
    });
    QList<HelpSearchHit> hits;
    for (Scored& entry : found)
        hits.append(std::move(entry.hit));
    return hits;
}

void HtmlHelpBook::search(const QString& words)
{
    Q_EMIT searchFinished(words, findPages(words));
}
