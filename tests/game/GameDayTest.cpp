// One race day through Game, as both front ends drive it: the steps in the order the day allows
// them, what a race reads and writes, and what looking leaves alone.

#include "GameTestDay.h"

#include "race/Chances.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

using namespace sw;

namespace {

struct GameDay : ::testing::Test, test::GameTestDay {
    GameDay() : GameTestDay(20261206, "1,Ann,400\r\n2,Bob,400\r\n") {}
    void SetUp() override {
        ASSERT_TRUE(started);
        ASSERT_EQ(game.stage(), Stage::Betting);
    }
    int horseStarts() const {
        int n = 0;
        for (int h = 1; h <= HorseCount; ++h)
            n += game.day().db.horses[static_cast<std::size_t>(h)].starts;
        return n;
    }
};

// What the folder is asked to do, file by file.
struct FileCounts : FileFaults {
    std::map<std::string, int, std::less<>> renames, writes, reads;
    int before(FileOp op, std::string_view name) override {
        if (op == FileOp::Rename)
            ++renames[std::string(name)];
        if (op == FileOp::Write)
            ++writes[std::string(name)];
        return 0;
    }
    int beforeRead(std::string_view name) override {
        ++reads[std::string(name)];
        return 0;
    }
};

// A race writes only the files whose bytes it changes and reads each file once a step: with no
// Twin-Tri or Tri-Super bet no exchange file is touched, and the results read each pool and
// tickets.dat once.
TEST_F(GameDay, ARaceWritesOnlyWhatItChangesAndReadsEachFileOnceAStep) {
    FileCounts counts;
    game.day().folder.setFaults(&counts);
    list(1, "$2 WPS on 1");
    list(2, "$2 Exacta Box 12");
    ASSERT_EQ(game.pay().error, "");
    EXPECT_EQ(counts.reads["tickets.dat"], 0) << "payment appends without reading";
    counts.reads.clear();
    runRace();
    // The results read each file once: the board's pools serve the settlement too.
    for (const char* file : {"tickets.dat", "wins.dat", "places.dat", "shows.dat", "exactas.dat"})
        EXPECT_EQ(counts.reads[file], 1) << file;
    game.confirmResults();
    game.day().folder.setFaults(nullptr);
    for (const char* unchanged :
         {"twintris.dat", "trisupers.dat", "twintriexchanges.dat", "trisuperexchanges.dat",
          "exchangecredits.dat", "dailydoubles.dat", "pick3s.dat", "pick6s.dat"})
        EXPECT_EQ(counts.writes[unchanged] + counts.renames[unchanged], 0) << unchanged;
    EXPECT_EQ(counts.renames["horses.dat"], 1) << "the race's results change the stable";
}

// The steps the day allows, in one day: each out of turn does nothing, a new day waits for paid
// money or a race, browsing the program leaves the board alone, and the reset starts a day on the
// fresh stable.
TEST_F(GameDay, EachStepTakesItsTurn) {
    game.confirmResults();
    EXPECT_EQ(game.stage(), Stage::Betting);
    EXPECT_FALSE(game.resultsShow());
    list(1, "$300 Win on 3"); // enough to move the horse's odds on the board
    EXPECT_TRUE(game.newDayAllowed()) << "a listed ticket costs nothing until it is paid";
    EXPECT_EQ(game.pay().paid, 1);
    EXPECT_FALSE(game.newDayAllowed());

    // Browsing the program leaves the board as it stands for the race about to be run.
    const auto odds = game.day().pools.winOdds;
    game.openProgram();
    ASSERT_EQ(game.stage(), Stage::Program);
    for (int race : {7, 4, 1})
        game.browseProgram(race);
    EXPECT_EQ(game.day().pools.winOdds, odds);
    game.toteBoard();
    EXPECT_EQ(game.day().tickets.size(), 1u) << "the program keeps the tickets of the race being bet";

    // An unpaid ticket is offered for payment before the race; the start itself showed nothing.
    list(2, "$2 Win on 4");
    prompter.answer(true);
    ASSERT_TRUE(game.beginRace());
    EXPECT_TRUE(game.race()->step()) << "the field is at the gate, ready to run";
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_TRUE(prompter.shown()[0].question);
    EXPECT_TRUE(game.day().tickets[1].paid);
    EXPECT_EQ(game.day().players.entries[1].balance, "398");
    EXPECT_FALSE(game.beginRace());
    EXPECT_FALSE(game.resetDatabase()) << "never in the middle of a race";
    game.finishRace();
    EXPECT_FALSE(game.newDayAllowed());
    game.confirmResults(); // the show has not reached the chart: nothing to confirm yet

    // The results are applied once, and the chart shown once, however often the show is stepped.
    int charts = 0;
    for (int i = 0; i < 40; ++i)
        charts += game.showStep().kind == ShowStep::Kind::Chart;
    game.runResultsToEnd();
    EXPECT_EQ(std::pair(game.ledger().racesSettled(), charts), std::pair(1, 1));
    EXPECT_FALSE(game.beginRace()) << "no second race before the results are confirmed";

    game.confirmResults();
    EXPECT_EQ(game.stage(), Stage::Program);
    EXPECT_EQ(game.day().currentRace, 1);
    EXPECT_FALSE(game.newDayAllowed()) << "race 2's program: the day is under way";
    EXPECT_EQ(game.lastRaceRun(), 1);
    prompter.answer(true);
    ASSERT_TRUE(game.resetDatabase());
    EXPECT_EQ(game.stage(), Stage::Program);
    EXPECT_EQ(game.day().currentRace, 0);
    EXPECT_EQ(game.lastRaceRun(), 0) << "a new day has no race of its own to show again";
    EXPECT_EQ(horseStarts(), 0);
    game.toteBoard();
    runRace();
    EXPECT_EQ(horseStarts(), 8) << "a race on the new day brings the old stable back";
}

// A bettor left out of cash hands over to the next who can bet, whom the players are told of,
// and the amount the broke player last chose is not carried over to them.
TEST_F(GameDay, ABettorOutOfCashHandsOverWithTheDefaultAmount) {
    const int defaultAmount = game.betEntry().amountSpin();
    list(1, "$200 Win on 1");
    list(1, "$200 Win on 2");
    for (const std::function<void()>& spendAll :
         std::initializer_list<std::function<void()>>{[&] { pay(); }, [&] { game.selectBettor(0); }}) {
        game.betEntry().amountSpinChanged(defaultAmount + 48);
        prompter.clear();
        spendAll();
        EXPECT_EQ(game.day().players.selected, 1);
        EXPECT_EQ(game.betEntry().amountSpin(), defaultAmount);
        ASSERT_FALSE(prompter.shown().empty());
        EXPECT_EQ(prompter.shown().back().text, "Ann, you're out of cash! Bob is betting now.");
    }
}

// Game itself refuses what the day does not allow, whichever front end asks: the step does
// nothing, and says why in a sentence the player can read.
TEST_F(GameDay, RefusesEveryStepTheDayDoesNotAllow) {
    auto paid = [this] {
        list(1, "$50 Win on 3");
        ASSERT_EQ(game.pay().paid, 1);
    };
    auto racing = [&] {
        paid();
        ASSERT_TRUE(game.beginRace());
    };
    auto results = [&] {
        racing();
        game.finishRace();
        game.runResultsToEnd();
    };
    auto beforeChart = [&] {
        racing();
        game.finishRace();
    };
    auto race2 = [&] {
        results();
        game.confirmResults();
    };
    auto program = [this] { game.openProgram(); };
    auto none = [] {};
    // The case, how the day gets there, and the step it refuses.
    const std::vector<std::tuple<std::string, std::function<void()>, std::function<void()>>> cases = {
        {"a new day over a paid ticket", paid, [this] { game.playAgain(); }},
        {"a new day over a paid ticket, from the program",
         [&] {
             paid();
             program();
         },
         [this] { game.startDay(); }},
        {"a new day during a race", racing, [this] { game.playAgain(); }},
        {"a new day during the results", results, [this] { game.startDay(); }},
        {"a new day at race 2's program", race2, [this] { game.playAgain(); }},
        {"paying from the program",
         [&] {
             list(1, "$2 Win on 1");
             program();
         },
         [this] { EXPECT_FALSE(game.pay().error.empty()); }},
        {"a race during the results", results, [this] { game.beginRace(); }},
        {"a race from the program", program, [this] { game.beginRace(); }},
        {"finishing a race not started", none, [this] { game.finishRace(); }},
        {"results confirmed before the chart", beforeChart, [this] { game.confirmResults(); }},
        {"the tote board while betting", none, [this] { game.toteBoard(); }},
        {"browsing while betting", none, [this] { game.browseProgram(4); }},
        {"a player deleted during a race", racing,
         [this] {
             prompter.answer(true);
             game.deletePlayer();
         }},
        {"a player deleted during the results", results,
         [this] {
             prompter.answer(true);
             game.deletePlayer();
         }},
    };
    for (const auto& [name, setUp, step] : cases) {
        SCOPED_TRACE(name);
        game = Game(dir.path(), random, prompter); // the case before may have left a day that cannot restart
        ASSERT_TRUE(game.startDay());
        game.toteBoard();
        setUp();
        const Stage stage = game.stage();
        const int race = game.day().currentRace;
        auto balances = [this] {
            std::vector<std::string> each;
            for (const PlayerEntry& player : game.day().players.entries)
                each.push_back(player.balance);
            return each;
        };
        const std::vector<std::string> before = balances();
        const std::size_t tickets = game.day().tickets.size();
        const int shown = game.program().race;
        EXPECT_TRUE(game.refusal().empty()) << "the steps that set the case up ran";

        step();
        EXPECT_EQ(
            std::tuple(game.stage(), game.day().currentRace, game.day().tickets.size(), game.program().race),
            std::tuple(stage, race, tickets, shown));
        EXPECT_EQ(balances(), before) << "every player is still there with the same money";
        EXPECT_GT(game.refusal().size(), 20u) << "a sentence says why";
        EXPECT_FALSE(game.newDayAllowed() && name.starts_with("a new day"));
    }
}

// Only what a race draws for itself moves it: its pools when they open, its running and its chart.
// Whatever is looked at before races 1 and 2 (the program, any race browsed, the chances), both
// finish as on a day where nobody looked.
TEST(GameLooks, LookingNeverChangesARace) {
    using Look = std::function<void(Game&)>;
    auto browse = [](int race) {
        return [race](Game& game) {
            game.openProgram();
            game.browseProgram(race);
            game.browseProgram(game.day().currentRace + 1);
            game.toteBoard();
        };
    };
    auto day = [](const Look& look) {
        test::GameTestDay played(7);
        Game& game = played.game;
        std::vector<std::array<uint8_t, FieldSize>> finishes;
        for (int race = 0; played.started && race < 2; ++race) {
            look(game);
            if (!game.beginRace())
                break;
            game.finishRace();
            game.runResultsToEnd();
            finishes.push_back(game.day().result.finishOrder);
            game.confirmResults();
            game.toteBoard();
        }
        return finishes;
    };
    std::vector<std::pair<std::string, Look>> looks = {
        {"the program of the race",
         [](Game& game) {
             game.openProgram();
             game.toteBoard();
         }},
        {"the chances of race 1 in 100 races",
         [](Game& game) {
             game.openProgram();
             game.browseProgram(1);
             ChanceSimulation chances(chanceFieldOf(game.day(), 1), ChanceSimulation::DefaultSeed, 1);
             chances.run(100);
             game.toteBoard();
         }},
    };
    for (int race = 1; race <= RacesPerDay; ++race)
        looks.emplace_back("race " + std::to_string(race) + " browsed", browse(race));

    const auto unseen = day([](Game&) {});
    ASSERT_EQ(unseen.size(), 2u);
    for (const auto& [name, look] : looks)
        EXPECT_EQ(day(look), unseen) << name;
}

// A journal a kill left is checked before the day reads a file: one that does not match its files
// stops the day, naming the file, with every file left as it was; one without its end line was
// never committed: it is dropped, and the start says so.
TEST(GameStart, StopsOnAJournalThatDoesNotMatchAndSaysWhenOneIsDropped) {
    struct KillAtTheAppend final : FileFaults {
        int before(FileOp op, std::string_view) override {
            if (op == FileOp::Append)
                throw 0;
            return 0;
        }
    };
    for (const bool torn : {false, true}) {
        test::TempDir dir;
        test::copyBundledData(dir.path());
        test::writeAll(dir / "players.dat", "1,Ann,400\r\n");
        DataFolder killed(dir.path());
        KillAtTheAppend kill;
        killed.setFaults(&kill);
        EXPECT_THROW(killed.commit(FileChanges().append("players.dat", "2,Bob,400\r\n")), int);
        if (torn)
            test::writeAll(dir / "stridewell.journal", "append,players.dat,11,22\r\n");
        else
            test::writeAll(dir / "players.dat", ""); // a copy from before any player
        auto before = test::folderContents(dir.path());
        SeededRandom random(1);
        test::ScriptedPrompter prompter;
        Game game(dir.path(), random, prompter);
        EXPECT_EQ(game.startDay(), torn);
        const std::string said = prompter.shown().empty() ? "" : prompter.shown()[0].text;
        if (torn) {
            EXPECT_EQ(said,
                      "An unfinished save was dropped (stridewell.journal has no end line): its files are "
                      "as they were before it.");
            EXPECT_EQ(test::readAll(dir / "players.dat"), "1,Ann,400\r\n");
            continue;
        }
        EXPECT_NE(said.find("players.dat is 0 bytes where the journal has 11 to 22"), std::string::npos)
            << said;
        auto after = test::folderContents(dir.path());
        after.erase("stridewell.lock");
        before.erase("stridewell.lock");
        EXPECT_EQ(after, before);
    }
}

} // namespace
