// The strategy lab: a lab day is the game's day, a run does not depend on its threads, its
// figures behave as statistics should, and the rules pick the horses they say.

#include "lab/Lab.h"
#include "support/GameDay.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace sw;

namespace {

LabSetup bundledSetup(uint64_t seed, Crowd crowd = Crowd::Track) {
    LabSetup setup;
    setup.stable = labStableOf(DataFolder(std::filesystem::path(STRIDEWELL_SOURCE_DIR) / "data"));
    setup.seed = seed;
    setup.crowd = crowd;
    setup.chanceRaces = 30;
    return setup;
}

Strategy named(std::string_view name) {
    std::string error;
    auto strategy = findStrategy(name, &error);
    EXPECT_TRUE(strategy) << name << ": " << error;
    return strategy ? *strategy : Strategy{};
}

using CreditKey = std::tuple<int, int32_t, std::string, Cents>;

std::vector<CreditKey> keysOf(const std::vector<LabCredit>& credits) {
    std::vector<CreditKey> keys;
    for (const LabCredit& c : credits)
        keys.emplace_back(c.race, c.ticket, c.code, c.winnings);
    return keys;
}

// The same day played in the game on a folder on disk, buying the lab day's tickets race by race.
std::vector<CreditKey> playedInTheGame(const LabSetup& setup, const LabDayResult& lab) {
    test::GameOnDisk played(lab.seed, "1,Lab,0\r\n");
    test::writeAll(played.dir / "settings.dat", std::to_string(setup.bankroll) + ",2,,,106.51\r\n");
    Game& game = played.game;
    EXPECT_TRUE(game.startDay());
    game.toteBoard();
    std::vector<CreditKey> credits;
    for (int race = 1; race <= RacesPerDay; ++race) {
        for (const LabTicket& t : lab.tickets)
            if (t.race == race) {
                EXPECT_TRUE(game.ticketList().listTicket(game.day(), t.text)) << t.text;
            }
        if (!game.day().tickets.empty()) {
            EXPECT_EQ(game.pay().error, "");
        }
        EXPECT_TRUE(test::playRace(game));
        for (const Credit& c : game.settlement().credits)
            credits.emplace_back(race, c.ticketNumber, c.code, c.winnings);
    }
    return credits;
}

} // namespace

TEST(LabDay, PaysEachTicketWhatTheSameDayInTheGamePays) {
    const LabSetup setup = bundledSetup(20261208);
    std::size_t paid = 0;
    for (const char* name :
         {"every-win", "favourite-show", "exacta-box-top3", "daily-double-favourites", "twin-tri-top3"}) {
        SCOPED_TRACE(name);
        const LabDayResult lab = playLabDay(setup, named(name), 3);
        EXPECT_EQ(lab.error, "");
        EXPECT_FALSE(lab.tickets.empty());
        EXPECT_EQ(keysOf(lab.credits), playedInTheGame(setup, lab));
        paid += lab.credits.size();
    }
    EXPECT_GT(paid, 0u); // some ticket must have collected for the comparison to mean anything
}

// The sharp crowd's money changes what the tickets pay, never how the races are run.
TEST(LabDay, TheCrowdMovesThePayoffsNotTheRaces) {
    const Strategy strategy = named("every-win");
    const LabDayResult track = playLabDay(bundledSetup(11), strategy, 0);
    const LabDayResult sharp = playLabDay(bundledSetup(11, Crowd::Sharp), strategy, 0);
    EXPECT_EQ(track.winners, sharp.winners);
    EXPECT_NE(track.winners[0], 0);
    EXPECT_NE(keysOf(track.credits), keysOf(sharp.credits));
}

// A crowd that bets every pool by the chances leaves a rule the 75 % the pools pay back and no
// more, where this track's crowd leaves the likeliest exactas several times the stake. The band of
// the favourite to win and of the exacta box of the three likeliest must hold 75 %, give or take
// five points: the 10-cent cuts keep 1-4 % of a payoff, and the crowd's money strays from the
// chances by its noise and by counting a hundred races. Rules on the long shots are left out: the
// crowd puts more on a horse that never won in the simulated races than it is worth.
TEST(LabDay, NoSimpleRuleBeatsTheSharpCrowd) {
    LabSetup setup = bundledSetup(5, Crowd::Sharp);
    setup.chanceRaces = 100;
    setup.chances = std::make_shared<LabChanceCache>();
    const std::vector<Strategy> rules = {named("favourite-win"), named("exacta-box-top3")};
    const std::vector<LabRun> runs = runLabs(setup, rules, 24);
    constexpr double PaidBack = 0.75;
    constexpr double Unseen = 0.05;
    for (std::size_t i = 0; i < rules.size(); ++i) {
        const LabSummary s = summarize(runs[i], setup);
        SCOPED_TRACE(rules[i].name + " returns " + std::to_string(s.returnRate));
        EXPECT_LT(s.returnBand.low, PaidBack + Unseen);
        EXPECT_GT(s.returnBand.high, PaidBack - Unseen);
        EXPECT_LT(s.returnBand.high - s.returnBand.low, 0.5); // narrow enough to tell
    }
}

// Whatever the threads, and whether the chances come from a cache filled by another run or not.
TEST(LabRun, SameDaysWhateverTheThreadCountOrCachedChances) {
    LabSetup setup = bundledSetup(7, Crowd::Sharp);
    const Strategy strategy = named("value-win");
    const LabRun one = runLab(setup, strategy, 3, {1, {}, {}});
    setup.chances = std::make_shared<LabChanceCache>();
    const LabRun three = runLab(setup, strategy, 3, {3, {}, {}});
    const LabRun cached = runLab(setup, strategy, 3, {2, {}, {}});
    for (const LabRun* run : {&three, &cached}) {
        ASSERT_EQ(run->days.size(), 3u);
        for (std::size_t d = 0; d < 3; ++d) {
            EXPECT_EQ(one.days[d].seed, run->days[d].seed);
            EXPECT_EQ(one.days[d].staked, run->days[d].staked);
            EXPECT_EQ(keysOf(one.days[d].credits), keysOf(run->days[d].credits));
        }
    }
}

// Stopped two days into the second of two strategies: both keep the same two days.
TEST(LabRun, ACancelledRunKeepsOnlyWholeDaysFromTheFirst) {
    std::stop_source stop;
    int seen = 0;
    LabOptions options{1,
                       [&](int done, int total) {
                           seen = done;
                           EXPECT_EQ(total, 10);
                           if (done == 7)
                               stop.request_stop();
                       },
                       stop.get_token()};
    const auto runs = runLabs(bundledSetup(3), {named("post1-win"), named("favourite-win")}, 5, options);
    ASSERT_EQ(runs.size(), 2u);
    for (const LabRun& run : runs) {
        EXPECT_TRUE(run.cancelled);
        EXPECT_EQ(run.days.size(), 2u);
    }
    EXPECT_EQ(seen, 7);
}

// Days are independent trials, so the band's width goes as one over the root of the days: four
// times the days, half the width. A fixed seed keeps the check from ever flaking.
TEST(LabSummary, ReturnBandShrinksAsOneOverTheRootOfTheDays) {
    const LabSetup setup = bundledSetup(42);
    const Strategy strategy = named("every-win");
    const LabSummary few = summarize(runLab(setup, strategy, 12), setup);
    const LabSummary many = summarize(runLab(setup, strategy, 48), setup);
    const double fewWidth = few.returnBand.high - few.returnBand.low;
    const double manyWidth = many.returnBand.high - many.returnBand.low;
    ASSERT_GT(manyWidth, 0);
    EXPECT_NEAR(fewWidth / manyWidth, 2.0, 0.8);
    for (const LabSummary* s : {&few, &many}) {
        EXPECT_LT(s->returnBand.low, s->returnRate);
        EXPECT_GT(s->returnBand.high, s->returnRate);
    }
}

TEST(LabSummary, CountsHitsRunsAndSpreadOfTheDays) {
    LabRun run;
    // Bets races 1-3 (numbers start again each race) and a Daily Double in race 1; collects on the
    // win ticket of race 2 and, in race 2, on the Daily Double.
    LabDayResult a;
    a.tickets = {{1, "$2 Win on 1", 2125, 200},
                 {1, "$2 DailyDouble Wheel 1 with 2", 2126, 200},
                 {2, "$2 Win on 2", 2125, 200},
                 {3, "$2 Win on 3", 2125, 200}};
    a.credits = {{2, 2125, "Win", 700, 40}, {2, 2126, "DDb", 300, 0}};
    a.staked = 800;
    a.returned = 1000;
    a.betOn[0] = a.betOn[1] = a.betOn[2] = true;
    a.collected[1] = true;
    LabDayResult b; // bets races 1-4 and never collects: the losing run goes on from day a's race 3
    for (int r = 0; r < 4; ++r) {
        b.tickets.push_back({r + 1, "$2 Win on 4", 20 + r, 200});
        b.betOn[static_cast<std::size_t>(r)] = true;
    }
    b.staked = 800;
    run.days = {a, b};
    LabSetup setup;
    setup.bankroll = 100;
    const LabSummary s = summarize(run, setup);
    EXPECT_EQ(std::tuple(s.tickets, s.hits, s.hitRate, s.worstLosingRun, s.biggestWin, s.breakage, s.takeout,
                         s.bestDay, s.worstDay),
              std::tuple(8, 2, 0.25, 5, Cents{700}, Cents{40}, Cents{400}, Cents{200}, Cents{-800}));
    int counted = 0;
    for (const HistogramBin& bin : s.histogram)
        counted += bin.days;
    EXPECT_EQ(std::tuple(counted, s.histogram.front().days, s.histogram.back().days), std::tuple(2, 1, 1));
    ASSERT_EQ(s.bankroll.size(), 2u);
    // Two days drawn again: after two days the bankroll is 100 dollars plus two of +2 and -8.
    EXPECT_EQ(std::pair(s.bankroll[1].low, s.bankroll[1].high),
              std::pair(Cents{10000 - 1600}, Cents{10000 + 400}));
}

// A board of one race: odds 1..8 to 1 by post, post 8 with no money; chances by hand.
struct Board {
    SeededRandom random{1};
    test::ScriptedPrompter prompter;
    RaceDay day{DataFolder::inMemory({}), random, prompter};
    ChanceEstimate chances;
    Board() {
        const double win[FieldSize] = {0.30, 0.25, 0.15, 0.10, 0.08, 0.06, 0.04, 0.02};
        const double top[FieldSize] = {0.60, 0.65, 0.40, 0.30, 0.25, 0.20, 0.15, 0.05};
        for (std::size_t h = 0; h < FieldSize; ++h) {
            day.pools.win[h] = h < 7 ? 100 : 0;
            day.pools.winOdds[h] = static_cast<float>(h + 1);
            chances.entries[h].win = win[h];
            chances.entries[h].topThreeShare = top[h];
        }
        chances.races = 1000;
    }
};

TEST(LabRule, PicksTheHorsesItsConditionsHold) {
    Board board;
    const RaceView view{board.day, 1, &board.chances, 0};
    const struct {
        const char* rule;
        std::string tickets;
    } cases[] = {
        {"win", "$2 Win on 12345678"},
        {"show when rank = 1", "$2 Show on 1"},
        {"win when odds >= 5", "$2 Win on 5678"},
        {"win when post<3", "$2 Win on 12"},
        // value: chance x (odds + 1) = .6 .75 .6 .5 .48 .42 .32 and 0 for the horse without money
        {"win when value > 0.59 and odds > 1", "$2 Win on 23"},
        {"place when top3 >= 0.4", "$2 Place on 123"},
        {"win when chance > 0.5", ""},
        {"favourite-win", "$2 Win on 1"},
        {"longshot-win", "$2 Win on 7"},
        {"likeliest-show", "$2 Show on 2"},
        {"exacta-box-top3", "$2 Exacta Box 123"},
        {"best-value-win", ""}, // the best returns 0.75 a dollar: not worth the stake
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rule);
        const Strategy strategy = named(c.rule);
        std::string tickets;
        for (ParsedTicket t : strategy.plan(view)) {
            t.amount = 2;
            tickets += ticketText(t);
        }
        EXPECT_EQ(tickets, c.tickets);
    }
}

TEST(LabRule, RefusesWhatIsNotARule) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"", "a rule starts with win, place or show"},
        {"exacta when odds > 2",
         "\"exacta\" is neither a strategy nor a rule (a rule starts with win, place or show)"},
        {"win if odds > 2", "after the bet a rule goes on with \"when\", not \"if\""},
        {"win when odds >", "a condition is a field, a comparison and a number, e.g. odds >= 5"},
        {"win when speed > 2", "\"speed\" is not a field (odds, rank, post, chance, top3, value)"},
        {"win when odds ! 2", "\"!\" is not a comparison (> >= < <= =)"},
        {"win when odds > 2x", "\"2x\" is not a number"},
        {"win when odds > 2 or post = 1", "conditions are joined by \"and\", not \"or\""},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(findStrategy(c.text, &error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
    EXPECT_TRUE(findStrategy("win when value > 1.2 and odds >= 5")->needsChances);
    EXPECT_FALSE(findStrategy("win when odds >= 5 and rank < 3")->needsChances);
}
