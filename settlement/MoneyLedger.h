#pragma once

#include "core/PlayerList.h"
#include "settlement/Settlement.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace sw {

// A listed player whose balance is not what the ledger expects.
struct LedgerMismatch {
    int32_t playerId = 0;
    std::string name;
    bool known = false; // false: the player was never opened in the ledger
    double expected = 0.0;
    double actual = 0.0;
};

// Keeps the money each player should have: the balance the day started from, less the cost of
// every paid ticket, plus every settlement credit. Balances are single-precision, so the check
// allows the rounding each operation may add.
class MoneyLedger {
public:
    // Opens an account for every listed player at its current balance.
    void open(const PlayerList& players);
    // Opens (or reopens) one account, e.g. for a player added during the day.
    void open(int32_t playerId, double balance);
    // Records the cost of tickets paid by the player.
    void charge(int32_t playerId, double cost);
    // Records every credit of a settlement; unclaimed winnings change nobody's money.
    void credit(const SettlementReport& report);
    // The balance the player should have; 0 for an unknown player.
    double expected(int32_t playerId) const;
    // Every listed player whose balance differs from the expected one by more than rounding.
    std::vector<LedgerMismatch> check(const PlayerList& players) const;

private:
    struct Account {
        double balance = 0.0;
        int operations = 0;
    };
    std::map<int32_t, Account> m_accounts;
};

} // namespace sw
