#pragma once

#include "core/PlayerList.h"
#include "settlement/Payoffs.h"
#include "settlement/Settlement.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace sw {

// One player's money over a race or the day: what went in, what came back, and of what went in
// the part the house kept before sharing the pools out.
struct LedgerFigures {
    Cents wagered = 0;
    Cents returned = 0;
    Cents takeout = 0;  // the nominal 25 % of every dollar wagered
    Cents breakage = 0; // what the cuts to tenths (and a parlay's whole dollars) kept from winning tickets
    Cents net() const { return returned - wagered; }
    LedgerFigures& operator+=(const LedgerFigures& other);
};

// What one single-race pool took in, public and players' money together, and what its winning
// tickets were paid: under the fixed place and show shares and the 0.05 minimum a pool keeps
// more or less than the nominal takeout, and less than nothing when the house paid in.
struct PoolKept {
    std::string pool; // "Win", "Place", "Show", "Quiniela", "Exacta", "Trifecta", "Superfecta"
    Cents total = 0;
    Cents paid = 0;
    Cents kept() const { return total - paid; }
    Cents takeout() const { return total / 4; }
};

// The race's pools as they stand (the pool files' money) against its payoffs, in chart order.
std::vector<PoolKept> poolsKept(const Pools& pools, const Payoffs& payoffs);

struct LedgerAccount {
    int32_t playerId = 0;
    std::string name;
    std::vector<LedgerFigures> races; // by race index 0..11
    // The balance the day started from, then after each race settled so far.
    std::vector<Cents> balances;
    LedgerFigures day() const;
};

// What the house kept from each player, race by race: fed by every payment and every settlement.
class HouseLedger {
public:
    // A new day: one account per listed player at their balance.
    void start(const PlayerList& players, int races);
    // An account for every listed player who has none yet, at their balance now: call it before
    // any money of theirs moves, so their line starts where their money did.
    void enrol(const PlayerList& players);
    // Tickets costing `cost` paid by an enrolled player for race `race` (0-based).
    void charge(int32_t playerId, int race, Cents cost);
    // The race's credits, each with the breakage its payoff lost, then every account's balance.
    void settle(int race, const SettlementReport& report, const PlayerList& players);
    // What the race's pools really kept (poolsKept), replacing any earlier figures of that race.
    void recordPools(int race, std::vector<PoolKept> pools);

    const std::vector<LedgerAccount>& accounts() const { return m_accounts; }
    // Every player together, for one race or (race -1) the day.
    LedgerFigures total(int race = -1) const;
    // Races settled so far.
    int racesSettled() const { return m_settled; }
    // Each pool of one race, or (race -1) of the day's races added up; empty before any.
    std::vector<PoolKept> pools(int race = -1) const;
    // Accounts and players looked at to find one by number, over the ledger's life: a day of many
    // players must cost in proportion to them, not to their square.
    std::size_t lookups() const { return m_lookups; }

private:
    void account(int32_t playerId, const std::string& name, Cents balance);
    LedgerAccount* find(int32_t playerId);

    std::vector<LedgerAccount> m_accounts;
    std::vector<std::vector<PoolKept>> m_pools;          // by race index
    std::unordered_map<int32_t, std::size_t> m_byNumber; // account index of each number
    int m_races = 0;
    int m_settled = 0;
    std::size_t m_lookups = 0;
};

// The ledger as lines for a fixed-width list: a heading, then one line per player (and "All" when
// more than one), of one race or (race -1) the day.
std::vector<std::string> ledgerLines(const HouseLedger& ledger, int race = -1);
// What each pool really kept beside its nominal takeout, as lines for the same list: a heading,
// then one line per pool of one race or (race -1) the day; nothing before a race is recorded.
std::vector<std::string> poolKeptLines(const HouseLedger& ledger, int race = -1);

} // namespace sw
