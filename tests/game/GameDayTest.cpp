// One race day through Game, as both front ends drive it: the steps in the order the day allows
// them, what a race reads and writes, and what looking leaves alone.

#include "game/Game.h"

#include "core/Format.h"
#include "players/Players.h"
#include "race/Chances.h"
#include "support/GameDay.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <tuple>

using namespace sw;

namespace {

struct GameDay : ::testing::Test, test::GameOnDisk {
    GameDay() : GameOnDisk(20261206, "1,Ann,400\r\n2,Bob,400\r\n") {}
    void SetUp() override {
        ASSERT_TRUE(game.startDay());
        game.toteBoard();
        ASSERT_EQ(game.stage(), Stage::Betting);
    }
    void list(int32_t playerId, const std::string& text) {
        selectBettor(game.day(), findPlayer(game.day().players, playerId));
        std::string error;
        EXPECT_TRUE(game.ticketList().listTicket(game.day(), text, &error)) << text << ": " << error;
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
    void beforeRead(std::string_view name) override { ++reads[std::string(name)]; }
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
    ASSERT_TRUE(test::playRace(game, false));
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

// A bettor left out of cash hands over to the next who can bet, whom the players are told of,
// and the amount the broke player last chose is not carried over to them; choosing the broke
// player again leaves the bettor, and their own amount, as they are.
TEST_F(GameDay, ABettorOutOfCashHandsOverWithTheDefaultAmount) {
    const int defaultAmount = game.betEntry().amountSpin();
    list(1, "$200 Win on 1");
    list(1, "$200 Win on 2");
    const std::pair<std::function<void()>, int> handovers[] = {
        {[&] { game.pay(); }, defaultAmount}, {[&] { game.selectPlayer(0); }, defaultAmount + 48}};
    for (const auto& [spendAll, amount] : handovers) {
        game.betEntry().amountSpinChanged(defaultAmount + 48);
        prompter.clear();
        spendAll();
        EXPECT_EQ(game.day().players.selected, 1);
        EXPECT_EQ(game.betEntry().amountSpin(), amount);
        ASSERT_FALSE(prompter.shown().empty());
        EXPECT_EQ(prompter.shown().back().text, "Ann, you're out of cash! Bob is betting now.");
    }
}

// A ticket's story pays every simulated order as the chart and the settlement would. With the
// board at 4-1 on every horse, $2 to win pays 4 x 2 + 2 = $10.00 whoever wins: $2 on all eight
// collects $10.00 every race, $4 on one horse $20.00 each time it wins.
TEST_F(GameDay, ATicketsStoryIsWhatItsRaceWouldPayItRunAfterRun) {
    RaceDay& day = game.day();
    constexpr int Races = 400;
    day.pools.winOdds.fill(4.0f);
    for (const char* text : {"$2 Win on All", "$4 Win on 3", "$2 WPS on 5"})
        list(1, text);
    day.tickets.push_back({"$2 DailyDouble Wheel 1 with 2", 1, false}); // as if race 2 sold it
    const ChanceCounts counts = game.chanceCache().counts(chanceFieldOf(day, 1), Races);
    const double topThree5 = counts.topThree[4];

    const std::optional<TicketStory> all = game.ticketStory(0, Races);
    ASSERT_TRUE(all) << game.refusal();
    EXPECT_EQ(std::tuple(all->races, all->cost, all->collected, all->meanReturn, all->meanHalfBand,
                         all->lowest, all->highest, all->paid),
              std::tuple(Races, Cents{1600}, Races, Cents{1000}, Cents{0}, Cents{1000}, Cents{1000}, false));
    const std::optional<TicketStory> one = game.ticketStory(1, Races);
    ASSERT_TRUE(one && !one->likeliest.empty());
    EXPECT_EQ(std::tuple(one->collected, one->median, one->likeliest[0].returned, one->likeliest[0].races),
              std::tuple(counts.wins[2], Cents{2000}, Cents{2000}, counts.wins[2]));
    EXPECT_EQ(one->totalReturned, 2000 * counts.wins[2]);
    // Across the board collects whenever the horse is in the first three, through all three pools.
    const std::optional<TicketStory> wps = game.ticketStory(2, Races);
    ASSERT_TRUE(wps);
    EXPECT_EQ(wps->collected, static_cast<int>(topThree5));
    EXPECT_EQ(game.chanceCache().simulated(), 1); // every story paid on the same runs

    // A bet decided in later races has no story in this one, nor has a ticket outside betting.
    EXPECT_FALSE(game.ticketStory(3, Races));
    EXPECT_NE(game.refusal().find("races still to come"), std::string::npos);
    EXPECT_FALSE(game.ticketStory(4, Races));
    game.openProgram();
    EXPECT_FALSE(game.ticketStory(0, Races));
    EXPECT_NE(game.refusal().find("being bet"), std::string::npos);
}

// A race whose save the disk refused is saved with the next step (the crash sweep compares the
// files and balances); the program shows race 1's jockeys meanwhile, not the file's.
TEST(GameCarries, AProgramAfterARefusedSaveShowsTheRaceRun) {
    auto play = [](bool refuseRace1) {
        test::GameOnDisk played(11, "1,Ann,400\r\n");
        Game& game = played.game;
        test::FailingDisk disk;
        disk.on = false;
        game.day().folder.setFaults(&disk);
        EXPECT_TRUE(game.startDay());
        std::vector<std::string> jockeys;
        for (int race = 0; race < 2; ++race) {
            game.toteBoard();
            EXPECT_TRUE(game.beginRace());
            game.finishRace();
            disk.on = refuseRace1 && race == 0;
            game.runResultsToEnd();
            disk.on = false;
            EXPECT_EQ(game.chart().saveError.message.empty(), !refuseRace1 || race > 0);
            game.confirmResults();
            for (const ProgramEntryView& entry : game.program().entries)
                jockeys.push_back(entry.jockeyRecord);
        }
        return jockeys;
    };
    EXPECT_EQ(play(true), play(false));
}

// A day whose fresh files could not be written takes no bets until they are, so yesterday's Daily
// Double under a number the day gives out again never pays.
TEST(GameCarries, ADayWhoseStartWasRefusedTakesNoBetsUntilItIsWritten) {
    test::GameOnDisk played(5, "1,Ann,400\r\n2,Bob,400\r\n");
    Game& game = played.game;
    const auto& dir = played.dir;
    // Bob's Daily Double of an earlier day of the same date, on every pair.
    const std::string date = "5/12/2026";
    test::writeAll(dir / "tickets.dat", "2125,2,2,Daily Double,2," + date + "\r\n");
    std::string pairs;
    for (int first = 1; first <= FieldSize; ++first)
        for (int second = 1; second <= FieldSize; ++second)
            pairs += "2125," + std::to_string(first) + "," + std::to_string(second) + ",2\r\n";
    test::writeAll(dir / "dailydoubles.dat", pairs);
    game.setDayDate(date);
    test::FailingDisk disk("tickets.dat");
    game.day().folder.setFaults(&disk);
    ASSERT_TRUE(game.startDay());
    game.toteBoard();
    ASSERT_TRUE(game.ticketList().listTicket(game.day(), "$2 Win on 1"));

    // The refusal's words are the failed-write day's; the window shows it as the text does.
    const PaymentReport refused = game.pay();
    EXPECT_EQ(refused.paid, 0);
    EXPECT_TRUE(played.prompter.sawText(refused.error)) << "the player is told";

    disk.on = false;
    ASSERT_EQ(game.pay().paid, 1);
    EXPECT_EQ(game.whyNot(Action::Pay), "Every ticket listed is paid for already.") << "the start is saved";
    EXPECT_EQ(test::readAll(dir / "tickets.dat") + test::readAll(dir / "dailydoubles.dat"),
              "2125,1,2,Win,1," + date + "\r\n");
    for (int race = 0; race < 2; ++race) {
        ASSERT_TRUE(test::playRace(game));
        for (const Credit& credit : game.settlement().credits)
            EXPECT_NE(credit.code, "DDb") << "paid $" << centsText(credit.winnings);
    }
    EXPECT_EQ(game.day().players.entries[1].balance, "400");
}

// The availability table over the day's stages: where each action is allowed, that a refusal is a
// sentence, and which actions ask first. Game itself refuses what the table refuses, whichever front
// end asks: the step does nothing, and says why. Between the stages, the steps only a whole day
// shows: browsing leaves the board alone, an unpaid ticket is offered at the start, the results
// are applied once, and the reset starts a new day.
TEST_F(GameDay, TheAvailabilityTableFollowsTheDayAndEveryStepItRefusesDoesNothing) {
    // The stages, one letter each: 0 no day, P race 1's program, B its tote board, L a ticket listed,
    // $ it is paid, R the race running, r its results before the chart, S the results settled,
    // 2 race 2's program, b its tote board, T the top-ten list.
    // The action, its `which`, and the stages that allow it.
    const std::vector<std::tuple<Action, int, std::string>> rows = {
        {Action::AddPlayer, 0, "PBL$2b"},
        {Action::SelectPlayer, 0, "PBL$2b"},
        {Action::DeletePlayer, 0, "PBL$2b"},
        {Action::AmountSpin, 5, "BL$b"},
        {Action::NextToBet, 0, "BL$b"},
        {Action::ChooseBet, 11, "BL$b"}, // a Twin-Tri, while a race follows
        {Action::Finish, 0, ""},
        {Action::ListTicket, 0, "BL$b"},
        {Action::SelectTicket, 0, "L$"},
        {Action::DeleteTicket, 0, "L$"},
        {Action::Pay, 0, "L"},
        {Action::Exchange, 1, ""},
        {Action::OpenProgram, 0, "BL$b"},
        {Action::BrowseProgram, 4, "P2"},
        {Action::BrowseProgram, 13, ""},
        {Action::ToteBoard, 0, "P2"},
        {Action::PrintProgram, 0, "PBL$2b"},
        {Action::Chances, 0, "PBL$2b"},
        {Action::ShowCard, 0, "PBL$RrS2b"},
        {Action::StartRace, 0, "BL$b"},
        {Action::FastForward, 0, "R"},
        {Action::Replay, 0, "b"},
        {Action::ShowResults, 0, "rS"},
        {Action::ConfirmResults, 0, "S"},
        {Action::ExplainPayoff, 0, "S2bT"},
        {Action::ExplainTicket, 0, "L$RrS2"},
        {Action::Ledger, 0, "PBL$RrS2bT"},
        {Action::NewDay, 0, "0PBLT"},
        {Action::ResetStable, 0, "0PBLT"},
        {Action::Settings, 0, "0PBL$2bT"},
        {Action::UseWindow, 0, "0PBL$rS2bT"},
    };
    // The actions that ask first where they are allowed, and in which stages.
    const std::map<Action, std::string> asking = {{Action::DeletePlayer, "PBL$2b"},
                                                  {Action::DeleteTicket, "L$"},
                                                  {Action::ResetStable, "0PBLT"},
                                                  {Action::StartRace, "L"}};

    // The step of each action as a front end takes it (a press of the bet entry otherwise), answering
    // Yes to any question.
    const std::map<Action, std::function<void(int)>> steps = {
        {Action::AddPlayer, [this](int) { game.addPlayer("Zed"); }},
        {Action::SelectPlayer, [this](int) { game.selectPlayer(0); }},
        {Action::DeletePlayer, [this](int) { game.deletePlayer(Answer::Yes); }},
        {Action::ListTicket, [this](int) { game.listTicket("$2 Win on 1"); }},
        {Action::SelectTicket, [this](int which) { game.selectTicket(which); }},
        {Action::DeleteTicket, [this](int) { game.deleteTicket(Answer::Yes); }},
        {Action::Pay, [this](int) { game.pay(); }},
        {Action::Exchange, [this](int which) { game.exchange(which); }},
        {Action::OpenProgram, [this](int) { game.openProgram(); }},
        {Action::BrowseProgram, [this](int which) { game.browseProgram(which); }},
        {Action::ToteBoard, [this](int) { game.toteBoard(); }},
        {Action::StartRace, [this](int) { game.beginRace(nullptr, Answer::Yes); }},
        {Action::FastForward, [this](int) { game.finishRace(); }},
        {Action::ConfirmResults, [this](int) { game.confirmResults(); }},
        {Action::NewDay, [this](int) { game.playAgain(); }},
        {Action::ResetStable, [this](int) { game.resetDatabase(Answer::Yes); }},
    };
    auto held = [this] { // what a refused step must leave as it was
        std::string s = std::to_string(static_cast<int>(game.stage())) + " " +
                        std::to_string(game.day().currentRace) + " " +
                        std::to_string(game.day().tickets.size()) + " " + std::to_string(game.program().race);
        for (const PlayerEntry& player : game.day().players.entries)
            s += " " + player.name + " " + player.balance;
        return s;
    };
    std::map<std::pair<Action, int>, std::string> allowed;
    std::map<Action, std::string> asked;
    auto look = [&](char stage) {
        for (const auto& [action, which, expected] : rows) {
            const Availability now = game.availability(action, which);
            if (now)
                allowed[std::pair(action, which)] += stage;
            else
                EXPECT_TRUE(now.whyNot.size() > 20 && now.whyNot.back() == '.')
                    << stage << " " << static_cast<int>(action) << ": " << now.whyNot;
            if (now && !now.question.empty())
                asked[action] += stage;
            const auto step = steps.find(action);
            const bool press = action >= Action::AmountPreset && action <= Action::ChangePage;
            if (now || (step == steps.end() && !press))
                continue;
            const std::string before = held();
            press ? void(game.press(action, which)) : step->second(which);
            EXPECT_EQ(held(), before) << stage << " " << static_cast<int>(action);
            EXPECT_EQ(game.refusal(), now.whyNot) << stage << " " << static_cast<int>(action);
        }
    };
    Game unstarted(dir.path(), random, prompter);
    std::swap(game, unstarted);
    look('0');
    std::swap(game, unstarted);
    game = Game(dir.path(), random, prompter);
    ASSERT_TRUE(game.startDay());
    look('P');
    game.toteBoard();
    look('B');
    list(1, "$300 Win on 3"); // enough to move the horse's odds on the board
    look('L');
    // A step that asks does nothing on No, given or asked, and asks only when not answered.
    const std::string listed = held();
    prompter.clear();
    EXPECT_FALSE(game.deletePlayer(Answer::No) || game.deleteTicket(Answer::No) ||
                 game.resetDatabase(Answer::No));
    prompter.answer(false);
    EXPECT_FALSE(game.deleteTicket());
    EXPECT_EQ(prompter.said(), "?Stridewell: " + game.availability(Action::DeleteTicket).question);
    EXPECT_EQ(held(), listed);
    ASSERT_TRUE(game.deleteTicket(Answer::Yes));
    EXPECT_TRUE(game.day().tickets.empty());
    list(1, "$300 Win on 3");
    game.openProgram(); // a ticket is paid while it is bet, never from the program
    EXPECT_FALSE(game.pay().error.empty() || game.day().tickets[0].paid);
    game.toteBoard();
    ASSERT_EQ(game.pay().paid, 1);
    look('$');
    // Browsing the program leaves the board as it stands for the race about to be run.
    const auto odds = game.day().pools.winOdds;
    game.openProgram();
    for (int race : {7, 4, 1})
        game.browseProgram(race);
    game.toteBoard();
    EXPECT_EQ(game.day().pools.winOdds, odds);
    // An unpaid ticket is offered for payment before the race; the start itself shows nothing.
    list(2, "$2 Win on 4");
    prompter.clear();
    prompter.answer(true);
    ASSERT_TRUE(game.beginRace());
    EXPECT_TRUE(game.race()->step()) << "the field is at the gate, ready to run";
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_TRUE(prompter.shown()[0].question);
    EXPECT_EQ(std::pair(game.day().tickets.size(), game.day().players.entries[1].balance),
              std::pair(std::size_t{2}, std::string("398")));
    look('R');
    game.finishRace();
    look('r');
    // The results are applied once, and the chart shown once, however often the show is stepped.
    int charts = 0;
    for (int i = 0; i < 40; ++i)
        charts += game.showStep().kind == ShowStep::Kind::Chart;
    game.runResultsToEnd();
    EXPECT_EQ(std::pair(game.ledger().racesSettled(), charts), std::pair(1, 1));
    look('S');
    game.confirmResults();
    EXPECT_EQ(std::tuple(game.stage(), game.day().currentRace, game.lastRaceRun()),
              std::tuple(Stage::Program, 1, 1));
    look('2');
    game.toteBoard();
    look('b');
    while (game.stage() != Stage::TopTen)
        ASSERT_TRUE(test::playRace(game));
    look('T');

    for (const auto& [action, which, expected] : rows)
        EXPECT_EQ(allowed[std::pair(action, which)], expected)
            << "action " << static_cast<int>(action) << " " << which;
    for (const auto& [action, stagesAsked] : asking)
        EXPECT_EQ(asked[action], stagesAsked) << "action " << static_cast<int>(action);
    EXPECT_EQ(asked.size(), asking.size());

    // Where a new day may start, the reset starts it, with no race of its own to show again.
    prompter.answer(true);
    ASSERT_TRUE(game.resetDatabase());
    EXPECT_EQ(std::tuple(game.stage(), game.day().currentRace, game.lastRaceRun()),
              std::tuple(Stage::Program, 0, 0));
}

// Only what a race draws for itself moves it: its pools when they open, its running and its chart.
// Whatever is looked at or bet before races 1 and 2 (the program, any race browsed, the chances,
// tickets paid), both finish as on a day where nobody looked.
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
        test::GameOnDisk played(7);
        Game& game = played.game;
        std::vector<std::array<uint8_t, FieldSize>> finishes;
        if (game.startDay())
            game.toteBoard();
        for (int race = 0; game.stage() == Stage::Betting && race < 2; ++race) {
            look(game);
            if (!test::playRace(game, false))
                break;
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
    looks.emplace_back("tickets paid", [](Game& game) {
        if (game.day().players.entries.empty())
            addPlayer(game.day(), "Ann");
        for (const char* text : {"$2 WPS on All", "$1 Trifecta Box 1234", "$1 Twin-Tri Box 1234"})
            game.listTicket(text);
        EXPECT_EQ(game.pay().paid, 3);
    });
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
        int before(FileOp op, std::string_view) override { return op == FileOp::Append ? throw 0 : 0; }
    };
    for (const bool torn : {false, true}) {
        test::GameOnDisk played(1, "1,Ann,400\r\n");
        const auto& dir = played.dir;
        DataFolder killed(dir.path());
        KillAtTheAppend kill;
        killed.setFaults(&kill);
        EXPECT_THROW(killed.commit(FileChanges().append("players.dat", "2,Bob,400\r\n")), int);
        // The journal without its end line, or players.dat as a copy from before any player.
        test::writeAll(dir / (torn ? "stridewell.journal" : "players.dat"),
                       torn ? "append,players.dat,11,22\r\n" : "");
        const auto folder = [&] {
            auto files = test::folderContents(dir.path());
            files.erase("stridewell.lock");
            return files;
        };
        const auto before = folder();
        EXPECT_EQ(played.game.startDay(), torn);
        const std::string said = played.prompter.said();
        EXPECT_NE(said.find(torn ? "An unfinished save was dropped (stridewell.journal has no end line): its "
                                   "files are as they were before it."
                                 : "players.dat is 0 bytes where the journal has 11 to 22"),
                  std::string::npos)
            << said;
        EXPECT_TRUE(torn ? test::readAll(dir / "players.dat") == "1,Ann,400\r\n" : folder() == before);
    }
}

} // namespace
