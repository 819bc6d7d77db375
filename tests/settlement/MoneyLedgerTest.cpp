#include "settlement/MoneyLedger.h"

#include "players/Players.h"

#include <gtest/gtest.h>

using namespace sw;

namespace {

Credit creditOf(int32_t playerId, float winnings) {
    Credit credit;
    credit.playerId = playerId;
    credit.winnings = winnings;
    return credit;
}

class MoneyLedgerTest : public ::testing::Test {
protected:
    void SetUp() override {
        players.entries = {{1, "Ann", "400"}, {2, "Bob", "400"}};
        ledger.open(players);
    }

    PlayerList players;
    MoneyLedger ledger;
};

TEST_F(MoneyLedgerTest, BalancesThatFollowChargesAndCreditsReconcile) {
    ledger.charge(1, 12);
    setBalance(players.entries[0], 388);
    SettlementReport report;
    report.credits = {creditOf(1, 24.0f), creditOf(2, 2.1f)};
    report.unclaimed = {creditOf(99, 500.0f)};
    ledger.credit(report);
    setBalance(players.entries[0], 412);
    setBalance(players.entries[1], 402.1f);

    EXPECT_TRUE(ledger.check(players).empty());
    EXPECT_DOUBLE_EQ(ledger.expected(1), 412.0);
}

TEST_F(MoneyLedgerTest, AMissingOrDoubledCreditIsReported) {
    SettlementReport report;
    report.credits = {creditOf(2, 6.0f)};
    ledger.credit(report);
    setBalance(players.entries[0], 406);     // paid to the wrong player
    setBalance(players.entries[1], 400.01f); // a cent off

    auto mismatches = ledger.check(players);
    ASSERT_EQ(mismatches.size(), 2u);
    EXPECT_EQ(mismatches[0].name, "Ann");
    EXPECT_DOUBLE_EQ(mismatches[0].expected, 400.0);
    EXPECT_DOUBLE_EQ(mismatches[0].actual, 406.0);
    EXPECT_EQ(mismatches[1].playerId, 2);
    EXPECT_TRUE(mismatches[1].known);
}

TEST_F(MoneyLedgerTest, APlayerNeverOpenedIsReportedAsUnknown) {
    players.entries.push_back({7, "Cy", "400"});
    auto mismatches = ledger.check(players);
    ASSERT_EQ(mismatches.size(), 1u);
    EXPECT_EQ(mismatches[0].playerId, 7);
    EXPECT_FALSE(mismatches[0].known);

    ledger.open(7, 400);
    EXPECT_TRUE(ledger.check(players).empty());
}

TEST_F(MoneyLedgerTest, SinglePrecisionRoundingOfALongDayIsNoMismatch) {
    ledger.open(1, 99999.0);
    float balance = 99999.0f;
    for (int i = 0; i < 500; ++i) {
        balance -= 2.0f;
        ledger.charge(1, 2.0);
        balance += 2.1f;
        SettlementReport report;
        report.credits = {creditOf(1, 2.1f)};
        ledger.credit(report);
    }
    setBalance(players.entries[0], balance);
    EXPECT_TRUE(ledger.check(players).empty()) << balance << " vs " << ledger.expected(1);
}

} // namespace
