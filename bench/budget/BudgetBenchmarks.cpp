// The budgeted figures of the core, each on the stable after a season of racing and each with a
// floor taken in the same run, so figures from a busy machine can still be compared.

#include "BudgetBenchmarks.h"

#include "Floor.h"
#include "SeasonStable.h"

#include "core/Constants.h"
#include "core/FileStore.h"
#include "core/Random.h"
#include "game/Game.h"
#include "lab/Lab.h"
#include "players/Players.h"
#include "race/Chances.h"
#include "race/RaceModel.h"
#include "race/ResultChart.h"
#include "tote/PoolFiles.h"
#include "tote/Tote.h"
#include "wagering/Payment.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sw::bench {

namespace {

namespace fs = std::filesystem;

constexpr const char* BigPickSix = "$2 Pick6 Wheel All with All with All with All with All with All";
constexpr const char* RichBalance = "100000000";
constexpr uint64_t DaySeed = 424242;

// Counts the draws taken, for the floor of the race's loop. It draws the same numbers as the
// seeded generator it starts from, so a race counted on it runs exactly as on that generator.
class CountingRandom final : public Random {
public:
    explicit CountingRandom(uint64_t seed) : m_inner(seed) {}
    double uniform() override {
        ++m_draws;
        return m_inner.uniform();
    }
    uint64_t draws() const { return m_draws; }
    // Draws on from `stream`'s state, counting from nought.
    void restart(const SeededRandom& stream) {
        m_inner = stream;
        m_draws = 0;
    }

private:
    SeededRandom m_inner;
    uint64_t m_draws = 0;
};

// Times `operation` per iteration after an untimed `setup`, and after each the floor (which
// returns its own CPU seconds); the floor is reported per operation beside the figure.
template <class Setup, class Operation, class Floor>
void measure(benchmark::State& state, Setup setup, Operation operation, Floor floor) {
    double floorSeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        setup();
        state.ResumeTiming();
        operation();
        state.PauseTiming();
        floorSeconds += floor();
        state.ResumeTiming();
    }
    state.counters["floor"] = benchmark::Counter(floorSeconds, benchmark::Counter::kAvgIterations);
}

void reportTraffic(benchmark::State& state, const FileTraffic& traffic) {
    state.counters["read_kB"] = static_cast<double>(traffic.read) / 1024.0;
    state.counters["written_kB"] = static_cast<double>(traffic.written) / 1024.0;
}

// A file-bound operation timed against a plain copy of the bytes it read and wrote (`traffic`,
// taken from one call beforehand), with those byte counts reported beside the figures.
template <class Setup, class Operation>
void measureAgainstCopy(benchmark::State& state, std::string_view name, const FileTraffic& traffic,
                        Setup setup, Operation operation) {
    const CopyFloor floor(workFolder(std::string(name) + "-floor"), traffic);
    measure(state, setup, operation, [&] { return floor.run(); });
    reportTraffic(state, traffic);
}

// A file-bound operation timed against the file work its steps cannot do without (`work`, taken
// from one call beforehand): the same count of reads, rewrites, appends and journals as plain
// system calls, with those counts and bytes reported beside the figures.
template <class Setup, class Operation>
void measureAgainstSteps(benchmark::State& state, std::string_view name, const FileWork& work, Setup setup,
                         Operation operation) {
    const StepFloor floor(workFolder(std::string(name) + "-floor"), work);
    measure(state, setup, operation, [&] { return floor.run(); });
    reportTraffic(state, work.traffic);
    state.counters["reads"] = static_cast<double>(work.reads);
    state.counters["rewrites"] = static_cast<double>(work.rewrites);
    state.counters["appends"] = static_cast<double>(work.appends);
    state.counters["journals"] = static_cast<double>(work.journals);
}

// A game on a fresh copy of the season stable, not yet started; renew() copies the stable again and
// starts the generator over, so every round plays the same day.
class FreshGame {
public:
    explicit FreshGame(std::string_view name) : m_dir(workFolder(name)) { renew(); }

    void renew() {
        copyStable(seasonStable(), m_dir);
        m_game.reset();
        m_random.emplace(DaySeed);
        m_game.emplace(m_dir, *m_random, m_prompter);
    }
    Game& game() { return *m_game; }

private:
    fs::path m_dir;
    SilentPrompter m_prompter;
    std::optional<SeededRandom> m_random;
    std::optional<Game> m_game;
};

// A day of the season started and at the betting of race 1, in its own working folder.
class SeasonDay {
public:
    explicit SeasonDay(std::string_view name, uint64_t seed = DaySeed)
        : m_dir(workFolder(name)), m_random(seed), m_game(m_dir, m_random, m_prompter) {
        copyStable(seasonStable(), m_dir);
        m_started = m_game.startDay();
        m_game.toteBoard();
    }

    bool started() const { return m_started; }
    Game& game() { return m_game; }
    RaceDay& day() { return m_game.day(); }
    CountingRandom& random() { return m_random; }
    const fs::path& dir() const { return m_dir; }

private:
    fs::path m_dir;
    CountingRandom m_random;
    SilentPrompter m_prompter;
    Game m_game;
    bool m_started = false;
};

// --- The start of a day ---------------------------------------------------------------------

void StartOfDay(benchmark::State& state) {
    FreshGame fresh("start-of-day");
    bool started = false;
    const FileWork work = fileWorkOf([&]() -> DataFolder& { return fresh.game().day().folder; },
                                     [&] { started = fresh.game().startDay(); });
    if (!started) {
        state.SkipWithError("the season stable cannot start a day");
        return;
    }
    measureAgainstSteps(
        state, "start-of-day", work, [&] { fresh.renew(); }, [&] { fresh.game().startDay(); });
}

// --- One race run headless ------------------------------------------------------------------

// The passes of a race, each drawing its share of the race's random numbers, without the rules.
double raceLoopFloor(SeededRandom& random, int64_t passes, uint64_t draws) {
    const double start = cpuSeconds();
    double sum = 0;
    uint64_t taken = 0;
    for (int64_t p = 0; p < passes; ++p) {
        const uint64_t due = draws * static_cast<uint64_t>(p + 1) / static_cast<uint64_t>(passes);
        for (; taken < due; ++taken)
            sum += random.uniform();
        for (int e = 0; e < FieldSize; ++e)
            benchmark::DoNotOptimize(e);
    }
    benchmark::DoNotOptimize(sum);
    return cpuSeconds() - start;
}

// The passes and draws of `races` races run one after another from `stream`, as the game runs them,
// counted through the day's generator (the counting path is slower, so it is never the one timed).
struct RaceCount {
    int64_t passes = 0;
    uint64_t draws = 0;
};
RaceCount countRaces(SeasonDay& season, const SeededRandom& stream, int races) {
    RaceDay& day = season.day();
    const std::optional<SeededRandom> kept = day.raceStream;
    day.raceStream.reset();
    season.random().restart(stream);
    RaceCount count;
    for (int i = 0; i < races; ++i) {
        RaceModel race(day);
        race.start();
        race.runToEnd();
        count.passes += race.passes();
    }
    count.draws = season.random().draws() / static_cast<uint64_t>(races);
    count.passes /= races;
    day.raceStream = kept;
    return count;
}

void RaceRun(benchmark::State& state) {
    SeasonDay season("race-run");
    if (!season.started() || !season.day().raceStream) {
        state.SkipWithError("the season stable cannot start a day");
        return;
    }
    // Race 1 as the game runs it, on the stream its pools opened; every round runs it again.
    RaceDay& day = season.day();
    const SeededRandom stream = *day.raceStream;
    const RaceCount count = countRaces(season, stream, 1);
    SeededRandom floorRandom(DaySeed);
    measure(
        state, [&] { day.raceStream = stream; },
        [&] {
            RaceModel race(day);
            race.start();
            race.runToEnd();
            benchmark::DoNotOptimize(day.result);
        },
        [&] { return raceLoopFloor(floorRandom, count.passes, count.draws); });
    state.counters["passes"] = static_cast<double>(count.passes);
    state.counters["draws"] = static_cast<double>(count.draws);
}

// --- The true chances of a field --------------------------------------------------------------

// Ten thousand races of race 1's field on every core, as the racing program runs them (each until
// four are home, their first four kept for the tickets' stories), timed on the wall clock; the floor
// is the draw loop of as many races shared evenly over the same cores.
void Chances(benchmark::State& state) {
    SeasonDay season("chances");
    if (!season.started() || !season.day().raceStream) {
        state.SkipWithError("the season stable cannot start a day");
        return;
    }
    const ChanceField field = chanceFieldOf(season.day(), 1);
    // What a race takes on average, over a dozen races of the field.
    const RaceCount count = countRaces(season, *season.day().raceStream, 12);
    const int threads = ChanceSimulation(field).threads();
    const int64_t sharePerCore = ChanceRaces / threads;
    SeededRandom floorRandom(DaySeed);
    double cpu = 0;
    measure(
        state, [] {},
        [&] {
            const double start = cpuSeconds();
            ChanceSimulation simulation(field, ChanceSimulation::DefaultSeed, 0, true);
            simulation.run(ChanceRaces);
            benchmark::DoNotOptimize(simulation.wins());
            cpu += cpuSeconds() - start;
        },
        [&] {
            return raceLoopFloor(floorRandom, count.passes * sharePerCore,
                                 count.draws * static_cast<uint64_t>(sharePerCore));
        });
    state.counters["races"] = ChanceRaces;
    state.counters["threads"] = threads;
    // The wall clock is only fair on idle cores; the process's CPU time shared over them says what
    // the figure would be there.
    state.counters["cpu_per_core_ms"] =
        benchmark::Counter(cpu * 1e3 / threads, benchmark::Counter::kAvgIterations);
}

// --- A whole day ----------------------------------------------------------------------------

constexpr int DayTicketsPerPlayer = 5;

void WholeDay(benchmark::State& state) {
    FreshGame fresh("whole-day");
    bool played = false;
    const FileWork work = fileWorkOf([&]() -> DataFolder& { return fresh.game().day().folder; },
                                     [&] { played = playDay(fresh.game(), DayTicketsPerPlayer); });
    if (!played) {
        state.SkipWithError("the day did not reach the top-ten list");
        return;
    }
    measureAgainstSteps(
        state, "whole-day", work, [&] { fresh.renew(); },
        [&] { playDay(fresh.game(), DayTicketsPerPlayer); });
}

// --- The tote refresh -----------------------------------------------------------------------

// 1000 players' lines over the win, quiniela, exacta and trifecta pools of the race.
void addPlayersLines(RaceDay& day) {
    std::vector<std::array<int16_t, 3>> triples;
    for (int16_t a = 1; a <= FieldSize; ++a)
        for (int16_t b = 1; b <= FieldSize; ++b)
            for (int16_t c = 1; c <= FieldSize; ++c)
                if (a != b && a != c && b != c)
                    triples.push_back({a, b, c});
    std::string wins, quinielas, exactas, trifectas;
    for (std::size_t n = 0; n < 1000; ++n) {
        const int32_t ticket = ++day.pools.ticketCounter;
        const auto& posts = triples[(n * 37) % triples.size()];
        const int16_t pair[] = {std::min(posts[0], posts[1]), std::max(posts[0], posts[1])};
        switch (n % 4) {
        case 0:
            wins += poolLineText(ticket, std::span(posts.data(), 1), 2);
            break;
        case 1:
            quinielas += poolLineText(ticket, pair, 5);
            break;
        case 2:
            exactas += poolLineText(ticket, std::span(posts.data(), 2), 2);
            break;
        default:
            trifectas += poolLineText(ticket, posts, 1);
            break;
        }
    }
    appendPoolLines(day, PoolFile::Wins, wins);
    appendPoolLines(day, PoolFile::Quinielas, quinielas);
    appendPoolLines(day, PoolFile::Exactas, exactas);
    appendPoolLines(day, PoolFile::Trifectas, trifectas);
}

void ToteRefresh(benchmark::State& state) {
    SeasonDay season("tote-refresh");
    if (!season.started()) {
        state.SkipWithError("the season stable cannot start a day");
        return;
    }
    addPlayersLines(season.day());
    const FileTraffic traffic = trafficOf([&] { toteRefresh(season.day()); });
    measureAgainstCopy(
        state, "tote-refresh", traffic, [] {}, [&] { toteRefresh(season.day()); });
}

// --- The Pick 6 of every horse --------------------------------------------------------------

// Marking the 262,144 combinations in a plain bit table, without reading or checking a ticket.
double pickSixLoopFloor() {
    const double start = cpuSeconds();
    std::vector<uint64_t> bits(262144 / 64);
    for (unsigned a = 0; a < 8; ++a)
        for (unsigned b = 0; b < 8; ++b)
            for (unsigned c = 0; c < 8; ++c)
                for (unsigned d = 0; d < 8; ++d)
                    for (unsigned e = 0; e < 8; ++e)
                        for (unsigned f = 0; f < 8; ++f) {
                            const unsigned index = ((((a * 8 + b) * 8 + c) * 8 + d) * 8 + e) * 8 + f;
                            bits[index / 64] |= uint64_t{1} << (index % 64);
                            benchmark::DoNotOptimize(bits.data());
                        }
    benchmark::ClobberMemory();
    return cpuSeconds() - start;
}

// Listing the ticket as a player does: read back, priced, its combinations shown and the totals.
void PriceBigPickSix(benchmark::State& state) {
    SeasonDay season("price-pick-six");
    if (!season.started()) {
        state.SkipWithError("the season stable cannot start a day");
        return;
    }
    RaceDay& day = season.day();
    day.players.entries[0].balance = RichBalance;
    selectBettor(day, 0);
    day.pick6Offered = true; // as in race 7, the one that sells it
    TicketList& list = season.game().ticketList();
    std::string refusal;
    if (!list.listTicket(day, BigPickSix, &refusal)) {
        state.SkipWithError(refusal.c_str());
        return;
    }
    measure(
        state, [&] { day.tickets.clear(); }, [&] { list.listTicket(day, BigPickSix); },
        [] { return pickSixLoopFloor(); });
}

// Paying it: numbered, logged, its 262,144 pool lines written, the tote refreshed, charged.
void PayBigPickSix(benchmark::State& state) {
    SeasonDay season("pay-pick-six");
    if (!season.started()) {
        state.SkipWithError("the season stable cannot start a day");
        return;
    }
    RaceDay& day = season.day();
    const int32_t counter = day.pools.ticketCounter;
    auto fresh = [&] {
        day.tickets = {ListedTicket{BigPickSix, day.players.entries[0].playerId, false}};
        day.pools.ticketCounter = counter;
        day.players.entries[0].balance = RichBalance;
        writeFileAtomic(day.file("tickets.dat"), "");
        writeFileAtomic(day.file("pick6s.dat"), "");
    };
    fresh();
    int paid = 0;
    const FileTraffic traffic = trafficOf([&] { paid = payTickets(day).paid; });
    if (paid != 1) {
        state.SkipWithError("the ticket was not paid");
        return;
    }
    measureAgainstCopy(state, "pay-pick-six", traffic, fresh, [&] { payTickets(day); });
}

// --- The results update of one race ---------------------------------------------------------

void ApplyRace(benchmark::State& state) {
    SeasonDay season("apply-race");
    if (!season.started()) {
        state.SkipWithError("the season stable cannot start a day");
        return;
    }
    RaceDay& day = season.day();
    RaceModel race(day);
    race.start();
    race.runToEnd();
    // Every round writes the same race into the same stable.
    const Database stable = day.db;
    const EntryTables entries = day.entries;
    const fs::path pastLines = day.file("pastperformances.dat");
    const auto pastSize = fs::file_size(pastLines);
    auto fresh = [&] {
        day.db = stable;
        day.entries = entries;
        fs::resize_file(pastLines, pastSize);
    };
    fresh();
    bool applied = false;
    const FileWork work = fileWorkOf([&]() -> DataFolder& { return day.folder; },
                                     [&] { applied = applyRaceToDatabase(day).applied; });
    if (!applied) {
        state.SkipWithError("the race was not written into the stable");
        return;
    }
    measureAgainstSteps(state, "apply-race", work, fresh,
                        [&] { benchmark::DoNotOptimize(applyRaceToDatabase(day)); });
}

// --- The strategy lab -----------------------------------------------------------------------

double wallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// A whole lab run of `days` days on the season's stable over every core, timed on the wall clock;
// the floor is the same days with no tickets bought, the game's days alone. The process's CPU
// time beside it says what the run costs on a machine other work shares.
void labRun(benchmark::State& state, std::string_view strategyName, int days) {
    LabSetup setup;
    setup.stable = labStableOf(DataFolder(seasonStable()));
    setup.seed = DaySeed;
    setup.chanceRaces = 500;
    const Strategy strategy = *findStrategy(strategyName);
    const Strategy none{"none", "no tickets", false,
                        [](const RaceView&) { return std::vector<ParsedTicket>{}; }};
    double floorSeconds = 0;
    double cpu = 0;
    for (auto _ : state) {
        const double start = cpuSeconds();
        const LabRun run = runLab(setup, strategy, days);
        cpu += cpuSeconds() - start;
        state.PauseTiming();
        for (const LabDayResult& day : run.days)
            if (!day.error.empty()) {
                state.SkipWithError(day.error.c_str());
                return;
            }
        const double floorStart = wallSeconds();
        benchmark::DoNotOptimize(runLab(setup, none, days).days.data());
        floorSeconds += wallSeconds() - floorStart;
        state.ResumeTiming();
    }
    state.counters["floor"] = benchmark::Counter(floorSeconds, benchmark::Counter::kAvgIterations);
    state.counters["days"] = days;
    state.counters["cpu_s"] = benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
}

void LabRunNoChances(benchmark::State& state) {
    labRun(state, "every-win", 200);
}

void LabRunWithChances(benchmark::State& state) {
    labRun(state, "value-win", 100);
}

} // namespace

void registerBudgetBenchmarks() {
    benchmark::RegisterBenchmark("StartOfDay", StartOfDay)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("RaceRun", RaceRun)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Chances", Chances)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("WholeDay", WholeDay)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ToteRefresh", ToteRefresh)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("PriceBigPickSix", PriceBigPickSix)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("PayBigPickSix", PayBigPickSix)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ApplyRace", ApplyRace)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("LabRunNoChances", LabRunNoChances)
        ->Unit(benchmark::kSecond)
        ->Iterations(1)
        ->UseRealTime();
    benchmark::RegisterBenchmark("LabRunWithChances", LabRunWithChances)
        ->Unit(benchmark::kSecond)
        ->Iterations(1)
        ->UseRealTime();
}

std::vector<BudgetLine> budgetLines() {
    return {
        {"StartOfDay", "Start of a day (loads, card, loading pass, race 1's pool files)", "file steps", 10},
        {"RaceRun", "One race run headless", "draw loop", 0.5},
        {"Chances", "True chances: 10,000 races of a field on every core (wall clock)", "draw loop / cores",
         1000, true},
        {"WholeDay", "Whole day: 12 races, 4 players x 5 tickets a race, paid and settled", "file steps",
         100},
        {"ToteRefresh", "Tote refresh: 2124 public and 1000 players' lines", "file copy", 1},
        {"PriceBigPickSix", "Pick 6 of every horse listed and priced (262,144 combinations)", "mark loop",
         200},
        {"PayBigPickSix", "Pick 6 of every horse paid (262,144 pool lines)", "file copy", 200},
        {"ApplyRace", "Results update of one race (chart, past lines, stable saved)", "file steps", 0},
        {"LabRunNoChances", "Lab: 200 days of every horse to win, on every core (wall clock)", "no tickets",
         10000, true},
        {"LabRunWithChances", "Lab: 100 days of value to win, chances of 500 races (wall clock)",
         "no tickets", 60000, true},
    };
}

} // namespace sw::bench
