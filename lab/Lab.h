#pragma once

#include "Strategy.h"
#include "core/DataFolder.h"
#include "core/Money.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>
#include <vector>

namespace sw {

// Whose money the pools hold besides the strategy's.
enum class Crowd {
    Track, // this track's public, as the game makes up its money
    Sharp, // a crowd that bets each horse and combination in proportion to its simulated chance, with noise
};

// How much each ticket bets: a flat amount a combination, or a share of the balance as it stands
// at the race, spread over the ticket's combinations (a ticket that comes to less than the
// bet's minimum is not bought).
struct StakeRule {
    enum class Kind { Flat, Share } kind = Kind::Flat;
    int32_t dollars = 2; // Flat: dollars a combination
    double share = 0.02; // Share: of the balance, a ticket
};

// The chances of each field, simulated once: a race's field comes from the day's seed alone
// (tickets and crowds never move a race), so strategies tried on the same days share them.
// Keyed by everything the race model reads of the field; safe to share between threads.
class LabChanceCache {
public:
    // The field's chances from `races` simulated races, compared with the field's tote odds.
    ChanceEstimate estimate(const ChanceField& field, int races);
    // The counts behind them; with `orders`, each race's first four too.
    std::shared_ptr<const ChanceCounts> counts(const ChanceField& field, int races, bool orders);

private:
    std::mutex m_mutex;
    std::map<std::string, std::shared_ptr<const ChanceCounts>, std::less<>> m_counts;
};

// What a lab run plays: the stable (the bytes of its files, never the player's files themselves),
// the seed, the crowd and the stake. Every day starts from the same stable with the bankroll,
// as every day of the game starts the players at the starting amount.
struct LabSetup {
    DataFolder::MemoryFiles stable;
    uint64_t seed = 1;
    Crowd crowd = Crowd::Track;
    StakeRule stake;
    int32_t bankroll = 1000; // dollars at the start of each day
    int chanceRaces = 500;   // simulated races behind the chances of each race
    // Shared by the runs of one stable and chance count; null: each day simulates its own.
    std::shared_ptr<LabChanceCache> chances;
};

// The stable's files of a data folder (horses, jockeys, past performances, settings) for a lab.
DataFolder::MemoryFiles labStableOf(const DataFolder& folder);

// One ticket the strategy bought.
struct LabTicket {
    int race = 1; // 1..12
    std::string text;
    int32_t number = 0; // its ticket number
    Cents cost = 0;
};

// One credit the settlement paid the strategy.
struct LabCredit {
    int race = 1; // the race whose settlement paid it
    int32_t ticket = 0;
    std::string code; // "Win", "Exa", "DDb", "TwT" ..
    Cents winnings = 0;
    Cents breakage = 0;
};

struct LabDayResult {
    uint64_t seed = 0; // the day's own seed: the game's day with this seed is this day
    std::vector<LabTicket> tickets;
    std::vector<LabCredit> credits;
    Cents staked = 0;
    Cents returned = 0;
    Cents balanceAfter = 0;
    std::array<uint8_t, RacesPerDay> winners{}; // the winning post of each race
    std::array<bool, RacesPerDay> betOn{};      // the strategy bought a ticket in the race
    std::array<bool, RacesPerDay> collected{};  // and was paid something at its settlement
    std::string error;                          // the day could not be played, and why
};

// The seed of day `day` (0-based) of a run: each day is its own, so a run's days can be played
// in any order, on any thread.
uint64_t labDaySeed(uint64_t seed, int day);

// Plays one whole day of the game in memory with the strategy's tickets bought in each race:
// the same card draw, public money (or the sharp crowd's), races, payoffs and settlement.
LabDayResult playLabDay(const LabSetup& setup, const Strategy& strategy, int day);

// How a run is driven: threads 0 for one per core; progress (days done, days asked) is called
// from the worker threads; a stop request ends the run after the days under way.
struct LabOptions {
    int threads = 0;
    std::function<void(int done, int total)> progress;
    std::stop_token stop;
};

struct LabRun {
    std::vector<LabDayResult> days; // in day order: the first `days` of the run, whatever the threads
    bool cancelled = false;
};

// Plays days 0..days-1 over the threads, a day at a time.
LabRun runLab(const LabSetup& setup, const Strategy& strategy, int days, const LabOptions& options = {});

// Plays each strategy over the same days, one after another, progress counting the days of all of
// them. A stop ends the whole comparison, and every run keeps only the days all of them played,
// so the strategies are still compared on the same days.
std::vector<LabRun> runLabs(const LabSetup& setup, const std::vector<Strategy>& strategies, int days,
                            const LabOptions& options = {});

struct Band {
    double low = 0;
    double high = 0;
};

struct HistogramBin {
    Cents from = 0; // a day's net result from this (inclusive)
    Cents to = 0;   // up to this (exclusive, inclusive for the last bin)
    int days = 0;
};

struct BankrollPoint {
    int day = 0; // after this many days
    Cents median = 0;
    Cents low = 0;  // 5 %
    Cents high = 0; // 95 %
};

// What a run shows.
struct LabSummary {
    int days = 0;
    int tickets = 0;
    int hits = 0;       // tickets that collected
    double hitRate = 0; // hits / tickets
    Cents staked = 0;
    Cents returned = 0;
    Cents takeout = 0;  // the pools' 25 % of the money staked
    Cents breakage = 0; // what the cuts of the payoffs kept from the strategy's winnings
    Cents biggestWin = 0;
    Cents bestDay = 0;
    Cents worstDay = 0;
    int worstLosingRun = 0; // most races bet in a row without collecting
    double returnRate = 0;  // returned / staked
    Band returnBand;        // its 95 % band, days counted as independent trials
    std::vector<HistogramBin> histogram;
    std::vector<BankrollPoint> bankroll; // many orders of the days drawn again: the spread of where
                                         // the bankroll stands after each day
};

LabSummary summarize(const LabRun& run, const LabSetup& setup);

} // namespace sw
