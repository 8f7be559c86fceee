#pragma once

#include "app/HelpBackend.h"
#include "app/HelpFiles.h"
#include "app/HelpPopup.h"
#include "app/HelpSystem.h"
#include "app/HelpWindow.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

// The two kinds of help file the program can read.
enum class HelpKind { QtHelp, PlainHtml };

inline const char* helpKindName(HelpKind kind)
{
    return kind == HelpKind::QtHelp ? "QtHelp" : "PlainHtml";
}

inline void PrintTo(HelpKind kind, std::ostream* os)
{
    *os << helpKindName(kind);
}

// The test name of a kind, for parameterised suites.
inline std::string helpKindParamName(const ::testing::TestParamInfo<HelpKind>& info)
{
    return helpKindName(info.param);
}

// How many help windows there are: the program keeps one.
inline int helpWindowCount()
{
    int windows = 0;
    for (const QWidget* top : QApplication::topLevelWidgets())
        windows += qobject_cast<const HelpWindow*>(top) != nullptr ? 1 : 0;
    return windows;
}

// The kinds this build can read: plain HTML always, Qt Help where it was found.
inline std::vector<HelpKind> availableHelpKinds()
{
    std::vector<HelpKind> kinds{HelpKind::PlainHtml};
    if (HelpBackend::hasQtHelp())
        kinds.insert(kinds.begin(), HelpKind::QtHelp);
    return kinds;
}

inline HelpBackend helpBackend(HelpKind kind)
{
    return kind == HelpKind::QtHelp ? HelpBackend::qtHelp() : HelpBackend::plainHtml();
}

// Which of the three help files a program folder holds.
struct HelpLayout {
    bool program = true; // Zorvath in the program's folder
    bool hlp = true;     // Zorvath in its "hlp" folder
    bool main = true;    // the main help, named like the program ("harvane")
};

// A scratch program folder with the help files the build wrote, laid out as
// a test asks; the main help is named after a program called "harvane".
class HelpFolder {
public:
    static QString builtFolder() { return QStringLiteral(HARVANE_HELP_BUILD_DIR); }
    static QString sourceFolder() { return QStringLiteral(HARVANE_HELP_SOURCE_DIR); }

    explicit HelpFolder(HelpKind kind, HelpLayout layout = {}) : m_kind(kind)
    {
        const QString ext = extension();
        if (layout.program)
            place(QStringLiteral("Zorvath") + ext, QString());
        if (layout.hlp)
            place(QStringLiteral("Zorvath") + ext, QStringLiteral("hlp"));
        if (layout.main)
            place(QStringLiteral("harvane") + ext, QString());
    }

    [[nodiscard]] HelpKind kind() const { return m_kind; }
    [[nodiscard]] QString path() const { return m_dir.path(); }
    [[nodiscard]] HelpFiles files() const
    {
        return HelpFiles(m_dir.path(), QStringLiteral("harvane"));
    }
    [[nodiscard]] HelpBackend backend() const { return helpBackend(m_kind); }
    [[nodiscard]] QString extension() const
    {
        return m_kind == HelpKind::QtHelp ? QStringLiteral(".qhc") : QStringLiteral(".rcc");
    }
    [[nodiscard]] QString filePath(const QString& relative) const
    {
        return QDir(m_dir.path()).filePath(relative);
    }

private:
    // `name` in `subfolder`, a copy of the built Zorvath file; a collection
    // gets the compressed help it registers beside it.
    void place(const QString& name, const QString& subfolder)
    {
        const QDir built(builtFolder());
        QDir target(m_dir.path());
        if (!subfolder.isEmpty()) {
            ASSERT_TRUE(target.mkpath(subfolder));
            target.cd(subfolder);
        }
        const QString source = built.filePath(QStringLiteral("Zorvath") + extension());
        ASSERT_TRUE(QFile::copy(source, target.filePath(name))) << source.toStdString();
        if (m_kind == HelpKind::QtHelp && !target.exists(QStringLiteral("Zorvath.qch"))) {
            ASSERT_TRUE(QFile::copy(built.filePath(QStringLiteral("Zorvath.qch")),
                                    target.filePath(QStringLiteral("Zorvath.qch"))));
        }
    }

    HelpKind m_kind;
    QTemporaryDir m_dir;
};

// One row of the shipped topic table (help/topics.tsv).
struct TopicRow {
    QString dialogClass;
    QString control;
    QStringList objectNames; // empty for the dialog's own row
    int number = 0;
    int f1Topic = 0;
    QString popupPage;
    int popupTopic = 0; // 0: no right-click text
    QString page;
    QString anchor;
};

inline std::vector<TopicRow> shippedTopics()
{
    std::vector<TopicRow> rows;
    QFile file(QDir(HelpFolder::sourceFolder()).filePath(QStringLiteral("topics.tsv")));
    if (!file.open(QIODevice::ReadOnly))
        return rows;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList cells = lines[i].split(QLatin1Char('\t'));
        if (cells.size() < 9)
            continue;
        TopicRow row;
        row.dialogClass = cells[0];
        row.control = cells[1];
        row.objectNames = cells[2].split(QLatin1Char(' '), Qt::SkipEmptyParts);
        row.number = cells[3].toInt();
        row.f1Topic = cells[4].toInt();
        row.popupPage = cells[5];
        row.popupTopic = cells[6].toInt();
        row.page = cells[7];
        row.anchor = cells[8].trimmed();
        rows.push_back(std::move(row));
    }
    return rows;
}

// What a right-click on a widget brought up.
struct RightClick {
    bool helpMenu = false; // the help's one-entry menu
    bool ownMenu = false;  // some other menu (a text field's own)
    QStringList entries;   // of the help menu
    QString popupText;     // shown after choosing the entry; empty when none
};

inline RightClick rightClick(HelpSystem& help, QWidget& widget)
{
    RightClick result;
    bool looked = false;
    // Runs inside the menu's own loop when a menu comes up, else just after.
    QTimer::singleShot(0, [&] {
        looked = true;
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr)
            return;
        if (menu->objectName() != QLatin1String("WhatsThisMenu")) {
            result.ownMenu = true;
            menu->close();
            return;
        }
        result.helpMenu = true;
        for (const QAction* action : menu->actions())
            result.entries.append(action->text());
        if (!menu->actions().isEmpty()) {
            menu->setActiveAction(menu->actions().constFirst());
            QTest::keyClick(menu, Qt::Key_Return);
        }
    });
    const QPoint at = widget.rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget.mapToGlobal(at));
    QApplication::sendEvent(&widget, &event);
    while (!looked)
        QCoreApplication::processEvents();
    if (HelpPopup* popup = help.popup()) {
        result.popupText = popup->text();
        popup->close();
    }
    QCoreApplication::processEvents();
    return result;
}
