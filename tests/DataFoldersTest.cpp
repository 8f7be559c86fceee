#include "app/DataFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
struct EnvironmentGuard {
    QByteArray saved = qgetenv(DataFolders::EnvironmentVariable);
    ~EnvironmentGuard() { qputenv(DataFolders::EnvironmentVariable, saved); }
};
} // namespace

TEST(DataFolders, RootIsChosenInOrderOfPrecedence)
{
    EnvironmentGuard guard;
    QTemporaryDir program;
    QTemporaryDir fromEnvironment;
    QTemporaryDir explicitRoot;
    ASSERT_TRUE(program.isValid() && fromEnvironment.isValid() && explicitRoot.isValid());

    qunsetenv(DataFolders::EnvironmentVariable);
    EXPECT_EQ(DataFolders::resolve({}, program.path()).root(), QDir(program.path()).absolutePath());

    qputenv(DataFolders::EnvironmentVariable, fromEnvironment.path().toLocal8Bit());
    EXPECT_EQ(DataFolders::resolve({}, program.path()).root(), fromEnvironment.path());
    EXPECT_EQ(DataFolders::resolve(explicitRoot.path(), program.path()).root(),
              explicitRoot.path());
}

TEST(DataFolders, AnUnwritableProgramFolderFallsBackToThePerUserFolder)
{
    EnvironmentGuard guard;
    qunsetenv(DataFolders::EnvironmentVariable);
    const QString unwritable = QStringLiteral("/proc/harvane-cannot-write-here");
    const DataFolders folders = DataFolders::resolve({}, unwritable);
    EXPECT_NE(folders.root(), unwritable);
    EXPECT_EQ(folders.root(), DataFolders::perUserFolder());
    EXPECT_TRUE(folders.root().endsWith(QStringLiteral("/Harvane")));
}

TEST(DataFolders, FoldersAreMadeOnFirstUse)
{
    QTemporaryDir root;
    const DataFolders folders(root.path());
    const QString readData = folders.folder(QStringLiteral("ReadData"));
    EXPECT_EQ(readData, root.path() + QStringLiteral("/ReadData"));
    EXPECT_TRUE(QFileInfo(readData).isDir());
    EXPECT_EQ(folders.folder(QStringLiteral("ReadData")), readData); // already there
    const DataFolders impossible(QStringLiteral("/proc/harvane-no"));
    EXPECT_TRUE(impossible.folder(QStringLiteral("ReadData")).isEmpty());
}

TEST(DataFolders, AnInstalledProgramNeverWritesBesideItself)
{
    EnvironmentGuard guard;
    qunsetenv(DataFolders::EnvironmentVariable);
    // /usr/bin can be written by root; it is still no place for reports.
    for (const char* folder : {"/usr/bin", "/usr/local/bin"}) {
        EXPECT_TRUE(DataFolders::isInstalledLocation(QString::fromLatin1(folder))) << folder;
        EXPECT_EQ(DataFolders::resolve({}, QString::fromLatin1(folder)).root(),
                  DataFolders::perUserFolder())
            << folder;
    }
    // A copy unpacked anywhere else is portable and keeps its data with it.
    QTemporaryDir portable;
    EXPECT_FALSE(DataFolders::isInstalledLocation(portable.path()));
    EXPECT_EQ(DataFolders::resolve({}, portable.path()).root(),
              QDir(portable.path()).absolutePath());
}
