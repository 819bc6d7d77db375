#include "Payment.h"

#include "BalanceCheck.h"
#include "TicketPricing.h"
#include "core/Constants.h"
#include "core/FileStore.h"
#include "core/Format.h"
#include "core/TextEncoding.h"
#include "players/Players.h"
#include "tote/Tote.h"

#include <array>

namespace sw {

namespace {

// The pool files a bet's lines go to; an Across The Board horse goes to all three.
std::array<std::string_view, 3> poolFilesOf(BetType type) {
    switch (type) {
    case BetType::Win:
        return {"wins.dat"};
    case BetType::Place:
        return {"places.dat"};
    case BetType::Show:
        return {"shows.dat"};
    case BetType::WPS:
        return {"wins.dat", "places.dat", "shows.dat"};
    case BetType::Quiniela:
        return {"quinielas.dat"};
    case BetType::Exacta:
        return {"exactas.dat"};
    case BetType::Trifecta:
        return {"trifectas.dat"};
    case BetType::Superfecta:
        return {"superfectas.dat"};
    case BetType::DailyDouble:
        return {"dailydoubles.dat"};
    case BetType::Pick3:
        return {"pick3s.dat"};
    case BetType::Pick6:
        return {"pick6s.dat"};
    default:
        return {};
    }
}

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

// Takes the cost off the owner; the bettor is selected again so the balance label follows.
void chargeOwner(RaceDay& day, int32_t playerId, int64_t cost) {
    int index = findPlayer(day.players, playerId);
    if (index < 0)
        return;
    PlayerEntry& owner = day.players.entries[static_cast<std::size_t>(index)];
    double balance = 0;
    parseLeadingNumber(owner.balance, balance);
    setBalance(owner, static_cast<float>(balance - static_cast<double>(cost)));
    if (day.players.selected >= 0 && day.players.selected < static_cast<int>(day.players.entries.size()))
        selectBettor(day, day.players.selected);
}

} // namespace

PaymentReport payTickets(RaceDay& day) {
    PaymentReport report;
    report.shortOfMoney = ownersShortOfMoney(day);
    const std::string date = day.date.empty() ? todayText() : day.date;
    CombinationMarks marks;
    // The board is rebuilt from the pool files once the paid tickets are in, and before any
    // message, so whoever looks at it sees every ticket paid so far; rebuilding it after each
    // ticket would read all seven files once per ticket.
    bool boardBehind = false;
    auto refreshBoard = [&] {
        if (boardBehind)
            toteRefresh(day);
        boardBehind = false;
    };

    for (std::size_t i = 0; i < day.tickets.size(); ++i) {
        if (day.tickets[i].paid)
            continue;
        auto ticket = parseTicketText(day.tickets[i].text);
        if (!ticket)
            continue; // cannot be priced, so it is never recorded
        if (!isTaken(ticket->type)) {
            if (report.notTaken++ == 0) {
                refreshBoard();
                day.prompter.message(NotTakenYetText, AppTitle);
            }
            continue;
        }
        const int32_t owner = day.tickets[i].playerId;
        if (findPlayer(day.players, owner) < 0) {
            ++report.orphaned;
            continue;
        }
        // One player short of money keeps only their own tickets back.
        if (isShort(report.shortOfMoney, owner))
            continue;

        TicketPrice price = expandTicket(*ticket, marks);
        const int32_t number = ++day.pools.ticketCounter;
        std::string ticketLine = RecordWriter()
                                     .integer(number)
                                     .integer(owner)
                                     .integer(ticket->amount)
                                     .text(ticketFileWord(ticket->type))
                                     .integer(day.currentRace + 1)
                                     .text(date)
                                     .line();
        FileError failed = appendToFile(day.file("tickets.dat"), ticketLine);
        if (!failed) {
            const std::string lines = poolLines(marks, number, ticket->amount);
            for (std::string_view file : poolFilesOf(ticket->type))
                if (!file.empty() && !failed && !lines.empty())
                    failed = appendToFile(day.file(file), lines);
        }
        if (failed) {
            report.error = failed.message;
            refreshBoard();
            day.prompter.message(failed.message, AppTitle);
            break;
        }

        day.tickets[i].paid = true;
        ++report.paid;
        boardBehind = true;
        chargeOwner(day, owner, price.cost);
    }
    refreshBoard();
    for (const Shortfall& shortfall : report.shortOfMoney) {
        if (const int index = findPlayer(day.players, shortfall.playerId); index >= 0)
            day.prompter.message(
                shortOfMoneyText(day.players.entries[static_cast<std::size_t>(index)].name, shortfall),
                AppTitle);
    }
    // players.dat is saved once with every charge in it: each save is a whole-file rewrite, and
    // nothing reads the balances back before the payment is over (a new day starts everyone
    // at the starting amount).
    if (report.paid > 0) {
        FileError saved = savePlayers(day);
        if (saved && report.error.empty()) {
            report.error = saved.message;
            day.prompter.message(saved.message, AppTitle);
        }
    }
    return report;
}

} // namespace sw
