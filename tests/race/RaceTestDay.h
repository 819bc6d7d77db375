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
        day.db.settings = {400.0f, 2.0f, 999.0f};
        for (int e = 0; e < FieldSize; ++e) {
            const auto ei = static_cast<std::size_t>(e);
            const int horse = 11 + e;
            const int jockey = 1 + e;
            day.card.raceHorse[2][ei] = horse;
            day.card.raceJockey[2][ei] = static_cast<int16_t>(jockey);
            Horse& h = day.db.horses[static_cast<std::size_t>(horse)];
            h.name = "Horse " + std::to_string(horse);
            h.grade = std::string("C");
            h.earnedGrade = std::string("C");
            h.gradeMark = std::string("M");
            h.horseRating = static_cast<int16_t>(50 + e);
            h.bestTime = 999.0f;
            day.db.jockeys[static_cast<std::size_t>(jockey)].name = "Jockey " + std::to_string(jockey);
            day.db.jockeys[static_cast<std::size_t>(jockey)].skill = static_cast<int16_t>(e % 3);
            day.entries.name[ei] = h.name;
            day.entries.bestTime[ei] = 999.0f;
            day.entries.path[ei] = static_cast<int16_t>(e % 3);
            for (std::size_t k = 0; k < 5; ++k)
                day.entries.segmentRating[ei][k] = 6;
            day.pools.consistencyBand[ei] = 8 - 2 * (e / 2);
            day.pools.winOdds[ei] = 1.5f + static_cast<float>(e);
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
