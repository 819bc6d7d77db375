#include "Settlement.h"
#include "core/Translate.h"

#include "core/Constants.h"
#include "core/DataFolder.h"
#include "core/Format.h"
#include "core/ShownMoney.h"
#include "core/TextEncoding.h"
#include "players/Players.h"
#include "tote/PoolFiles.h"
#include "wagering/ExchangeCredits.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace sw {

namespace {

using BetTypes = std::vector<std::string_view>;

constexpr std::string_view TicketsFile = "tickets.dat";
constexpr std::string_view TicketsScratch = "tickets.tmp";

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        std::size_t comma = line.find(',', start);
        if (comma == std::string_view::npos) {
            fields.push_back(line.substr(start));
            return fields;
        }
        fields.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
}

constexpr std::size_t MaxPoolHorses = 6;

// The first `count` comma-separated fields of a line, the last holding the rest of it; false when
// the line has fewer fields.
bool leadingFields(std::string_view line, std::size_t count,
                   std::array<std::string_view, MaxPoolHorses + 2>& fields) {
    std::size_t start = 0;
    for (std::size_t f = 0; f + 1 < count; ++f) {
        const std::size_t comma = line.find(',', start);
        if (comma == std::string_view::npos)
            return false;
        fields[f] = line.substr(start, comma - start);
        start = comma + 1;
    }
    fields[count - 1] = line.substr(start);
    return true;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// A whole number field; an empty, fractional or out-of-range field makes the line unusable.
std::optional<int32_t> wholeField(std::string_view field) {
    // Nearly every field is a few plain digits, read here without the general number reader.
    if (!field.empty() && field.size() <= 9) {
        int32_t value = 0;
        std::size_t i = 0;
        for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i)
            value = value * 10 + (field[i] - '0');
        if (i == field.size())
            return value;
    }
    field = trimmed(field);
    double value = 0;
    if (field.empty() || !parseLeadingNumber(field, value))
        return std::nullopt;
    if (value != std::floor(value) || value < std::numeric_limits<int32_t>::min() ||
        value > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(value);
}

} // namespace

std::optional<TicketRecord> parseTicket(std::string_view line) {
    std::vector<std::string_view> fields = splitFields(line);
    if (fields.size() < 5)
        return std::nullopt;
    auto number = wholeField(fields[0]);
    auto playerId = wholeField(fields[1]);
    auto amount = wholeField(fields[2]);
    auto raceNumber = wholeField(fields[4]);
    if (!number || !playerId || !amount || !raceNumber)
        return std::nullopt;
    TicketRecord ticket{*number, *playerId, *amount, std::string(trimmed(fields[3])), *raceNumber, {}};
    if (fields.size() > 5)
        ticket.date = std::string(trimmed(fields[5]));
    return ticket;
}

std::string ticketRecord(const TicketRecord& ticket) {
    return RecordWriter()
        .integer(ticket.number)
        .integer(ticket.playerId)
        .integer(ticket.amount)
        .text(ticket.betType)
        .integer(ticket.raceNumber)
        .text(ticket.date)
        .line();
}

std::vector<TicketRecord> parseTickets(std::string_view text) {
    std::vector<TicketRecord> tickets;
    forEachLineIn(text, [&](std::string_view line) {
        if (auto ticket = parseTicket(line))
            tickets.push_back(std::move(*ticket));
    });
    return tickets;
}

std::vector<int32_t> ticketsOnPosts(std::string_view poolText, std::span<const int> posts) {
    std::vector<int32_t> numbers;
    const std::size_t horses = std::min(posts.size(), MaxPoolHorses);
    forEachLineIn(poolText, [&](std::string_view line) {
        // A line names its ticket, the posts and at least its amount. The posts are looked at
        // first, as nearly every line names another combination.
        std::array<std::string_view, MaxPoolHorses + 2> fields;
        if (!leadingFields(line, horses + 2, fields))
            return;
        for (std::size_t k = 0; k < horses; ++k) {
            auto post = wholeField(fields[k + 1]);
            if (!post || *post != posts[k])
                return;
        }
        if (auto number = wholeField(fields[0]))
            numbers.push_back(*number);
    });
    return numbers;
}

namespace {

// The day's tickets: a line dated another day (a tickets.dat the day's start could not empty)
// never pays, even when its number is one this day gave out again.
std::vector<TicketRecord> loadTickets(const RaceDay& day) {
    std::vector<TicketRecord> tickets = parseTickets(day.folder.read(TicketsFile).bytes);
    const std::string today = day.date.empty() ? todayText() : day.date;
    std::erase_if(tickets,
                  [&](const TicketRecord& ticket) { return !ticket.date.empty() && ticket.date != today; });
    return tickets;
}

bool isOneOf(std::string_view betType, const BetTypes& types) {
    return std::find(types.begin(), types.end(), betType) != types.end();
}

// One settling pass over a pool file.
struct Pass {
    std::string_view file;
    std::vector<int> winners; // the posts a line must hold, in order
    const Payoff& payoff;
    std::string_view code;
    BetTypes betTypes;      // the tickets.dat kinds whose lines this pool holds
    bool singleRace = true; // single-race pools hold the current race only
};

class Settler {
public:
    Settler(RaceDay& day, SettlementReport& report) : m_day(day), m_report(report) {}

    void run(const Pass& pass) {
        if (!pass.payoff.value)
            return; // no money on the winning combination: this pool pays nothing
        for (int32_t number : ticketsOnPosts(m_day.folder.read(pass.file).bytes, pass.winners))
            for (const TicketRecord& ticket : tickets())
                if (ticket.number == number && belongsTo(ticket, pass))
                    credit(ticket, pass.code, pass.payoff.label, *pass.payoff.value, pass.payoff.breakage);
    }

    // One settling step, all its files together: the credits so far into players.dat, tickets.dat
    // cut to the kinds named (through its scratch copy), a finished pool file emptied and any
    // further files written. A step that cannot be written yet is kept by the folder and goes out
    // with the next one: the settlement stands either way.
    void prune(const BetTypes& keep, std::string_view finishedPool = {},
               const std::vector<std::pair<std::string, std::string>>& writes = {}) {
        FileChanges changes;
        if (m_credited)
            addPlayers(m_day, changes);
        m_credited = false;
        std::string content;
        std::vector<TicketRecord> kept;
        for (const TicketRecord& ticket : tickets())
            if (isOneOf(ticket.betType, keep)) {
                content += ticketRecord(ticket);
                kept.push_back(ticket);
            }
        changes.write(std::string(TicketsScratch), content);
        changes.write(std::string(TicketsFile), std::move(content));
        if (!finishedPool.empty())
            changes.write(std::string(finishedPool), "");
        for (const auto& [name, content] : writes)
            changes.write(name, content);
        const StepOutcome saved = m_day.folder.carry(changes);
        note(saved.refused);
        if (saved.pending)
            m_report.errors.push_back(saved.notice);
        m_tickets = std::move(kept);
    }

    // tickets.dat as the settlement stands: read once, then as each prune left it.
    const std::vector<TicketRecord>& tickets() {
        if (!m_tickets)
            m_tickets = loadTickets(m_day);
        return *m_tickets;
    }

    // Pays the credit held for this race: a second half on the winning combination as the parlay
    // of the two halves' $2 payoffs, an unexchanged credit at its first half's price.
    void settleCredit(const ExchangeCredit& held, const Payoffs& payoffs) {
        const bool triSuper = held.betType == betWord(BetType::TriSuper);
        const std::string_view code = triSuper ? "TrS" : "TwT";
        TicketRecord owner{held.number, held.playerId, held.amount, held.betType, held.race, {}};
        const std::string ticketName = fillIn(
            _("{0} credit {1}"), betTitle(triSuper ? BetType::TriSuper : BetType::TwinTri), held.number);
        if (held.exchangedBy == 0) {
            // The first half's cuts were its own race's; this pays its price as it stands.
            credit(
                owner, code, {}, held.price, {},
                {fillIn(_("{0}: its first half came in in race {1} on {2} and the credit was not exchanged"),
                        ticketName, held.race - 1, held.combination),
                 fillIn(_("An unexchanged credit is paid at its first half's price: {0}"),
                        centsText(held.price))});
            return;
        }
        const auto& order = m_day.result.finishOrder;
        std::vector<int> winners = {order[0], order[1], order[2]};
        if (triSuper)
            winners.push_back(order[3]);
        const Payoff& second = triSuper ? payoffs.superfecta2 : payoffs.trifecta2;
        // A half whose pool paid "-" pays nothing, as every pool does.
        if (!second.value)
            return;
        const PoolFile file = triSuper ? PoolFile::TriSuperExchanges : PoolFile::TwinTriExchanges;
        const BetType type = triSuper ? BetType::TriSuper : BetType::TwinTri;
        bool cameIn = false;
        for (int32_t number : ticketsOnPosts(m_day.folder.read(poolFileName(file)).bytes, winners))
            cameIn = cameIn || number == held.exchangedBy;
        if (!cameIn)
            return;
        for (const TicketRecord& ticket : tickets())
            if (ticket.number == held.exchangedBy && ticket.betType == exchangeFileWord(type) &&
                ticket.raceNumber == held.race && ticket.playerId == held.playerId) {
                const std::string pool = triSuper ? _("superfecta") : _("trifecta");
                std::string posts;
                for (int post : winners)
                    posts += (posts.empty() ? "" : "-") + std::to_string(post);
                Payoff parlay;
                parlay.working = {
                    fillIn(_("{0} of race {1}, exchanged by race {2}'s ticket {3}: a parlay of the two "
                             "halves' $2 "
                             "payoffs"),
                           ticketName, held.race - 1, held.race, held.exchangedBy),
                    fillIn(_("First half, race {0}: {1} came in, its $2 payoff {2}"), held.race - 1,
                           held.combination, centsText(held.price)),
                    fillIn(_("Second half, race {0}: the {1} {2} came in, its $2 payoff {3} (see the {1})"),
                           held.race, pool, posts, second.text)};
                if (auto whole = parlayPayoff({held.price, *second.value}, &parlay))
                    credit(owner, code, {}, *whole, parlay.breakage, std::move(parlay.working));
                return;
            }
    }

private:
    bool belongsTo(const TicketRecord& ticket, const Pass& pass) const {
        if (!isOneOf(ticket.betType, pass.betTypes))
            return false;
        // A ticket left over from an earlier race must not collect on this race's numbers.
        return !pass.singleRace || ticket.raceNumber == m_day.currentRace + 1;
    }

    void credit(const TicketRecord& ticket, std::string_view code, std::string_view label, Cents payoff,
                const CentsFraction& breakage, std::vector<std::string> working = {}) {
        if (ticket.amount <= 0)
            return; // a hand-edited amount must never take money away
        Credit paid;
        paid.playerId = ticket.playerId;
        paid.ticketNumber = ticket.number;
        paid.code = std::string(code);
        paid.label = std::string(label);
        paid.amount = ticket.amount;
        paid.payoff = payoff;
        paid.working = std::move(working);
        paid.playerIndex = findPlayer(m_day.players, ticket.playerId);
        const std::optional<Cents> won = winningsOf(payoff, ticket.amount);
        paid.winnings = won.value_or(0);
        paid.breakage = CentsFraction{breakage.numerator * ticket.amount, breakage.denominator * 2}.rounded();
        if (paid.playerIndex < 0) {
            m_report.unclaimed.push_back(std::move(paid));
            return;
        }
        PlayerEntry& player = m_day.players.entries[static_cast<std::size_t>(paid.playerIndex)];
        const std::optional<Cents> after = won ? addCents(balanceOf(player), *won) : std::nullopt;
        if (!after) {
            // Refused rather than paid wrong: the player keeps the balance and is told why.
            m_report.errors.push_back(
                fillIn(_("{0}'s ticket {1} won more than a balance can hold (${2}); it was not "
                         "paid."),
                       player.name, ticket.number, centsText(MaxCents)));
            return;
        }
        setBalance(player, *after);
        refreshBalanceLabel(m_day.players);
        m_credited = true;
        m_report.winnerLines.push_back(winnerLine(paid.winnings, paid.code, player.name));
        m_report.credits.push_back(std::move(paid));
    }

    void note(const FileError& error) {
        if (error)
            m_report.errors.push_back(error.message);
    }

    RaceDay& m_day;
    SettlementReport& m_report;
    bool m_credited = false;
    std::optional<std::vector<TicketRecord>> m_tickets;
};

struct MultiRacePass {
    int lastRace; // race index whose settlement pays the bet
    int firstRace;
    MultiRaceBet bet;
    std::string_view file;
    std::string_view code;
    std::string_view betType;
    BetTypes keep; // the other multi-race kinds, still running
};

const MultiRacePass* multiRacePassAfter(int race) {
    static const MultiRacePass passes[] = {
        {2, 1, MultiRaceBet::DailyDouble, "dailydoubles.dat", "DDb", "Daily Double", {"Pick3", "Pick6"}},
        {5, 3, MultiRaceBet::Pick3, "pick3s.dat", "Pk3", "Pick3", {"Daily Double", "Pick6"}},
        {11, 6, MultiRaceBet::Pick6, "pick6s.dat", "Pk6", "Pick6", {"Daily Double", "Pick3"}},
    };
    for (const MultiRacePass& pass : passes)
        if (pass.lastRace == race)
            return &pass;
    return nullptr;
}

} // namespace

std::vector<PoolPayment> singleRacePayments(std::span<const uint8_t> order, const Payoffs& payoffs) {
    const int first = order.size() > 0 ? order[0] : 0, second = order.size() > 1 ? order[1] : 0;
    const int third = order.size() > 2 ? order[2] : 0, fourth = order.size() > 3 ? order[3] : 0;
    return {
        {"wins.dat", {first}, &payoffs.win, "Win", {"Win", "WPS"}},
        {"places.dat", {first}, &payoffs.place[0], "Plc", {"Place", "WPS"}},
        {"places.dat", {second}, &payoffs.place[1], "Plc", {"Place", "WPS"}},
        {"shows.dat", {first}, &payoffs.show[0], "Shw", {"Show", "WPS"}},
        {"shows.dat", {second}, &payoffs.show[1], "Shw", {"Show", "WPS"}},
        {"shows.dat", {third}, &payoffs.show[2], "Shw", {"Show", "WPS"}},
        {"quinielas.dat", {payoffs.qHorse[0], payoffs.qHorse[1]}, &payoffs.quiniela, "Qui", {"Quiniela"}},
        {"exactas.dat", {first, second}, &payoffs.exacta, "Exa", {"Exacta"}},
        {"trifectas.dat", {first, second, third}, &payoffs.trifecta2, "Tri", {"Trifecta"}},
        {"superfectas.dat", {first, second, third, fourth}, &payoffs.superfecta2, "Sup", {"Superfecta"}},
    };
}

std::optional<Cents> winningsOf(Cents payoff, int32_t amount) {
    const std::optional<Cents> twice = mulCents(payoff, amount);
    if (!twice)
        return std::nullopt;
    return CentsFraction{*twice, 2}.rounded();
}

SettlementReport settleRace(RaceDay& day, const Payoffs& payoffs) {
    SettlementReport report;
    Settler settler(day, report);
    const auto& order = day.result.finishOrder;
    const int first = order[0], second = order[1], third = order[2];

    // A race whose pool files could not be written took no bets; its files hold another race's lines.
    const bool poolsOpened = day.currentRace >= 0 && day.currentRace < RacesPerDay &&
                             day.card.racePoolsOpened[static_cast<std::size_t>(day.currentRace)];
    if (poolsOpened) {
        for (PoolPayment& payment : singleRacePayments(order, payoffs))
            settler.run({payment.file, std::move(payment.winners), *payment.payoff, payment.code,
                         std::move(payment.betTypes)});
    }
    // The credits held for this race are paid, whether it took bets or not; the first halves that
    // came in here are held for the next race. A credit is paid as the day made it: a line of the
    // file that was changed by hand (or that no first half won) is named, never paid as written.
    const int32_t raceNumber = day.currentRace + 1;
    for (const ExchangeCredit& read : parseExchangeCredits(day.folder.read(ExchangeCreditsFile).bytes))
        if (read.race >= raceNumber)
            if (std::string problem = creditLineProblem(day, read); !problem.empty())
                report.creditNotes.push_back(std::move(problem));
    std::vector<ExchangeCredit> credits;
    for (const ExchangeCredit& held : day.exchangeCredits) {
        if (held.race == raceNumber)
            settler.settleCredit(held, payoffs);
        else if (held.race > raceNumber)
            credits.push_back(held);
    }
    if (poolsOpened && payoffs.trifecta2.value && raceNumber < RacesPerDay) {
        const std::vector<TicketRecord>& tickets = settler.tickets();
        for (BetType type : {BetType::TwinTri, BetType::TriSuper}) {
            const PoolFile file = type == BetType::TwinTri ? PoolFile::TwinTris : PoolFile::TriSupers;
            for (int32_t number :
                 ticketsOnPosts(day.folder.read(poolFileName(file)).bytes, std::vector{first, second, third}))
                for (const TicketRecord& ticket : tickets) {
                    if (ticket.number != number || ticket.betType != ticketFileWord(type) ||
                        ticket.raceNumber != raceNumber || ticket.amount <= 0)
                        continue;
                    ExchangeCredit made{number,
                                        ticket.playerId,
                                        ticket.amount,
                                        std::string(betWord(type)),
                                        raceNumber + 1,
                                        std::to_string(first) + "-" + std::to_string(second) + "-" +
                                            std::to_string(third),
                                        *payoffs.trifecta2.value,
                                        0};
                    // A first half met twice (a file holding its line twice) still wins one credit.
                    if (std::any_of(credits.begin(), credits.end(),
                                    [&](const ExchangeCredit& held) { return isSameCredit(held, made); }))
                        continue;
                    if (const int index = findPlayer(day.players, ticket.playerId); index >= 0)
                        report.exchangeLines.push_back(
                            exchangeNotice(day.players.entries[static_cast<std::size_t>(index)].name, made));
                    credits.push_back(std::move(made));
                }
        }
    }
    std::vector<std::pair<std::string, std::string>> exchangeFiles = {
        {std::string(ExchangeCreditsFile), exchangeCreditsText(credits)}};
    for (PoolFile file : ExchangePoolFiles)
        exchangeFiles.emplace_back(std::string(poolFileName(file)), "");
    settler.prune({"Daily Double", "Pick3", "Pick6"}, {}, exchangeFiles);
    day.exchangeCredits = std::move(credits);

    if (const MultiRacePass* multi = multiRacePassAfter(day.currentRace)) {
        std::vector<int> winners;
        for (int race = multi->firstRace; race <= multi->lastRace; ++race)
            winners.push_back(day.raceWinner[static_cast<std::size_t>(race)]);
        // Payoffs worked out for another race must not pay this bet.
        static const Payoff none{"lblSpecialPayoff", {}, "-"};
        const Payoff& payoff = payoffs.multiRace == multi->bet ? payoffs.specialPayoff : none;
        settler.run({multi->file, winners, payoff, multi->code, {multi->betType}, false});
        settler.prune(multi->keep, multi->file);
    }

    report.standingLines = standingLines(day.players);
    return report;
}

std::vector<Collection> collections(const SettlementReport& report, const PlayerList& players) {
    std::vector<Collection> sums;
    for (const Credit& credit : report.credits) {
        if (credit.playerIndex < 0 || credit.playerIndex >= static_cast<int>(players.entries.size()))
            continue;
        auto sum = std::find_if(sums.begin(), sums.end(),
                                [&](const Collection& c) { return c.playerIndex == credit.playerIndex; });
        if (sum == sums.end())
            sum = sums.insert(
                sums.end(),
                {credit.playerIndex, players.entries[static_cast<std::size_t>(credit.playerIndex)].name, 0});
        sum->winnings = addCents(sum->winnings, credit.winnings).value_or(MaxCents);
    }
    std::erase_if(sums, [](const Collection& c) { return c.winnings <= 0; });
    std::stable_sort(sums.begin(), sums.end(),
                     [](const Collection& a, const Collection& b) { return a.winnings > b.winnings; });
    return sums;
}

std::string collectsLine(const Collection& collection) {
    return fillIn(_("{0} collects {1}"), collection.name, shownMoney(collection.winnings));
}

std::string officialOrderLine(const RaceDay& day) {
    std::array<std::string, 3> placed;
    for (std::size_t k = 0; k < placed.size(); ++k) {
        const int post = day.result.finishOrder[k];
        if (post < 1 || post > FieldSize)
            return {};
        placed[k] = std::to_string(post) + ' ' + day.entries.name[static_cast<std::size_t>(post - 1)];
    }
    return fillIn(_("Official: {0} first, {1} second, {2} third"), placed[0], placed[1], placed[2]);
}

std::string winnerLine(Cents winnings, std::string_view code, std::string_view name) {
    std::string line = rightAlign(centsDollarText(winnings), 9);
    line += " -";
    line += code;
    line += "- ";
    line += name;
    return line;
}

std::vector<std::string> standingLines(const PlayerList& players) {
    struct Standing {
        Cents balance;
        const PlayerEntry* player;
    };
    std::vector<Standing> standings;
    standings.reserve(players.entries.size());
    for (const PlayerEntry& player : players.entries) {
        // An unreadable balance sorts last instead of breaking the order.
        const Cents balance = readBalance(player).value_or(std::numeric_limits<Cents>::min());
        standings.push_back({balance, &player});
    }
    std::stable_sort(standings.begin(), standings.end(),
                     [](const Standing& a, const Standing& b) { return a.balance > b.balance; });
    std::vector<std::string> lines;
    lines.reserve(standings.size());
    for (const Standing& s : standings)
        lines.push_back(rightAlign(centsDollarText(balanceOf(*s.player)), 10) + " - " + s.player->name);
    return lines;
}

} // namespace sw
