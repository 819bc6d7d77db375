// What an unfinished day leaves on disk (a day quit half way, a stable save cut short by a crash)
// must not change the next day's results.

#include "ReliabilitySupport.h"

#include "core/Constants.h"
#include "database/DatabaseFiles.h"
#include "players/Players.h"
#include "race/StableSave.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace sw;
namespace fs = std::filesystem;

namespace {

struct Leftovers : ::testing::Test {
    test::TempDir dir;
    test::ScriptedPrompter prompter;

    void SetUp() override {
        test::copyBundledData(dir.path());
        test::writeAll(dir / "players.dat", "1,Ann,400\r\n");
    }

    void runRace(Game& game) {
        ASSERT_TRUE(game.beginRace());
        game.finishRace();
        game.runResultsToEnd();
    }
    void next(Game& game) {
        game.confirmResults();
        game.toteBoard();
    }
};

// The first player ticket of race 2 takes number 2125 on every day, so a Daily Double of a day
// quit after race 2 shares its number with the next day's first Daily Double.
TEST_F(Leftovers, DailyDoubleLinesOfADayQuitHalfWayPayNothingTheNextDay) {
    {
        SeededRandom random(1);
        Game first(dir.path(), random, prompter);
        ASSERT_TRUE(first.startDay());
        first.toteBoard();
        runRace(first);
        next(first);
        ASSERT_TRUE(first.ticketList().listTicket(first.day(), "$2 DailyDouble Wheel All with All"));
        ASSERT_EQ(first.pay().paid, 1);
    } // quit before race 3 settles the Daily Double

    SeededRandom random(2);
    Game game(dir.path(), random, prompter);
    ASSERT_TRUE(game.startDay());
    game.toteBoard();
    runRace(game);
    next(game);
    ASSERT_TRUE(game.ticketList().listTicket(game.day(), "$2 DailyDouble Wheel 1 with 1"));
    ASSERT_EQ(game.pay().paid, 1);
    runRace(game);
    const int raceTwoWinner = game.day().result.finishOrder[0];
    next(game);
    runRace(game);
    const int raceThreeWinner = game.day().result.finishOrder[0];

    bool won = raceTwoWinner == 1 && raceThreeWinner == 1;
    const auto& credits = game.settlement().credits;
    bool paid = std::any_of(credits.begin(), credits.end(), [](const Credit& c) { return c.code == "DDb"; });
    EXPECT_EQ(paid, won) << "winners " << raceTwoWinner << " and " << raceThreeWinner;
}

TEST_F(Leftovers, StableSaveCutShortAfterItsMarkIsFinishedAtTheNextStart) {
    SeededRandom unused(1);
    RaceDay scratch(dir.path(), unused, prompter);
    ASSERT_EQ(loadHorses(scratch), ReadStatus::Read);
    ASSERT_EQ(loadJockeys(scratch), ReadStatus::Read);
    scratch.db.horses[1].name = "Renamed Runner";
    scratch.db.jockeys[1].name = "Renamed Rider";
    const std::string horses = [&] {
        std::string text;
        for (int h = 1; h <= HorseCount; ++h)
            text += horseRecord(scratch.db.horses[static_cast<std::size_t>(h)]);
        return text;
    }();
    // The crash came after the mark and after horses.dat was moved, before jockeys.dat was.
    test::writeAll(dir / "horses.dat", horses);
    std::string jockeys;
    for (int j = 1; j <= JockeyCount; ++j)
        jockeys += jockeyRecord(scratch.db.jockeys[static_cast<std::size_t>(j)]);
    test::writeAll(dir / "jockeys.dat.pending", jockeys);
    test::writeAll(dir / "stable.commit", "horses.dat\r\njockeys.dat\r\n");

    SeededRandom random(3);
    Game game(dir.path(), random, prompter);
    ASSERT_TRUE(game.startDay());
    EXPECT_EQ(game.day().db.horses[1].name, "Renamed Runner");
    EXPECT_EQ(game.day().db.jockeys[1].name, "Renamed Rider");
    EXPECT_FALSE(fs::exists(dir / "stable.commit"));
    EXPECT_FALSE(fs::exists(dir / "jockeys.dat.pending"));
}

TEST_F(Leftovers, StableSaveCutShortBeforeItsMarkIsDropped) {
    const std::string horses = test::readAll(dir / "horses.dat");
    test::writeAll(dir / "horses.dat.pending", "Half,M\r\n");
    SeededRandom random(3);
    Game game(dir.path(), random, prompter);
    ASSERT_TRUE(game.startDay());
    EXPECT_EQ(test::readAll(dir / "horses.dat"), horses);
    EXPECT_FALSE(fs::exists(dir / "horses.dat.pending"));
}

} // namespace
