#include "players/SettingsDialog.h"
#include "core/RaceDay.h"
#include "players/Players.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace sw;
using sw::test::readAll;
using sw::test::writeAll;

namespace {

class SettingsDialogTest : public ::testing::Test {
protected:
    void setAmounts(float start, float bet, float record) { day.db.settings = Settings{start, bet, record}; }

    test::TempDir dir;
    SeededRandom random{1};
    test::ScriptedPrompter prompter;
    RaceDay day{dir.path(), random, prompter};
};

TEST_F(SettingsDialogTest, OpensWithTheAmountsAndOkWritesThem) {
    setAmounts(400, 2, 999);
    SettingsDialog dialog(day);
    dialog.open();
    EXPECT_EQ(dialog.startAmountLabel(), "400");
    EXPECT_EQ(dialog.defaultAmountLabel(), "2");
    EXPECT_EQ(dialog.startAmountSpinner(), 400);
    EXPECT_EQ(dialog.defaultAmountSpinner(), 2);
    ASSERT_FALSE(dialog.ok());
    EXPECT_EQ(readAll(dir / "settings.dat"), "400,2,,,999\r\n");
}

TEST_F(SettingsDialogTest, OkKeepsTheTrackRecordAndReplacesTheFactoryLine) {
    writeAll(dir / "settings.dat", "400,2,1,0,999\r\n");
    setAmounts(400, 2, 121.35f);
    SettingsDialog dialog(day);
    dialog.open();
    dialog.setStartAmount(500);
    dialog.setDefaultBetAmount(5);
    ASSERT_FALSE(dialog.ok());
    EXPECT_EQ(readAll(dir / "settings.dat"), "500,5,,,121.35\r\n");
}

TEST_F(SettingsDialogTest, ChangesApplyInMemoryAtOnceAndCancelPutsBackTheOpeningAmounts) {
    writeAll(dir / "settings.dat", "400.5,2,,,999\r\n");
    setAmounts(400.5f, 2, 999);
    SettingsDialog dialog(day);
    dialog.open();
    dialog.setStartAmount(750);
    dialog.setDefaultBetAmount(10);
    EXPECT_EQ(dialog.startAmountLabel(), "750");
    EXPECT_EQ(dialog.defaultAmountLabel(), "10");
    EXPECT_EQ(day.db.settings.startAmount, 750.0f);
    EXPECT_EQ(day.db.settings.defaultBetAmount, 10.0f);
    dialog.cancel();
    EXPECT_EQ(day.db.settings.startAmount, 400.5f) << "not even the opening's rounding stays";
    EXPECT_EQ(day.db.settings.defaultBetAmount, 2.0f);
    EXPECT_EQ(readAll(dir / "settings.dat"), "400.5,2,,,999\r\n");
}

TEST_F(SettingsDialogTest, OpeningRoundsFractionalAmountsHalfToEven) {
    setAmounts(400.5f, 2.5f, 999);
    SettingsDialog dialog(day);
    dialog.open();
    EXPECT_EQ(dialog.startAmountSpinner(), 400);
    EXPECT_EQ(dialog.defaultAmountSpinner(), 2);
    EXPECT_EQ(day.db.settings.startAmount, 400.0f);
    EXPECT_EQ(day.db.settings.defaultBetAmount, 2.0f);
    EXPECT_EQ(dialog.startAmountLabel(), "400");

    setAmounts(401.5f, 3.5f, 999);
    dialog.open();
    EXPECT_EQ(dialog.startAmountSpinner(), 402);
    EXPECT_EQ(dialog.defaultAmountSpinner(), 4);
}

TEST_F(SettingsDialogTest, AmountsOutsideTheSpinnerRangeAreLimited) {
    setAmounts(0, 5000, 999);
    SettingsDialog dialog(day);
    dialog.open();
    EXPECT_EQ(dialog.startAmountSpinner(), 1);
    EXPECT_EQ(dialog.defaultAmountSpinner(), 1000);
    EXPECT_EQ(day.db.settings.startAmount, 1.0f);
    EXPECT_EQ(day.db.settings.defaultBetAmount, 1000.0f);

    setAmounts(3.0e38f, -3.0e38f, 999);
    dialog.open();
    EXPECT_EQ(dialog.startAmountSpinner(), 1000);
    EXPECT_EQ(dialog.defaultAmountSpinner(), 1);

    dialog.setStartAmount(1001);
    EXPECT_EQ(dialog.startAmountSpinner(), 1000);
    dialog.setDefaultBetAmount(0);
    EXPECT_EQ(dialog.defaultAmountSpinner(), 1);
    EXPECT_EQ(day.db.settings.defaultBetAmount, 1.0f);
}

TEST_F(SettingsDialogTest, RaisedStartingAmountReachesOnlyNewPlayers) {
    setAmounts(400, 2, 999);
    ASSERT_TRUE(addPlayer(day, "Ann"));
    SettingsDialog dialog(day);
    dialog.open();
    dialog.setStartAmount(500);
    ASSERT_TRUE(addPlayer(day, "Bob"));
    EXPECT_EQ(day.players.entries[0].balance, "400");
    EXPECT_EQ(day.players.entries[1].balance, "500");
}

} // namespace
