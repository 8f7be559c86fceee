#include "app/Translations.h"
#include "link/CCOMChooseDlg.h"
#include "link/Exchange.h"
#include "link/PortOpenFailure.h"
#include "tests/support/FakePortEnumerator.h"

#include <QCoreApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>

#include <gtest/gtest.h>

namespace {

// Translators live for the whole process once installed; each test takes its
// own away again so that the rest of the suite reads the program's texts.
class TranslationsFixture : public ::testing::Test {
protected:
    void TearDown() override
    {
        const auto translators = QCoreApplication::instance()->findChildren<QTranslator*>();
        qDeleteAll(translators);
    }

    static QString exitCaption()
    {
        FakePortEnumerator ports;
        CCOMChooseDlg dialog(ports, [](const QString&, int) {});
        for (const QPushButton* button : dialog.findChildren<QPushButton*>())
            if (button->isVisibleTo(&dialog))
                return button->text();
        return {};
    }
};

} // namespace

#ifdef HARVANE_TEST_TRANSLATIONS_DIR
TEST_F(TranslationsFixture, AFileForTheUsersLanguageTranslatesDialogsCoreMessagesAndFreeTexts)
{
    const QStringList folders{QStringLiteral("/nonexistent/harvane"),
                              QStringLiteral(HARVANE_TEST_TRANSLATIONS_DIR)};
    ASSERT_GE(Translations::install(*QCoreApplication::instance(), folders,
                                    QLocale(QLocale::German, QLocale::Austria)),
              1);
    EXPECT_EQ(exitCaption(), QStringLiteral("Beenden"));
    EXPECT_EQ(Exchange::noCommunicationMessage(DeviceKind::Logger),
              QStringLiteral("Keine Verbindung, bitte die Verbindung zum Logger prüfen!"));
    EXPECT_TRUE(portOpenFailureMessage(false).startsWith(QStringLiteral("Fehler:")));
    // A text the file does not hold stays the program's own.
    EXPECT_EQ(Exchange::noCommunicationMessage(DeviceKind::BaseStation),
              QStringLiteral("No communication, please check connection to base station!"));
}

TEST_F(TranslationsFixture, WithoutAFileForTheLanguageTheTextsStayTheProgramsOwn)
{
    EXPECT_EQ(Translations::install(*QCoreApplication::instance(),
                                    {QStringLiteral(HARVANE_TEST_TRANSLATIONS_DIR)},
                                    QLocale(QLocale::French, QLocale::France)),
              0);
    EXPECT_TRUE(QCoreApplication::instance()->findChildren<QTranslator*>().isEmpty());
    EXPECT_EQ(exitCaption(), QStringLiteral("Exit"));
    EXPECT_EQ(Exchange::noCommunicationMessage(DeviceKind::Logger),
              QStringLiteral("No communication, please check connection to logger!"));
}
#endif

TEST(Translations, AreLookedForBesideTheProgramFirstThenInTheInstalledShareFolder)
{
    const QStringList folders = Translations::folders(QStringLiteral("/opt/harvane/bin"));
    ASSERT_EQ(folders.size(), 2);
    EXPECT_EQ(folders[0], QStringLiteral("/opt/harvane/bin/translations"));
    EXPECT_EQ(folders[1], QStringLiteral("/opt/harvane/share/harvane/translations"));
}
