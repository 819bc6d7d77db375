#include "core/Prompter.h"
#include "core/RaceDay.h"
#include "core/Random.h"
#include "race/RaceModel.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

class SilentPrompter final : public sw::Prompter {
public:
    void message(std::string_view, std::string_view) override {}
    bool ask(std::string_view, std::string_view) override { return false; }
};

// A grade-3 field as a reset stable gives it: ratings 4..8, all three paths, all three jockey
// classes, the tote's bands.
void fillField(sw::RaceDay& day) {
    day.currentRace = 0;
    day.card.raceGrade[0] = 3;
    for (std::size_t e = 0; e < sw::FieldSize; ++e) {
        const auto jockey = static_cast<int16_t>(e + 1);
        day.card.raceHorse[0][e] = static_cast<int32_t>(e + 1);
        day.card.raceJockey[0][e] = jockey;
        day.db.jockeys[static_cast<std::size_t>(jockey)].skill = static_cast<int16_t>(e % 3);
        for (std::size_t k = 0; k < 5; ++k)
            day.entries.segmentRating[e][k] = static_cast<int32_t>(4 + (e + 2 * k) % 5);
        day.entries.path[e] = static_cast<int16_t>(e % 3);
        day.pools.consistencyBand[e] = 8 - 2 * static_cast<int32_t>(e / 2);
    }
}

void BM_WholeRace(benchmark::State& state) {
    SilentPrompter prompter;
    constexpr uint64_t Seed = 20260512;
    sw::SeededRandom random(Seed);
    sw::RaceDay day(std::filesystem::temp_directory_path(), random, prompter);
    fillField(day);
    int passes = 0;
    for (auto _ : state) {
        random = sw::SeededRandom(Seed); // every iteration runs the same race
        sw::RaceModel race(day);
        race.runToEnd();
        passes = race.passes();
        benchmark::DoNotOptimize(day.result.finishOrder);
    }
    state.counters["passes"] = passes;
}
BENCHMARK(BM_WholeRace)->Unit(benchmark::kMillisecond);

} // namespace
