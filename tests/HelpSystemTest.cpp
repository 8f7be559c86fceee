#include "app/HelpSystem.h"
#include "app/CMainFrame.h"
#include "app/ContextHelpMode.h"
#include "app/ContextHelpTable.h"
#include "app/HelpBook.h"
#include "app/HelpFiles.h"
#include "app/HelpPopup.h"
#include "app/HelpProject.h"
#include "app/HelpWindow.h"
#ifdef HARVANE_HAVE_QTHELP
#include "app/QtHelpBook.h"
#endif
#include "app/PopupTextPage.h"
#include "data/CDataExplorerWnd.h"
#include "data/CVelmoraView.h"
#include "tests/support/DialogBench.h"
#include "tests/support/HelpFixture.h"
#include "tests/support/MainFrameFixture.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QStringListModel>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include <map>

namespace {

QUrl helpUrl(const QString& pageAndAnchor)
{
    const qsizetype hash = pageAndAnchor.indexOf(QLatin1Char('#'));
    QUrl url(QStringLiteral("qthelp://org.harvane.help/doc/") +
             (hash < 0 ? pageAndAnchor : pageAndAnchor.left(hash)));
    if (hash >= 0)
        url.setFragment(pageAndAnchor.mid(hash + 1));
    return url;
}

// A help file made up by a test: the topics and pages it holds.
class FakeBook final : public HelpBook {
public:
    FakeBook(QString path, std::map<int, QString> topics)
        : m_path(std::move(path)), m_topics(std::move(topics))
    {
        m_contents.appendRow(new QStandardItem(QStringLiteral("Contents")));
    }

    [[nodiscard]] QString fileName() const override { return m_path; }
    [[nodiscard]] QUrl homePage() const override { return helpUrl(QStringLiteral("index.html")); }
    [[nodiscard]] QUrl topicUrl(int topic) const override
    {
        const auto found = m_topics.find(topic);
        return found == m_topics.end() ? QUrl() : helpUrl(found->second);
    }
    [[nodiscard]] QUrl pageUrl(const QString& page) const override { return helpUrl(page); }
    [[nodiscard]] QByteArray fileData(const QUrl& url) const override
    {
        return url.path().endsWith(QLatin1String(".txt"))
                   ? QByteArrayLiteral(".topic 1\nA made-up text.\n")
                   : QByteArrayLiteral("<html><body><p>A page.</p></body></html>");
    }
    [[nodiscard]] QAbstractItemModel* contentsModel() override { return &m_contents; }
    [[nodiscard]] QUrl contentsUrl(const QModelIndex&) const override { return homePage(); }
    [[nodiscard]] QAbstractItemModel* indexModel() override { return &m_index; }
    [[nodiscard]] QList<QUrl> keywordUrls(const QString&) const override { return {}; }
    void search(const QString& words) override { Q_EMIT searchFinished(words, {}); }

private:
    QString m_path;
    std::map<int, QString> m_topics;
    QStandardItemModel m_contents;
    QStringListModel m_index;
};

// A viewer made up by a test: which files exist (by their name in the
// program folder, "hlp/Zorvath.fake" for instance) with their topics, and
// what was asked of it.
struct FakeViewer {
    bool works = true;
    std::map<QString, std::map<int, QString>> files;
    int availabilityAsked = 0;
    QStringList opened;

    HelpBackend backend(const QString& folder)
    {
        return {QStringLiteral(".fake"),
                [this] {
                    ++availabilityAsked;
                    return works;
                },
                [this, folder](const QString& path) -> std::unique_ptr<HelpBook> {
                    const QString name = QDir(folder).relativeFilePath(path);
                    opened.append(name);
                    const auto found = files.find(name);
                    if (found == files.end())
                        return nullptr;
                    return std::make_unique<FakeBook>(path, found->second);
                }};
    }
};

QString shownFile(const HelpSystem& help)
{
    const HelpWindow* window = help.window();
    if (window == nullptr || !window->isVisible() || window->book() == nullptr)
        return {};
    return window->book()->fileName();
}

void pressF1In(QWidget& dialog, const char* focusedControl)
{
    QWidget* target = dialog.findChild<QWidget*>(QString::fromLatin1(focusedControl));
    ASSERT_NE(target, nullptr) << focusedControl;
    for (QWidget* up = target; up != &dialog; up = up->parentWidget())
        up->setEnabled(true);
    target->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(target, Qt::Key_F1);
}

} // namespace

// A right-click note goes under the button or field it explains, so that
// the control stays in sight; in a tall list, where the list was clicked.
TEST(HelpSystem, ANoteGoesUnderItsControlUnlessTheControlIsTall)
{
    QWidget window;
    auto* button = new QPushButton(QStringLiteral("Read Settings"), &window);
    button->setGeometry(10, 10, 120, 26);
    auto* list = new QListView(&window);
    list->setGeometry(10, 60, 300, 200);
    window.show();
    const QPoint onButton = button->mapToGlobal(QPoint(30, 8));
    EXPECT_EQ(HelpSystem::popupPlace(*button, onButton),
              QPoint(onButton.x(), button->mapToGlobal(QPoint(0, 26)).y()));
    const QPoint inList = list->mapToGlobal(QPoint(40, 50));
    EXPECT_EQ(HelpSystem::popupPlace(*list, inList), inList);
    const QPoint nearListEnd = list->mapToGlobal(QPoint(40, 195));
    EXPECT_EQ(HelpSystem::popupPlace(*list, nearListEnd),
              QPoint(nearListEnd.x(), list->mapToGlobal(QPoint(0, 200)).y()));
}

// The pages of right-click texts: ".topic N" starts a text, lines of a
// paragraph are joined, an empty line starts a paragraph, anything before
// the first topic or after a malformed marker belongs to no topic.
TEST(PopupTextPage, ReadsTopicsParagraphsAndIgnoresWhatIsNoTopic)
{
    const struct {
        const char* page;
        int topic;
        const char* text; // null: no such topic
    } cases[] = {
        {".topic 1\nOne line.\n", 1, "One line."},
        {".topic 1\r\nFirst half\r\nsecond half.\r\n", 1, "First half second half."},
        {".topic 2\nFirst.\n\nSecond.\n", 2, "First.\n\nSecond."},
        {"Stray words.\n.topic 3\nThree.\n", 3, "Three."},
        {".topic 1\nOne.\n.topic 2\nTwo.\n", 1, "One."},
        {".topic 1\nOne.\n.topic 2\nTwo.\n", 2, "Two."},
        {".topic 4\n\n\n", 4, nullptr},
        {".topicx 5\nNot a topic.\n", 5, nullptr},
        {".topic five\nNot a number.\n", 5, nullptr},
        {"", 1, nullptr},
        {".topic 7\n  Indented   text.  \n", 7, "Indented   text."},
        {".topic 1\nÜber die Grenze: 39,5 °C.\n", 1, "Über die Grenze: 39,5 °C."},
    };
    for (const auto& c : cases) {
        const std::optional<QString> text = PopupTextPage::parse(QByteArray(c.page)).text(c.topic);
        if (c.text == nullptr)
            EXPECT_FALSE(text.has_value()) << c.page;
        else
            EXPECT_EQ(text.value_or(QStringLiteral("<none>")), QString::fromUtf8(c.text)) << c.page;
    }
}

// The project file the plain-HTML viewer reads its contents, index and F1
// identifiers from.
TEST(HelpProject, ReadsContentsKeywordsAndFiles)
{
    const HelpProject project = HelpProject::parse(QByteArrayLiteral(R"(<?xml version="1.0"?>
<QtHelpProject version="1.0">
  <namespace>org.example.help</namespace>
  <virtualFolder>doc</virtualFolder>
  <filterSection>
    <toc>
      <section title="Start" ref="index.html">
        <section title="Inside" ref="a.html#b"/>
      </section>
    </toc>
    <keywords>
      <keyword name="Alpha" ref="a.html"/>
      <keyword name="Beta" id="394217" ref="a.html#b"/>
    </keywords>
    <files><file>index.html</file><file>a.html</file></files>
  </filterSection>
</QtHelpProject>)"));
    ASSERT_TRUE(project.isValid());
    EXPECT_EQ(project.nameSpace(), QStringLiteral("org.example.help"));
    EXPECT_EQ(project.virtualFolder(), QStringLiteral("doc"));
    ASSERT_EQ(project.contents().size(), 1U);
    EXPECT_EQ(project.contents().front().title, QStringLiteral("Start"));
    ASSERT_EQ(project.contents().front().children.size(), 1U);
    EXPECT_EQ(project.contents().front().children.front().ref, QStringLiteral("a.html#b"));
    ASSERT_EQ(project.keywords().size(), 2U);
    EXPECT_TRUE(project.keywords()[0].id.isEmpty());
    EXPECT_EQ(project.keywords()[1].id, QStringLiteral("394217"));
    EXPECT_EQ(project.files(),
              (QStringList{QStringLiteral("index.html"), QStringLiteral("a.html")}));

    for (const char* notAProject : {"", "<html/>", "<QtHelpProject><namespace>x</namespace>"})
        EXPECT_FALSE(HelpProject::parse(QByteArray(notAProject)).isValid()) << notAProject;
}

// A viewer that cannot work here is asked once; after that no request opens
// a file, a window, a menu or a message.
TEST(HelpSystem, AViewerThatCannotBeLoadedIsRememberedAndHelpThenDoesNothing)
{
    QTemporaryDir folder;
    FakeViewer viewer;
    viewer.works = false;
    viewer.files[QStringLiteral("Zorvath.fake")] = {{394217, QStringLiteral("port-choice.html")}};
    viewer.files[QStringLiteral("harvane.fake")] = viewer.files[QStringLiteral("Zorvath.fake")];
    HelpSystem help(HelpFiles(folder.path(), QStringLiteral("harvane")),
                    viewer.backend(folder.path()));
    DialogBench bench;
    std::unique_ptr<QDialog> dialog = bench.make(QStringLiteral("CCOMChooseDlg"));
    dialog->show();

    for (int attempt = 0; attempt < 3; ++attempt) {
        EXPECT_FALSE(help.showContents());
        EXPECT_FALSE(help.showMainPage(QStringLiteral("main-window.html")));
        EXPECT_FALSE(help.showTopic(HelpFileKind::Program, 394217));
        EXPECT_FALSE(help.popupText(QStringLiteral("ContextSensHelpChooseComDlg.txt"), 1));
        pressF1In(*dialog, "ExitButton");
        EXPECT_FALSE(
            rightClick(help, *dialog->findChild<QWidget*>(QStringLiteral("ExitButton"))).helpMenu);
    }
    EXPECT_TRUE(help.viewerFailed());
    EXPECT_EQ(viewer.availabilityAsked, 1);
    EXPECT_TRUE(viewer.opened.isEmpty());
    EXPECT_EQ(help.window(), nullptr);
    EXPECT_TRUE(bench.prompts.messages().isEmpty());
}

// A help file that is missing or cannot be read is tried once a run; the
// main help, opened once, answers for it.
TEST(HelpSystem, AFileThatCannotBeOpenedIsTriedOnce)
{
    QTemporaryDir folder;
    FakeViewer viewer;
    viewer.files[QStringLiteral("harvane.fake")] = {
        {395119, QStringLiteral("base-revision.html#exit")}};
    HelpSystem help(HelpFiles(folder.path(), QStringLiteral("harvane")),
                    viewer.backend(folder.path()));
    DialogBench bench;
    std::unique_ptr<QDialog> revision = bench.make(QStringLiteral("COmbrelRepReadBaseRevDlg"));
    revision->show();
    for (int attempt = 0; attempt < 3; ++attempt) {
        pressF1In(*revision, "ExitButton");
        EXPECT_EQ(help.window()->currentUrl(), helpUrl(QStringLiteral("base-revision.html#exit")));
        EXPECT_FALSE(help.popupText(QStringLiteral("ContextSensHelpStgsViaBaseDlg.txt"), 3));
    }
    EXPECT_EQ(viewer.opened,
              (QStringList{QStringLiteral("hlp/Zorvath.fake"), QStringLiteral("harvane.fake"),
                           QStringLiteral("Zorvath.fake")}));
    EXPECT_EQ(help.openAttempts(), 3);
    EXPECT_FALSE(help.viewerFailed());
}

// When the dialog's file lacks the topic, the main help answers: at the same
// topic where it holds it, else at the main window's page.
TEST(HelpSystem, ATopicTheFileLacksFallsBackToTheMainHelp)
{
    QTemporaryDir folder;
    const struct {
        std::map<int, QString> program;
        std::map<int, QString> main;
        const char* shownFile;
        const char* shownPage;
    } cases[] = {
        {{{394717, "read-data.html#exit"}}, {}, "Zorvath.fake", "read-data.html#exit"},
        {{}, {{394717, "read-data.html#exit"}}, "harvane.fake", "read-data.html#exit"},
        {{{394719, "read-data.html#read"}}, {}, "harvane.fake", "main-window.html"},
        {{}, {}, "harvane.fake", "main-window.html"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shownPage);
        FakeViewer viewer;
        viewer.files[QStringLiteral("Zorvath.fake")] = c.program;
        viewer.files[QStringLiteral("harvane.fake")] = c.main;
        HelpSystem help(HelpFiles(folder.path(), QStringLiteral("harvane")),
                        viewer.backend(folder.path()));
        DialogBench bench;
        std::unique_ptr<QDialog> read = bench.make(QStringLiteral("COmbrelRepeaterDataReadDlg"));
        read->show();
        pressF1In(*read, "ExitButton");
        EXPECT_EQ(QFileInfo(shownFile(help)).fileName(), QString::fromLatin1(c.shownFile));
        EXPECT_EQ(help.window()->currentUrl(), helpUrl(QString::fromLatin1(c.shownPage)));
    }
}

// The real help files, of each kind the program reads, laid out in the
// program folder in the ways an installation can leave them.
class HelpFiles_ : public ::testing::TestWithParam<HelpKind> {};

// F1 in a dialog reads the dialog's own file ("hlp" for the two base
// dialogs that look there); without it, the main help opens, at the same
// topic; without that too, nothing happens and nothing is said.
TEST_P(HelpFiles_, F1FallsBackToTheMainHelpWhenTheDialogsFileIsMissing)
{
    const struct {
        HelpLayout layout;
        const char* dialogClass;
        const char* control;
        const char* file; // relative to the program folder; empty: nothing shown
        const char* page;
    } cases[] = {
        {{true, true, true},
         "COmbrelRepReadBaseRevDlg",
         "ExitButton",
         "hlp/Zorvath",
         "base-revision.html#exit"},
        {{true, false, true},
         "COmbrelRepReadBaseRevDlg",
         "ExitButton",
         "harvane",
         "base-revision.html#exit"},
        {{true, false, true},
         "COmbrelRepGetSetgsViaBaseDlg",
         "LoggerTime",
         "harvane",
         "base-read-settings.html#current-logger-time"},
        {{true, true, true},
         "COmbrelRepeaterDataReadDlg",
         "ReadDataButton",
         "Zorvath",
         "read-data.html#read-data"},
        {{false, true, true},
         "COmbrelRepeaterDataReadDlg",
         "ReadDataButton",
         "harvane",
         "read-data.html#read-data"},
        {{true, true, false},
         "COmbrelRepeaterDataReadDlg",
         "ReadDataButton",
         "Zorvath",
         "read-data.html#read-data"},
        {{true, false, false}, "COmbrelRepReadBaseRevDlg", "ExitButton", "", ""},
        {{false, false, false}, "CCOMChooseDlg", "PortChoice", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.dialogClass) + " " + c.file);
        HelpFolder folder(GetParam(), c.layout);
        HelpSystem help(folder.files(), folder.backend());
        DialogBench bench;
        std::unique_ptr<QDialog> dialog = bench.make(QString::fromLatin1(c.dialogClass));
        dialog->show();
        pressF1In(*dialog, c.control);
        if (*c.file == '\0') {
            EXPECT_EQ(help.window(), nullptr);
        } else {
            EXPECT_EQ(shownFile(help),
                      folder.filePath(QString::fromLatin1(c.file) + folder.extension()));
            EXPECT_EQ(help.window()->currentUrl(), helpUrl(QString::fromLatin1(c.page)));
        }
        EXPECT_TRUE(bench.prompts.messages().isEmpty());
        EXPECT_FALSE(help.viewerFailed());
    }
}

// A file that is there but is no help file of this kind is as good as
// missing: no popup text, no window, and it is not read again.
TEST_P(HelpFiles_, AnUnreadableFileGivesNoHelpAndIsNotReadAgain)
{
    HelpFolder folder(GetParam(), {false, false, false});
    for (const QString& name : {QStringLiteral("Zorvath"), QStringLiteral("harvane")}) {
        QFile file(folder.filePath(name + folder.extension()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("This is no help file.\n");
    }
    HelpSystem help(folder.files(), folder.backend());
    for (int attempt = 0; attempt < 3; ++attempt) {
        EXPECT_FALSE(help.popupText(QStringLiteral("ContextSensHelpReadDlg.txt"), 1).has_value());
        EXPECT_FALSE(help.showContents());
        EXPECT_FALSE(help.showTopic(HelpFileKind::Program, 394717));
    }
    EXPECT_EQ(help.openAttempts(), 2);
    EXPECT_EQ(help.window(), nullptr);
}

// The help window: contents that follow the page shown, the index, the
// search, Back, Forward and Home.
TEST_P(HelpFiles_, TheWindowFindsPagesByContentsIndexAndSearch)
{
    HelpFolder folder(GetParam());
    HelpSystem help(folder.files(), folder.backend());
    ASSERT_TRUE(help.showContents());
    HelpWindow* window = help.window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->currentUrl(), helpUrl(QStringLiteral("index.html")));
    EXPECT_EQ(window->tabs()->currentIndex(), 0);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Harvane Help"));
    QAbstractItemModel* contents = window->contentsView()->model();
    ASSERT_NE(contents, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return contents->rowCount() > 0; }, 5000));

    // The contents follow the page shown, however deep it lies.
    const struct {
        const char* page;
        const char* entry;
    } entries[] = {
        {"data-explorer.html", "The Data Explorer"},
        {"logger-settings.html#surveillance", "Surveillance"},
        {"erase-memory.html#exit", "Erase memory"},
        {"messages.html", "Messages from A to Z"},
    };
    for (const auto& e : entries) {
        ASSERT_TRUE(help.showMainPage(QString::fromLatin1(e.page)));
        EXPECT_EQ(window->contentsView()->currentIndex().data().toString(),
                  QString::fromLatin1(e.entry))
            << e.page;
        EXPECT_TRUE(window->windowTitle().endsWith(QLatin1String(" - Harvane Help")))
            << window->windowTitle().toStdString();
    }

    // Back, Forward, Home.
    EXPECT_TRUE(window->backAction()->isEnabled());
    window->backAction()->trigger();
    EXPECT_EQ(window->currentUrl(), helpUrl(QStringLiteral("erase-memory.html#exit")));
    EXPECT_TRUE(window->forwardAction()->isEnabled());
    window->forwardAction()->trigger();
    EXPECT_EQ(window->currentUrl(), helpUrl(QStringLiteral("messages.html")));
    window->homeAction()->trigger();
    EXPECT_EQ(window->currentUrl(), helpUrl(QStringLiteral("index.html")));

    // Choosing a contents entry opens its page.
    help.showMainPage(QStringLiteral("data-explorer.html"));
    const QModelIndex entry = window->contentsView()->currentIndex();
    help.showMainPage(QStringLiteral("index.html"));
    ASSERT_TRUE(entry.isValid());
    Q_EMIT window->contentsView()->activated(entry);
    EXPECT_EQ(window->currentUrl(), helpUrl(QStringLiteral("data-explorer.html")));

    // The index: typing narrows it; Enter opens the best entry. Choosing
    // its tab is enough to type.
    window->show();
    QApplication::setActiveWindow(window);
    window->tabs()->setCurrentIndex(1);
    EXPECT_TRUE(window->indexFilter()->hasFocus());
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return window->indexView()->model()->rowCount() > 0; }, 5000));
    QTest::keyClicks(window->indexFilter(), QStringLiteral("fever episodes"));
    ASSERT_GT(window->indexView()->model()->rowCount(), 0);
    QTest::keyClick(window->indexFilter(), Qt::Key_Return);
    EXPECT_EQ(window->currentUrl(), helpUrl(QStringLiteral("data-explorer.html#fever")));

    // The search: the page that explains a message is found by its words.
    window->tabs()->setCurrentIndex(2);
    EXPECT_TRUE(window->searchField()->hasFocus());
    window->search(QStringLiteral("erase whole memory"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return window->searchResults()->toHtml().contains(QLatin1String("erase-memory.html"));
        },
        20000))
        << window->searchResults()->toPlainText().toStdString();
    window->search(QStringLiteral("zqxwvk"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return window->searchResults()->toPlainText().startsWith(
                QLatin1String("No page holds"));
        },
        20000))
        << window->searchResults()->toPlainText().toStdString();
}

// Every page and anchor the program asks the main help for (each command,
// each part of the main window, each window with a page) is in it.
TEST_P(HelpFiles_, EveryPageTheProgramAsksForIsInTheMainHelp)
{
    HelpFolder folder(GetParam());
    HelpSystem help(folder.files(), folder.backend());
    QStringList pages;
    for (std::size_t i = 0; i < MainCommandCount; ++i)
        pages.append(ContextHelpTable::commandPage(static_cast<MainCommand>(i)));
    for (const char* part : {"RecordPane", "HeartRatePane", "PortList", "PortToolBar",
                             "StandardToolBar", "ExpertToolBar", "PortPane", "StatusBar"})
        pages.append(ContextHelpTable::partPage(QString::fromLatin1(part)));
    for (const PageHelpEntry& window : ContextHelpTable::windows())
        pages.append(QString::fromLatin1(window.page));
    for (const QString& page : pages) {
        SCOPED_TRACE(page.toStdString());
        ASSERT_FALSE(page.isEmpty());
        ASSERT_TRUE(help.showMainPage(page));
        const QUrl url = help.window()->currentUrl();
        EXPECT_EQ(url, helpUrl(page));
        if (!url.fragment().isEmpty()) {
            const QByteArray html = help.window()->book()->fileData(url);
            EXPECT_TRUE(html.contains("name=\"" + url.fragment().toUtf8() + '"'));
        }
    }
    EXPECT_TRUE(ContextHelpTable::partPage(QStringLiteral("PaneSplitter")).isEmpty());
    EXPECT_FALSE(help.showMainPage(QStringLiteral("no-such-page.html")));
}

INSTANTIATE_TEST_SUITE_P(Kinds, HelpFiles_, ::testing::ValuesIn(availableHelpKinds()),
                         helpKindParamName);

// The main window with the help files beside it.
struct MainWindowHelp : MainFrameFixture, ::testing::WithParamInterface<HelpKind> {
    HelpFolder folder{GetParam()};

    MainWindowHelp()
    {
        helpFiles = folder.files();
        helpBackend = folder.backend();
    }

    [[nodiscard]] QUrl shownUrl()
    {
        HelpWindow* window = frame().help().window();
        return window != nullptr && window->isVisible() ? window->currentUrl() : QUrl();
    }

    QToolButton* toolButtonOf(MainCommand command)
    {
        for (QToolBar* bar : frame().findChildren<QToolBar*>()) {
            if (auto* button =
                    qobject_cast<QToolButton*>(bar->widgetForAction(frame().command(command))))
                return button;
        }
        return nullptr;
    }
};

// "&Help Topics" opens the main help's contents; F1 in the main window its
// page; the idle status bar says how to get there.
TEST_P(MainWindowHelp, HelpTopicsAndF1OpenTheMainHelp)
{
    frame().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame()));
    bool idle = false;
    for (const QLabel* label : frame().statusBar()->findChildren<QLabel*>())
        idle = idle || label->text() == QLatin1String("For Help, press F1");
    EXPECT_TRUE(idle);

    frame().command(MainCommand::HelpTopics)->trigger();
    EXPECT_EQ(shownUrl(), helpUrl(QStringLiteral("index.html")));
    EXPECT_EQ(frame().help().window()->book()->fileName(),
              folder.filePath(QStringLiteral("harvane") + folder.extension()));
    EXPECT_EQ(frame().help().window()->tabs()->currentIndex(), 0);

    QApplication::setActiveWindow(&frame());
    frame().leftPane()->setFocus();
    QTest::keyClick(frame().leftPane(), Qt::Key_F1);
    EXPECT_EQ(shownUrl(), helpUrl(QStringLiteral("main-window.html")));
    EXPECT_TRUE(prompts.messages().isEmpty());
}

// Shift+F1 or "?": the status bar asks for an object and the next click
// explains what it lands on instead of doing it.
TEST_P(MainWindowHelp, ContextModeExplainsWhatTheNextClickLandsOn)
{
    frame().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame()));
    const struct {
        const char* what;
        std::function<void(MainWindowHelp&)> click;
        const char* page;
    } cases[] = {
        {"Logger Settings button",
         [](MainWindowHelp& t) {
             QTest::mouseClick(t.toolButtonOf(MainCommand::LoggerSettings), Qt::LeftButton);
         },
         "logger-settings.html"},
        {"Read Data button",
         [](MainWindowHelp& t) {
             QTest::mouseClick(t.toolButtonOf(MainCommand::ReadData), Qt::LeftButton);
         },
         "read-data.html"},
        {"Save button",
         [](MainWindowHelp& t) {
             QTest::mouseClick(t.toolButtonOf(MainCommand::Save), Qt::LeftButton);
         },
         "data-files.html#saving"},
        {"the record pane",
         [](MainWindowHelp& t) {
             QTest::mouseClick(t.frame().leftPane()->viewport(), Qt::LeftButton);
         },
         "main-window.html#panes"},
        {"the status bar",
         [](MainWindowHelp& t) { QTest::mouseClick(t.frame().statusBar(), Qt::LeftButton); },
         "main-window.html#status-bar"},
        {"Logger > Erase Memory",
         [](MainWindowHelp& t) {
             QMenu* logger = nullptr;
             for (QAction* top : t.frame().menuBar()->actions()) {
                 if (top->text() == QLatin1String("Logger"))
                     logger = top->menu();
             }
             ASSERT_NE(logger, nullptr);
             logger->popup(QPoint(200, 200));
             ASSERT_TRUE(QTest::qWaitForWindowExposed(logger));
             const QRect entry =
                 logger->actionGeometry(t.frame().command(MainCommand::EraseMemory));
             QTest::mouseClick(logger, Qt::LeftButton, {}, entry.center());
             EXPECT_FALSE(logger->isVisible());
         },
         "erase-memory.html"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        frame().command(MainCommand::ContextHelp)->trigger();
        EXPECT_TRUE(frame().contextHelpMode().isActive());
        EXPECT_EQ(frame().statusBar()->currentMessage(),
                  QStringLiteral("Select an object on which to get Help"));
        c.click(*this);
        EXPECT_FALSE(frame().contextHelpMode().isActive());
        EXPECT_EQ(shownUrl(), helpUrl(QString::fromLatin1(c.page)));
        EXPECT_TRUE(frame().statusBar()->currentMessage().isEmpty());
        // The command itself did not run: without a port it would have said so.
        EXPECT_TRUE(prompts.messages().isEmpty());
        frame().help().closeWindow();
    }
}

// Esc leaves help mode without help, and the next click works as always.
TEST_P(MainWindowHelp, EscLeavesContextModeAndClicksWorkAgain)
{
    frame().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame()));
    QApplication::setActiveWindow(&frame());
    QTest::keyClick(&frame(), Qt::Key_F1, Qt::ShiftModifier);
    ASSERT_TRUE(frame().contextHelpMode().isActive());
    QTest::keyClick(frame().leftPane(), Qt::Key_Escape);
    EXPECT_FALSE(frame().contextHelpMode().isActive());
    EXPECT_TRUE(frame().statusBar()->currentMessage().isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    QTest::mouseClick(toolButtonOf(MainCommand::LoggerSettings), Qt::LeftButton);
    EXPECT_EQ(prompts.messages(), QStringList{QStringLiteral("Please choose a COM port first!")});
    EXPECT_EQ(frame().help().window(), nullptr);
}

// F1 on an open menu explains the highlighted command, not the window.
TEST_P(MainWindowHelp, F1InAMenuExplainsTheHighlightedCommand)
{
    frame().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame()));
    QMenu* base = nullptr;
    for (QAction* top : frame().menuBar()->actions()) {
        if (top->text() == QLatin1String("Base Station"))
            base = top->menu();
    }
    ASSERT_NE(base, nullptr);
    base->popup(QPoint(300, 200));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(base));
    base->setActiveAction(frame().command(MainCommand::BaseRevision));
    QTest::keyClick(base, Qt::Key_F1);
    EXPECT_EQ(shownUrl(), helpUrl(QStringLiteral("base-revision.html")));
    EXPECT_FALSE(base->isVisible());
    EXPECT_TRUE(prompts.messages().isEmpty());
}

// F1 in the Data Explorer opens its page of the main help.
TEST_P(MainWindowHelp, F1InTheDataExplorerOpensItsPage)
{
    frame().showDataExplorer();
    auto* explorer = frame().findChild<CDataExplorerWnd*>();
    ASSERT_NE(explorer, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(explorer));
    QWidget* plot = explorer->findChild<QWidget*>(QStringLiteral("ExplorerPlot"));
    ASSERT_NE(plot, nullptr);
    QTest::keyClick(plot, Qt::Key_F1);
    EXPECT_EQ(shownUrl(), helpUrl(QStringLiteral("data-explorer.html")));
    EXPECT_EQ(frame().help().window()->book()->fileName(),
              folder.filePath(QStringLiteral("harvane") + folder.extension()));
}

// F1 in a dialog that the main window opened shows the help beside the
// dialog, usable while the dialog waits; the same one window every time.
TEST_P(MainWindowHelp, HelpOfAnOpenDialogCanBeUsedWhileTheDialogIsOpen)
{
    frame().show();
    frame().choosePort(QStringLiteral("sim:logger"));
    bool opened = false;
    QUrl fromDialog;
    QUrl afterHome;
    whenModalOpens<QDialog>(
        [&](QDialog& dialog) {
            pressF1In(dialog, "EraseButton");
            fromDialog = shownUrl();
            HelpWindow* window = frame().help().window();
            if (window != nullptr) {
                // A click in the help window reaches it: the dialog does not
                // block it. (Sent as the window system would, through the
                // window, where blocked windows lose their clicks.)
                const QWidget* home = window->findChild<QToolBar*>(QStringLiteral("HelpToolBar"))
                                          ->widgetForAction(window->homeAction());
                QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                                  home->mapTo(window, home->rect().center()));
                afterHome = window->currentUrl();
            }
            dialog.reject();
        },
        &opened);
    frame().command(MainCommand::EraseMemory)->trigger();
    ASSERT_TRUE(opened);
    EXPECT_EQ(fromDialog, helpUrl(QStringLiteral("erase-memory.html#erase")));
    EXPECT_EQ(afterHome, helpUrl(QStringLiteral("index.html")));
    frame().command(MainCommand::HelpTopics)->trigger();
    EXPECT_EQ(helpWindowCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(Kinds, MainWindowHelp, ::testing::ValuesIn(availableHelpKinds()),
                         helpKindParamName);

TEST(HelpFiles, AnInstalledProgramReadsItsHelpFromTheShareFolderAPortableOneFromBesideIt)
{
    // The files themselves are named the same either way.
    EXPECT_EQ(HelpFiles::folderFor(QStringLiteral("/usr/bin")),
              QStringLiteral("/usr/share/harvane/help"));
    EXPECT_EQ(HelpFiles::folderFor(QStringLiteral("/usr/local/bin")),
              QStringLiteral("/usr/local/share/harvane/help"));
    QTemporaryDir portable;
    EXPECT_EQ(HelpFiles::folderFor(portable.path()), portable.path());
    const HelpFiles installed(HelpFiles::folderFor(QStringLiteral("/usr/bin")),
                              QStringLiteral("harvane"));
    EXPECT_EQ(installed.path(HelpFileKind::ProgramHlp, QStringLiteral(".qhc")),
              QStringLiteral("/usr/share/harvane/help/hlp/Zorvath.qhc"));
    EXPECT_EQ(installed.path(HelpFileKind::Main, QStringLiteral(".qhc")),
              QStringLiteral("/usr/share/harvane/help/harvane.qhc"));
}

#ifdef HARVANE_HAVE_QTHELP
TEST(HelpFiles, AnInstalledCollectionIsReadFromACopyInTheCacheEvenWhereItCouldBeWritten)
{
    // Qt Help writes its search index beside the collection it reads; for an
    // installed one that would leave files the package does not know of.
    QTemporaryDir root;
    const QDir installed(root.filePath(QStringLiteral("usr/share/harvane/help")));
    ASSERT_TRUE(QDir().mkpath(installed.path()));
    for (const QString& name : {QStringLiteral("Zorvath.qhc"), QStringLiteral("Zorvath.qch")}) {
        QFile file(installed.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("help");
    }
    const QString cache = root.filePath(QStringLiteral("cache"));
    const QString copy =
        QtHelpBook::workingCopy(installed.filePath(QStringLiteral("Zorvath.qhc")), cache);
    EXPECT_TRUE(copy.startsWith(cache)) << copy.toStdString();
    EXPECT_TRUE(QFileInfo::exists(QFileInfo(copy).dir().filePath(QStringLiteral("Zorvath.qch"))));
    // A build tree or a portable copy is used where it lies.
    const QDir portable(root.filePath(QStringLiteral("harvane-portable")));
    ASSERT_TRUE(QDir().mkpath(portable.path()));
    const QString own = portable.filePath(QStringLiteral("Zorvath.qhc"));
    EXPECT_EQ(QtHelpBook::workingCopy(own, cache), own);
}
#endif
