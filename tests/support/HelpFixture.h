#pragma once

#include "app/HelpBackend.h"
#include "app/HelpFiles.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

// The two kinds of help file the program can read.
enum class HelpKind { QtHelp, PlainHtml };

inline const char* helpKindName(HelpKind kind)
{
    return kind == HelpKind::QtHelp ? "QtHelp" : "PlainHtml";
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
