#include "ExchangeCredits.h"
#include "core/Translate.h"

#include "core/Constants.h"
#include "core/Format.h"
#include "core/TextEncoding.h"
#include "players/Players.h"

#include <algorithm>
#include <cmath>

namespace sw {

namespace {

bool isCreditBet(std::string_view word) {
    return word == betWord(BetType::TwinTri) || word == betWord(BetType::TriSuper);
}

// "3-5-1": three different posts 1..8.
bool isCombination(std::string_view text) {
    if (text.size() != 5 || text[1] != '-' || text[3] != '-')
        return false;
    const char a = text[0], b = text[2], c = text[4];
    auto post = [](char p) { return p >= '1' && p <= '8'; };
    return post(a) && post(b) && post(c) && a != b && a != c && b != c;
}

std::string ownerName(const RaceDay& day, int32_t playerId) {
    const int index = findPlayer(day.players, playerId);
    return index < 0 ? "Player " + std::to_string(playerId)
                     : day.players.entries[static_cast<std::size_t>(index)].name;
}

} // namespace

std::string exchangeCreditRecord(const ExchangeCredit& credit) {
    return RecordWriter()
        .integer(credit.number)
        .integer(credit.playerId)
        .integer(credit.amount)
        .text(credit.betType)
        .integer(credit.race)
        .text(credit.combination)
        .text(centsField(credit.price))
        .integer(credit.exchangedBy)
        .line();
}

std::optional<ExchangeCredit> parseExchangeCredit(std::string_view line) {
    FieldReader reader(line);
    ExchangeCredit credit;
    credit.number = -1;
    credit.playerId = -1;
    credit.amount = -1;
    credit.race = -1;
    credit.exchangedBy = -1;
    reader.read(credit.number);
    reader.read(credit.playerId);
    reader.read(credit.amount);
    reader.read(credit.betType);
    reader.read(credit.race);
    reader.read(credit.combination);
    const std::optional<Cents> price = reader.atEnd() ? std::nullopt : parseCents(reader.next());
    credit.price = price.value_or(-1);
    reader.read(credit.exchangedBy);
    // A hand edit must never make a credit pay something no ticket won.
    if (reader.fieldsRead() != 8 || !reader.atEnd() || credit.number <= 0 || credit.playerId < 0 ||
        credit.amount <= 0 || credit.amount > MaxBetAmount || !isCreditBet(credit.betType) ||
        credit.race < 2 || credit.race > RacesPerDay || !isCombination(credit.combination) ||
        credit.price < 200 || credit.exchangedBy < 0)
        return std::nullopt;
    return credit;
}

bool isSameCredit(const ExchangeCredit& a, const ExchangeCredit& b) {
    return a.number == b.number && a.betType == b.betType && a.race == b.race;
}

std::vector<ExchangeCredit> parseExchangeCredits(std::string_view text) {
    std::vector<ExchangeCredit> credits;
    for (std::string_view line : splitLines(text))
        if (auto credit = parseExchangeCredit(line);
            credit && std::none_of(credits.begin(), credits.end(),
                                   [&](const ExchangeCredit& kept) { return isSameCredit(kept, *credit); }))
            credits.push_back(std::move(*credit));
    return credits;
}

std::string exchangeCreditsText(const std::vector<ExchangeCredit>& credits) {
    std::string text;
    for (std::size_t i = 0; i < credits.size(); ++i)
        if (std::none_of(credits.begin(), credits.begin() + static_cast<std::ptrdiff_t>(i),
                         [&](const ExchangeCredit& earlier) { return isSameCredit(earlier, credits[i]); }))
            text += exchangeCreditRecord(credits[i]);
    return text;
}

std::string creditLineProblem(const RaceDay& day, const ExchangeCredit& read) {
    const std::string name = fillIn(_("{0} credit {1} for race {2}"), read.betType, read.number, read.race);
    const auto held = std::find_if(day.exchangeCredits.begin(), day.exchangeCredits.end(),
                                   [&](const ExchangeCredit& credit) { return isSameCredit(credit, read); });
    if (held == day.exchangeCredits.end())
        return fillIn(_("{0} holds {1}, which no first half of this day won: it is not paid."),
                      ExchangeCreditsFile, name);
    // Compared as written, so a price reads the same whichever way it was held.
    const std::string made = exchangeCreditRecord(*held);
    if (exchangeCreditRecord(read) == made)
        return {};
    const std::string won =
        fillIn(_("race {0}'s trifecta paid {1}"), held->race - 1, centsDollarText(held->price));
    ExchangeCredit repriced = read;
    repriced.price = held->price;
    if (exchangeCreditRecord(repriced) == made)
        return fillIn(_("{0} prices {1} at {2}, but {3}: the credit counts at {4}."), ExchangeCreditsFile,
                      name, centsDollarText(read.price), won, centsDollarText(held->price));
    return fillIn(_("{0} was changed for {1}: the credit is {2}'s, ${3} on {4} ({5}), and counts as that."),
                  ExchangeCreditsFile, name, ownerName(day, held->playerId), held->amount, held->combination,
                  won);
}

Cents creditPayout(const ExchangeCredit& credit) {
    return CentsFraction{static_cast<CentsFraction::Wide>(credit.amount) * credit.price, 2}.rounded();
}

std::string exchangeProblem(const RaceDay& day, const ParsedTicket& ticket, int32_t owner,
                            std::size_t listed) {
    const std::string bet(betWord(ticket.type));
    const std::string credit = fillIn(_("{0} credit {1}"), bet, ticket.exchange);
    for (const ExchangeCredit& held : day.exchangeCredits) {
        if (held.number != ticket.exchange || held.betType != bet || held.race != day.currentRace + 1)
            continue;
        if (held.playerId != owner)
            return fillIn(_("{0} belongs to {1}."), credit, ownerName(day, held.playerId));
        if (held.exchangedBy != 0)
            return fillIn(_("{0} was exchanged already, by ticket {1}."), credit, held.exchangedBy);
        if (held.amount != ticket.amount)
            return fillIn(_("{0} was bought at ${1}: its exchange is bet at that amount."), credit,
                          held.amount);
        // Of two listed tickets naming one credit, the first in the list uses it.
        for (std::size_t i = 0; i < std::min(listed, day.tickets.size()); ++i) {
            if (day.tickets[i].paid)
                continue;
            auto other = parseTicketText(day.tickets[i].text);
            if (other && other->type == ticket.type && other->exchange == ticket.exchange)
                return fillIn(_("{0} is used by another ticket on the list already."), credit);
        }
        return {};
    }
    return fillIn(_("There is no {0} for race {1}: the tickets list shows the credits held."), credit,
                  day.currentRace + 1);
}

std::vector<ExchangeCredit> creditsOfRace(const RaceDay& day) {
    std::vector<ExchangeCredit> credits;
    for (const ExchangeCredit& credit : day.exchangeCredits)
        if (credit.race == day.currentRace + 1)
            credits.push_back(credit);
    return credits;
}

std::string creditLine(const RaceDay& day, const ExchangeCredit& credit) {
    const BetType type = credit.betType == betWord(BetType::TriSuper) ? BetType::TriSuper : BetType::TwinTri;
    std::string line =
        fillIn(_("{0}: {1} credit {2}, ${3} on {4} in race {5}: "), ownerName(day, credit.playerId),
               credit.betType, credit.number, credit.amount, credit.combination, credit.race - 1);
    if (credit.exchangedBy != 0)
        return line + fillIn(_("exchanged by ticket {0}."), credit.exchangedBy);
    return line +
           fillIn(_("exchange it for a {0} of race {1} ({2}); if the race starts without it, it pays {3} "
                    "with the race's results."),
                  betTitle(secondHalfOf(type)), credit.race,
                  credit.betType + " " + std::string(ExchangeWord) + " " + std::to_string(credit.number),
                  centsDollarText(creditPayout(credit)));
}

std::vector<std::string> creditLines(const RaceDay& day) {
    std::vector<std::string> lines;
    for (const ExchangeCredit& credit : creditsOfRace(day))
        lines.push_back(creditLine(day, credit));
    return lines;
}

std::string exchangeNotice(std::string_view playerName, const ExchangeCredit& credit) {
    return fillIn(_("{0}: {1} exchange for race {2}"), playerName, credit.betType, credit.race);
}

} // namespace sw
