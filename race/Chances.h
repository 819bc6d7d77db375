#pragma once

#include "core/Constants.h"
#include "core/RaceDay.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

namespace sw {

// Everything the race model reads of one race, copied out of the day so a simulation can run on
// other threads while the day goes on, and can never draw from the day's generator.
struct ChanceField {
    int race = 1; // 1..12
    int16_t grade = 1;
    std::array<std::array<int32_t, 5>, FieldSize> segmentRating{};
    std::array<int16_t, FieldSize> path{};
    std::array<int16_t, FieldSize> jockeySkill{};
    std::array<int32_t, FieldSize> consistencyBand{};
    // The tote's win odds to 1 as they stand; 0 where nobody has bet the entry.
    std::array<float, FieldSize> toteOdds{};
};

// The field of race 1..12 as the day holds it after the racing program showed that race: its
// per-entry tables, bands and win odds, its grade and jockeys from the card.
ChanceField chanceFieldOf(const RaceDay& day, int race);

// Simulated races behind the figures the program and the text front end show: a chance of one in
// five then lies within 0.8 points either side, 95 times in 100.
inline constexpr int ChanceRaces = 10000;
inline constexpr int MinChanceRaces = 100;
inline constexpr int MaxChanceRaces = 1000000;

// Where a true share lies, 95 times in 100, after a count of simulated races.
struct ChanceInterval {
    double low = 0;
    double high = 1;
};
// Wilson's score interval for `hits` in `races`: unlike the figure plus or minus its standard error, it
// neither shrinks to a point for a horse that never won (nor always won) nor runs below 0 or above 1.
// No races: anything from 0 to 1.
ChanceInterval wilsonInterval(int hits, int races);

// One entry's estimate after n simulated races.
struct EntryChance {
    int wins = 0;
    int topThree = 0;
    double win = 0; // chance to win
    ChanceInterval winRange;
    double topThreeShare = 0; // chance to finish first, second or third
    ChanceInterval topThreeRange;
    double fairOdds = 0; // odds to 1 the win chance implies; infinite when it never won
    float toteOdds = 0;  // the tote's win odds to 1; 0 when it shows none
    // The tote pays more than the fair price even at the low end of the win chance's interval: a
    // price only a shade over the figure's fair odds may be no value at all.
    bool value = false;
};

struct ChanceEstimate {
    int race = 0;
    int races = 0; // simulated races counted
    std::array<EntryChance, FieldSize> entries{};
};

// What a run of simulated races saw: the counts, and (when asked for) each race's first four.
struct ChanceCounts {
    int races = 0;
    std::array<int, FieldSize> wins{};
    std::array<int, FieldSize> topThree{};
    // Race i's first four posts at index i; empty unless the run kept them.
    std::vector<std::array<uint8_t, 4>> orders;
};

// The figures of a field's counts, with the tote's odds of the field as it stands.
ChanceEstimate estimateOf(const ChanceField& field, const ChanceCounts& counts);

// Win and top-three counts of the field over every race simulated so far. Race i runs on a
// generator seeded from (seed, i) alone, so the counts for a seed do not depend on how many
// threads ran them nor on how the races were split into batches.
class ChanceSimulation {
public:
    // threads 0: one per core. With keepOrders each race runs until four are home and its first
    // four are kept (a ticket's story pays on them).
    explicit ChanceSimulation(const ChanceField& field, uint64_t seed = DefaultSeed, int threads = 0,
                              bool keepOrders = false);

    // Runs `races` more races over the threads. A stop request ends it early and discards the
    // whole batch, so the counts only ever hold complete batches; false then.
    bool run(int races, std::stop_token stop = {});
    // Races finished so far, those of the batch under way included (for a progress bar); readable
    // from any thread.
    int progress() const { return m_progress.load(std::memory_order_relaxed); }
    // The threads drop to the lowest priority as they start, so the window and everything else
    // running come first. Set before run().
    void setLowPriority(bool low) { m_lowPriority = low; }

    int races() const { return m_counts.races; }
    int threads() const { return m_threads; }
    const std::array<int, FieldSize>& wins() const { return m_counts.wins; }
    const std::array<int, FieldSize>& topThree() const { return m_counts.topThree; }
    const ChanceCounts& counts() const { return m_counts; }
    ChanceEstimate estimate() const { return estimateOf(m_field, m_counts); }
    // The board changed since the field was copied (another crowd's money): the estimate then
    // compares the chances with these odds. The races do not read them.
    void setToteOdds(const std::array<float, FieldSize>& odds) { m_field.toteOdds = odds; }

    // The seed of a race's own generator: the field's figures never depend on the day's draws.
    static constexpr uint64_t DefaultSeed = 0x5717'1DE5'C4A2'CE00ULL;

private:
    ChanceField m_field;
    uint64_t m_seed;
    int m_threads;
    bool m_keepOrders;
    bool m_lowPriority = false;
    ChanceCounts m_counts;
    std::atomic<int> m_progress{0};
};

// One thread fewer than the cores, at least one: what a window may take without slowing itself.
int backgroundThreads();

// The counts already simulated, by field: a field's figures are fixed by its ratings, paths,
// jockeys, bands and grade (and the seed), so a race shown again, or asked about by another
// part of the game, is never run again. Every run it keeps holds its races' first four, so a
// ticket's story never runs the races its chances ran. Shared between threads; holds the latest
// few fields.
class ChanceCache {
public:
    // The counts of exactly `races` races of this field, with their orders.
    std::optional<ChanceCounts> find(const ChanceField& field, int races) const;
    // Counts without their orders are not kept.
    void keep(const ChanceField& field, const ChanceCounts& counts);
    // The counts of `races` races of the field, simulated (on `threads`, 0 for every core) only
    // when not kept yet; they are kept afterwards.
    ChanceCounts counts(const ChanceField& field, int races, int threads = 0);
    ChanceEstimate estimate(const ChanceField& field, int races, int threads = 0) {
        return estimateOf(field, counts(field, races, threads));
    }
    // Fields counted so far (for a test that a field was run once).
    int simulated() const;

    static constexpr std::size_t MostFields = 48; // four days' cards and then some

private:
    struct Kept {
        ChanceField field;
        std::shared_ptr<const ChanceCounts> counts;
    };
    mutable std::mutex m_mutex;
    std::vector<Kept> m_kept; // oldest first
    int m_simulated = 0;
};

struct ChanceRunOptions {
    int batch = 500;              // races between two looks at the figures
    int threads = 0;              // 0: one per core
    bool lowPriority = false;     // see ChanceSimulation::setLowPriority
    ChanceCache* cache = nullptr; // looked in first; the complete counts, with orders, kept in it
};

// A simulation run on a thread of its own in batches up to `target` races, for a window that shows
// the figures converging. Cancel (or destruction) stops it within one race per thread. Counts the
// cache already holds are shown at once, without a thread.
class ChanceRunner {
public:
    ChanceRunner(const ChanceField& field, int target, ChanceRunOptions options = {});
    ~ChanceRunner();
    ChanceRunner(const ChanceRunner&) = delete;
    ChanceRunner& operator=(const ChanceRunner&) = delete;

    // The figures of the last complete batch.
    ChanceEstimate latest() const;
    // Races simulated so far, the batch under way included.
    int progress() const;
    int target() const { return m_target; }
    // True once the target is reached or the run was cancelled.
    bool finished() const { return m_finished.load(); }
    void cancel();

private:
    ChanceField m_field;
    ChanceSimulation m_simulation;
    int m_target;
    int m_batch;
    ChanceCache* m_cache;
    bool m_fromCache = false;
    mutable std::mutex m_mutex;
    ChanceEstimate m_latest;
    std::atomic<bool> m_finished{false};
    std::jthread m_thread;
};

// Texts of an estimate, one row per entry, as the program and the text front end show them.
struct ChanceRow {
    std::string post;     // "1"
    std::string win;      // "21.4% (19.0-24.0)": the figure and its interval
    std::string topThree; // "52.0% (49.2-54.8)"
    std::string fairOdds; // "3.7-1"; "-" when it never won
    std::string toteOdds; // "4.5-1"; "-" when the tote shows none
    std::string value;    // "value" where the tote pays more than the fair price, else empty
};
std::array<ChanceRow, FieldSize> chanceRows(const ChanceEstimate& estimate);

} // namespace sw
