#include "wagering/BetEntry.h"
#include "wagering/TicketList.h"

#include "WageringFixture.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using namespace sw;
using sw::test::WageringDay;

namespace {

const char* const PleaseBet = "Please make bet selection and/or select between Wheel, Box, or Straight.";
const char* const PleaseHorses = "Please select your horse(s) before clicking the With button.";

class BetEntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        w.day.db.settings.defaultBetAmount = 200;
        w.addPlayer(3, "Ann", 40000);
        w.select(0);
        entry.start(w.day);
    }

    // Plays clicks as the window forwards them: "$5" turns the spinner, a bet or mode word presses
    // its button, digits pick those posts, and Next, All, With, Back, Finish, Clear, Cancel and
    // Tab0..Tab2 do what they say, Bettor0.. chooses that player. Returns the clicks that were refused.
    std::string play(std::string_view clicks) {
        std::istringstream in{std::string(clicks)};
        std::string refused;
        for (std::string word; in >> word;) {
            bool done = true;
            if (word[0] == '$')
                entry.amountSpinChanged(std::stoi(word.substr(1)));
            else if (word == "Next")
                done = entry.page() == AmountPage ? entry.nextToBet(w.day) : entry.nextToHorses(w.day);
            else if (word == "All")
                done = entry.pickAll();
            else if (word == "With")
                done = entry.with(w.day);
            else if (word == "Back")
                done = entry.clearPick();
            else if (word == "Finish")
                done = entry.finish(w.day, list);
            else if (word == "Clear")
                entry.clearBet(w.day);
            else if (word == "Cancel")
                entry.cancelBet();
            else if (word.starts_with("Tab"))
                entry.stageChanged(w.day, word[3] - '0');
            else if (word.starts_with("Bettor"))
                done = entry.selectBettor(w.day, word[6] - '0');
            else if (auto type = betTypeFromWord(word))
                done = entry.chooseBetType(w.day, *type);
            else if (auto mode = modeFromWord(word))
                done = entry.chooseBetKind(*mode);
            else
                for (char c : word)
                    done = entry.pickHorse(c - '1') && done;
            if (!done)
                refused += (refused.empty() ? "" : " ") + word;
        }
        return refused;
    }

    // What the entry shows: amount, bet and mode labels, page, leg, picks, the posts still free
    // (or what each pick is for), and which buttons are usable (With, Finish and Back live on the
    // horses page).
    std::string state() const {
        std::string s = "$" + entry.betAmount() + " " + entry.betNameLabel() + "/" + entry.betKindLabel() +
                        " p" + std::to_string(entry.page()) + " L" + std::to_string(entry.currentLeg()) +
                        " [" + entry.picks() + "] ";
        for (int i = 0; i < 8; ++i)
            s += entry.horseUsable(i)        ? std::string(1, static_cast<char>('1' + i))
                 : entry.pickMark(i).empty() ? "."
                                             : "(" + entry.pickMark(i) + ")";
        std::string modes;
        for (const ModeButton& button : modeButtons())
            if (entry.modeButtonUsable(button.mode))
                modes += modeWord(button.mode).front();
        if (!modes.empty())
            s += modes == "SBW" ? " modes" : " modes:" + modes;
        if (entry.page() == HorsesPage) {
            s += entry.withUsable() ? " with" : "";
            s += entry.finishUsable() ? " finish" : "";
            s += entry.backUsable() ? " back" : "";
        }
        return s;
    }

    std::string lastTicket() const { return w.day.tickets.empty() ? "" : w.day.tickets.back().text; }
    std::string lastMessage() const {
        return w.prompter.shown().empty() ? "" : w.prompter.shown().back().text;
    }

    WageringDay w;
    BetEntry entry;
    TicketList list;
};

// Each case plays its clicks from a fresh entry; the state is read where "?" stands, or at the end.
TEST_F(BetEntryTest, ClicksBuildATicketAndTheEntryShowsWhatIsUsable) {
    w.day.pick6Offered = true; // as in race 7: neither the Daily Double nor the Pick 3 is sold
    auto raised = [](std::string bet) {
        return "Minimum amount for " + bet + " is $2\r\nYour amount will be set $2";
    };
    struct Case {
        const char* clicks;
        const char* state;
        const char* refused = "";
        const char* ticket = "";
        std::string message = "";
        const char* slip = nullptr;  // the slip's line where the state is read
        const char* post3 = nullptr; // what horse button 3 says to a screen reader there
    } cases[] = {
        // The amount and bet pages.
        {"Next Next Tab2", "$2 /Straight p1 L1 [] 12345678", "Next", "", PleaseBet},
        {"Next Exacta ? Cancel Next", "$2 Exacta/Straight p1 L1 [] 12345678 modes", "Next", "", "",
         "$2 Exacta Straight"},
        {"Next DailyDouble Pick3", "$2 /Straight p1 L1 [] 12345678", "DailyDouble Pick3"},
        // Win, Place, Show and Across The Board take $2 at least; other bets take any amount.
        {"$1 Win", "$2 Win/Straight p0 L1 [] 12345678", "", "", raised("Win")},
        {"$2 Win", "$2 Win/Straight p0 L1 [] 12345678"},
        {"$0 Exacta Twin-Tri", "$0 Twin-Tri/ p0 L1 [] 12345678 modes"},
        {"Next Show $1 Next 4 Finish", "$2 Show/Straight p0 L1 [] 12345678", "", "$2 Show on 4",
         raised("Show")},
        // One set of horses; a horse once.
        {"Next Win Next 5 5 9 2 All ? Back All Finish",
         "$2 Win/Straight p2 L1 [All] (Win)(Win)(Win)(Win)(Win)(Win)(Win)(Win) finish back", "5 9",
         "$2 Win on All", "", "$2 Win on All: 8 bets, $16"},
        // Boxes and straights.
        {"Next Exacta Box Next 134 ? Finish",
         "$2 Exacta/Box p2 L1 [134] (Box)2(Box)(Box)5678 modes finish back", "", "$2 Exacta Box 134", "",
         "$2 Exacta Box 1-3-4: 6 bets, $12", "Post 3, Outrigger, 7/2"},
        // Only a whole ticket has a cost on the slip.
        {"Next Superfecta Straight Next 874 ? 1 Finish",
         "$2 Superfecta/Straight p2 L1 [874] 123(3rd)56(2nd)(1st) modes back", "",
         "$2 Superfecta Straight 8741", "", "$2 Superfecta Straight 8-7-4"},
        // Wheels: a set per position, the last one finishing.
        {"$5 Next Trifecta Wheel Next 1 With 23 ? With With 2345 Finish",
         "$5 Trifecta/Wheel p2 L2 [23] 1(2nd)(2nd)45678 modes with back", "With",
         "$5 Trifecta Wheel 1 with 23 with 2345", "", "$5 Trifecta Wheel 1 with 2-3"},
        {"Next Quiniela Wheel Next 3 ? With 12 Finish",
         "$2 Quiniela/Wheel p2 L1 [3] 12(Key)45678 modes with back", "", "$2 Quiniela Wheel 3 with 12"},
        {"Next Quiniela Wheel Next With ? 12 With 12 Finish",
         "$2 Quiniela/Wheel p2 L1 [] 12345678 modes with", "With", "$2 Quiniela Wheel 12 with 12",
         PleaseHorses},
        // Multi-race bets: a winner set per race.
        // A later leg's horses are the next race's: the reader names it.
        {"Next Pick6 Next 2 With 3 ? With 4 With 5 With 6 With All With Finish",
         "$2 Pick6/Wheel p2 L2 [3] 12(Leg 2)45678 with back", "With",
         "$2 Pick6 Wheel 2 with 3 with 4 with 5 with 6 with All", "", nullptr,
         "Post 3 in race 2, Bluebell, 5"},
        // Leaving an entry half done: Clear keeps the bet, a new Next or another bet starts the
        // horses afresh, and tabbing away and back keeps an unchanged entry.
        {"Next Exacta Wheel Next 1 With 3 Clear ? Tab2 4 With 5 Finish",
         "$2 Exacta/Wheel p0 L1 [] 12345678 modes", "", "$2 Exacta Wheel 4 with 5"},
        {"Next Exacta Wheel Next 1 With 2 Tab0 Tab2 ? 3 Finish",
         "$2 Exacta/Wheel p2 L2 [2] 1(2nd)345678 modes back", "", "$2 Exacta Wheel 1 with 23", "",
         "$2 Exacta Wheel 1 with 2: 1 bet, $2"},
        // Another bettor starts afresh: no bet, the default amount; the same bettor keeps the entry.
        {"$5 Next Exacta Box Next 13 Bettor1 ?", "$2 / p0 L1 [] 12345678", "", "", "", "$2"},
        {"$5 Next Exacta Bettor0", "$5 Exacta/Straight p1 L1 [] 12345678 modes"},
    };
    w.addPlayer(4, "Bob", 40000);
    w.day.entries.name[2] = "Outrigger";
    w.day.pools.winOdds[2] = 3.5f;
    w.day.card.raceHorse[1][2] = 17;
    w.day.db.horses[17].name = "Bluebell";
    w.day.pools.oddsByRace[2][2] = 5;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clicks);
        w.select(0);
        entry.start(w.day);
        w.day.tickets.clear();
        w.prompter.clear();
        std::string_view clicks = c.clicks;
        const std::size_t read = std::min(clicks.find('?'), clicks.size());
        std::string refused = play(clicks.substr(0, read));
        EXPECT_EQ(state(), c.state);
        if (c.slip) {
            EXPECT_EQ(entry.slipLine(), c.slip);
        }
        if (c.post3) {
            EXPECT_EQ(entry.horseButtonName(w.day, 2), c.post3);
        }
        if (std::string more = read < clicks.size() ? play(clicks.substr(read + 1)) : ""; !more.empty())
            refused += (refused.empty() ? "" : " ") + more;
        EXPECT_EQ(refused, c.refused);
        EXPECT_EQ(lastTicket(), c.ticket);
        EXPECT_EQ(lastMessage(), c.message);
    }
}

TEST_F(BetEntryTest, AmountsAreRoundedHalfToEvenAndKeptWithinZeroTo32000) {
    enum From { Default, All, Spinner };
    struct Case {
        From from;
        double value;
        int amount;
    } cases[] = {// All three go through one rounding: the balance and the spinner need only be read.
                 {Default, 2.5, 2}, {Default, 3.5, 4}, {Default, 50000, 32000},
                 {Default, -4, 0},  {All, 12.5, 12},   {Spinner, 32001, 32000}};
    for (const Case& c : cases) {
        w.day.db.settings.defaultBetAmount = static_cast<Cents>(c.value * 100);
        w.day.players.balanceLabel = std::to_string(c.value); // "All" bets the balance
        entry.start(w.day);
        if (c.from == All)
            entry.selectAmountPreset(w.day, AllAmountPreset);
        if (c.from == Spinner)
            entry.amountSpinChanged(static_cast<int>(c.value));
        EXPECT_EQ(entry.amountSpin(), c.amount) << c.from << " " << c.value;
        EXPECT_EQ(entry.betAmount(), std::to_string(c.amount)) << c.from << " " << c.value;
    }
    w.day.players.balanceLabel = "12.50";
    std::string presets; // "-": refused; the eighth is All
    for (int i = -1; i <= 8; ++i)
        presets += (entry.selectAmountPreset(w.day, i) ? entry.betAmount() : "-") + " ";
    EXPECT_EQ(presets, "- 1 2 5 10 20 50 100 12 - ");
}

TEST_F(BetEntryTest, AnExchangeIsEnteredAsItsSecondHalfsBetAtItsCreditsAmount) {
    w.day.currentRace = 11;
    w.day.exchangeBetsOffered = false;
    const int cy = w.addPlayer(9, "Cy", 50);
    const int dee = w.addPlayer(11, "Dee", 5000);
    w.day.exchangeCredits = {{57, 3, 5, "Tri-Super", 12, "3-5-1", 4120, 0},
                             {58, 3, 5, "Tri-Super", 11, "3-5-1", 4120, 0},
                             {59, 9, 5, "Tri-Super", 12, "3-5-1", 4120, 0},
                             {60, 99, 5, "Tri-Super", 12, "3-5-1", 4120, 0}};
    EXPECT_FALSE(entry.startExchange(w.day, 58)) << "a credit for another race";
    EXPECT_FALSE(entry.startExchange(w.day, 59)) << "its owner is out of cash";
    EXPECT_FALSE(entry.startExchange(w.day, 60)) << "its owner is no longer listed";
    EXPECT_NE(w.day.players.selected, cy);
    w.select(dee);
    EXPECT_EQ(play("Next Exacta Box"), "");
    ASSERT_TRUE(entry.startExchange(w.day, 57));
    EXPECT_EQ(w.day.players.selected, 0) << "the owner bets";
    EXPECT_EQ(entry.exchangeBanner(w.day), "Exchanging credit 57 (Ann)");
    // One credit buys one combination: the second half is Straight, whatever mode came before.
    EXPECT_EQ(state(), "$5 Tri-Super/Straight p1 L1 [] 12345678 modes:S");
    EXPECT_EQ(play("Box Wheel"), "Box Wheel");
    EXPECT_NE(entry.modeRefusal(BetMode::Wheel).find("buy an ordinary Superfecta"), std::string::npos);
    EXPECT_EQ(entry.modeRefusal(BetMode::Straight), "");
    // The second half is a superfecta: four horses.
    EXPECT_EQ(play("Next 1234"), "");
    EXPECT_EQ(entry.slipLine(), "$5 Tri-Super Straight 1-2-3-4: 1 bet, $0") << "the credit pays";
    EXPECT_EQ(play("Finish"), "");
    EXPECT_EQ(lastTicket(), "$5 Tri-Super Exchange 57 Straight 1234");
    EXPECT_EQ(entry.exchange(), 0);
    EXPECT_EQ(play("Next Exacta Box"), "") << "an ordinary bet takes every mode again";
    EXPECT_FALSE(entry.chooseBetType(w.day, BetType::TriSuper)) << "race 12 sells no first half";
}

} // namespace
