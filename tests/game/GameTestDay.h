#pragma once

// A day played through Game on a copy of the bundled stable, as both front ends drive it.

#include "game/Game.h"
#include "players/Players.h"
#include "support/TestSupport.h"
#include "wagering/TicketPricing.h"

#include <gtest/gtest.h>

namespace sw::test {

struct GameTestDay {
    TempDir dir;
    SeededRandom random;
    ScriptedPrompter prompter;
    Game game{dir.path(), random, prompter};
    bool started = false;

    // players and settings replace the bundled files when given.
    explicit GameTestDay(uint64_t seed, std::string_view players = {}, std::string_view settings = {})
        : random(seed) {
        copyBundledData(dir.path());
        if (!settings.empty())
            writeAll(dir / "settings.dat", settings);
        if (!players.empty())
            writeAll(dir / "players.dat", players);
        started = game.startDay();
        if (started)
            game.toteBoard();
    }
    void list(int32_t playerId, const std::string& text) {
        selectBettor(game.day(), findPlayer(game.day().players, playerId));
        std::string error;
        EXPECT_TRUE(game.ticketList().listTicket(game.day(), text, &error)) << text << ": " << error;
    }
    // Pays what is listed; what the paid tickets cost.
    Cents pay() {
        Cents cost = 0;
        for (const ListedTicket& t : game.day().tickets)
            if (!t.paid)
                cost += priceTicket(t.text).cost * CentsPerDollar;
        EXPECT_EQ(game.pay().error, "");
        return cost;
    }
    void runRace() {
        ASSERT_TRUE(game.beginRace());
        game.finishRace();
        game.runResultsToEnd();
        ASSERT_TRUE(game.resultsDone());
    }
    void nextRace() {
        game.confirmResults();
        if (game.stage() == Stage::Program)
            game.toteBoard();
    }
    Cents balance(int32_t playerId) const {
        return balanceOf(
            game.day().players.entries[static_cast<std::size_t>(findPlayer(game.day().players, playerId))]);
    }
};

} // namespace sw::test
