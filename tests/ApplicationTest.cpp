#include "app/CMainFrame.h"
#include "app/CVelmoraApp.h"
#include "app/CVelmoraDoc.h"
#include "app/DataFolders.h"
#include "data/DataFile.h"
#include "tests/support/StreamBuilder.h"

#include <QApplication>
#include <QComboBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(CVelmoraApp, StartsWithTheDataFileNamedOnTheCommandLineAndTheDemoPorts)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Cow3.bin"));
    ASSERT_TRUE(DataFile::save(
        path, StreamBuilder().timestamp(0, 0, 6, 1, 2, 25).record(9856, 5120, 1, 2, 3).document()));

    CVelmoraApp app;
    ASSERT_TRUE(app.initInstance({QStringLiteral("harvane"), QStringLiteral("--demo"),
                                  QStringLiteral("--data-dir"), dir.path(), path}));
    ASSERT_NE(app.mainFrame(), nullptr);
    EXPECT_EQ(app.folders().root(), dir.path());
    EXPECT_TRUE(app.demoMode());
    QApplication::processEvents(); // the file opens once the window is up
    EXPECT_TRUE(app.mainFrame()->document().hasData());
    EXPECT_EQ(app.mainFrame()->windowTitle(), QStringLiteral("Cow3.bin - Harvane"));
    QComboBox* ports = app.mainFrame()->portList();
    EXPECT_GE(ports->findText(QStringLiteral("sim:logger")), 0);
    EXPECT_GE(ports->findText(QStringLiteral("sim:base")), 0);
    EXPECT_FALSE(app.mainFrame()->isPortOpen());
    EXPECT_FALSE(app.mainFrame()->expertMode());
}
