// Whole lab runs on the bundled stable over every core: 200 days of a rule that needs no chances,
// 100 days of one that needs them at 500 simulated races a race, and as the first one's floor the
// same days with no tickets at all (the game's days alone). Wall-clock time, one run each.

#include "core/DataFolder.h"
#include "lab/Lab.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

sw::LabSetup bundledSetup() {
    sw::LabSetup setup;
    setup.stable = sw::labStableOf(sw::DataFolder(std::filesystem::path(STRIDEWELL_SOURCE_DIR) / "data"));
    setup.seed = 1;
    setup.chanceRaces = 500;
    return setup;
}

void runDays(benchmark::State& state, const sw::Strategy& strategy) {
    const sw::LabSetup setup = bundledSetup();
    const int days = static_cast<int>(state.range(0));
    for (auto _ : state) {
        sw::LabRun run = sw::runLab(setup, strategy, days);
        benchmark::DoNotOptimize(run.days.data());
    }
    state.counters["days"] = days;
}

void LabRunNoTickets(benchmark::State& state) {
    runDays(state, sw::Strategy{"none", "no tickets", false,
                                [](const sw::RaceView&) { return std::vector<sw::ParsedTicket>{}; }});
}

void LabRunEveryHorseToWin(benchmark::State& state) {
    runDays(state, *sw::findStrategy("every-win"));
}

void LabRunValueToWin(benchmark::State& state) {
    runDays(state, *sw::findStrategy("value-win"));
}

} // namespace

BENCHMARK(LabRunNoTickets)->Arg(200)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
BENCHMARK(LabRunEveryHorseToWin)->Arg(200)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
BENCHMARK(LabRunValueToWin)->Arg(100)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
