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
#include <tuple>

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
// A field with the first four of each of 500 races takes some 2.5 kB: at most about 125 MB, the
// fields of some 4,000 days.
constexpr std::size_t MaxCachedFields = 50000;

double normal(Random& random) {
    const double u = 1.0 - random.uniform(); // (0, 1]: the logarithm stays finite
    return std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * std::numbers::pi * random.uniform());
}

// Spreads a pool's total over its cells by weight, in whole dollars; the total becomes what was
// spread. Cells left out keep what they hold.
template <std::size_t Size>
void spread(std::array<int32_t, Size>& pool, int32_t& total,
            const std::vector<std::pair<int, double>>& cells) {
    double sum = 0;
    for (const auto& cell : cells)
        sum += cell.second;
    const double whole = total;
    total = 0;
    for (const auto& [at, weight] : cells) {
        int32_t& money = pool[static_cast<std::size_t>(at)];
        money = static_cast<int32_t>(std::floor(whole * weight / sum));
        total += money;
    }
}

// The chances of the orders at the head of the race, from the simulated races' first fours. Five
// hundred races count a likely exacta often enough, a superfecta hardly ever, so each order's
// count is blended with a smooth figure worth half a race for each order there is. Harville's
// rule (each place going to one of the horses left by its chance to win) is that figure for an
// exacta; this race puts the field's likeliest trifectas in between what Harville's rule says
// (about twice what the races show) and the exacta followed by the third places' counts (about
// half), so a trifecta's is the geometric mean of the two; a superfecta's adds the fourth by
// Harville's rule.
class HeadOrders {
public:
    HeadOrders(const ChanceCounts& counts, double least) : m_races(std::max(counts.races, 1)) {
        for (auto& place : m_place)
            place.fill(least);
        for (const auto& order : counts.orders)
            for (std::size_t k = 0; k < 4; ++k)
                if (order[k] >= 1 && order[k] <= FieldSize) {
                    m_place[k][order[k] - 1u] += 1;
                    ++m_orders[k][indexOf(order.data(), k + 1)];
                }
    }
    // How often the post (0-based) finished in the first `places` in the simulated races.
    double placed(int h, std::size_t places) const {
        double count = 0;
        for (std::size_t k = 0; k < places; ++k)
            count += m_place[k][static_cast<std::size_t>(h)];
        return count;
    }
    // The chance that the posts (0-based) take the first two, three or four places in this order.
    double of(std::initializer_list<int> order) const {
        const std::vector<int> posts(order);
        double chance = blended(posts, 2, harville(posts, 2));
        if (posts.size() >= 3) {
            const double chain = chance * share(2, posts[2], posts, 2);
            chance = blended(posts, 3, std::sqrt(chain * harville(posts, 3)));
        }
        if (posts.size() >= 4)
            chance = blended(posts, 4, chance * share(0, posts[3], posts, 3));
        return chance;
    }

private:
    static std::size_t indexOf(const uint8_t* posts, std::size_t n) {
        std::size_t index = 0;
        for (std::size_t k = 0; k < n; ++k)
            index = index * FieldSize + (posts[k] - 1u) % FieldSize;
        return index;
    }
    // Post h's share of place k's counts among the horses not in the first `taken` of `posts`.
    double share(std::size_t k, int h, const std::vector<int>& posts, std::size_t taken) const {
        double left = 0;
        for (int other = 0; other < FieldSize; ++other)
            if (std::find(posts.begin(), posts.begin() + static_cast<std::ptrdiff_t>(taken), other) ==
                posts.begin() + static_cast<std::ptrdiff_t>(taken))
                left += m_place[k][static_cast<std::size_t>(other)];
        return m_place[k][static_cast<std::size_t>(h)] / left;
    }
    double harville(const std::vector<int>& posts, std::size_t n) const {
        double chance = 1;
        for (std::size_t k = 0; k < n; ++k)
            chance *= share(0, posts[k], posts, k);
        return chance;
    }
    double blended(const std::vector<int>& posts, std::size_t n, double smooth) const {
        static constexpr double Orders[] = {0, 0, 56, 336, 1680};
        std::array<uint8_t, 4> at{};
        for (std::size_t k = 0; k < n; ++k)
            at[k] = static_cast<uint8_t>(posts[k] + 1);
        const double weight = Orders[n] / 2;
        return (m_orders[n - 1][indexOf(at.data(), n)] + weight * smooth) / (m_races + weight);
    }

    int m_races;
    std::array<std::array<double, FieldSize>, 4> m_place{};
    std::array<std::vector<int>, 4> m_orders{std::vector<int>(8), std::vector<int>(64), std::vector<int>(512),
                                             std::vector<int>(4096)};
};

// The sharp crowd takes the race's pools over once they are open, with the same totals: each
// horse and each combination gets money in proportion to its simulated chance, with noise. The
// multi-race bets pay the product of their legs' win payoffs at the crowd's odds. The race itself
// is untouched: its favourite bands stay as they were, and the noise has its own stream.
void sharpCrowd(RaceDay& day, const ChanceCounts& counts, uint64_t daySeed) {
    Pools& pools = day.pools;
    const auto bands = pools.consistencyBand;
    SeededRandom noise(mixedSeed(daySeed ^ CrowdKey ^ static_cast<uint64_t>(day.currentRace)));
    auto strayed = [&](double chance) { return chance * std::exp(CrowdNoise * normal(noise)); };
    // A horse never placed in the simulated races still draws a little money.
    const HeadOrders head(counts, 0.5);
    std::vector<std::pair<int, double>> cells;
    for (auto [pool, total, places] :
         {std::tuple{&pools.win, &pools.winTotal, 1}, std::tuple{&pools.place, &pools.placeTotal, 2},
          std::tuple{&pools.show, &pools.showTotal, 3}}) {
        cells.clear();
        for (int h = 0; h < FieldSize; ++h)
            cells.emplace_back(h, strayed(head.placed(h, static_cast<std::size_t>(places))));
        spread(*pool, *total, cells);
    }
    // The public's exotic money, for its totals.
    generateExoticPools(pools, noise);
    std::vector<std::pair<int, double>> quiniela, exacta, trifecta, superfecta;
    for (int i = 0; i < FieldSize; ++i)
        for (int j = 0; j < FieldSize; ++j) {
            if (j == i)
                continue;
            if (i < j)
                quiniela.emplace_back(Pools::idx2(i, j), strayed(head.of({i, j}) + head.of({j, i})));
            exacta.emplace_back(Pools::idx2(i, j), strayed(head.of({i, j})));
            for (int k = 0; k < FieldSize; ++k) {
                if (k == i || k == j)
                    continue;
                trifecta.emplace_back(Pools::idx3(i, j, k), strayed(head.of({i, j, k})));
                for (int l = 0; l < FieldSize; ++l)
                    if (l != i && l != j && l != k)
                        superfecta.emplace_back(Pools::idx4(i, j, k, l), strayed(head.of({i, j, k, l})));
            }
        }
    spread(pools.quiniela, pools.quinielaTotal, quiniela);
    spread(pools.exacta, pools.exactaTotal, exacta);
    spread(pools.trifecta, pools.trifectaTotal, trifecta);
    spread(pools.superfecta, pools.superfectaTotal, superfecta);
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
    return estimateOf(field, *counts(field, races, false));
}

std::shared_ptr<const ChanceCounts> LabChanceCache::counts(const ChanceField& field, int races, bool orders) {
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
    auto at = m_counts.find(key);
    if (at != m_counts.end() && (!orders || !at->second->orders.empty()))
        return at->second;
    // Simulated outside the lock, one thread a day: the lab's days already fill the cores. The
    // first three of a race are the same whether it runs on to the fourth or not, so counts
    // with orders stand in for those without.
    lock.unlock();
    ChanceSimulation simulation(field, ChanceSimulation::DefaultSeed, 1, orders);
    simulation.run(races);
    auto counts = std::make_shared<const ChanceCounts>(simulation.counts());
    lock.lock();
    // Past a long session's worth of fields the cache starts again rather than grow without end.
    if (m_counts.size() >= MaxCachedFields)
        m_counts.clear();
    m_counts.insert_or_assign(std::move(key), counts);
    return counts;
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
                sharpCrowd(day, *cache.counts(field, setup.chanceRaces, true), result.seed);
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
    // A day at a time: taking the next day costs nothing beside playing it, and batches left one
    // core idle while the other played out the last of them (several seconds with the chances).
    std::atomic<int> next{0};
    std::atomic<int> done{0};
    std::mutex progressMutex;
    {
        std::vector<std::jthread> workers;
        for (int t = 0; t < threads; ++t)
            workers.emplace_back([&] {
                while (!options.stop.stop_requested()) {
                    const int d = next.fetch_add(1);
                    if (d >= days)
                        return;
                    results[static_cast<std::size_t>(d)] = playLabDay(setup, strategy, d);
                    played[static_cast<std::size_t>(d)] = 1;
                    const int count = done.fetch_add(1) + 1;
                    if (options.progress) {
                        const std::lock_guard lock(progressMutex);
                        options.progress(count, days);
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
