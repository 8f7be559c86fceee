#include "app/RecentFileList.h"

#include <QSettings>

#include <gtest/gtest.h>

TEST(RecentFileList, KeepsTheLastFourMostRecentFirstAcrossRuns)
{
    QSettings(QString::fromLatin1(RecentFileList::Organization),
              QString::fromLatin1(RecentFileList::Application))
        .clear();
    {
        RecentFileList recent;
        EXPECT_TRUE(recent.entries().isEmpty());
        for (const char* file : {"/d/a.bin", "/d/b.bin", "/d/c.bin", "/d/d.bin", "/d/e.bin"})
            recent.add(QString::fromLatin1(file));
        EXPECT_EQ(recent.entries(), (QStringList{"/d/e.bin", "/d/d.bin", "/d/c.bin", "/d/b.bin"}));
        recent.add(QStringLiteral("/d/c.bin")); // used again: moves up, no duplicate
        EXPECT_EQ(recent.entries(), (QStringList{"/d/c.bin", "/d/e.bin", "/d/d.bin", "/d/b.bin"}));
    }
    RecentFileList nextRun;
    EXPECT_EQ(nextRun.entries(), (QStringList{"/d/c.bin", "/d/e.bin", "/d/d.bin", "/d/b.bin"}));
    nextRun.remove(QStringLiteral("/d/e.bin"));
    EXPECT_EQ(RecentFileList().entries(), (QStringList{"/d/c.bin", "/d/d.bin", "/d/b.bin"}));
}
