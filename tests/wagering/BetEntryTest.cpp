#include "wagering/BetEntry.h"
#include "wagering/TicketList.h"

#include "WageringFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace sw;
using sw::test::WageringDay;

namespace {

class BetEntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        w.day.db.settings.defaultBetAmount = 2;
        w.addPlayer(3, "Ann", 400);
        w.select(0);
        entry.start(w.day);
    }

    // Amount, bet and mode chosen, horses page shown.
    void toHorses(BetType type, BetMode mode = BetMode::Straight, int amount = 2) {
        entry.amountSpinChanged(amount);
        ASSERT_TRUE(entry.nextToBet(w.day));
        ASSERT_TRUE(entry.chooseBetType(w.day, type));
        if (!isSingleHorseBet(type) && !isMultiRace(type)) {
            ASSERT_TRUE(entry.chooseBetKind(mode));
        }
        ASSERT_TRUE(entry.nextToHorses(w.day));
        ASSERT_EQ(entry.page(), HorsesPage);
    }

    void pick(std::string_view posts) {
        for (char c : posts)
            entry.pickHorse(c - '1');
    }

    std::string lastTicket() const { return w.day.tickets.empty() ? "" : w.day.tickets.back().text; }

    WageringDay w;
    BetEntry entry;
    TicketList list;
};

// --- Amount ---

TEST_F(BetEntryTest, StartsOnTheAmountPageWithTheDefaultAmountRoundedHalfToEven) {
    w.day.db.settings.defaultBetAmount = 2.5f;
    entry.start(w.day);
    EXPECT_EQ(entry.page(), AmountPage);
    EXPECT_EQ(entry.amountSpin(), 2);
    EXPECT_EQ(entry.betAmount(), "2");
    EXPECT_EQ(entry.currentLeg(), 1);
    EXPECT_FALSE(entry.modeButtonsUsable());
    EXPECT_FALSE(entry.backUsable());
    w.day.db.settings.defaultBetAmount = 3.5f;
    entry.start(w.day);
    EXPECT_EQ(entry.betAmount(), "4");
}

TEST_F(BetEntryTest, DefaultAmountStaysWithinTheSpinnerRange) {
    w.day.db.settings.defaultBetAmount = 50000;
    entry.start(w.day);
    EXPECT_EQ(entry.amountSpin(), 32000);
    w.day.db.settings.defaultBetAmount = -4;
    entry.start(w.day);
    EXPECT_EQ(entry.amountSpin(), 0);
    EXPECT_EQ(entry.betAmount(), "0");
}

TEST_F(BetEntryTest, PresetsSetTheAmountAndTheSpinner) {
    const int amounts[] = {1, 2, 5, 10, 20, 50, 100};
    for (int i = 0; i < 7; ++i) {
        ASSERT_TRUE(entry.selectAmountPreset(w.day, i));
        EXPECT_EQ(entry.amountSpin(), amounts[i]);
        EXPECT_EQ(entry.betAmount(), std::to_string(amounts[i]));
    }
    EXPECT_FALSE(entry.selectAmountPreset(w.day, 8));
    EXPECT_FALSE(entry.selectAmountPreset(w.day, -1));
    EXPECT_EQ(amountPresets()[AllAmountPreset].caption, "All");
}

TEST_F(BetEntryTest, AllOfABalanceOfTwelveFiftyBetsTwelve) {
    w.day.players.balanceLabel = "12.50";
    entry.selectAmountPreset(w.day, AllAmountPreset);
    EXPECT_EQ(entry.amountSpin(), 12);
    EXPECT_EQ(entry.betAmount(), "12");
    EXPECT_EQ(allAmountPointerTooltip(w.day), "$12.5");
    w.day.players.balanceLabel = "13.50";
    entry.selectAmountPreset(w.day, AllAmountPreset);
    EXPECT_EQ(entry.betAmount(), "14");
}

TEST_F(BetEntryTest, AllStaysWithinZeroToThirtyTwoThousand) {
    w.day.players.balanceLabel = "99999.00";
    entry.selectAmountPreset(w.day, AllAmountPreset);
    EXPECT_EQ(entry.amountSpin(), 32000);
    EXPECT_EQ(entry.betAmount(), "32000");
    w.day.players.balanceLabel = "-3.00";
    entry.selectAmountPreset(w.day, AllAmountPreset);
    EXPECT_EQ(entry.amountSpin(), 0);
    EXPECT_EQ(entry.betAmount(), "0");
}

TEST_F(BetEntryTest, SpinnerStaysWithinItsRange) {
    entry.amountSpinChanged(7);
    EXPECT_EQ(entry.betAmount(), "7");
    entry.amountSpinChanged(32001);
    EXPECT_EQ(entry.amountSpin(), 32000);
    entry.amountSpinChanged(-1);
    EXPECT_EQ(entry.betAmount(), "0");
}

// --- Pages and their checks ---

TEST_F(BetEntryTest, WithoutAPlayerTheBetPagesCannotBeEntered) {
    w.day.players.selected = -1;
    EXPECT_FALSE(BetEntry::next1Usable(w.day));
    EXPECT_FALSE(entry.nextToBet(w.day));
    entry.stageChanged(w.day, BetPage);
    EXPECT_EQ(entry.page(), AmountPage);
    entry.stageChanged(w.day, HorsesPage);
    EXPECT_EQ(entry.page(), AmountPage);
    ASSERT_EQ(w.prompter.shown().size(), 2u);
    EXPECT_EQ(w.prompter.shown()[0].text, "Need to add a player.");
    EXPECT_EQ(w.prompter.shown()[0].title, "Stridewell");
}

TEST_F(BetEntryTest, TheFirstStepIsToAddAPlayerUntilOneIsListed) {
    ASSERT_FALSE(w.day.players.entries.empty());
    EXPECT_EQ(BetEntry::firstStep(w.day), "");
    w.day.players.entries.clear();
    w.day.players.selected = -1;
    EXPECT_EQ(BetEntry::firstStep(w.day), "Add a player to start betting");
}

TEST_F(BetEntryTest, HorsesPageNeedsABetAndAMode) {
    entry.nextToBet(w.day);
    EXPECT_FALSE(entry.next2Usable());
    EXPECT_FALSE(entry.nextToHorses(w.day));
    entry.stageChanged(w.day, HorsesPage);
    EXPECT_EQ(entry.page(), BetPage);
    EXPECT_TRUE(
        w.prompter.sawText("Please make bet selection and/or select between Wheel, Box, or Straight."));
}

TEST_F(BetEntryTest, EnteringAPageWithoutAModeMakesItStraight) {
    entry.nextToBet(w.day);
    entry.chooseBetType(w.day, BetType::Exacta);
    EXPECT_EQ(entry.betKindLabel(), "Straight");
    EXPECT_TRUE(entry.next2Usable());
    entry.cancelBet();
    EXPECT_EQ(entry.betNameLabel(), "");
    EXPECT_EQ(entry.betKindLabel(), "");
    EXPECT_FALSE(entry.modeButtonsUsable());
    EXPECT_FALSE(entry.next2Usable());
}

TEST_F(BetEntryTest, PageTooltips) {
    EXPECT_EQ(pageTooltip(AmountPage), "Select player and amount per bet, then click on the Next button.");
    EXPECT_EQ(pageTooltip(BetPage),
              "Select type of bet, Box, Wheel or Straight (if necessary), then click on the Next button.");
    EXPECT_EQ(pageTooltip(HorsesPage), "");
}

// --- Choosing the bet ---

TEST_F(BetEntryTest, WinPlaceShowAndWpsRaiseAnAmountBelowTwo) {
    struct Case {
        BetType type;
        const char* line;
    } cases[] = {{BetType::Win, "Minimum amount for Win is $2"},
                 {BetType::Place, "Minimum amount for Place is $2"},
                 {BetType::Show, "Minimum amount for Show is $2"},
                 {BetType::WPS, "Minimum amount for Win,Place,Show is $2"}};
    for (const Case& c : cases) {
        w.prompter.clear();
        entry.amountSpinChanged(1);
        entry.chooseBetType(w.day, c.type);
        ASSERT_EQ(w.prompter.shown().size(), 1u);
        EXPECT_EQ(w.prompter.shown()[0].text, std::string(c.line) + "\r\nYour amount will be set $2");
        EXPECT_EQ(entry.betAmount(), "2");
        EXPECT_EQ(entry.amountSpin(), 2);
        EXPECT_EQ(entry.betKindLabel(), "Straight");
        EXPECT_FALSE(entry.modeButtonsUsable());
    }
    EXPECT_EQ(entry.betNameLabel(), "WPS");
}

TEST_F(BetEntryTest, AnAmountLoweredAfterTheBetButtonIsRaisedAtFinish) {
    ASSERT_TRUE(entry.nextToBet(w.day));
    ASSERT_TRUE(entry.chooseBetType(w.day, BetType::Show));
    entry.amountSpinChanged(1);
    ASSERT_TRUE(entry.nextToHorses(w.day));
    pick("4");
    ASSERT_TRUE(entry.finish(w.day, list));
    EXPECT_EQ(lastTicket(), "$2 Show on 4");
    EXPECT_TRUE(w.prompter.sawText("Minimum amount for Show is $2\r\nYour amount will be set $2"));
    EXPECT_EQ(entry.betAmount(), "2");
    EXPECT_EQ(entry.amountSpin(), 2);
}

TEST_F(BetEntryTest, OtherBetsTakeAnyAmount) {
    entry.amountSpinChanged(0);
    entry.chooseBetType(w.day, BetType::Exacta);
    entry.chooseBetType(w.day, BetType::TwinTri);
    EXPECT_TRUE(w.prompter.shown().empty());
    EXPECT_EQ(entry.betAmount(), "0");
    EXPECT_TRUE(entry.modeButtonsUsable());
    EXPECT_EQ(entry.betNameLabel(), "Twin-Tri");
}

TEST_F(BetEntryTest, ModesAreChosenOnlyForExoticBets) {
    entry.chooseBetType(w.day, BetType::Win);
    EXPECT_FALSE(entry.chooseBetKind(BetMode::Box));
    EXPECT_EQ(entry.betKindLabel(), "Straight");
    entry.chooseBetType(w.day, BetType::Superfecta);
    EXPECT_TRUE(entry.chooseBetKind(BetMode::Wheel));
    EXPECT_EQ(entry.betKind(), "Wheel");
    EXPECT_FALSE(entry.chooseBetKind(BetMode::On));
}

TEST_F(BetEntryTest, MultiRaceBetsOnlyInTheirOpeningRaceAndAlwaysWheels) {
    for (BetType type : {BetType::DailyDouble, BetType::Pick3, BetType::Pick6}) {
        EXPECT_FALSE(BetEntry::betButtonUsable(w.day, type));
        EXPECT_FALSE(entry.chooseBetType(w.day, type));
    }
    EXPECT_EQ(entry.betNameLabel(), "");
    w.day.pick3Offered = true;
    EXPECT_FALSE(BetEntry::betButtonUsable(w.day, BetType::DailyDouble));
    EXPECT_TRUE(BetEntry::betButtonUsable(w.day, BetType::Pick3));
    EXPECT_FALSE(BetEntry::betButtonUsable(w.day, BetType::Pick6));
    EXPECT_TRUE(entry.chooseBetType(w.day, BetType::Pick3));
    EXPECT_EQ(entry.betNameLabel(), "Pick3");
    EXPECT_EQ(entry.betKindLabel(), "Wheel");
    EXPECT_FALSE(entry.modeButtonsUsable());
    EXPECT_TRUE(entry.next2Usable());
    EXPECT_TRUE(BetEntry::betButtonUsable(w.day, BetType::Trifecta));
}

TEST_F(BetEntryTest, AnExchangeIsEnteredAsItsSecondHalfsBetAtItsCreditsAmount) {
    w.day.currentRace = 11;
    w.day.exchangeBetsOffered = false;
    EXPECT_FALSE(BetEntry::betButtonUsable(w.day, BetType::TriSuper)) << "no race follows the last";
    const int cy = w.addPlayer(9, "Cy", 0.5f);
    const int dee = w.addPlayer(11, "Dee", 50);
    w.day.exchangeCredits = {{57, 3, 5, "Tri-Super", 12, "3-5-1", 41.2f, 0},
                             {58, 3, 5, "Tri-Super", 11, "3-5-1", 41.2f, 0},
                             {59, 9, 5, "Tri-Super", 12, "3-5-1", 41.2f, 0}};
    EXPECT_FALSE(entry.startExchange(w.day, 58)) << "a credit for another race";
    EXPECT_FALSE(entry.startExchange(w.day, 59)) << "its owner is out of cash";
    EXPECT_NE(w.day.players.selected, cy);
    w.select(dee);
    ASSERT_TRUE(entry.startExchange(w.day, 57));
    EXPECT_EQ(w.day.players.selected, 0) << "the owner bets";
    EXPECT_EQ(entry.page(), BetPage);
    EXPECT_EQ(entry.betAmount(), "5");
    EXPECT_EQ(entry.betNameLabel(), "Tri-Super");
    ASSERT_TRUE(entry.chooseBetKind(BetMode::Wheel));
    ASSERT_TRUE(entry.nextToHorses(w.day));
    for (std::string_view leg : {"1", "2", "3"}) {
        pick(leg);
        ASSERT_TRUE(entry.with(w.day));
    }
    EXPECT_EQ(entry.instruction(),
              "Choose 1 or more horses to come in 4th place, then click the Finish button");
    pick("45");
    ASSERT_TRUE(entry.finish(w.day, list));
    EXPECT_EQ(lastTicket(), "$5 Tri-Super Exchange 57 Wheel 1 with 2 with 3 with 45");
    EXPECT_EQ(entry.exchange(), 0);
}

// --- Picking horses ---

TEST_F(BetEntryTest, AFinishedBoxIsListedForTheSelectedPlayer) {
    toHorses(BetType::Exacta, BetMode::Box);
    EXPECT_EQ(entry.legs(), (std::vector<std::string>{"2", "Exacta", "Box"}));
    EXPECT_EQ(entry.instruction(), "Choose 2 or more horses then click the Finish button");
    EXPECT_FALSE(entry.finishUsable());
    pick("134");
    EXPECT_EQ(entry.picks(), "134");
    EXPECT_FALSE(entry.horseUsable(0));
    EXPECT_TRUE(entry.horseUsable(1));
    ASSERT_TRUE(entry.finish(w.day, list));
    ASSERT_EQ(w.day.tickets.size(), 1u);
    EXPECT_EQ(w.day.tickets[0].text, "$2 Exacta Box 134");
    EXPECT_EQ(w.day.tickets[0].playerId, 3);
    EXPECT_FALSE(w.day.tickets[0].paid);
    EXPECT_EQ(entry.page(), AmountPage);
    EXPECT_TRUE(entry.legs().empty());
    EXPECT_EQ(entry.picks(), "");
    EXPECT_EQ(entry.currentLeg(), 1);
    EXPECT_TRUE(entry.horseUsable(0));
    EXPECT_EQ(list.selected(), 0);
    EXPECT_EQ(list.ticketTotal(), "$12");
    EXPECT_EQ(list.ticketBets(), "6");
    EXPECT_TRUE(TicketList::payUsable(w.day));
}

TEST_F(BetEntryTest, APickedHorseCannotBePickedAgain) {
    toHorses(BetType::Win);
    EXPECT_TRUE(entry.pickHorse(4));
    EXPECT_FALSE(entry.pickHorse(4));
    EXPECT_FALSE(entry.pickHorse(8));
    EXPECT_EQ(entry.picks(), "5");
}

TEST_F(BetEntryTest, HorsesArePickedOnlyOnTheHorsesPage) {
    EXPECT_FALSE(entry.pickHorse(0));
    EXPECT_FALSE(entry.pickAll());
    EXPECT_EQ(entry.picks(), "");
}

TEST_F(BetEntryTest, AcrossTheBoardCarriesWpsInItsText) {
    toHorses(BetType::WPS);
    EXPECT_EQ(entry.legs(), (std::vector<std::string>{"2", "WPS", "on"}));
    pick("3");
    ASSERT_TRUE(entry.finish(w.day, list));
    EXPECT_EQ(lastTicket(), "$2 WPS on 3");
}

TEST_F(BetEntryTest, AllIsWrittenAsAWordAndClearedAtOnce) {
    toHorses(BetType::Win);
    pick("2");
    entry.pickAll();
    EXPECT_EQ(entry.picks(), "All");
    EXPECT_TRUE(entry.finishUsable());
    for (int i = 0; i < 8; ++i)
        EXPECT_FALSE(entry.horseUsable(i));
    EXPECT_TRUE(entry.clearPick());
    EXPECT_EQ(entry.picks(), "");
    EXPECT_FALSE(entry.backUsable());
    EXPECT_FALSE(entry.finishUsable());
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(entry.horseUsable(i));
    entry.pickAll();
    entry.finish(w.day, list);
    EXPECT_EQ(lastTicket(), "$2 Win on All");
}

TEST_F(BetEntryTest, StraightExactaIgnoresAThirdHorse) {
    toHorses(BetType::Exacta, BetMode::Straight);
    EXPECT_EQ(entry.instruction(), "Choose 2 horses then click the Finish button");
    pick("2");
    EXPECT_FALSE(entry.finishUsable());
    pick("7");
    EXPECT_TRUE(entry.finishUsable());
    EXPECT_FALSE(entry.pickHorse(2));
    EXPECT_EQ(entry.picks(), "27");
    EXPECT_TRUE(entry.horseUsable(2));
    entry.finish(w.day, list);
    EXPECT_EQ(lastTicket(), "$2 Exacta Straight 27");
}

TEST_F(BetEntryTest, StraightCannotFinishWithAll) {
    toHorses(BetType::Trifecta, BetMode::Straight);
    entry.pickAll();
    EXPECT_FALSE(entry.finishUsable());
    EXPECT_FALSE(entry.finish(w.day, list));
    EXPECT_TRUE(w.day.tickets.empty());
}

TEST_F(BetEntryTest, BoxesNeedTheirMinimumNumberOfHorses) {
    struct Case {
        BetType type;
        int minimum;
    } cases[] = {{BetType::Quiniela, 2}, {BetType::Exacta, 2},   {BetType::Trifecta, 3},
                 {BetType::TwinTri, 3},  {BetType::TriSuper, 3}, {BetType::Superfecta, 4}};
    for (const Case& c : cases) {
        entry.clearBet(w.day);
        toHorses(c.type, BetMode::Box);
        for (int n = 1; n <= c.minimum; ++n) {
            entry.pickHorse(n - 1);
            EXPECT_EQ(entry.finishUsable(), n >= c.minimum) << betWord(c.type) << " with " << n;
        }
        entry.pickHorse(7);
        EXPECT_TRUE(entry.finishUsable()) << betWord(c.type);
    }
}

TEST_F(BetEntryTest, StraightsNeedExactlyTheirNumberOfHorses) {
    toHorses(BetType::Superfecta, BetMode::Straight);
    EXPECT_EQ(entry.instruction(), "Choose 4 horses in exact order then click the Finish button");
    pick("874");
    EXPECT_FALSE(entry.finishUsable());
    pick("1");
    EXPECT_TRUE(entry.finishUsable());
    entry.finish(w.day, list);
    EXPECT_EQ(lastTicket(), "$2 Superfecta Straight 8741");
}

TEST_F(BetEntryTest, ClearPickTakesOffTheLastHorseAndFinishFollows) {
    toHorses(BetType::Exacta, BetMode::Straight);
    pick("27");
    EXPECT_TRUE(entry.clearPick());
    EXPECT_EQ(entry.picks(), "2");
    EXPECT_TRUE(entry.horseUsable(6));
    EXPECT_FALSE(entry.finishUsable());
    EXPECT_TRUE(entry.backUsable());
    EXPECT_TRUE(entry.pickHorse(2));
    EXPECT_EQ(entry.picks(), "23");
    EXPECT_TRUE(entry.finishUsable());
}

TEST_F(BetEntryTest, ClearPickDownToNothingNeverLeavesFinishUsable) {
    toHorses(BetType::Win);
    pick("5");
    EXPECT_TRUE(entry.finishUsable());
    entry.clearPick();
    EXPECT_FALSE(entry.backUsable());
    EXPECT_FALSE(entry.finishUsable());
    EXPECT_FALSE(entry.finish(w.day, list));
    EXPECT_FALSE(entry.clearPick());
    EXPECT_TRUE(w.day.tickets.empty());
}

TEST_F(BetEntryTest, ClearPickOnTheLastWheelLegNeverFinishesEmpty) {
    toHorses(BetType::Exacta, BetMode::Wheel);
    pick("1");
    entry.with(w.day);
    pick("2");
    EXPECT_TRUE(entry.finishUsable());
    entry.clearPick();
    EXPECT_FALSE(entry.finishUsable());
}

// --- Wheels and multi-race bets ---

TEST_F(BetEntryTest, TrifectaWheelBuildsOneSetPerPosition) {
    toHorses(BetType::Trifecta, BetMode::Wheel, 5);
    EXPECT_EQ(entry.instruction(),
              "Choose 1 or more horses to come in 1st place, then click the With button");
    EXPECT_TRUE(entry.withUsable());
    pick("1");
    EXPECT_FALSE(entry.finishUsable());
    ASSERT_TRUE(entry.with(w.day));
    EXPECT_EQ(entry.currentLeg(), 2);
    EXPECT_EQ(entry.picks(), "");
    EXPECT_FALSE(entry.backUsable());
    EXPECT_TRUE(entry.horseUsable(0));
    EXPECT_EQ(entry.instruction(),
              "Choose 1 or more horses to come in 2nd place, then click the With button");
    pick("23");
    EXPECT_FALSE(entry.finishUsable());
    entry.with(w.day);
    EXPECT_EQ(entry.instruction(),
              "Choose 1 or more horses to come in 3rd place, then click the Finish button");
    EXPECT_FALSE(entry.withUsable());
    EXPECT_FALSE(entry.with(w.day));
    pick("2345");
    EXPECT_TRUE(entry.finishUsable());
    EXPECT_EQ(entry.legs(), (std::vector<std::string>{"5", "Trifecta", "Wheel", "1", "23"}));
    entry.finish(w.day, list);
    EXPECT_EQ(lastTicket(), "$5 Trifecta Wheel 1 with 23 with 2345");
}

TEST_F(BetEntryTest, WithNeedsAHorseFirst) {
    toHorses(BetType::Quiniela, BetMode::Wheel);
    EXPECT_FALSE(entry.with(w.day));
    EXPECT_TRUE(w.prompter.sawText("Please select your horse(s) before clicking the With button."));
    EXPECT_EQ(entry.currentLeg(), 1);
    EXPECT_EQ(entry.legs().size(), 3u);
}

TEST_F(BetEntryTest, QuinielaKeyMayHoldMoreThanOneHorse) {
    toHorses(BetType::Quiniela, BetMode::Wheel);
    pick("12");
    entry.with(w.day);
    EXPECT_EQ(entry.instruction(),
              "Choose 1 or more horse to complete the wheel then click the Finish button");
    pick("12");
    entry.finish(w.day, list);
    EXPECT_EQ(lastTicket(), "$2 Quiniela Wheel 12 with 12");
}

TEST_F(BetEntryTest, DailyDoubleTakesAWinnerSetPerRace) {
    w.day.dailyDoubleOffered = true;
    toHorses(BetType::DailyDouble);
    EXPECT_EQ(entry.legs(), (std::vector<std::string>{"2", "DailyDouble", "Wheel"}));
    pick("12");
    entry.with(w.day);
    entry.pickAll();
    EXPECT_TRUE(entry.finishUsable());
    entry.finish(w.day, list);
    EXPECT_EQ(lastTicket(), "$2 DailyDouble Wheel 12 with All");
    EXPECT_EQ(list.ticketTotal(), "$32");
}

TEST_F(BetEntryTest, PickSixRunsSixLegs) {
    w.day.pick6Offered = true;
    toHorses(BetType::Pick6);
    for (int leg = 1; leg < 6; ++leg) {
        EXPECT_TRUE(entry.withUsable()) << leg;
        entry.pickHorse(leg);
        EXPECT_FALSE(entry.finishUsable());
        entry.with(w.day);
    }
    EXPECT_FALSE(entry.withUsable());
    EXPECT_EQ(entry.currentLeg(), 6);
    entry.pickAll();
    entry.finish(w.day, list);
    EXPECT_EQ(lastTicket(), "$2 Pick6 Wheel 2 with 3 with 4 with 5 with 6 with All");
}

// --- Leaving an entry half done ---

TEST_F(BetEntryTest, ClearBetDropsThePicksButKeepsTheBet) {
    toHorses(BetType::Exacta, BetMode::Wheel);
    pick("1");
    entry.with(w.day);
    pick("3");
    entry.clearBet(w.day);
    EXPECT_EQ(entry.page(), AmountPage);
    EXPECT_EQ(entry.picks(), "");
    EXPECT_TRUE(entry.legs().empty());
    EXPECT_EQ(entry.currentLeg(), 1);
    EXPECT_TRUE(entry.horseUsable(2));
    EXPECT_FALSE(entry.backUsable());
    EXPECT_EQ(entry.betNameLabel(), "Exacta");
    EXPECT_EQ(entry.betKindLabel(), "Wheel");
}

TEST_F(BetEntryTest, NextFromTheBetPageStartsTheHorsesAfresh) {
    toHorses(BetType::Exacta, BetMode::Wheel);
    pick("1");
    entry.with(w.day);
    pick("3");
    entry.stageChanged(w.day, BetPage);
    ASSERT_TRUE(entry.nextToHorses(w.day));
    EXPECT_EQ(entry.currentLeg(), 1);
    EXPECT_EQ(entry.picks(), "");
    EXPECT_TRUE(entry.horseUsable(2));
    EXPECT_EQ(entry.instruction(),
              "Choose 1 or more horses to come in 1st place, then click the With button");
    pick("4");
    entry.with(w.day);
    pick("5");
    entry.finish(w.day, list);
    EXPECT_EQ(lastTicket(), "$2 Exacta Wheel 4 with 5");
}

TEST_F(BetEntryTest, TabbingToTheHorsesPageAfterAFinishStillBuildsAWholeTicket) {
    toHorses(BetType::Win);
    pick("5");
    entry.finish(w.day, list);
    entry.stageChanged(w.day, HorsesPage);
    ASSERT_EQ(entry.page(), HorsesPage);
    EXPECT_EQ(entry.legs(), (std::vector<std::string>{"2", "Win", "on"}));
    pick("6");
    ASSERT_TRUE(entry.finish(w.day, list));
    EXPECT_EQ(lastTicket(), "$2 Win on 6");
}

TEST_F(BetEntryTest, TabbingBackAfterChangingTheBetRestartsTheHorses) {
    toHorses(BetType::Exacta, BetMode::Wheel);
    pick("1");
    entry.with(w.day);
    entry.stageChanged(w.day, BetPage);
    entry.chooseBetType(w.day, BetType::Trifecta);
    entry.chooseBetKind(BetMode::Box);
    entry.stageChanged(w.day, HorsesPage);
    EXPECT_EQ(entry.legs(), (std::vector<std::string>{"2", "Trifecta", "Box"}));
    EXPECT_EQ(entry.currentLeg(), 1);
    pick("123");
    entry.finish(w.day, list);
    EXPECT_EQ(lastTicket(), "$2 Trifecta Box 123");
}

TEST_F(BetEntryTest, TabbingAwayAndBackKeepsAnUnchangedEntry) {
    toHorses(BetType::Exacta, BetMode::Wheel);
    pick("1");
    entry.with(w.day);
    pick("2");
    entry.stageChanged(w.day, AmountPage);
    entry.stageChanged(w.day, HorsesPage);
    EXPECT_EQ(entry.currentLeg(), 2);
    EXPECT_EQ(entry.picks(), "2");
    EXPECT_FALSE(entry.finishUsable());
    pick("3");
    entry.finish(w.day, list);
    EXPECT_EQ(lastTicket(), "$2 Exacta Wheel 1 with 23");
}

// --- The instruction table ---

struct InstructionRow {
    const char* bet;
    const char* kind;
    int leg;
    const char* text;
    bool with;
};

class InstructionTable : public ::testing::TestWithParam<InstructionRow> {};

TEST_P(InstructionTable, AsksForTheRightHorses) {
    const InstructionRow& row = GetParam();
    Instruction step = instructionFor(row.bet, row.kind, row.leg);
    EXPECT_EQ(step.text, row.text);
    EXPECT_EQ(step.withUsable, row.with);
}

const char* const First = "Choose 1 or more horses to come in 1st place, then click the With button";
const char* const Second = "Choose 1 or more horses to come in 2nd place, then click the With button";
const char* const ThirdWith = "Choose 1 or more horses to come in 3rd place, then click the With button";
const char* const ThirdEnd = "Choose 1 or more horses to come in 3rd place, then click the Finish button";

INSTANTIATE_TEST_SUITE_P(
    EveryBetModeAndLeg, InstructionTable,
    ::testing::Values(
        InstructionRow{"Win", "Straight", 1, "Choose 1 or more horses then click the Finish button", false},
        InstructionRow{"WPS", "Straight", 1, "Choose 1 or more horses then click the Finish button", false},
        InstructionRow{"Quiniela", "Wheel", 1,
                       "Choose 1 horse as your key horse you're going to wheel then click the With button",
                       true},
        InstructionRow{"Quiniela", "Wheel", 2,
                       "Choose 1 or more horse to complete the wheel then click the Finish button", false},
        InstructionRow{"Quiniela", "Box", 1, "Choose 2 or more horses then click the Finish button", false},
        InstructionRow{"Exacta", "Box", 1, "Choose 2 or more horses then click the Finish button", false},
        InstructionRow{"Quiniela", "Straight", 1, "Choose 2 horses then click the Finish button", false},
        InstructionRow{"Exacta", "Straight", 1, "Choose 2 horses then click the Finish button", false},
        InstructionRow{"Exacta", "Wheel", 1, First, true},
        InstructionRow{"Exacta", "Wheel", 2,
                       "Choose 1 or more horses to come in 2nd place, then click the Finish button", false},
        InstructionRow{"Trifecta", "Wheel", 1, First, true},
        InstructionRow{"Twin-Tri", "Wheel", 2, Second, true},
        InstructionRow{"Tri-Super", "Wheel", 3, ThirdEnd, false},
        InstructionRow{"Trifecta", "Wheel", 3, ThirdEnd, false},
        InstructionRow{"Superfecta", "Wheel", 2, Second, true},
        InstructionRow{"Superfecta", "Wheel", 3, ThirdWith, true},
        InstructionRow{"Superfecta", "Wheel", 4,
                       "Choose 1 or more horses to come in 4th place, then click the Finish button", false},
        InstructionRow{"Trifecta", "Box", 1, "Choose 3 or more horses then click the Finish button", false},
        InstructionRow{"Tri-Super", "Box", 1, "Choose 3 or more horses then click the Finish button", false},
        InstructionRow{"Twin-Tri", "Straight", 1,
                       "Choose 3 horses in exact order then click the Finish button", false},
        InstructionRow{"Superfecta", "Box", 1, "Choose 4 or more horses then click the Finish button", false},
        InstructionRow{"Superfecta", "Straight", 1,
                       "Choose 4 horses in exact order then click the Finish button", false},
        InstructionRow{
            "DailyDouble", "Wheel", 1,
            "Choose 1 or more horses to come in 1st place on the 1st half of Daily Double, then click "
            "the With button",
            true},
        InstructionRow{
            "DailyDouble", "Wheel", 2,
            "Choose 1 or more horses to come in 1st place on the 2nd half of the Daily Double, then "
            "click the Finish button",
            false},
        InstructionRow{
            "Pick3", "Wheel", 1,
            "Choose 1 or more horses to come in 1st place on the 1st race of the Pick 3, then click the "
            "With button",
            true},
        InstructionRow{
            "Pick3", "Wheel", 2,
            "Choose 1 or more horses to come in 1st place on the 2nd race of the Pick 3, then click the "
            "With button",
            true},
        InstructionRow{
            "Pick3", "Wheel", 3,
            "Choose 1 or more horses to come in 1st place on the 3rd race of the Pick 3, then click the "
            "Finish button",
            false},
        InstructionRow{
            "Pick6", "Wheel", 1,
            "Choose 1 or more horses to come in 1st place on the 1st race of the Pick 6, then click the "
            "With button",
            true},
        InstructionRow{
            "Pick6", "Wheel", 4,
            "Choose 1 or more horses to come in 1st place on the 4th race of the Pick 6, then click the "
            "With button",
            true},
        InstructionRow{
            "Pick6", "Wheel", 5,
            "Choose 1 or more horses to come in 1st place on the 5th race of the Pick 6, then click the "
            "With button",
            true},
        InstructionRow{
            "Pick6", "Wheel", 6,
            "Choose 1 or more horses to come in 1st place on the 6th race of the Pick 6, then click the "
            "Finish button",
            false},
        InstructionRow{"", "", 1, "", false}));

} // namespace
