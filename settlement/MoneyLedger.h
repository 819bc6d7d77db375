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
    Cents expected = 0;
    Cents actual = 0;
};

// Keeps the money each player should have: the balance the day started from, less the cost of
// every paid ticket, plus every settlement credit, all to the cent.
class MoneyLedger {
public:
    // Opens an account for every listed player at its current balance.
    void open(const PlayerList& players);
    // Opens (or reopens) one account, e.g. for a player added during the day.
    void open(int32_t playerId, Cents balance);
    // Records the cost of tickets paid by the player.
    void charge(int32_t playerId, Cents cost);
    // Records every credit of a settlement; unclaimed winnings change nobody's money.
    void credit(const SettlementReport& report);
    // The balance the player should have; 0 for an unknown player.
    Cents expected(int32_t playerId) const;
    // Every listed player whose balance is not exactly the expected one.
    std::vector<LedgerMismatch> check(const PlayerList& players) const;

private:
    std::map<int32_t, Cents> m_accounts;
};

} // namespace sw
