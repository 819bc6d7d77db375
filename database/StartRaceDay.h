#pragma once

#include "core/RaceDay.h"
#include "core/Records.h"

#include <string>

namespace sw {

// How the start of a race day went.
struct StartResult {
    bool ready = false;      // the card is drawn and the day can be played
    int unfilledRace = 0;    // race number 1..12 the stable could not fill; 0 when every race was drawn
    std::string missingFile; // "horses.dat" or "jockeys.dat" when it is not there: nothing was drawn
    std::string message;     // why the day cannot be played, as shown to the player; empty when ready
};

// Starts a race day without its windows: loads the stable, draws the twelve races with
// day.random, writes races.dat, empties results.dat and tickets.dat, loads the settings and the
// players at the starting amount, selects the first player and trims the past performances.
// Stops before a race no grade can fill, or before anything is drawn when horses.dat or
// jockeys.dat is missing, telling the player through day.prompter.
// Fills day.date with today's date only when the caller has not set it.
StartResult startRaceDay(RaceDay& day);

} // namespace sw
