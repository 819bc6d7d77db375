#include "HouseLedger.h"

#include "core/Format.h"
#include "players/Players.h"

#include <algorithm>

namespace sw {

namespace {

constexpr double Takeout = 0.25;

} // namespace

LedgerFigures& LedgerFigures::operator+=(const LedgerFigures& other) {
    wagered += other.wagered;
    returned += other.returned;
    takeout += other.takeout;
    breakage += other.breakage;
    return *this;
}

LedgerFigures LedgerAccount::day() const {
    LedgerFigures sum;
    for (const LedgerFigures& race : races)
        sum += race;
    return sum;
}

void HouseLedger::start(const PlayerList& players, int races) {
    m_accounts.clear();
    m_byNumber.clear();
    m_races = races;
    m_settled = 0;
    enrol(players);
}

void HouseLedger::enrol(const PlayerList& players) {
    for (const PlayerEntry& player : players.entries)
        account(player.playerId, player.name, balanceOf(player));
}

void HouseLedger::account(int32_t playerId, const std::string& name, double balance) {
    if (find(playerId))
        return;
    // A player added during the day starts the chart with the races already run at that balance.
    LedgerAccount added{playerId, name, std::vector<LedgerFigures>(static_cast<std::size_t>(m_races)),
                        std::vector<double>(static_cast<std::size_t>(m_settled) + 1, balance)};
    m_byNumber.emplace(playerId, m_accounts.size());
    m_accounts.push_back(std::move(added));
}

LedgerAccount* HouseLedger::find(int32_t playerId) {
    ++m_lookups;
    auto it = m_byNumber.find(playerId);
    return it == m_byNumber.end() ? nullptr : &m_accounts[it->second];
}

void HouseLedger::charge(int32_t playerId, int race, double cost) {
    LedgerAccount* a = find(playerId);
    if (!a || race < 0 || race >= m_races)
        return;
    LedgerFigures& figures = a->races[static_cast<std::size_t>(race)];
    figures.wagered += cost;
    figures.takeout += cost * Takeout;
}

void HouseLedger::settle(int race, const SettlementReport& report, const Payoffs& payoffs,
                         const PlayerList& players) {
    if (race < 0 || race >= m_races)
        return;
    // Players added during the day who have not bet yet still belong on the chart.
    enrol(players);
    for (const Credit& credit : report.credits) {
        LedgerAccount* a = find(credit.playerId);
        if (!a)
            continue; // the settlement credits only listed players, all enrolled above
        LedgerFigures& figures = a->races[static_cast<std::size_t>(race)];
        figures.returned += credit.winnings;
        if (const Payoff* paid = payoffOfCredit(payoffs, credit.code, credit.payoff))
            figures.breakage += credit.amount / 2.0 * paid->breakage;
    }
    m_settled = race + 1;
    // The first listed player of each number, as a search of the list would find.
    std::unordered_map<int32_t, std::size_t> listed;
    listed.reserve(players.entries.size());
    for (std::size_t i = 0; i < players.entries.size(); ++i)
        listed.emplace(players.entries[i].playerId, i);
    for (LedgerAccount& a : m_accounts) {
        ++m_lookups;
        const auto at = listed.find(a.playerId);
        const double balance =
            at != listed.end() ? balanceOf(players.entries[at->second]) : a.balances.back();
        a.balances.resize(static_cast<std::size_t>(m_settled) + 1, a.balances.back());
        a.balances.back() = balance;
    }
}

LedgerFigures HouseLedger::total(int race) const {
    LedgerFigures sum;
    for (const LedgerAccount& a : m_accounts)
        sum += race < 0 ? a.day() : a.races[static_cast<std::size_t>(race)];
    return sum;
}

std::vector<std::string> ledgerLines(const HouseLedger& ledger, int race) {
    auto line = [](std::string_view name, const LedgerFigures& f) {
        return padRight(name.substr(0, 12), 12) + rightAlign(moneyText(f.wagered), 10) +
               rightAlign(moneyText(f.returned), 10) + rightAlign(moneyText(f.net()), 10) +
               rightAlign(moneyText(f.takeout), 9) + rightAlign(moneyText(f.breakage), 9);
    };
    std::vector<std::string> lines{padRight("Player", 12) + rightAlign("Wagered", 10) +
                                   rightAlign("Returned", 10) + rightAlign("Net", 10) +
                                   rightAlign("Takeout", 9) + rightAlign("Breakage", 9)};
    for (const LedgerAccount& a : ledger.accounts())
        lines.push_back(line(a.name, race < 0 ? a.day() : a.races[static_cast<std::size_t>(race)]));
    if (ledger.accounts().size() > 1)
        lines.push_back(line("All", ledger.total(race)));
    return lines;
}

} // namespace sw
