#include "core/FileStore.h"
#include "core/Prompter.h"
#include "core/RaceDay.h"
#include "database/DatabaseFiles.h"
#include "database/StartRaceDay.h"
#include "program/RacingProgram.h"
#include "tote/PoolFiles.h"
#include "tote/Tote.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

class SilentPrompter final : public sw::Prompter {
public:
    void message(std::string_view, std::string_view) override {}
    bool ask(std::string_view, std::string_view) override { return false; }
};

// A race day on a private copy of the bundled data (or a made-up stable when the data is not
// there), with fifteen past lines per horse as after a few days of racing.
class BenchDay {
public:
    BenchDay() : m_dir(makeDir()), m_day(m_dir, m_random, m_prompter) {
        const auto bundled = std::filesystem::path(STRIDEWELL_SOURCE_DIR) / "data";
        if (std::filesystem::exists(bundled / "horses.dat") &&
            std::filesystem::exists(bundled / "jockeys.dat"))
            for (const auto& entry : std::filesystem::directory_iterator(bundled))
                std::filesystem::copy_file(entry.path(), m_dir / entry.path().filename(),
                                           std::filesystem::copy_options::overwrite_existing);
        else
            makeStable();
        m_day.date = "5/12/2026";
        sw::startRaceDay(m_day);
        addPastLines();
    }
    ~BenchDay() {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    BenchDay(const BenchDay&) = delete;
    BenchDay& operator=(const BenchDay&) = delete;

    sw::RaceDay& day() { return m_day; }

    // Back to the state of a fresh day before its racing program first opens.
    void reopenDay() {
        m_day.currentRace = 0;
        m_day.loadingPassDone = false;
        m_day.card.racePoolsOpened.fill(false);
    }

private:
    static std::filesystem::path makeDir() {
        auto dir = std::filesystem::temp_directory_path() /
                   ("stridewell-bench-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(dir);
        return dir;
    }

    void makeStable() {
        std::string horses, jockeys;
        for (int n = 1; n <= sw::HorseCount; ++n) {
            sw::Horse horse;
            horse.name = "Bench Horse " + std::to_string(n);
            horse.grade = horse.earnedGrade = horse.gradeMark = "M";
            horse.horseRating = static_cast<int16_t>(50 + n % 30);
            horse.bestTime = 999;
            for (int s = 0; s < 5; ++s)
                horse.segmentRating[static_cast<std::size_t>(s)] = static_cast<int16_t>(4 + (n * 7 + s) % 5);
            horses += sw::horseRecord(horse);
        }
        for (int n = 1; n <= sw::JockeyCount; ++n) {
            sw::Jockey jockey;
            jockey.name = "Bench Rider " + std::to_string(n);
            jockey.skill = static_cast<int16_t>(n % 3);
            jockeys += sw::jockeyRecord(jockey);
        }
        sw::writeFileAtomic(m_dir / "horses.dat", horses);
        sw::writeFileAtomic(m_dir / "jockeys.dat", jockeys);
        sw::writeFileAtomic(m_dir / "settings.dat", "400,2,1,0,999\r\n");
    }

    void addPastLines() {
        std::string text;
        for (int round = 0; round < sw::PastPerformanceKeep; ++round)
            for (int h = 1; h <= sw::HorseCount; ++h) {
                sw::PastPerformance line;
                line.horse = static_cast<int16_t>(h);
                line.date = "5/11/2026";
                line.raceNumber = static_cast<int16_t>(1 + h % 12);
                line.postPosition = static_cast<int16_t>(1 + h % 8);
                line.quarterPos = line.halfPos = line.threeQuarterPos =
                    static_cast<int16_t>(1 + (h + round) % 8);
                line.finishPos = static_cast<int16_t>(1 + (h * 3 + round) % 8);
                line.halfLengths = line.threeQuarterLengths = line.finishLengths = "1\u00BD";
                line.finalTime = 118.25f;
                line.winnerTime = 117.9f;
                line.odds = 4.5f;
                line.raceGrade = "M";
                line.comment = "Even pace-md";
                text += sw::pastPerformanceRecord(line);
            }
        sw::writeFileAtomic(m_dir / "pastperformances.dat", text);
    }

    std::filesystem::path m_dir;
    sw::SeededRandom m_random{2026};
    SilentPrompter m_prompter;
    sw::RaceDay m_day;
};

// The first opening of the racing program: twelve quick races, then race 1 in full with its
// 2124 public pool lines written.
void BM_LoadingPass(benchmark::State& state) {
    BenchDay bench;
    if (!bench.day().cardDrawn)
        state.SkipWithError("the race card could not be drawn");
    for (auto _ : state) {
        bench.reopenDay();
        sw::ProgramView view = sw::openRacingProgram(bench.day());
        benchmark::DoNotOptimize(view);
    }
}
BENCHMARK(BM_LoadingPass)->Unit(benchmark::kMillisecond);

// Rebuilding the board from the pool files of race 1 after 1000 players' lines.
void BM_ToteRefresh(benchmark::State& state) {
    BenchDay bench;
    sw::RaceDay& day = bench.day();
    if (!day.cardDrawn)
        state.SkipWithError("the race card could not be drawn");
    sw::openRacingProgram(day);
    // Every ordered triple of different posts, so players' lines spread over the pools.
    std::vector<std::array<int16_t, 3>> triples;
    for (int16_t a = 1; a <= sw::FieldSize; ++a)
        for (int16_t b = 1; b <= sw::FieldSize; ++b)
            for (int16_t c = 1; c <= sw::FieldSize; ++c)
                if (a != b && a != c && b != c)
                    triples.push_back({a, b, c});
    std::string wins, quinielas, exactas, trifectas;
    for (std::size_t n = 0; n < 1000; ++n) {
        const int32_t ticket = ++day.pools.ticketCounter;
        const auto& posts = triples[(n * 37) % triples.size()];
        const int16_t pair[] = {std::min(posts[0], posts[1]), std::max(posts[0], posts[1])};
        switch (n % 4) {
        case 0:
            wins += sw::poolLineText(ticket, std::span(posts.data(), 1), 2);
            break;
        case 1:
            quinielas += sw::poolLineText(ticket, pair, 5);
            break;
        case 2:
            exactas += sw::poolLineText(ticket, std::span(posts.data(), 2), 2);
            break;
        default:
            trifectas += sw::poolLineText(ticket, posts, 1);
            break;
        }
    }
    sw::appendPoolLines(day, sw::PoolFile::Wins, wins);
    sw::appendPoolLines(day, sw::PoolFile::Quinielas, quinielas);
    sw::appendPoolLines(day, sw::PoolFile::Exactas, exactas);
    sw::appendPoolLines(day, sw::PoolFile::Trifectas, trifectas);
    for (auto _ : state) {
        sw::toteRefresh(day);
        benchmark::DoNotOptimize(day.pools.winTotal);
    }
}
BENCHMARK(BM_ToteRefresh)->Unit(benchmark::kMicrosecond);

} // namespace
