#include "ExchangeCredits.h"

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
    const std::string name =
        read.betType + " credit " + std::to_string(read.number) + " for race " + std::to_string(read.race);
    const auto held = std::find_if(day.exchangeCredits.begin(), day.exchangeCredits.end(),
                                   [&](const ExchangeCredit& credit) { return isSameCredit(credit, read); });
    if (held == day.exchangeCredits.end())
        return std::string(ExchangeCreditsFile) + " holds " + name +
               ", which no first half of this day won: it is not paid.";
    // Compared as written, so a price reads the same whichever way it was held.
    const std::string made = exchangeCreditRecord(*held);
    if (exchangeCreditRecord(read) == made)
        return {};
    const std::string won =
        "race " + std::to_string(held->race - 1) + "'s trifecta paid " + centsDollarText(held->price);
    ExchangeCredit repriced = read;
    repriced.price = held->price;
    if (exchangeCreditRecord(repriced) == made)
        return std::string(ExchangeCreditsFile) + " prices " + name + " at " + centsDollarText(read.price) +
               ", but " + won + ": the credit counts at " + centsDollarText(held->price) + ".";
    return std::string(ExchangeCreditsFile) + " was changed for " + name + ": the credit is " +
           ownerName(day, held->playerId) + "'s, $" + std::to_string(held->amount) + " on " +
           held->combination + " (" + won + "), and counts as that.";
}

Cents creditPayout(const ExchangeCredit& credit) {
    return CentsFraction{static_cast<CentsFraction::Wide>(credit.amount) * credit.price, 2}.rounded();
}

std::string exchangeProblem(const RaceDay& day, const ParsedTicket& ticket, int32_t owner,
                            std::size_t listed) {
    const std::string bet(betWord(ticket.type));
    const std::string credit = bet + " credit " + std::to_string(ticket.exchange);
    for (const ExchangeCredit& held : day.exchangeCredits) {
        if (held.number != ticket.exchange || held.betType != bet || held.race != day.currentRace + 1)
            continue;
        if (held.playerId != owner)
            return credit + " belongs to " + ownerName(day, held.playerId) + ".";
        if (held.exchangedBy != 0)
            return credit + " was exchanged already, by ticket " + std::to_string(held.exchangedBy) + ".";
        if (held.amount != ticket.amount)
            return credit + " was bought at $" + std::to_string(held.amount) +
                   ": its exchange is bet at that amount.";
        // Of two listed tickets naming one credit, the first in the list uses it.
        for (std::size_t i = 0; i < std::min(listed, day.tickets.size()); ++i) {
            if (day.tickets[i].paid)
                continue;
            auto other = parseTicketText(day.tickets[i].text);
            if (other && other->type == ticket.type && other->exchange == ticket.exchange)
                return credit + " is used by another ticket on the list already.";
        }
        return {};
    }
    return "There is no " + credit + " for race " + std::to_string(day.currentRace + 1) +
           ": the tickets list shows the credits held.";
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
    std::string line = ownerName(day, credit.playerId) + ": " + credit.betType + " credit " +
                       std::to_string(credit.number) + ", $" + std::to_string(credit.amount) + " on " +
                       credit.combination + " in race " + std::to_string(credit.race - 1) + ": ";
    if (credit.exchangedBy != 0)
        return line + "exchanged by ticket " + std::to_string(credit.exchangedBy) + ".";
    return line + "exchange it for a " + std::string(betWord(secondHalfOf(type))) + " of race " +
           std::to_string(credit.race) + " (" + credit.betType + " " + std::string(ExchangeWord) + " " +
           std::to_string(credit.number) + "); if the race starts without it, it pays " +
           centsDollarText(creditPayout(credit)) + " with the race's results.";
}

std::vector<std::string> creditLines(const RaceDay& day) {
    std::vector<std::string> lines;
    for (const ExchangeCredit& credit : creditsOfRace(day))
        lines.push_back(creditLine(day, credit));
    return lines;
}

std::string exchangeNotice(std::string_view playerName, const ExchangeCredit& credit) {
    return std::string(playerName) + ": " + credit.betType + " exchange for race " +
           std::to_string(credit.race);
}

} // namespace sw
