#include "HouseLedger.h"
#include "core/Translate.h"

#include "core/Format.h"
#include "players/Players.h"

#include <algorithm>

namespace sw {

namespace {

// The nominal takeout: 25 cents of every dollar, a whole number of cents of every whole dollar.
constexpr Cents TakeoutCentsPerDollar = 25;

// money whole dollars on a combination whose $2 ticket pays `payoff`, paid in cents.
Cents paidOn(int64_t money, const Payoff& payoff) {
    if (!payoff.value || money <= 0)
        return 0;
    return CentsFraction{static_cast<CentsFraction::Wide>(money) * *payoff.value, 2}.rounded();
}

int entryOf(int post) {
    return post >= 1 && post <= FieldSize ? post - 1 : -1;
}

} // namespace

std::vector<PoolKept> poolsKept(const Pools& pools, const Payoffs& payoffs) {
    auto at = [](const auto& cells, int index) -> int64_t {
        return index >= 0 && static_cast<std::size_t>(index) < cells.size()
                   ? cells[static_cast<std::size_t>(index)]
                   : 0;
    };
    const auto& t = payoffs.tHorse;
    const auto& s = payoffs.sHorse;
    std::vector<PoolKept> kept;
    auto pool = [&](std::string name, int32_t total, Cents paid) {
        kept.push_back({std::move(name), Cents{total} * CentsPerDollar, paid});
    };
    pool(N_("Win"), pools.winTotal, paidOn(at(pools.win, entryOf(t[0])), payoffs.win));
    Cents place = 0;
    for (std::size_t k = 0; k < payoffs.place.size(); ++k)
        place += paidOn(at(pools.place, entryOf(t[k])), payoffs.place[k]);
    pool(N_("Place"), pools.placeTotal, place);
    Cents show = 0;
    for (std::size_t k = 0; k < payoffs.show.size(); ++k)
        show += paidOn(at(pools.show, entryOf(t[k])), payoffs.show[k]);
    pool(N_("Show"), pools.showTotal, show);
    const auto& q = payoffs.qHorse;
    const bool pair = entryOf(q[0]) >= 0 && entryOf(q[1]) >= 0;
    pool(N_("Quiniela"), pools.quinielaTotal,
         pair ? paidOn(at(pools.quiniela, Pools::idx2(q[0] - 1, q[1] - 1)), payoffs.quiniela) : 0);
    const auto& e = payoffs.eHorse;
    const bool two = entryOf(e[0]) >= 0 && entryOf(e[1]) >= 0;
    pool(N_("Exacta"), pools.exactaTotal,
         two ? paidOn(at(pools.exacta, Pools::idx2(e[0] - 1, e[1] - 1)), payoffs.exacta) : 0);
    const bool three = two && entryOf(t[2]) >= 0;
    pool(N_("Trifecta"), pools.trifectaTotal,
         three ? paidOn(at(pools.trifecta, Pools::idx3(t[0] - 1, t[1] - 1, t[2] - 1)), payoffs.trifecta2)
               : 0);
    const bool four = three && entryOf(s[3]) >= 0;
    pool(N_("Superfecta"), pools.superfectaTotal,
         four ? paidOn(at(pools.superfecta, Pools::idx4(s[0] - 1, s[1] - 1, s[2] - 1, s[3] - 1)),
                       payoffs.superfecta2)
              : 0);
    return kept;
}

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

void HouseLedger::account(int32_t playerId, const std::string& name, Cents balance) {
    if (find(playerId))
        return;
    // A player added during the day starts the chart with the races already run at that balance.
    LedgerAccount added{playerId, name, std::vector<LedgerFigures>(static_cast<std::size_t>(m_races)),
                        std::vector<Cents>(static_cast<std::size_t>(m_settled) + 1, balance)};
    m_byNumber.emplace(playerId, m_accounts.size());
    m_accounts.push_back(std::move(added));
}

LedgerAccount* HouseLedger::find(int32_t playerId) {
    ++m_lookups;
    auto it = m_byNumber.find(playerId);
    return it == m_byNumber.end() ? nullptr : &m_accounts[it->second];
}

void HouseLedger::charge(int32_t playerId, int race, Cents cost) {
    LedgerAccount* a = find(playerId);
    if (!a || race < 0 || race >= m_races)
        return;
    LedgerFigures& figures = a->races[static_cast<std::size_t>(race)];
    figures.wagered += cost;
    // Tickets cost whole dollars, so a quarter of them is whole cents.
    figures.takeout += cost / CentsPerDollar * TakeoutCentsPerDollar;
}

void HouseLedger::settle(int race, const SettlementReport& report, const PlayerList& players) {
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
        figures.breakage += credit.breakage;
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
        const Cents balance = at != listed.end() ? balanceOf(players.entries[at->second]) : a.balances.back();
        a.balances.resize(static_cast<std::size_t>(m_settled) + 1, a.balances.back());
        a.balances.back() = balance;
    }
}

void HouseLedger::recordPools(int race, std::vector<PoolKept> pools) {
    if (race < 0 || race >= m_races)
        return;
    m_pools.resize(static_cast<std::size_t>(m_races));
    m_pools[static_cast<std::size_t>(race)] = std::move(pools);
}

std::vector<PoolKept> HouseLedger::pools(int race) const {
    if (race >= 0)
        return static_cast<std::size_t>(race) < m_pools.size() ? m_pools[static_cast<std::size_t>(race)]
                                                               : std::vector<PoolKept>{};
    std::vector<PoolKept> sum;
    for (const std::vector<PoolKept>& one : m_pools)
        for (const PoolKept& pool : one) {
            auto it =
                std::find_if(sum.begin(), sum.end(), [&](const PoolKept& p) { return p.pool == pool.pool; });
            if (it == sum.end()) {
                sum.push_back(pool);
            } else {
                it->total += pool.total;
                it->paid += pool.paid;
            }
        }
    return sum;
}

LedgerFigures HouseLedger::total(int race) const {
    LedgerFigures sum;
    for (const LedgerAccount& a : m_accounts)
        sum += race < 0 ? a.day() : a.races[static_cast<std::size_t>(race)];
    return sum;
}

std::vector<std::string> ledgerLines(const HouseLedger& ledger, int race) {
    auto line = [](std::string_view name, const LedgerFigures& f) {
        return padRight(leadingCharacters(name, 12), 12) + rightAlign(centsText(f.wagered), 10) +
               rightAlign(centsText(f.returned), 10) + rightAlign(centsText(f.net()), 10) +
               rightAlign(centsText(f.takeout), 9) + rightAlign(centsText(f.breakage), 9);
    };
    std::vector<std::string> lines{padRight(_("Player"), 12) + rightAlign(_("Wagered"), 10) +
                                   rightAlign(_("Returned"), 10) + rightAlign(_("Net"), 10) +
                                   rightAlign(_("Takeout"), 9) + rightAlign(_("Breakage"), 9)};
    for (const LedgerAccount& a : ledger.accounts())
        lines.push_back(line(a.name, race < 0 ? a.day() : a.races[static_cast<std::size_t>(race)]));
    if (ledger.accounts().size() > 1)
        lines.push_back(line(_("All"), ledger.total(race)));
    return lines;
}

std::vector<std::string> poolKeptLines(const HouseLedger& ledger, int race) {
    const std::vector<PoolKept> pools = ledger.pools(race);
    if (pools.empty())
        return {};
    std::vector<std::string> lines{padRight(_("Pool"), 12) + rightAlign(_("Total"), 12) +
                                   rightAlign(_("Paid"), 12) + rightAlign(_("Kept"), 12) +
                                   rightAlign(_("Kept %"), 8) + rightAlign(_("Takeout"), 12)};
    for (const PoolKept& p : pools) {
        // Tenths of a percent, rounded half to even in integers.
        const std::string share =
            p.total == 0 ? "-"
                         : fixedText(static_cast<double>(CentsFraction{
                                         static_cast<CentsFraction::Wide>(p.kept()) * 1000, p.total}
                                                             .rounded()) /
                                         10.0,
                                     1);
        lines.push_back(padRight(_(p.pool), 12) + rightAlign(centsText(p.total), 12) +
                        rightAlign(centsText(p.paid), 12) + rightAlign(centsText(p.kept()), 12) +
                        rightAlign(share, 8) + rightAlign(centsText(p.takeout()), 12));
    }
    return lines;
}

} // namespace sw
