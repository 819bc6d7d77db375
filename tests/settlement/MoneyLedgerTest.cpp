#include "settlement/MoneyLedger.h"

#include "players/Players.h"

#include <gtest/gtest.h>

using namespace sw;

namespace {

SettlementReport crediting(std::vector<std::pair<int32_t, float>> credits, bool unclaimed = false) {
    SettlementReport report;
    for (const auto& [playerId, winnings] : credits) {
        Credit credit;
        credit.playerId = playerId;
        credit.winnings = winnings;
        (unclaimed ? report.unclaimed : report.credits).push_back(credit);
    }
    return report;
}

TEST(MoneyLedger, BalancesThatFollowChargesAndCreditsReconcileAndOthersAreReported) {
    PlayerList players;
    players.entries = {{1, "Ann", "400"}, {2, "Bob", "400"}, {7, "Cy", "400"}};
    MoneyLedger ledger;
    ledger.open(players);
    ledger.charge(1, 12);
    ledger.credit(crediting({{1, 24.0f}, {2, 2.1f}}));
    ledger.credit(crediting({{99, 500.0f}}, true)); // nobody's money
    setBalance(players.entries[0], 412);
    setBalance(players.entries[1], 402.1f);
    EXPECT_TRUE(ledger.check(players).empty());
    EXPECT_DOUBLE_EQ(ledger.expected(1), 412.0);

    setBalance(players.entries[0], 418);     // a credit paid twice
    setBalance(players.entries[1], 402.11f); // a cent off
    players.entries.push_back({8, "Di", "400"});
    auto mismatches = ledger.check(players);
    ASSERT_EQ(mismatches.size(), 3u);
    EXPECT_EQ(mismatches[0].name, "Ann");
    EXPECT_DOUBLE_EQ(mismatches[0].expected, 412.0);
    EXPECT_DOUBLE_EQ(mismatches[0].actual, 418.0);
    EXPECT_EQ(mismatches[1].playerId, 2);
    EXPECT_TRUE(mismatches[1].known);
    EXPECT_EQ(mismatches[2].playerId, 8);
    EXPECT_FALSE(mismatches[2].known) << "a player never opened";
    EXPECT_EQ(ledger.expected(8), 0.0);

    ledger.open(8, 400);
    EXPECT_EQ(ledger.check(players).size(), 2u);
}

TEST(MoneyLedger, SinglePrecisionRoundingOfALongDayIsNoMismatch) {
    PlayerList players;
    players.entries = {{1, "Ann", "99999"}};
    MoneyLedger ledger;
    ledger.open(players);
    float balance = 99999.0f;
    for (int i = 0; i < 500; ++i) {
        balance -= 2.0f;
        ledger.charge(1, 2.0);
        balance += 2.1f;
        ledger.credit(crediting({{1, 2.1f}}));
    }
    setBalance(players.entries[0], balance);
    EXPECT_TRUE(ledger.check(players).empty()) << balance << " vs " << ledger.expected(1);
}

} // namespace
