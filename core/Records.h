#pragma once

#include "Money.h"

#include "Constants.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>

namespace sw {

// One line of horses.dat.
struct Horse {
    std::string name;
    std::string grade;
    int16_t starts = 0;
    int16_t firsts = 0;
    int16_t seconds = 0;
    int16_t thirds = 0;
    int16_t fourths = 0;
    int32_t earnings = 0;
    int16_t horseRating = 0;
    std::string earnedGrade;
    std::string gradeMark;
    float bestTime = 0;
    std::array<int16_t, 5> segmentRating{};
    int16_t path = 0;
    std::array<int16_t, 4> spareRating{};
    int16_t formValue = 0;
    bool spareFlag = false;
};

// One line of jockeys.dat.
struct Jockey {
    std::string name;
    int16_t skill = 0;
    int32_t starts = 0;
    int32_t firsts = 0;
    int32_t seconds = 0;
    int32_t thirds = 0;
    int32_t fourths = 0;
    double earnings = 0;
};

// The single line of settings.dat.
struct Settings {
    Cents startAmount = 0;      // a player's balance at the start of each day
    Cents defaultBetAmount = 0; // whole dollars in the spinner, held as money
    float trackRecord = 0;
};

// The settings a reset writes, and those a day plays with when settings.dat cannot be read: a
// day without them would give every player nothing and hold a track record of 0:00.00.
inline constexpr Settings FactorySettings{400 * CentsPerDollar, 2 * CentsPerDollar, 999};

// One line of pastperformances.dat.
struct PastPerformance {
    int16_t horse = 0;
    std::string date;
    int16_t reserved = 0;
    int16_t raceNumber = 0;
    int16_t distanceCode = 550;
    std::string trackCondition = "F";
    float winnerTime = 0;
    int16_t horseRating = 0;
    int16_t postPosition = 0;
    int16_t quarterPos = 0;
    int16_t halfPos = 0;
    std::string halfLengths;
    int16_t threeQuarterPos = 0;
    std::string threeQuarterLengths;
    int16_t finishPos = 0;
    std::string finishLengths;
    float finalTime = 0;
    float odds = 0;
    std::string raceGrade;
    std::string comment;
    int16_t fieldSize = 8;
};

// The day's card: drawn at every start of a day, never read back from disk.
struct RaceCard {
    std::array<int16_t, RacesPerDay> raceGrade{};
    std::array<std::array<int32_t, FieldSize>, RacesPerDay> raceHorse{};
    std::array<std::array<int16_t, FieldSize>, RacesPerDay> raceJockey{};
    std::array<bool, RacesPerDay> racePoolsOpened{};
};

// Horses 1..200 and jockeys 1..32; slot 0 holds nothing.
using HorseTable = std::array<Horse, HorseCount + 1>;
using JockeyTable = std::array<Jockey, JockeyCount + 1>;

// The persistent stable in memory.
struct Database {
    HorseTable horses{};
    JockeyTable jockeys{};
    Settings settings;
    // Slots whose line was too long to read whole (a hand edit): the record sits out as a blank
    // one, and every save writes the line back as it stands rather than a record made from part of it.
    std::map<std::size_t, std::string> keptHorseLines;
    std::map<std::size_t, std::string> keptJockeyLines;
};

} // namespace sw
