#include "MoneyLedger.h"

#include "players/Players.h"

namespace sw {

void MoneyLedger::open(const PlayerList& players) {
    for (const PlayerEntry& player : players.entries)
        open(player.playerId, balanceOf(player));
}

void MoneyLedger::open(int32_t playerId, Cents balance) {
    m_accounts[playerId] = balance;
}

void MoneyLedger::charge(int32_t playerId, Cents cost) {
    m_accounts[playerId] -= cost;
}

void MoneyLedger::credit(const SettlementReport& report) {
    for (const Credit& credit : report.credits)
        m_accounts[credit.playerId] += credit.winnings;
}

Cents MoneyLedger::expected(int32_t playerId) const {
    auto it = m_accounts.find(playerId);
    return it == m_accounts.end() ? 0 : it->second;
}

std::vector<LedgerMismatch> MoneyLedger::check(const PlayerList& players) const {
    std::vector<LedgerMismatch> mismatches;
    for (const PlayerEntry& player : players.entries) {
        LedgerMismatch m{player.playerId, player.name, false, 0, balanceOf(player)};
        auto it = m_accounts.find(player.playerId);
        if (it == m_accounts.end()) {
            mismatches.push_back(m);
            continue;
        }
        m.known = true;
        m.expected = it->second;
        if (m.actual != m.expected)
            mismatches.push_back(m);
    }
    return mismatches;
}

} // namespace sw
