#pragma once

#include "core/RaceDay.h"
#include "core/TextEncoding.h"
#include "players/Players.h"
#include "support/TestSupport.h"
#include "wagering/TicketText.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace sw::test {

// The ticket a text reads as; a text that does not read fails the test.
inline ParsedTicket parsed(std::string_view text) {
    std::string error;
    auto ticket = parseTicketText(text, &error);
    EXPECT_TRUE(ticket) << text << ": " << error;
    return ticket.value_or(ParsedTicket{});
}

// A race day in a temp folder with a scripted prompter and a few players.
struct WageringDay : DayOnDisk<ListRandom> {
    WageringDay() : DayOnDisk(std::vector{0.5}) {
        day.date = "5/12/2026";
        day.card.racePoolsOpened.fill(true);
        day.exchangeBetsOffered = true; // as in races 1 to 11
    }

    // Lists a player and saves players.dat; returns its index.
    int addPlayer(int32_t id, std::string_view name, Cents balance) {
        day.players.entries.push_back(PlayerEntry{id, std::string(name), centsField(balance)});
        savePlayers(day);
        return static_cast<int>(day.players.entries.size()) - 1;
    }
    void select(int index) { selectBettor(day, index); }
    Cents balance(int index) const { return balanceOf(day.players.entries[static_cast<std::size_t>(index)]); }
    void list(std::string_view text, int32_t owner, bool paid = false) {
        day.tickets.push_back(ListedTicket{std::string(text), owner, paid});
    }
    std::string said() const { return prompter.said(); }
};

} // namespace sw::test
