#include "MoneyLedger.h"

#include "players/Players.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace sw {

namespace {

// Rounding a single-precision balance may pick up in one operation near this magnitude.
double singleStep(double magnitude) {
    float x = static_cast<float>(std::fabs(magnitude));
    return static_cast<double>(std::nextafter(x, std::numeric_limits<float>::infinity()) - x);
}

} // namespace

void MoneyLedger::open(const PlayerList& players) {
    for (const PlayerEntry& player : players.entries)
        open(player.playerId, balanceOf(player));
}

void MoneyLedger::open(int32_t playerId, double balance) {
    m_accounts[playerId] = Account{balance, 0};
}

void MoneyLedger::charge(int32_t playerId, double cost) {
    Account& account = m_accounts[playerId];
    account.balance -= cost;
    ++account.operations;
}

void MoneyLedger::credit(const SettlementReport& report) {
    for (const Credit& credit : report.credits) {
        Account& account = m_accounts[credit.playerId];
        account.balance += credit.winnings;
        ++account.operations;
    }
}

double MoneyLedger::expected(int32_t playerId) const {
    auto it = m_accounts.find(playerId);
    return it == m_accounts.end() ? 0.0 : it->second.balance;
}

std::vector<LedgerMismatch> MoneyLedger::check(const PlayerList& players) const {
    std::vector<LedgerMismatch> mismatches;
    for (const PlayerEntry& player : players.entries) {
        LedgerMismatch m{player.playerId, player.name, false, 0.0, balanceOf(player)};
        auto it = m_accounts.find(player.playerId);
        if (it == m_accounts.end()) {
            mismatches.push_back(m);
            continue;
        }
        m.known = true;
        m.expected = it->second.balance;
        double allowed = 0.005 + (it->second.operations + 1) *
                                     singleStep(std::max(std::fabs(m.expected), std::fabs(m.actual)));
        if (!(std::fabs(m.actual - m.expected) <= allowed))
            mismatches.push_back(m);
    }
    return mismatches;
}

} // namespace sw
