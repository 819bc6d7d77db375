#include "PublicPoolGeneration.h"

#include "PoolFiles.h"
#include "Tote.h"

#include "core/Constants.h"
#include "core/Format.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace sw {

namespace {

constexpr int PastLinesRated = 15;
// Sets a showing's stream apart from the race's own, drawn from the same seed.
constexpr uint64_t ShownStreamKey = 0x5EE5'0F7E'B0A2'D000ULL;

bool fits32(double value) {
    return std::isfinite(value) && value >= static_cast<double>(std::numeric_limits<int32_t>::min()) &&
           value <= static_cast<double>(std::numeric_limits<int32_t>::max());
}

// target = value when it fits in 32 bits; otherwise the assignment is skipped.
void assignChecked(int32_t& target, double value) {
    if (fits32(value))
        target = static_cast<int32_t>(value);
}

// The eight amounts in descending order.
std::array<int64_t, FieldSize> sortedDescending(std::array<int64_t, FieldSize> values) {
    std::sort(values.begin(), values.end(), std::greater<>());
    return values;
}

// Position 0..7 of value in the descending list; equal values share the last (worse) position.
int lastPositionOf(const std::array<int64_t, FieldSize>& sorted, int64_t value) {
    int position = 0;
    for (int j = 0; j < FieldSize; ++j)
        if (sorted[static_cast<std::size_t>(j)] == value)
            position = j;
    return position;
}

// One factor of an exotic combination: [0.5, 1.0), a fresh draw each time.
double factor(Random& random) {
    return 0.5 + 0.5 * random.uniform();
}

void addTotal(int32_t& total, int32_t value) {
    assignChecked(total, static_cast<double>(total) + value);
}

} // namespace

void generateExoticPools(Pools& pools, Random& random) {
    pools.quinielaTotal = 0;
    pools.exactaTotal = 0;
    pools.trifectaTotal = 0;
    pools.superfectaTotal = 0;

    std::array<int64_t, FieldSize> win{};
    for (std::size_t h = 0; h < FieldSize; ++h)
        win[h] = pools.win[h];
    const auto sorted = sortedDescending(win);
    auto w = [&](int h) { return static_cast<double>(win[static_cast<std::size_t>(h)]); };

    for (int i = 0; i < FieldSize; ++i) {
        for (int j = 0; j < FieldSize; ++j) {
            auto pair = static_cast<std::size_t>(Pools::idx2(i, j));
            pools.quiniela[pair] = 0;
            pools.exacta[pair] = 0;
            if (win[static_cast<std::size_t>(i)] == sorted[static_cast<std::size_t>(j)])
                pools.consistencyBand[static_cast<std::size_t>(i)] =
                    static_cast<int32_t>(roundHalfEven(8.5 - j));
            if (i != j) {
                if (i < j) {
                    double f1 = factor(random);
                    double f2 = factor(random);
                    assignChecked(pools.quiniela[pair], std::floor((w(i) * f1 + w(j) * f2) / 4));
                    addTotal(pools.quinielaTotal, pools.quiniela[pair]);
                }
                double f1 = factor(random);
                double f2 = factor(random);
                assignChecked(pools.exacta[pair], std::floor((3 * w(i) * f1 + w(j) * f2) / 18));
                addTotal(pools.exactaTotal, pools.exacta[pair]);
            }
            for (int k = 0; k < FieldSize; ++k) {
                auto triple = static_cast<std::size_t>(Pools::idx3(i, j, k));
                pools.trifecta[triple] = 0;
                if (i != j && i != k && j != k) {
                    double f1 = factor(random);
                    double f2 = factor(random);
                    double f3 = factor(random);
                    assignChecked(pools.trifecta[triple],
                                  std::floor((3 * w(i) * f1 + 2 * w(j) * f2 + w(k) * f3) / 100));
                    addTotal(pools.trifectaTotal, pools.trifecta[triple]);
                }
                for (int l = 0; l < FieldSize; ++l) {
                    auto quad = static_cast<std::size_t>(Pools::idx4(i, j, k, l));
                    pools.superfecta[quad] = 0;
                    if (i != j && i != k && i != l && j != k && j != l && k != l) {
                        double f1 = factor(random);
                        double f2 = factor(random);
                        double f3 = factor(random);
                        double f4 = factor(random);
                        assignChecked(
                            pools.superfecta[quad],
                            std::floor((4 * w(i) * f1 + 3 * w(j) * f2 + 2 * w(k) * f3 + w(l) * f4) / 500));
                        addTotal(pools.superfectaTotal, pools.superfecta[quad]);
                    }
                }
            }
        }
    }
}

// Each file's text is built in memory and written once.
GenerationOutcome writePublicPoolFiles(RaceDay& day, const LoadingProgress& progress) {
    Pools& pools = day.pools;
    int32_t& counter = pools.ticketCounter;
    counter = 0;
    std::string wins, places, shows, quinielas, exactas, trifectas, superfectas;
    for (int h = 0; h < FieldSize; ++h) {
        int16_t post[1] = {static_cast<int16_t>(h + 1)};
        auto cell = static_cast<std::size_t>(h);
        appendPoolLine(wins, ++counter, post, pools.win[cell]);
        appendPoolLine(places, ++counter, post, pools.place[cell]);
        appendPoolLine(shows, ++counter, post, pools.show[cell]);
    }
    quinielas.reserve(28 * 16);
    exactas.reserve(56 * 16);
    trifectas.reserve(336 * 20);
    superfectas.reserve(1680 * 22);
    for (int i = 0; i < FieldSize; ++i) {
        for (int j = 0; j < FieldSize; ++j) {
            if (i != j) {
                auto pair = static_cast<std::size_t>(Pools::idx2(i, j));
                int16_t posts[2] = {static_cast<int16_t>(i + 1), static_cast<int16_t>(j + 1)};
                if (i < j) {
                    appendPoolLine(quinielas, ++counter, posts, pools.quiniela[pair]);
                    if (auto odds = oddsFor(pools.quinielaTotal, 1.0f, pools.quiniela[pair]))
                        pools.quinielaOdds[pair] = *odds;
                }
                appendPoolLine(exactas, ++counter, posts, pools.exacta[pair]);
                if (auto odds = oddsFor(pools.exactaTotal, 1.0f, pools.exacta[pair]))
                    pools.exactaOdds[pair] = *odds;
            }
            for (int k = 0; k < FieldSize; ++k) {
                if (i == j || i == k || j == k)
                    continue;
                int16_t posts[4] = {static_cast<int16_t>(i + 1), static_cast<int16_t>(j + 1),
                                    static_cast<int16_t>(k + 1), 0};
                appendPoolLine(trifectas, ++counter, std::span<const int16_t>(posts, 3),
                               pools.trifecta[static_cast<std::size_t>(Pools::idx3(i, j, k))]);
                for (int l = 0; l < FieldSize; ++l) {
                    if (l == i || l == j || l == k)
                        continue;
                    posts[3] = static_cast<int16_t>(l + 1);
                    appendPoolLine(superfectas, ++counter, posts,
                                   pools.superfecta[static_cast<std::size_t>(Pools::idx4(i, j, k, l))]);
                }
            }
        }
        // The last figure waits for the files to be on disk.
        if (progress && i + 1 < FieldSize)
            progress((i + 14) * 100 / 21);
    }

    // All seven or none: a race must never be bet on over another race's lines.
    FileChanges changes;
    changes.write(std::string(poolFileName(PoolFile::Wins)), std::move(wins))
        .write(std::string(poolFileName(PoolFile::Places)), std::move(places))
        .write(std::string(poolFileName(PoolFile::Shows)), std::move(shows))
        .write(std::string(poolFileName(PoolFile::Quinielas)), std::move(quinielas))
        .write(std::string(poolFileName(PoolFile::Exactas)), std::move(exactas))
        .write(std::string(poolFileName(PoolFile::Trifectas)), std::move(trifectas))
        .write(std::string(poolFileName(PoolFile::Superfectas)), std::move(superfectas));
    GenerationOutcome outcome;
    const StepOutcome saved = day.folder.commit(changes);
    outcome.error = saved.refused;
    if (saved.pending)
        day.prompter.message(saved.notice, AppTitle);
    outcome.poolFilesWritten = !outcome.error;
    if (progress)
        progress(100);
    return outcome;
}

int gradePoints(std::string_view gradeLetter) {
    static constexpr std::pair<std::string_view, int> points[] = {{"M", 1},  {"J", 5},  {"C", 10},
                                                                  {"B", 20}, {"A", 40}, {"AA", 80}};
    for (const auto& [letter, value] : points)
        if (letter == gradeLetter)
            return value;
    return 0;
}

std::array<std::optional<int32_t>, FieldSize> moneyRatings(const FieldForm& field) {
    std::array<int64_t, FieldSize> segmentSum{};
    std::array<int32_t, FieldSize> formPoints{};
    for (std::size_t h = 0; h < FieldSize; ++h) {
        const EntryForm& entry = field[h];
        const Horse& horse = entry.horse;
        int32_t& points = formPoints[h];
        int counted = 0;
        for (const PastPerformance& line : entry.pastLines) {
            if (counted++ == PastLinesRated)
                break;
            assignChecked(points,
                          static_cast<double>(points) + gradePoints(line.raceGrade) + (10 - line.finishPos));
        }
        const auto& rating = horse.segmentRating;
        int64_t early = int64_t{rating[0]} + rating[1];
        segmentSum[h] = early + rating[2] + rating[3] + rating[4];
        if (horse.starts > 0)
            assignChecked(points, static_cast<double>(points) +
                                      3 * std::floor(static_cast<double>(horse.earnings) / horse.starts));
        assignChecked(points, static_cast<double>(points) + 2 * static_cast<double>(early) +
                                  static_cast<double>(segmentSum[h]));
    }

    const auto sorted = sortedDescending(segmentSum);
    std::array<std::optional<int32_t>, FieldSize> ratings;
    for (std::size_t h = 0; h < FieldSize; ++h) {
        int position = lastPositionOf(sorted, segmentSum[h]);
        double rankBonus = std::pow(2.5, 9 - position);
        double positionPart =
            static_cast<double>(roundHalfEven(static_cast<double>(segmentSum[h]) + rankBonus));
        double rating = static_cast<double>(formPoints[h]) + positionPart;
        if (fits32(rating))
            ratings[h] = static_cast<int32_t>(rating);
    }
    return ratings;
}

GenerationOutcome publicPoolGeneration(RaceDay& day, int race, bool quick, const FieldForm& field,
                                       const LoadingProgress& progress) {
    GenerationOutcome outcome;
    if (race < 1 || race > RacesPerDay)
        return outcome;
    Pools& pools = day.pools;

    const auto ratings = moneyRatings(field);
    pools.winTotal = 0;
    for (std::size_t h = 0; h < FieldSize; ++h) {
        if (ratings[h])
            pools.win[h] = *ratings[h];
        addTotal(pools.winTotal, pools.win[h]);
    }

    if (!quick) {
        pools.placeTotal = 0;
        pools.showTotal = 0;
        for (std::size_t h = 0; h < FieldSize; ++h) {
            assignChecked(pools.place[h], std::floor(pools.win[h] * 0.74));
            assignChecked(pools.show[h], std::floor(pools.win[h] * 0.84));
            addTotal(pools.placeTotal, pools.place[h]);
            addTotal(pools.showTotal, pools.show[h]);
        }
    }

    // A race's public odds are fixed once its pools are open: its multi-race legs pay on them, and
    // the race itself later changes the records they were made from.
    const bool oddsFixed = day.card.racePoolsOpened[static_cast<std::size_t>(race - 1)];
    for (std::size_t h = 0; h < FieldSize; ++h) {
        if (auto odds = oddsFor(pools.winTotal, 1.0f, pools.win[h])) {
            pools.winOdds[h] = *odds;
            if (!oddsFixed)
                pools.oddsByRace[static_cast<std::size_t>(race)][h] = *odds;
        }
    }

    if (quick)
        return outcome;

    // The files hold the race about to be run and are written once for it; browsing other races
    // only changes what the board shows.
    const auto r = static_cast<std::size_t>(race - 1);
    const int current = day.currentRace;
    const bool aboutToRun = current >= 0 && current < RacesPerDay && race == current + 1;
    if (!aboutToRun || day.card.racePoolsOpened[r]) {
        // Only shown: the money comes from a stream of the showing's own, the same at every showing.
        SeededRandom shown(day.raceSeeds[r] ^ ShownStreamKey);
        generateExoticPools(pools, shown);
        return outcome;
    }
    // The race's pools open: its stream starts here from its own seed. A write that fails starts it
    // again at the next showing, so the race draws the same money then.
    day.raceStream.emplace(day.raceSeeds[r]);
    generateExoticPools(pools, *day.raceStream);
    auto& opened = day.card.racePoolsOpened[r];
    if (progress)
        progress(13 * 100 / 21);
    outcome = writePublicPoolFiles(day, progress);
    // A failed write leaves the race unopened, so the next showing of it tries again.
    if (outcome.poolFilesWritten)
        opened = true;
    return outcome;
}

} // namespace sw
