#pragma once

#include "core/RaceDay.h"
#include "support/TestSupport.h"

#include <memory>

namespace sw::test {

// A race day in a fresh folder with the third race of the card ready to run: grade 3 ("C"),
// horses 11..18 ridden by jockeys 1..8, every entry rated 6 in every phase.
struct RaceTestDay {
    explicit RaceTestDay(std::unique_ptr<Random> rnd)
        : random(std::move(rnd)), day(dir.path(), *random, prompter) {
        day.currentRace = 2;
        day.card.raceGrade[2] = 3;
        day.db.settings = {40000, 200, 999.0f};
        for (std::size_t e = 0; e < FieldSize; ++e) {
            const int horse = 11 + static_cast<int>(e), jockey = 1 + static_cast<int>(e);
            day.card.raceHorse[2][e] = horse;
            day.card.raceJockey[2][e] = static_cast<int16_t>(jockey);
            Horse& h = day.db.horses[static_cast<std::size_t>(horse)];
            h.name = "Horse " + std::to_string(horse);
            h.grade = h.earnedGrade = "C";
            h.gradeMark = "M";
            h.horseRating = static_cast<int16_t>(50 + e);
            h.bestTime = day.entries.bestTime[e] = 999.0f;
            day.db.jockeys[e + 1] = {"Jockey " + std::to_string(jockey), static_cast<int16_t>(e % 3)};
            day.entries.name[e] = h.name;
            day.entries.path[e] = static_cast<int16_t>(e % 3);
            day.entries.segmentRating[e] = {6, 6, 6, 6, 6};
            day.pools.consistencyBand[e] = 8 - 2 * static_cast<int>(e / 2);
            day.pools.winOdds[e] = 1.5f + static_cast<float>(e);
        }
    }

    TempDir dir;
    ScriptedPrompter prompter;
    std::unique_ptr<Random> random;
    RaceDay day;
};

inline std::unique_ptr<Random> seeded(uint64_t seed) {
    return std::make_unique<SeededRandom>(seed);
}
inline std::unique_ptr<Random> scripted(std::vector<double> draws) {
    return std::make_unique<ListRandom>(std::move(draws));
}

} // namespace sw::test
