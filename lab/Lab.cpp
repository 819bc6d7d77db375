#include "Lab.h"

#include "core/Translate.h"

#include "core/Prompter.h"
#include "core/Random.h"
#include "game/Game.h"
#include "players/Players.h"
#include "players/SettingsRecord.h"
#include "tote/PoolFiles.h"
#include "tote/PublicPoolGeneration.h"
#include "tote/Tote.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>
#include <numbers>
#include <thread>

namespace sw {

namespace {

constexpr int32_t LabPlayerId = 1;
constexpr std::string_view LabDate = "1/1/2000"; // a fixed date: the day's files never depend on the clock
constexpr uint64_t CrowdKey = 0x5A4A'C70D'0000'0001ULL;
constexpr uint64_t BankrollKey = 0xBA2C'0000'0000'0002ULL;
// How far a sharp crowd's money strays from each horse's chance: a factor e^(0.15 z) either way.
constexpr double CrowdNoise = 0.15;
constexpr int BankrollPaths = 400;
constexpr int HistogramBins = 10;
constexpr std::size_t MaxCachedFields = 200000;

double normal(Random& random) {
    const double u = 1.0 - random.uniform(); // (0, 1]: the logarithm stays finite
    return std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * std::numbers::pi * random.uniform());
}

// Spreads a pool's total over the horses by weight, in whole dollars.
void spread(std::array<int32_t, Pools::N>& pool, int32_t& total,
            const std::array<double, FieldSize>& weight) {
    double sum = 0;
    for (double w : weight)
        sum += w;
    const double whole = total;
    total = 0;
    for (std::size_t h = 0; h < FieldSize; ++h) {
        pool[h] = static_cast<int32_t>(std::floor(whole * weight[h] / sum));
        total += pool[h];
    }
}

// The sharp crowd takes the race's pools over once they are open: the same totals, win, place and
// show money by each horse's simulated chance with noise, and the exotic money made from its win
// money as the public's is. The race itself is untouched: its favourite bands stay as they were,
// and the noise has its own stream.
void sharpCrowd(RaceDay& day, const ChanceEstimate& chances, uint64_t daySeed) {
    Pools& pools = day.pools;
    const auto bands = pools.consistencyBand;
    SeededRandom noise(mixedSeed(daySeed ^ CrowdKey ^ static_cast<uint64_t>(day.currentRace)));
    // A horse that never won in the simulated races still draws a little money.
    const double least = 0.5 / std::max(chances.races, 1);
    std::array<double, FieldSize> win{}, place{}, show{};
    for (std::size_t h = 0; h < FieldSize; ++h) {
        const EntryChance& e = chances.entries[h];
        win[h] = std::max(e.win, least) * std::exp(CrowdNoise * normal(noise));
        place[h] = std::max((e.win + e.topThreeShare) / 2, least) * std::exp(CrowdNoise * normal(noise));
        show[h] = std::max(e.topThreeShare, least) * std::exp(CrowdNoise * normal(noise));
    }
    spread(pools.win, pools.winTotal, win);
    spread(pools.place, pools.placeTotal, place);
    spread(pools.show, pools.showTotal, show);
    generateExoticPools(pools, noise);
    pools.consistencyBand = bands;
    writePublicPoolFiles(day);
    toteRefresh(day);
    auto& fixed = pools.oddsByRace[static_cast<std::size_t>(day.currentRace + 1)];
    for (std::size_t h = 0; h < FieldSize; ++h)
        if (pools.win[h] > 0)
            fixed[h] = pools.winOdds[h];
}

int32_t twinTriCredit(const RaceDay& day) {
    for (const ExchangeCredit& c : day.exchangeCredits)
        if (c.playerId == LabPlayerId && c.betType == "Twin-Tri" && c.race == day.currentRace + 1 &&
            c.exchangedBy == 0)
            return c.number;
    return 0;
}

int32_t creditAmount(const RaceDay& day, int32_t number) {
    for (const ExchangeCredit& c : day.exchangeCredits)
        if (c.number == number && c.playerId == LabPlayerId)
            return c.amount;
    return 0;
}

// The stake rule's amount for a ticket; 0 when it buys nothing.
int32_t amountFor(const StakeRule& stake, const ParsedTicket& ticket, Cents balance) {
    if (stake.kind == StakeRule::Kind::Flat)
        return stake.dollars;
    ParsedTicket one = ticket;
    one.amount = 1;
    const int64_t combinations = priceTicket(one).cost;
    if (combinations <= 0)
        return 0;
    const auto dollars = static_cast<int64_t>(std::floor(static_cast<double>(balance / CentsPerDollar) *
                                                         stake.share / static_cast<double>(combinations)));
    return static_cast<int32_t>(std::min<int64_t>(dollars, MaxBetAmount));
}

Cents percentile(std::vector<Cents>& values, int percent) {
    const auto at = static_cast<std::size_t>((values.size() - 1) * static_cast<std::size_t>(percent) / 100);
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(at), values.end());
    return values[at];
}

} // namespace

ChanceEstimate LabChanceCache::estimate(const ChanceField& field, int races) {
    std::string key;
    auto add = [&](const auto& part) { key.append(reinterpret_cast<const char*>(&part), sizeof part); };
    add(races);
    add(field.race);
    add(field.grade);
    add(field.segmentRating);
    add(field.path);
    add(field.jockeySkill);
    add(field.consistencyBand);
    std::unique_lock lock(m_mutex);
    auto at = m_simulations.find(key);
    if (at == m_simulations.end()) {
        // Simulated outside the lock, one thread a day: the lab's days already fill the cores.
        lock.unlock();
        auto simulation = std::make_unique<ChanceSimulation>(field, ChanceSimulation::DefaultSeed, 1);
        simulation->run(races);
        lock.lock();
        // Past a long session's worth of fields the cache starts again rather than grow without end.
        if (m_simulations.size() >= MaxCachedFields)
            m_simulations.clear();
        at = m_simulations.try_emplace(std::move(key), std::move(simulation)).first;
    }
    at->second->setToteOdds(field.toteOdds);
    return at->second->estimate();
}

DataFolder::MemoryFiles labStableOf(const DataFolder& folder) {
    DataFolder::MemoryFiles files;
    for (std::string_view name : {"horses.dat", "jockeys.dat", "pastperformances.dat", "settings.dat"}) {
        FileContent content = folder.read(name);
        if (content.read())
            files.emplace(std::string(name), std::move(content.bytes));
    }
    return files;
}

uint64_t labDaySeed(uint64_t seed, int day) {
    return mixedSeed(seed ^ mixedSeed(static_cast<uint64_t>(day) + 1));
}

LabDayResult playLabDay(const LabSetup& setup, const Strategy& strategy, int dayIndex) {
    LabDayResult result;
    result.seed = labDaySeed(setup.seed, dayIndex);

    DataFolder::MemoryFiles files = setup.stable;
    Settings settings = FactorySettings;
    if (auto at = files.find("settings.dat"); at != files.end())
        parseSettings(at->second.substr(0, at->second.find_first_of("\r\n")), settings);
    settings.startAmount = Cents{setup.bankroll} * CentsPerDollar;
    files["settings.dat"] = settingsRecord(settings);
    files["players.dat"] = std::to_string(LabPlayerId) + ",Lab,0\r\n";

    LabChanceCache ownCache;
    LabChanceCache& cache = setup.chances ? *setup.chances : ownCache;
    SeededRandom random(result.seed);
    SilentPrompter prompter;
    Game game(DataFolder::inMemory(std::move(files)), random, prompter);
    game.setDayDate(std::string(LabDate));
    if (!game.startDay()) {
        result.error =
            game.startResult().message.empty() ? _("the day could not start") : game.startResult().message;
        return result;
    }
    game.toteBoard();
    RaceDay& day = game.day();
    selectBettor(day, findPlayer(day.players, LabPlayerId));
    const Cents start = balanceOf(day.players.entries[0]);

    for (int r = 0; r < RacesPerDay; ++r) {
        const int race = day.currentRace + 1;
        std::optional<ChanceEstimate> chances;
        if (strategy.needsChances || setup.crowd == Crowd::Sharp) {
            ChanceField field = chanceFieldOf(day, race);
            if (setup.crowd == Crowd::Sharp) {
                sharpCrowd(day, cache.estimate(field, setup.chanceRaces), result.seed);
                for (std::size_t h = 0; h < FieldSize; ++h)
                    field.toteOdds[h] = day.pools.win[h] > 0 ? day.pools.winOdds[h] : 0.0f;
            }
            chances = cache.estimate(field, setup.chanceRaces);
        }
        const RaceView view{day, race, chances ? &*chances : nullptr, twinTriCredit(day)};
        const std::size_t listedBefore = day.tickets.size();
        for (ParsedTicket ticket : strategy.plan(view)) {
            ticket.amount = ticket.exchange != 0
                                ? creditAmount(day, ticket.exchange)
                                : amountFor(setup.stake, ticket, balanceOf(day.players.entries[0]));
            if (ticket.amount <= 0)
                continue;
            game.ticketList().listTicket(day, ticketText(ticket));
        }
        const int32_t counterBefore = day.pools.ticketCounter;
        if (day.tickets.size() > listedBefore)
            game.pay();
        // Payment numbers the tickets in list order.
        int32_t number = counterBefore;
        for (std::size_t i = listedBefore; i < day.tickets.size(); ++i) {
            const ListedTicket& t = day.tickets[i];
            if (!t.paid)
                continue;
            const Cents cost = priceTicket(t.text).cost * CentsPerDollar;
            result.tickets.push_back({race, t.text, ++number, cost});
            result.staked += cost;
            result.betOn[static_cast<std::size_t>(r)] = true;
        }
        if (!game.beginRace())
            break;
        game.finishRace();
        game.runResultsToEnd();
        result.winners[static_cast<std::size_t>(r)] = day.result.finishOrder[0];
        for (const Credit& c : game.settlement().credits) {
            if (c.playerId != LabPlayerId)
                continue;
            result.credits.push_back({race, c.ticketNumber, c.code, c.winnings, c.breakage});
            result.returned += c.winnings;
            result.collected[static_cast<std::size_t>(r)] = true;
        }
        game.confirmResults();
        if (game.stage() == Stage::Program)
            game.toteBoard();
    }
    result.balanceAfter = balanceOf(day.players.entries[0]);
    // The balance is the day's own account: a gap means money the lab did not see come or go.
    if (result.balanceAfter - start != result.returned - result.staked)
        result.error = _("the balance does not match the tickets and credits");
    return result;
}

LabRun runLab(const LabSetup& setup, const Strategy& strategy, int days, const LabOptions& options) {
    LabRun run;
    days = std::max(days, 0);
    std::vector<LabDayResult> results(static_cast<std::size_t>(days));
    std::vector<char> played(static_cast<std::size_t>(days), 0);
    const int threads = std::clamp(
        options.threads > 0 ? options.threads : static_cast<int>(std::thread::hardware_concurrency()), 1,
        std::max(days, 1));
    // Batches of a few days: few enough to stop soon after a cancel, enough to keep the threads busy.
    const int batch = std::clamp(days / (threads * 8), 1, 8);
    std::atomic<int> next{0};
    std::atomic<int> done{0};
    std::mutex progressMutex;
    {
        std::vector<std::jthread> workers;
        for (int t = 0; t < threads; ++t)
            workers.emplace_back([&] {
                while (!options.stop.stop_requested()) {
                    const int first = next.fetch_add(batch);
                    if (first >= days)
                        return;
                    for (int d = first; d < std::min(first + batch, days); ++d) {
                        if (options.stop.stop_requested())
                            return;
                        results[static_cast<std::size_t>(d)] = playLabDay(setup, strategy, d);
                        played[static_cast<std::size_t>(d)] = 1;
                        const int count = done.fetch_add(1) + 1;
                        if (options.progress) {
                            const std::lock_guard lock(progressMutex);
                            options.progress(count, days);
                        }
                    }
                }
            });
    }
    // Only the unbroken run of days from the first counts, so a cancelled run is still the start
    // of the same run.
    std::size_t complete = 0;
    while (complete < played.size() && played[complete])
        ++complete;
    run.cancelled = complete < played.size();
    results.resize(complete);
    run.days = std::move(results);
    return run;
}

std::vector<LabRun> runLabs(const LabSetup& setup, const std::vector<Strategy>& strategies, int days,
                            const LabOptions& options) {
    std::vector<LabRun> runs;
    days = std::max(days, 0);
    const int total = days * static_cast<int>(strategies.size());
    for (const Strategy& strategy : strategies) {
        if (options.stop.stop_requested())
            break;
        LabOptions one = options;
        const int before = days * static_cast<int>(runs.size());
        if (options.progress)
            one.progress = [&options, before, total](int done, int) {
                options.progress(before + done, total);
            };
        runs.push_back(runLab(setup, strategy, days, one));
    }
    std::size_t common = runs.size() == strategies.size() ? static_cast<std::size_t>(days) : 0;
    for (const LabRun& run : runs)
        common = std::min(common, run.days.size());
    runs.resize(strategies.size());
    for (LabRun& run : runs) {
        run.cancelled = run.cancelled || common < static_cast<std::size_t>(days);
        run.days.resize(common);
    }
    return runs;
}

LabSummary summarize(const LabRun& run, const LabSetup& setup) {
    LabSummary s;
    s.days = static_cast<int>(run.days.size());
    int losing = 0;
    std::vector<Cents> net;
    for (const LabDayResult& day : run.days) {
        s.tickets += static_cast<int>(day.tickets.size());
        s.staked += day.staked;
        s.returned += day.returned;
        // Ticket numbers start again after the public's lines each race, and a multi-race ticket
        // is paid in its last leg: a credit is the latest ticket of its number bought by then.
        std::vector<bool> hit(day.tickets.size(), false);
        for (const LabCredit& c : day.credits) {
            s.breakage += c.breakage;
            s.biggestWin = std::max(s.biggestWin, c.winnings);
            for (std::size_t t = day.tickets.size(); t-- > 0;)
                if (day.tickets[t].number == c.ticket && day.tickets[t].race <= c.race) {
                    hit[t] = true;
                    break;
                }
        }
        s.hits += static_cast<int>(std::count(hit.begin(), hit.end(), true));
        for (std::size_t r = 0; r < RacesPerDay; ++r) {
            if (day.collected[r])
                losing = 0;
            else if (day.betOn[r])
                s.worstLosingRun = std::max(s.worstLosingRun, ++losing);
        }
        net.push_back(day.returned - day.staked);
    }
    s.takeout = s.staked / 4;
    if (s.tickets > 0)
        s.hitRate = static_cast<double>(s.hits) / s.tickets;
    if (net.empty())
        return s;
    s.bestDay = *std::max_element(net.begin(), net.end());
    s.worstDay = *std::min_element(net.begin(), net.end());

    if (s.staked > 0) {
        s.returnRate = static_cast<double>(s.returned) / static_cast<double>(s.staked);
        // The ratio of two sums over independent days: its standard error by the delta method.
        const double n = static_cast<double>(run.days.size());
        const double meanStake = static_cast<double>(s.staked) / n;
        double squares = 0;
        for (const LabDayResult& day : run.days) {
            const double residual =
                static_cast<double>(day.returned) - s.returnRate * static_cast<double>(day.staked);
            squares += residual * residual;
        }
        const double error = n > 1 ? std::sqrt(squares / (n - 1) / n) / meanStake : 0.0;
        s.returnBand = {std::max(0.0, s.returnRate - 1.96 * error), s.returnRate + 1.96 * error};
    }

    const Cents width = std::max<Cents>((s.bestDay - s.worstDay + HistogramBins - 1) / HistogramBins, 1);
    for (int b = 0; b < HistogramBins; ++b)
        s.histogram.push_back({s.worstDay + width * b, s.worstDay + width * (b + 1), 0});
    for (Cents value : net)
        ++s.histogram[static_cast<std::size_t>(
                          std::min<Cents>((value - s.worstDay) / width, HistogramBins - 1))]
              .days;

    // Paths of the same number of days drawn again from the days played (with replacement).
    SeededRandom draw(mixedSeed(setup.seed ^ BankrollKey));
    const std::size_t n = net.size();
    std::vector<std::vector<Cents>> at(n, std::vector<Cents>(BankrollPaths));
    for (std::size_t p = 0; p < BankrollPaths; ++p) {
        Cents bankroll = Cents{setup.bankroll} * CentsPerDollar;
        for (std::size_t d = 0; d < n; ++d) {
            bankroll += net[static_cast<std::size_t>(draw.below(static_cast<int>(n)))];
            at[d][p] = bankroll;
        }
    }
    for (std::size_t d = 0; d < n; ++d)
        s.bankroll.push_back(
            {static_cast<int>(d + 1), percentile(at[d], 50), percentile(at[d], 5), percentile(at[d], 95)});
    return s;
}

} // namespace sw
