#include "Chances.h"

#include "core/Prompter.h"
#include "core/Random.h"
#include "race/RaceModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <vector>

#ifdef __linux__
#include <sys/resource.h>
#endif

namespace sw {

namespace {

uint64_t raceSeed(uint64_t seed, int race) {
    return mixedSeed(seed ^ mixedSeed(static_cast<uint64_t>(race)));
}

// A day of its own holding only what the race model reads, with its own generator: nothing of
// the real day is shared with the threads.
struct SimulatedDay {
    explicit SimulatedDay(const ChanceField& field)
        : random(0), day(std::filesystem::path{}, random, prompter) {
        const auto r = static_cast<std::size_t>(std::clamp(field.race, 1, RacesPerDay) - 1);
        day.currentRace = static_cast<int16_t>(r);
        day.card.raceGrade[r] = field.grade;
        for (std::size_t e = 0; e < FieldSize; ++e) {
            const auto jockey = static_cast<int16_t>(e + 1);
            day.card.raceJockey[r][e] = jockey;
            day.db.jockeys[static_cast<std::size_t>(jockey)].skill = field.jockeySkill[e];
            for (std::size_t k = 0; k < field.segmentRating[e].size(); ++k)
                day.entries.segmentRating[e][k] = field.segmentRating[e][k];
            day.entries.path[e] = field.path[e];
            day.pools.consistencyBand[e] = field.consistencyBand[e];
        }
    }

    SeededRandom random;
    SilentPrompter prompter;
    RaceDay day;
};

// On Linux a nice value belongs to the thread that sets it, so only the simulation's threads yield.
void lowerThisThread() {
#ifdef __linux__
    setpriority(PRIO_PROCESS, 0, 19);
#endif
}

// Whatever a simulated race reads: two fields alike in these run alike race for race.
bool sameRunners(const ChanceField& a, const ChanceField& b) {
    return a.grade == b.grade && a.segmentRating == b.segmentRating && a.path == b.path &&
           a.jockeySkill == b.jockeySkill && a.consistencyBand == b.consistencyBand;
}

int threadsFor(int asked) {
    if (asked > 0)
        return std::min(asked, 64);
    return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 64);
}

// The interval's top in points, to tenths, or to its first digit where that is below a tenth: a
// horse that never won in a million races still shows a chance above nil.
std::string topText(double percent) {
    int decimals = 1;
    if (percent > 0 && percent < 0.1)
        decimals = std::min(6, static_cast<int>(-std::floor(std::log10(percent))));
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, percent);
    return text;
}

std::string percentText(double share, ChanceInterval range) {
    char text[48];
    std::snprintf(text, sizeof text, "%.1f%% (%.1f-", share * 100.0, range.low * 100.0);
    return text + topText(range.high * 100.0) + ")";
}

// Short odds keep their tenths (2.5-1); long ones need none (12-1), and like the tote board's the
// longest stop at 99 (a horse with almost nothing on it would read 9999.0-1).
std::string oddsToOneText(double odds) {
    char text[32];
    if (odds < 10)
        std::snprintf(text, sizeof text, "%.1f-1", odds);
    else
        std::snprintf(text, sizeof text, "%d-1", static_cast<int>(std::min(odds, 99.0)));
    return text;
}

} // namespace

ChanceInterval wilsonInterval(int hits, int races) {
    if (races <= 0)
        return {};
    constexpr double z = 1.959963984540054; // 95 % of a normal distribution lies within z of its mean
    const double n = races;
    const double p = std::clamp(hits / n, 0.0, 1.0);
    const double spread = 1.0 + z * z / n;
    const double centre = (p + z * z / (2.0 * n)) / spread;
    const double half = z * std::sqrt(p * (1.0 - p) / n + z * z / (4.0 * n * n)) / spread;
    // At no hits (or all) the bound is 0 (or 1) exactly, which the rounding of the sum can miss.
    return {hits <= 0 ? 0.0 : std::max(0.0, centre - half),
            hits >= races ? 1.0 : std::min(1.0, centre + half)};
}

ChanceField chanceFieldOf(const RaceDay& day, int race) {
    ChanceField field;
    field.race = std::clamp(race, 1, RacesPerDay);
    const auto r = static_cast<std::size_t>(field.race - 1);
    field.grade = day.card.raceGrade[r];
    for (std::size_t e = 0; e < FieldSize; ++e) {
        for (std::size_t k = 0; k < field.segmentRating[e].size(); ++k)
            field.segmentRating[e][k] = day.entries.segmentRating[e][k];
        field.path[e] = day.entries.path[e];
        const int jockey = day.card.raceJockey[r][e];
        field.jockeySkill[e] =
            jockey >= 0 && jockey <= JockeyCount ? day.db.jockeys[static_cast<std::size_t>(jockey)].skill : 0;
        field.consistencyBand[e] = day.pools.consistencyBand[e];
        field.toteOdds[e] = day.pools.winOdds[e];
    }
    return field;
}

ChanceSimulation::ChanceSimulation(const ChanceField& field, uint64_t seed, int threads, bool keepOrders)
    : m_field(field), m_seed(seed), m_threads(threadsFor(threads)), m_keepOrders(keepOrders) {}

bool ChanceSimulation::run(int races, std::stop_token stop) {
    if (races <= 0)
        return !stop.stop_requested();
    struct Counts {
        std::array<int, FieldSize> wins{};
        std::array<int, FieldSize> topThree{};
    };
    const int threads = std::min(m_threads, races);
    std::vector<Counts> counts(static_cast<std::size_t>(threads));
    const int first = m_counts.races;
    const std::size_t placesKept = m_keepOrders ? 4 : 3;
    if (m_keepOrders)
        m_counts.orders.resize(static_cast<std::size_t>(first + races));
    {
        std::vector<std::jthread> workers;
        workers.reserve(static_cast<std::size_t>(threads));
        for (int t = 0; t < threads; ++t)
            workers.emplace_back([&, t] {
                if (m_lowPriority)
                    lowerThisThread();
                SimulatedDay sim(m_field);
                RaceModel model(sim.day);
                model.keepOrderOnly(true);
                Counts& mine = counts[static_cast<std::size_t>(t)];
                for (int i = t; i < races && !stop.stop_requested(); i += threads) {
                    sim.random = SeededRandom(raceSeed(m_seed, first + i));
                    model.start();
                    // A placed entry keeps its place: once those wanted are home the figures are known.
                    model.runUntilPlaced(static_cast<int>(placesKept));
                    const auto& order = sim.day.result.finishOrder;
                    if (m_keepOrders)
                        std::copy_n(order.begin(), 4,
                                    m_counts.orders[static_cast<std::size_t>(first + i)].begin());
                    for (std::size_t place = 0; place < 3; ++place) {
                        const int post = order[place];
                        if (post < 1 || post > FieldSize)
                            continue;
                        if (place == 0)
                            ++mine.wins[static_cast<std::size_t>(post - 1)];
                        ++mine.topThree[static_cast<std::size_t>(post - 1)];
                    }
                    m_progress.fetch_add(1, std::memory_order_relaxed);
                }
            });
    }
    if (stop.stop_requested()) {
        if (m_keepOrders)
            m_counts.orders.resize(static_cast<std::size_t>(first));
        m_progress.store(m_counts.races, std::memory_order_relaxed);
        return false;
    }
    for (const Counts& c : counts)
        for (std::size_t e = 0; e < FieldSize; ++e) {
            m_counts.wins[e] += c.wins[e];
            m_counts.topThree[e] += c.topThree[e];
        }
    m_counts.races += races;
    m_progress.store(m_counts.races, std::memory_order_relaxed);
    return true;
}

ChanceEstimate estimateOf(const ChanceField& field, const ChanceCounts& counts) {
    ChanceEstimate estimate;
    estimate.race = field.race;
    estimate.races = counts.races;
    const double n = counts.races;
    for (std::size_t e = 0; e < FieldSize; ++e) {
        EntryChance& entry = estimate.entries[e];
        entry.wins = counts.wins[e];
        entry.topThree = counts.topThree[e];
        entry.toteOdds = field.toteOdds[e];
        entry.fairOdds = std::numeric_limits<double>::infinity();
        if (counts.races == 0)
            continue;
        entry.win = counts.wins[e] / n;
        entry.winRange = wilsonInterval(counts.wins[e], counts.races);
        entry.topThreeShare = counts.topThree[e] / n;
        entry.topThreeRange = wilsonInterval(counts.topThree[e], counts.races);
        if (counts.wins[e] > 0)
            entry.fairOdds = (1.0 - entry.win) / entry.win;
        const double low = entry.winRange.low;
        entry.value =
            entry.toteOdds > 0 && low > 0 && static_cast<double>(entry.toteOdds) > (1.0 - low) / low;
    }
    return estimate;
}

int backgroundThreads() {
    return std::max(threadsFor(0) - 1, 1);
}

std::optional<ChanceCounts> ChanceCache::find(const ChanceField& field, int races) const {
    std::shared_ptr<const ChanceCounts> found;
    {
        const std::lock_guard lock(m_mutex);
        for (auto kept = m_kept.rbegin(); kept != m_kept.rend() && !found; ++kept)
            if (kept->counts->races == races && sameRunners(kept->field, field))
                found = kept->counts;
    }
    if (!found)
        return std::nullopt;
    return *found; // copied outside the lock: a story's orders are ten thousand races long
}

void ChanceCache::keep(const ChanceField& field, const ChanceCounts& counts) {
    if (counts.orders.size() != static_cast<std::size_t>(counts.races))
        return;
    auto shared = std::make_shared<const ChanceCounts>(counts);
    const std::lock_guard lock(m_mutex);
    std::erase_if(m_kept, [&](const Kept& kept) {
        return kept.counts->races == counts.races && sameRunners(kept.field, field);
    });
    m_kept.push_back({field, std::move(shared)});
    if (m_kept.size() > MostFields)
        m_kept.erase(m_kept.begin());
    ++m_simulated;
}

ChanceCounts ChanceCache::counts(const ChanceField& field, int races, int threads) {
    if (std::optional<ChanceCounts> kept = find(field, races))
        return std::move(*kept);
    ChanceSimulation simulation(field, ChanceSimulation::DefaultSeed, threads, true);
    simulation.run(races);
    keep(field, simulation.counts());
    return simulation.counts();
}

int ChanceCache::simulated() const {
    const std::lock_guard lock(m_mutex);
    return m_simulated;
}

ChanceRunner::ChanceRunner(const ChanceField& field, int target, ChanceRunOptions options)
    : m_field(field),
      m_simulation(field, ChanceSimulation::DefaultSeed, options.threads, options.cache != nullptr),
      m_target(std::max(target, 0)), m_batch(std::max(options.batch, 1)), m_cache(options.cache) {
    if (m_cache)
        if (std::optional<ChanceCounts> kept = m_cache->find(field, m_target)) {
            m_latest = estimateOf(field, *kept);
            m_fromCache = true;
            m_finished.store(true);
            return;
        }
    m_simulation.setLowPriority(options.lowPriority);
    m_latest = m_simulation.estimate();
    m_thread = std::jthread([this](std::stop_token stop) {
        while (m_simulation.races() < m_target && !stop.stop_requested()) {
            if (!m_simulation.run(std::min(m_batch, m_target - m_simulation.races()), stop))
                break;
            const std::lock_guard lock(m_mutex);
            m_latest = m_simulation.estimate();
        }
        if (m_cache && m_simulation.races() == m_target)
            m_cache->keep(m_field, m_simulation.counts());
        m_finished.store(true);
    });
}

ChanceRunner::~ChanceRunner() {
    cancel();
}

ChanceEstimate ChanceRunner::latest() const {
    const std::lock_guard lock(m_mutex);
    return m_latest;
}

int ChanceRunner::progress() const {
    return m_fromCache ? m_target : m_simulation.progress();
}

void ChanceRunner::cancel() {
    m_thread.request_stop();
    if (m_thread.joinable())
        m_thread.join();
    m_finished.store(true);
}

std::array<ChanceRow, FieldSize> chanceRows(const ChanceEstimate& estimate) {
    std::array<ChanceRow, FieldSize> rows;
    for (std::size_t e = 0; e < FieldSize; ++e) {
        const EntryChance& entry = estimate.entries[e];
        ChanceRow& row = rows[e];
        row.post = std::to_string(e + 1);
        if (estimate.races > 0) {
            row.win = percentText(entry.win, entry.winRange);
            row.topThree = percentText(entry.topThreeShare, entry.topThreeRange);
            row.fairOdds = std::isfinite(entry.fairOdds) ? oddsToOneText(entry.fairOdds) : "-";
        }
        row.toteOdds = entry.toteOdds > 0 ? oddsToOneText(entry.toteOdds) : "-";
        row.value = entry.value ? "value" : "";
    }
    return rows;
}

} // namespace sw
