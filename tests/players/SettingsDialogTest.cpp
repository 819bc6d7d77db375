#include "players/SettingsDialog.h"
#include "core/RaceDay.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace sw;
using sw::test::readAll;
using sw::test::writeAll;

namespace {

class SettingsDialogTest : public ::testing::Test {
protected:
    void setAmounts(float start, float bet, float record) { day.db.settings = Settings{start, bet, record}; }
    std::string shown() const {
        return dialog.startAmountLabel() + " " + dialog.defaultAmountLabel() + " " +
               std::to_string(dialog.startAmountSpinner()) + " " +
               std::to_string(dialog.defaultAmountSpinner());
    }

    test::TempDir dir;
    SeededRandom random{1};
    test::ScriptedPrompter prompter;
    RaceDay day{dir.path(), random, prompter};
    SettingsDialog dialog{day};
};

TEST_F(SettingsDialogTest, ChangesApplyAtOnceOkWritesThemWithTheTrackRecordAndCancelPutsBackTheOpening) {
    writeAll(dir / "settings.dat", "400,2,1,0,999\r\n");
    setAmounts(400, 2, 121.35f);
    dialog.open();
    EXPECT_EQ(shown(), "400 2 400 2");
    dialog.setStartAmount(500);
    dialog.setDefaultBetAmount(5);
    EXPECT_EQ(shown(), "500 5 500 5");
    ASSERT_FALSE(dialog.ok());
    EXPECT_EQ(readAll(dir / "settings.dat"), "500,5,,,121.35\r\n") << "the factory line is replaced";

    setAmounts(400.5f, 2, 999);
    dialog.open();
    dialog.setStartAmount(750);
    dialog.setDefaultBetAmount(10);
    EXPECT_EQ(day.db.settings.startAmount, 750.0f);
    EXPECT_EQ(day.db.settings.defaultBetAmount, 10.0f);
    dialog.cancel();
    EXPECT_EQ(day.db.settings.startAmount, 400.5f) << "not even the opening's rounding stays";
    EXPECT_EQ(day.db.settings.defaultBetAmount, 2.0f);
    EXPECT_EQ(readAll(dir / "settings.dat"), "500,5,,,121.35\r\n");
}

TEST_F(SettingsDialogTest, OpeningRoundsHalfToEvenAndKeepsAmountsWithinTheSpinners) {
    struct Case {
        float start, bet;
        const char* shown;
    } cases[] = {
        {400.5f, 2.5f, "400 2 400 2"},
        {401.5f, 3.5f, "402 4 402 4"},
        {0, 5000, "1 1000 1 1000"},
        {3.0e38f, -3.0e38f, "1000 1 1000 1"},
    };
    for (const Case& c : cases) {
        setAmounts(c.start, c.bet, 999);
        dialog.open();
        EXPECT_EQ(shown(), c.shown) << c.start << " " << c.bet;
        // What the spinners show is what the day now uses.
        EXPECT_EQ(day.db.settings.startAmount, static_cast<float>(dialog.startAmountSpinner()));
        EXPECT_EQ(day.db.settings.defaultBetAmount, static_cast<float>(dialog.defaultAmountSpinner()));
    }
    dialog.setStartAmount(1001);
    dialog.setDefaultBetAmount(0);
    EXPECT_EQ(shown(), "1000 1 1000 1");
    EXPECT_EQ(day.db.settings.defaultBetAmount, 1.0f);
}

} // namespace
