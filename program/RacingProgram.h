#pragma once

#include "ProgramView.h"

#include "core/RaceDay.h"
#include "tote/PublicPoolGeneration.h"

namespace sw {

// Shows race 1..12 in the racing program and prepares it: re-reads jockeys.dat for the
// standings, sets the day's bets-offered flags, fills the per-entry tables from the card and
// runs the public pool generation (quick: win money and odds only). The pool files are written
// only for the race about to be run, once. A race outside 1..12 shows nothing and changes nothing.
ProgramView showRace(RaceDay& day, int race, bool quick, const LoadingProgress& progress = {});

// The race about to be run as the program shows it, with the day's pools rebuilt from its pool
// files: the board and the race then hold that race with every paid ticket in it.
ProgramView showRaceAboutToBeRun(RaceDay& day);

// Opening the racing program: on the day's first opening the quick loading pass over races
// 1..12 (progress floor(r / 21 * 100) after race r), then the race about to be run in full,
// which writes its pool files the first time (progress 61 .. 100).
ProgramView openRacingProgram(RaceDay& day, const LoadingProgress& progress = {});

// Leaving the racing program ("Tote Board"): whatever race was browsed, the day again holds the
// race about to be run, its per-entry tables, bets offered and pools from its pool files.
void leaveRacingProgram(RaceDay& day);

} // namespace sw
