#include "wagering/TicketPricing.h"

#include "WageringFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace sw;
using sw::test::parsed;

namespace {

// --- Counting and costing ---

// The stored days pin the count and cost of every ticket they list; these are the rest.
TEST(TicketPrice, CountsEachDifferentCombinationOnceAndCostsCountTimesAmount) {
    struct Case {
        const char* text;
        int32_t count;
        int64_t cost;
    } cases[] = {
        // Across The Board is a win, a place and a show bet on each horse.
        {"$2 WPS on All", 24, 48},
        {"$7 Show on 52", 2, 14},
        // Boxes cover every order of different horses.
        {"$1 Superfecta Box All", 1680, 1680},
        // Wheels never pair a horse with itself, and overlapping sets buy a combination once.
        {"$2 Exacta Wheel 12 with 12", 2, 4},
        {"$2 Quiniela Wheel 12 with 12", 1, 2},
        {"$2 Exacta Wheel 1 with 1", 0, 0},
        // Multi-race bets multiply their races' sets.
        {"$3 Pick3 Wheel 12 with 345 with All", 48, 144},
        {"$32000 Pick6 Wheel All with All with All with All with All with All", 262144,
         int64_t{262144} * 32000},
        // A first half is a Trifecta; a second half is the one combination its credit pays for.
        {"$2 Tri-Super Wheel 1 with 2 with 3", 1, 2},
        {"$2 Twin-Tri Exchange 57 Straight 123", 1, 0},
        {"$5 Tri-Super Exchange 57 Straight 1234", 1, 0},
    };
    for (const Case& c : cases) {
        TicketPrice p = priceTicket(parsed(c.text));
        EXPECT_EQ(std::make_pair(p.count, p.cost), std::make_pair(c.count, c.cost)) << c.text;
    }
}

TEST(TicketPrice, ExplanationListsTheCombinationsAndEndsOnTheCostLessAnyCredit) {
    EXPECT_EQ(explainTicket("$1 Tri-Super Exchange 57 Straight 1234").back(),
              "1 bet x $1 = $1, less the credit's $1 = $0");
    EXPECT_EQ(explainTicket("$2 Exacta Box 1").back().rfind("This text is not a ticket", 0), 0u);
    EXPECT_EQ(explainTicket("$2 Exacta Box 123"),
              (std::vector<std::string>{"$2 Exacta Box 123", "Box: every order of the horses named",
                                        "Combinations: 1-2, 1-3, 2-1, 2-3, 3-1, 3-2", "6 bets x $2 = $12"}));
}

// --- Combination lines ---

TEST(CombinationLines, AreCappedWithACountOfTheRest) {
    EXPECT_EQ(combinationLines(parsed("$1 Exacta Box 134"), 2),
              (std::vector<std::string>{"1-3", "1-4", "... and 4 more"}));
    EXPECT_EQ(combinationLines(parsed("$1 Exacta Box 13"), 2).size(), 2u);
}

} // namespace
