// The loading pass and leaving the program prepare races without showing them; what they leave
// in the day must be exactly what showing those races would have left.

#include "program/RacingProgram.h"

#include "ProgramFixture.h"

#include "tote/Tote.h"

#include <gtest/gtest.h>

using namespace sw;

namespace {

// Two identical days with a mixed history, one for each way of getting there.
struct TwoDays : ::testing::Test {
    test::ProgramFixture shown;
    test::ProgramFixture prepared;

    void SetUp() override {
        for (test::ProgramFixture* f : {&shown, &prepared}) {
            // Horses of races 1, 2 and 12, a horse no race runs, and a hand-edited line of a
            // horse outside the stable that a hand-edited card slot also names.
            f->addPastLines(1, 20, "B", 2);
            f->addPastLines(9, 3, "AA", 7);
            f->addPastLines(150, 4);
            f->addPastLines(96, 2, "J", 1);
            f->addPastLines(250, 2, "A", 1);
            f->addPastLines(1, 2, "M", 8);
            f->day.card.raceHorse[4][2] = 250;
            f->day.card.raceHorse[5][6] = 0;
        }
    }

    void expectSameDays() {
        const RaceDay& a = shown.day;
        const RaceDay& b = prepared.day;
        EXPECT_EQ(a.pools.win, b.pools.win);
        EXPECT_EQ(a.pools.place, b.pools.place);
        EXPECT_EQ(a.pools.show, b.pools.show);
        EXPECT_EQ(a.pools.quiniela, b.pools.quiniela);
        EXPECT_EQ(a.pools.exacta, b.pools.exacta);
        EXPECT_EQ(a.pools.trifecta, b.pools.trifecta);
        EXPECT_EQ(a.pools.superfecta, b.pools.superfecta);
        EXPECT_EQ(a.pools.winTotal, b.pools.winTotal);
        EXPECT_EQ(a.pools.superfectaTotal, b.pools.superfectaTotal);
        EXPECT_EQ(a.pools.winOdds, b.pools.winOdds);
        EXPECT_EQ(a.pools.quinielaOdds, b.pools.quinielaOdds);
        EXPECT_EQ(a.pools.exactaOdds, b.pools.exactaOdds);
        EXPECT_EQ(a.pools.oddsByRace, b.pools.oddsByRace);
        EXPECT_EQ(a.pools.consistencyBand, b.pools.consistencyBand);
        EXPECT_EQ(a.pools.ticketCounter, b.pools.ticketCounter);
        EXPECT_EQ(a.entries.name, b.entries.name);
        EXPECT_EQ(a.entries.segmentRating, b.entries.segmentRating);
        EXPECT_EQ(a.entries.bestTime, b.entries.bestTime);
        EXPECT_EQ(a.card.racePoolsOpened, b.card.racePoolsOpened);
        EXPECT_EQ(a.dailyDoubleOffered, b.dailyDoubleOffered);
        EXPECT_EQ(a.pick6Offered, b.pick6Offered);
        EXPECT_EQ(shown.allPoolFiles(), prepared.allPoolFiles());
        EXPECT_EQ(shown.prompter.shown().size(), prepared.prompter.shown().size());
        EXPECT_EQ(shown.random.uniform(), prepared.random.uniform()) << "the same draws were taken";
    }
};

TEST_F(TwoDays, TheLoadingPassLeavesWhatShowingEveryRaceInTurnLeaves) {
    for (int race = 1; race <= RacesPerDay; ++race)
        showRace(shown.day, race, true);
    const ProgramView expected = showRaceAboutToBeRun(shown.day);
    const ProgramView view = openRacingProgram(prepared.day);
    expectSameDays();
    EXPECT_EQ(view.entries[0].pastLines, expected.entries[0].pastLines);
    EXPECT_EQ(view.entries[0].pastLines.size(), 22u);
    EXPECT_EQ(view.jockeyStandings, expected.jockeyStandings);
}

TEST_F(TwoDays, LeavingLeavesWhatShowingTheRaceAboutToBeRunLeaves) {
    openRacingProgram(shown.day);
    openRacingProgram(prepared.day);
    for (test::ProgramFixture* f : {&shown, &prepared}) {
        f->day.currentRace = 4; // the race with the hand-edited slot
        showRace(f->day, 9, false);
        appendPoolLines(f->day, PoolFile::Wins, "2125,3,40\r\n");
    }
    showRaceAboutToBeRun(shown.day);
    leaveRacingProgram(prepared.day);
    expectSameDays();
    EXPECT_EQ(prepared.day.entries.name[2], "");
}

TEST_F(TwoDays, AHandEditedSlotShowsTheLinesOfTheHorseItNames) {
    const ProgramView view = showRace(shown.day, 5, true);
    EXPECT_EQ(view.entries[2].pastLines.size(), 2u);
    EXPECT_TRUE(showRace(shown.day, 6, true).entries[6].pastLines.empty()) << "slot 0 names no horse";
}

} // namespace
