#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    // Test discovery runs this binary at build time, where there is no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    // Settings and per-user folders go to a scratch place, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
