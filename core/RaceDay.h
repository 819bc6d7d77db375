#pragma once

#include "DataFolder.h"
#include "EntryTables.h"
#include "ExchangeCredit.h"
#include "PlayerList.h"
#include "Pools.h"
#include "Prompter.h"
#include "RaceResult.h"
#include "Random.h"
#include "Records.h"
#include "Ticket.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

// The whole state of one race day: the stable, the card, the players, the pools of the race
// about to be run, the per-entry tables, the last race's result and the ticket list.
// Subsystems are functions over this object; nothing of it lives in globals.
struct RaceDay {
    RaceDay(DataFolder dir, Random& rnd, Prompter& prompt)
        : folder(std::move(dir)), random(rnd), prompter(prompt) {}
    RaceDay(std::filesystem::path dir, Random& rnd, Prompter& prompt)
        : RaceDay(DataFolder(std::move(dir)), rnd, prompt) {}

    std::filesystem::path file(std::string_view name) const { return folder.file(name); }

    DataFolder folder;
    Random& random; // the day's own draws: the card, and a seed for each race
    Prompter& prompter;

    // What the race about to be run draws from: its public money when its pools open, its running
    // and its chart. Seeded when the pools open from the race's seed alone, so nothing looked at
    // before (another race's program, the chances) can move the race. A day built by hand, whose
    // race never opened, draws from the day's generator.
    Random& raceRandom() { return raceStream ? static_cast<Random&>(*raceStream) : random; }
    std::optional<SeededRandom> raceStream;
    std::array<uint64_t, RacesPerDay> raceSeeds{}; // drawn with the card

    Database db;
    RaceCard card;
    int16_t currentRace = 0; // race index 0..11, shown plus one
    bool cardDrawn = false;
    std::string date; // short date text of the day
    // Why the day's fresh files (an empty tickets.dat, no multi-race lines of an earlier day)
    // could not be written at its start; empty once they are.
    std::string startUnsaved;

    PlayerList players;
    Pools pools;
    EntryTables entries;
    RaceResult result;
    std::array<uint8_t, RacesPerDay> raceWinner{}; // winning post of each race run

    // Bets offered in the race last shown by the racing program.
    bool dailyDoubleOffered = false;
    bool pick3Offered = false;
    bool pick6Offered = false;
    bool exchangeBetsOffered = false; // Twin-Tri and Tri-Super first halves: a race must follow
    bool loadingPassDone = false;

    std::vector<ListedTicket> tickets;
    // Twin-Tri and Tri-Super credits not yet settled, as exchangecredits.dat holds them.
    std::vector<ExchangeCredit> exchangeCredits;
};

} // namespace sw
