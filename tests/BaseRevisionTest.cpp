#include "base/COmbrelRepReadBaseRevDlg.h"
#include "link/CommandCode.h"
#include "tests/support/BaseFixture.h"

#include <QLineEdit>
#include <QPushButton>

namespace {
const QString NoBase = QStringLiteral("No communication, please check connection to base station!");
}

struct BaseRevisionFixture : BaseFixture {
    COmbrelRepReadBaseRevDlg dialog{context()};
    void read() { dialog.readButton()->click(); }
};

TEST_F(BaseRevisionFixture, ShowsBothTextsUpToTheirZeroOrTheirEnd)
{
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Harvane - Read Base Station Revision"));
    EXPECT_TRUE(dialog.firmwareField()->text().isEmpty());
    base.setRevision("BS2a", "HWREV12345");
    bool busy = false;
    pump.after(150, [&] {
        busy = !dialog.readButton()->isEnabled() && !dialog.exitButton()->isEnabled() &&
               !dialog.okButton()->isEnabled();
    });
    read();
    EXPECT_TRUE(prompts.messages().isEmpty());
    EXPECT_TRUE(busy);
    EXPECT_EQ(dialog.firmwareField()->text(), QStringLiteral("BS2a"));
    EXPECT_EQ(dialog.hardwareField()->text(), QStringLiteral("HWREV12345"));
    EXPECT_TRUE(dialog.readButton()->isEnabled());
    EXPECT_TRUE(dialog.exitButton()->isEnabled());
    EXPECT_EQ(link.writes().back().bytes, (std::vector<std::uint8_t>{CommandCode::BaseRevision}));
}

TEST_F(BaseRevisionFixture, AShortReplyOrNoBaseStationChangesNothingButTheMessage)
{
    read();
    ASSERT_EQ(dialog.firmwareField()->text(), QStringLiteral("BS2.07"));
    base.setRevision("NEWFW", "NEWHW");
    base.faults().replyLimit = 19;
    read();
    EXPECT_EQ(prompts.messages(), QStringList{NoBase});
    EXPECT_EQ(dialog.firmwareField()->text(), QStringLiteral("BS2.07"));
    EXPECT_EQ(dialog.hardwareField()->text(), QStringLiteral("BSHW1.2"));

    prompts.clear();
    base.faults() = {};
    base.faults().answersAsOtherDevice = true;
    read();
    EXPECT_EQ(prompts.messages(),
              QStringList{QStringLiteral("Please connect a base station to use this feature!")});
    EXPECT_EQ(dialog.firmwareField()->text(), QStringLiteral("BS2.07"));
    EXPECT_TRUE(dialog.readButton()->isEnabled());
}
