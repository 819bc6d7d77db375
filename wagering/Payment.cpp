#include "Payment.h"
#include "core/Translate.h"

#include "BalanceCheck.h"
#include "ExchangeCredits.h"
#include "TicketPricing.h"
#include "core/Constants.h"
#include "core/DataFolder.h"
#include "core/Format.h"
#include "core/TextEncoding.h"
#include "players/Players.h"
#include "tote/PoolFiles.h"
#include "tote/Tote.h"

#include <array>

namespace sw {

namespace {

// One line per marked combination, the ticket's number first and its amount last. Every line
// shares the number and the amount, and a post is a single digit, so a big Pick 6's quarter
// million lines are put together without formatting a number each.
std::string poolLines(const CombinationMarks& marks, int32_t number, int32_t amount) {
    const std::string head = formatInt(number) + ",";
    const std::string tail = formatInt(amount) + std::string(LineEnd);
    std::string text;
    text.reserve(marks.markedCount() *
                 (head.size() + 2 * static_cast<std::size_t>(marks.positions()) + tail.size()));
    marks.forEachMarked([&](const uint8_t* posts, int k) {
        text += head;
        for (int p = 0; p < k; ++p) {
            text.push_back(static_cast<char>('0' + posts[p]));
            text.push_back(',');
        }
        text += tail;
    });
    return text;
}

// Takes the cost off the owner; the bettor is selected again so the balance label follows, and
// what a bettor out of cash is to be told goes to `notes`.
void chargeOwner(RaceDay& day, int32_t playerId, int64_t cost, std::vector<std::string>& notes) {
    int index = findPlayer(day.players, playerId);
    if (index < 0)
        return;
    PlayerEntry& owner = day.players.entries[static_cast<std::size_t>(index)];
    // The balance check let only tickets the balance covers through, so this stays within range.
    setBalance(owner, balanceOf(owner) - cost * CentsPerDollar);
    if (day.players.selected >= 0 && day.players.selected < static_cast<int>(day.players.entries.size()))
        if (std::string note = selectBettorQuietly(day.players, day.players.selected); !note.empty())
            notes.push_back(std::move(note));
}

} // namespace

std::vector<PoolFile> poolFilesOf(const ParsedTicket& ticket) {
    switch (ticket.type) {
    case BetType::Win:
        return {PoolFile::Wins};
    case BetType::Place:
        return {PoolFile::Places};
    case BetType::Show:
        return {PoolFile::Shows};
    case BetType::WPS:
        return {PoolFile::Wins, PoolFile::Places, PoolFile::Shows};
    case BetType::Quiniela:
        return {PoolFile::Quinielas};
    case BetType::Exacta:
        return {PoolFile::Exactas};
    case BetType::Trifecta:
        return {PoolFile::Trifectas};
    case BetType::Superfecta:
        return {PoolFile::Superfectas};
    case BetType::DailyDouble:
        return {PoolFile::DailyDoubles};
    case BetType::Pick3:
        return {PoolFile::Pick3s};
    case BetType::Pick6:
        return {PoolFile::Pick6s};
    case BetType::TwinTri:
        return {ticket.exchange > 0 ? PoolFile::TwinTriExchanges : PoolFile::TwinTris};
    case BetType::TriSuper:
        return {ticket.exchange > 0 ? PoolFile::TriSuperExchanges : PoolFile::TriSupers};
    }
    return {};
}

PaymentReport payTickets(RaceDay& day) {
    PaymentReport report = payTicketsQuietly(day);
    for (const std::string& text : report.messages)
        day.prompter.message(text, AppTitle);
    return report;
}

PaymentReport payTicketsQuietly(RaceDay& day) {
    PaymentReport report;
    const std::size_t race = static_cast<std::size_t>(day.currentRace);
    if (race >= RacesPerDay || !day.card.racePoolsOpened[race]) {
        // Its pool files still hold another race's lines: a bet on them could be paid by them.
        report.error =
            fillIn(_("Betting on race {0} is closed: its pool files could not be written."), race + 1);
        report.messages.push_back(report.error);
        return report;
    }
    // The payment is one step: every paid ticket's tickets.dat line, its pool lines and its
    // owner's charge go in together or not at all, so no bet is live that nobody paid for.
    const PlayerList playersBefore = day.players;
    const int32_t counterBefore = day.pools.ticketCounter;
    std::vector<ExchangeCredit> credits = day.exchangeCredits;
    bool creditsChanged = false;
    std::vector<std::size_t> paidNow;
    std::string ticketLines;
    std::array<std::string, PoolFileCount> poolText;
    report.shortOfMoney = ownersShortOfMoney(day);
    const std::string date = day.date.empty() ? todayText() : day.date;
    CombinationMarks marks;
    // Messages wait until the payment is on disk and the board rebuilt from the pool files, so
    // whoever looks at the board then sees every ticket paid.
    std::vector<std::string>& messages = report.messages;
    std::vector<std::string> outOfCash;

    for (std::size_t i = 0; i < day.tickets.size(); ++i) {
        if (day.tickets[i].paid)
            continue;
        auto ticket = parseTicketText(day.tickets[i].text);
        if (!ticket)
            continue; // cannot be priced, so it is never recorded
        const int32_t owner = day.tickets[i].playerId;
        if (findPlayer(day.players, owner) < 0) {
            ++report.orphaned;
            continue;
        }
        // One player short of money keeps only their own tickets back.
        if (isShort(report.shortOfMoney, owner))
            continue;
        if (ticket->exchange > 0) {
            if (std::string problem = exchangeProblem(day, *ticket, owner, i); !problem.empty()) {
                ++report.badExchanges;
                messages.push_back(day.tickets[i].text + ": " + problem);
                continue;
            }
        } else if (isExchangeBet(ticket->type) && !day.exchangeBetsOffered) {
            ++report.badExchanges;
            messages.push_back(day.tickets[i].text + ": " +
                               fillIn(_("the {0} is sold in races 1 to 11 only."), betTitle(ticket->type)));
            continue;
        }

        TicketPrice price = expandTicket(*ticket, marks);
        const int32_t number = ++day.pools.ticketCounter;
        ticketLines +=
            RecordWriter()
                .integer(number)
                .integer(owner)
                .integer(ticket->amount)
                .text(ticket->exchange > 0 ? exchangeFileWord(ticket->type) : ticketFileWord(ticket->type))
                .integer(day.currentRace + 1)
                .text(date)
                .line();
        const std::string lines = poolLines(marks, number, ticket->amount);
        for (PoolFile file : poolFilesOf(*ticket))
            poolText[static_cast<std::size_t>(file)] += lines;
        for (ExchangeCredit& credit : credits)
            if (ticket->exchange > 0 && credit.number == ticket->exchange &&
                credit.betType == betWord(ticket->type) && credit.race == day.currentRace + 1) {
                credit.exchangedBy = number;
                creditsChanged = true;
            }
        paidNow.push_back(i);
        chargeOwner(day, owner, price.cost, outOfCash);
    }
    if (!paidNow.empty()) {
        FileChanges changes;
        changes.append("tickets.dat", std::move(ticketLines));
        for (std::size_t f = 0; f < PoolFileCount; ++f)
            changes.append(std::string(poolFileName(static_cast<PoolFile>(f))), std::move(poolText[f]));
        if (creditsChanged)
            changes.write(std::string(ExchangeCreditsFile), exchangeCreditsText(credits));
        addPlayers(day, changes);
        const StepOutcome saved = day.folder.commit(changes);
        if (saved) {
            // Nothing was written: the tickets stay unpaid and nobody is charged.
            day.players = playersBefore;
            day.pools.ticketCounter = counterBefore;
            report.error = saved.refused.message;
            messages.insert(messages.begin(), saved.refused.message);
        } else {
            // Committed is paid, even with a file still to be put in place.
            if (saved.pending)
                messages.insert(messages.begin(), saved.notice);
            for (std::size_t i : paidNow)
                day.tickets[i].paid = true;
            day.exchangeCredits = std::move(credits);
            report.paid = static_cast<int>(paidNow.size());
            toteRefresh(day);
            // Told over the board as it now stands, with the new bettor selected.
            messages.insert(messages.end(), outOfCash.begin(), outOfCash.end());
        }
    }
    for (const Shortfall& shortfall : report.shortOfMoney)
        if (const int index = findPlayer(day.players, shortfall.playerId); index >= 0)
            messages.push_back(
                shortOfMoneyText(day.players.entries[static_cast<std::size_t>(index)].name, shortfall));
    return report;
}

} // namespace sw
