// Cost of starting a race day on a stable with a full past-performance history: the loads, the
// card draw, the players and the trim of 3000 past lines.

#include "core/Constants.h"
#include "core/FileStore.h"
#include "core/Prompter.h"
#include "core/RaceDay.h"
#include "core/Random.h"
#include "database/DatabaseFiles.h"
#include "database/StartRaceDay.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;

class SilentPrompter final : public sw::Prompter {
public:
    void message(std::string_view, std::string_view) override {}
    bool ask(std::string_view, std::string_view) override { return false; }
};

// A copy of the bundled data whose every horse has exactly as many past lines as it keeps, so
// each start trims the full history without shrinking it.
class FullHistoryStable : public benchmark::Fixture {
public:
    void SetUp(const benchmark::State&) override {
        std::mt19937_64 names{std::random_device{}()};
        m_dir = fs::temp_directory_path() / ("stridewell-bench-" + std::to_string(names()));
        fs::create_directories(m_dir);
        for (const auto& entry : fs::directory_iterator(fs::path(STRIDEWELL_SOURCE_DIR) / "data"))
            if (entry.is_regular_file())
                fs::copy_file(entry.path(), m_dir / entry.path().filename(),
                              fs::copy_options::overwrite_existing);
        sw::writeFileAtomic(m_dir / "players.dat", "1,Ann,400\r\n2,Bob,400\r\n3,Cleo,400\r\n");

        std::string lines;
        for (int race = 1; race <= sw::PastPerformanceKeep; ++race) {
            for (int h = 1; h <= sw::HorseCount; ++h) {
                sw::PastPerformance line;
                line.horse = static_cast<int16_t>(h);
                line.date = "4/" + std::to_string(race) + "/2026";
                line.raceNumber = static_cast<int16_t>(1 + h % 12);
                line.winnerTime = 121.35f;
                line.horseRating = 64;
                line.postPosition = static_cast<int16_t>(1 + h % 8);
                line.quarterPos = line.halfPos = line.threeQuarterPos = line.finishPos = line.postPosition;
                line.halfLengths = "1\u00BD";
                line.threeQuarterLengths = "hd";
                line.finishLengths = "3\u00BC";
                line.finalTime = 122.04f;
                line.odds = 7.5f;
                line.raceGrade = "M";
                line.comment = "Even pace-md";
                lines += sw::pastPerformanceRecord(line);
            }
        }
        if (sw::writeFileAtomic(m_dir / "pastperformances.dat", lines))
            throw std::runtime_error("cannot write the bench stable");
    }

    void TearDown(const benchmark::State&) override {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }

protected:
    fs::path m_dir;
};

BENCHMARK_F(FullHistoryStable, StartRaceDay)(benchmark::State& state) {
    SilentPrompter prompter;
    uint64_t seed = 1;
    for (auto _ : state) {
        sw::SeededRandom random(seed++);
        sw::RaceDay day(m_dir, random, prompter);
        day.date = "5/1/2026";
        sw::StartResult result = sw::startRaceDay(day);
        if (!result.ready)
            state.SkipWithError(result.message.c_str());
        benchmark::DoNotOptimize(day.card);
    }
}

} // namespace
