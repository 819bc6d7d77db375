#include "RaceModel.h"

#include "core/Format.h"
#include "core/Random.h"
#include "race/MarginText.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <limits>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace sw {

namespace {

int32_t scaled(double designValue, double scale) {
    return static_cast<int32_t>(roundHalfEven(designValue * scale));
}

// floor() of a value within int's range, without the library's general rounding.
int floorOf(double value) {
    const int truncated = static_cast<int>(value);
    return truncated - static_cast<int>(value < truncated);
}

// The turn's toll on a move, by lane (the rail's none, lanes 4 to 8 alike).
constexpr std::array<double, 5> TurnFactor = {1.0, 0.97, 0.94, 0.91, 0.88};

// Int(Rnd x n) for a draw in [0, 1); kept inside 0..n-1 whatever the generator returns.
template <typename G> int drawBelow(G& rnd, int n) {
    // The seeded generator stays below 1 - 2^-53, whose product with any n here truncates below n.
    if constexpr (std::is_same_v<G, SeededRandom>)
        return rnd.below(n);
    else
        return std::clamp(static_cast<int>(rnd.uniform() * n), 0, n - 1);
}

// The post whose extra move a pass draws: below(8), which is the output's top three bits, since
// 8 x 2^-53 is a power of two and the product exact.
template <typename G> int drawPost(G& rnd) {
    static_assert(FieldSize == 8);
    if constexpr (std::is_same_v<G, SeededRandom>)
        return static_cast<int>(rnd.bits() >> 61);
    else
        return drawBelow(rnd, FieldSize);
}

// The least output, in its top 53 bits, for which below(100) reaches k (k = 0..100): below() only
// rounds a product, which keeps order, so below(100) >= k exactly when the output is at least this.
// A move then tests its draw against its entry's band without converting it.
constexpr std::array<uint64_t, 101> HundredthFrom = [] {
    std::array<uint64_t, 101> from{};
    for (std::size_t k = 0; k < from.size(); ++k) {
        uint64_t lo = 0;
        uint64_t hi = uint64_t{1} << 53; // past every output
        while (lo < hi) {
            const uint64_t mid = lo + (hi - lo) / 2;
            if (SeededRandom::belowOf(mid << 11, 100) >= static_cast<int>(k))
                hi = mid;
            else
                lo = mid + 1;
        }
        from[k] = lo;
    }
    return from;
}();

// How a lane check compares a reach: BodyLength + reach, shifted by 2^31 since SSE2 only compares
// signed, four times over to be loaded as it is.
std::array<int32_t, 4> wayLimitOf(int reach) {
    std::array<int32_t, 4> limit{};
    limit.fill(static_cast<int32_t>(static_cast<uint32_t>(BodyLength + reach) + 0x8000'0000u));
    return limit;
}

#if defined(__SSE2__)
// Lane e of the field set, the others clear: adds a move's step to one entry of a held position.
alignas(16) constexpr std::array<std::array<int32_t, FieldSize>, FieldSize> LaneMask = [] {
    std::array<std::array<int32_t, FieldSize>, FieldSize> mask{};
    for (std::size_t e = 0; e < FieldSize; ++e)
        mask[e][e] = -1;
    return mask;
}();
#endif

} // namespace

#if defined(__SSE2__)
// A vector load of the positions straight after a move's scalar store has to wait for the store
// to reach the cache; a simulated race adds each step to this copy as well, in registers.
struct RaceModel::HeldPositions {
    __m128i low;  // entries 0 to 3
    __m128i high; // entries 4 to 7

    void add(std::size_t e, int step) {
        const __m128i steps = _mm_set1_epi32(step);
        const auto* mask = reinterpret_cast<const __m128i*>(LaneMask[e].data());
        low = _mm_add_epi32(low, _mm_and_si128(steps, _mm_load_si128(mask)));
        high = _mm_add_epi32(high, _mm_and_si128(steps, _mm_load_si128(mask + 1)));
    }
};

RaceModel::HeldPositions RaceModel::heldPositions() const {
    static_assert(N == 8);
    const auto* four = reinterpret_cast<const __m128i*>(m_position.data());
    return {_mm_loadu_si128(four), _mm_loadu_si128(four + 1)};
}
#else
// Without vectors the checks read the positions themselves.
struct RaceModel::HeldPositions {
    void add(std::size_t, int) {}
};

RaceModel::HeldPositions RaceModel::heldPositions() const {
    return {};
}
#endif

int reachOf(int skill) {
    switch (skill) {
    case 0:
        return 945;
    case 1:
        return 787;
    default:
        return 630;
    }
}

RaceModel::RaceModel(RaceDay& day, RaceObserver* observer, int trackWidth)
    : m_day(day), m_seeded(dynamic_cast<SeededRandom*>(&day.raceRandom())), m_observer(observer),
      m_trackWidth(std::max(trackWidth, 1)) {}

void RaceModel::start() {
    m_trackScale = static_cast<double>(m_trackWidth) / DesignTrackWidth;
    m_legLength = std::max<int32_t>(scaled(10655, m_trackScale), 1);
    m_legStart = {m_legLength, 2 * m_legLength, 3 * m_legLength};
    m_marks = {scaled(5964, m_trackScale), scaled(11928, m_trackScale), scaled(17892, m_trackScale)};
    m_finishLine = static_cast<int32_t>(roundHalfEven(8300 * m_trackScale + (m_trackWidth - 700) * 2.0));
    m_turnOne = {scaled(10215, m_trackScale), scaled(12495, m_trackScale)};
    m_turnTwo = {scaled(20075, m_trackScale), scaled(22355, m_trackScale)};

    // The card always holds a race index 0..11; anything else runs as the first race.
    const int race = (m_day.currentRace >= 0 && m_day.currentRace < RacesPerDay) ? m_day.currentRace : 0;
    const auto r = static_cast<std::size_t>(race);
    m_speedFactor = speedFactor(m_day.card.raceGrade[r]);
    // Each step is added in double; the clock itself keeps single precision.
    m_clockStep = static_cast<double>(m_speedFactor) * 3.1027;

    for (std::size_t e = 0; e < N; ++e) {
        m_position[e] = 0;
        m_leg[e] = 0;
        m_lane[e] = static_cast<int>(e);
        m_nextMark[e] = 0;
        m_nextMarkAt[e] = m_orderOnly ? std::numeric_limits<int32_t>::max() : m_marks[0];
        m_finished[e] = false;
        m_finishAt[e] = m_finishLine;
        m_turnZoneSpan[e] = 0; // none yet: worked out at the first move
        m_plainSpan[e] = 0;
        m_turnToll[e] = 0;
        for (std::size_t k = 0; k < 5; ++k)
            m_rating[e][k] = std::clamp<int>(m_day.entries.segmentRating[e][k], MinRating, MaxRating);
        m_path[e] = m_day.entries.path[e];
        const int jockey = m_day.card.raceJockey[r][e];
        m_skill[e] = (jockey >= 0 && jockey <= JockeyCount)
                         ? m_day.db.jockeys[static_cast<std::size_t>(jockey)].skill
                         : 0;
        m_reach[e] = reachOf(m_skill[e]);
        m_wayLimit[e] = wayLimitOf(m_reach[e]);
        m_band[e] = m_day.pools.consistencyBand[e];
    }
    m_laneMembers = {};
    for (std::size_t e = 0; e < N; ++e)
        m_laneMembers[e] = static_cast<uint16_t>(1u << e);
    m_mates = {};
    m_day.result = RaceResult{};

    m_tick = 0;
    m_phase = 0;
    takePhaseRatings();
    // round(4 x rating / k + 4 x r10 / k), then scaled: the inner step for every rating and r10,
    // k = 10 in row 0 and 20 in row 1. Both terms are non-negative and their sum a multiple of 0.2,
    // never a half, so whole-number arithmetic rounds exactly as the fractions would.
    for (std::size_t sum = 0; sum < m_innerStep[0].size(); ++sum) {
        const int units = 8 * static_cast<int>(sum);
        m_innerStep[0][sum] = scaledStep((units + 10) / 20);
        m_innerStep[1][sum] = scaledStep((units + 20) / 40);
    }
    m_passes = 0;
    m_placed = 0;
    m_r10 = 0;
    m_blocker = 0;
    m_clock = 0.0f;
    m_winnerClock = 0.0f;
    m_leaderClock = {};
    m_passedCount = {};
    m_started = true;
    m_ended = false;
    if (m_observer)
        m_observer->raceStarted();
}

template <typename G> bool RaceModel::drawInBand(G& rnd, std::size_t e) {
    if constexpr (std::is_same_v<G, SeededRandom>)
        return (rnd.bits() >> 11) - m_bandFrom[e] < m_bandSpan[e];
    else
        return std::abs(drawBelow(rnd, 100) - m_phaseRating[e]) < m_band[e];
}

bool RaceModel::step() {
    HeldPositions held = heldPositions();
    // The race's own generator is drawn from inline; any other (a test's script) through its interface.
    if (m_seeded) {
        // A simulated race has nobody watching and keeps only its order: its pass is compiled
        // without a single check for either, since it runs millions of times.
        if (m_orderOnly && m_observer == nullptr)
            return stepWith<SeededRandom, true>(*m_seeded, held);
        return stepWith<SeededRandom, false>(*m_seeded, held);
    }
    return stepWith<Random, false>(m_day.raceRandom(), held);
}

template <typename G, bool Simulated> bool RaceModel::stepWith(G& rnd, HeldPositions& heldOver) {
    // A copy of the pass's own, so that only the pass's end hands it on through memory.
    HeldPositions held = heldOver;
    // Outside a simulated race the checks read the positions as they stand.
    const auto current = [&] { return Simulated ? held : heldPositions(); };
    // Taken again from memory after every call, which is rare: held across a call, the copy
    // would live in memory on every move.
    const auto retake = [&] {
        if constexpr (Simulated)
            held = heldPositions();
    };
    if (!m_started || m_ended)
        return false;
    ++m_passes;
    const bool stalled = m_passes > StallPasses;
    if (stalled) [[unlikely]]
        m_plainSpan = {}; // every move now checks for a step of at least 1

    const int h = drawPost(rnd);
    const auto hi = static_cast<std::size_t>(h);

    if (++m_tick > 1095) {
        if (m_phase < 4) {
            ++m_phase;
            takePhaseRatings();
            retake();
            if (!Simulated && m_observer)
                m_observer->phaseChanged(m_phase);
        }
        m_tick = 0;
    }

    // The extra move of one entry a pass: the only move that may change lanes.
    if (m_position[hi] < m_finishLine) {
        m_r10 = drawBelow(rnd, R10Count);
        int step = 3 * rating(h) / 2 + m_r10; // Int(1.5 x rating): ratings are never negative
        if (m_tick % 15 == 0) {
            step = laneDecision(h, step, true, m_path[hi], m_skill[hi]);
            retake();
        } else {
            step = stepInOwnLane(hi, step, current());
        }
        if constexpr (!Simulated)
            laneSet(h);
        if (m_trackWidth != DesignTrackWidth) {
            step = scaledStep(step);
            retake();
        }
        step = turnPenalised(h, step);
        if (stalled && !m_finished[hi])
            step = std::max(step, 1);
        m_position[hi] += step;
        if constexpr (Simulated)
            held.add(hi, step);
        else
            movedOnLeg(h, step);
    }

    if (!Simulated && m_tick % 8 == 0 && m_observer)
        m_observer->gallop();

    // Every entry moves once, starting with the one drawn and going round the field.
    const auto r10 = static_cast<std::size_t>(m_r10);
    auto move = [&](int c) {
        const auto ci = static_cast<std::size_t>(c);
        const auto cRating = static_cast<std::size_t>(rating(c));
        const bool inBand = drawInBand(rnd, ci); // k = 20, else k = 10
        int step = m_innerStep[inBand ? 1 : 0][cRating + r10];

        step = stepInOwnLane(ci, step, current());
        if constexpr (!Simulated)
            laneSet(c);
        const int32_t from = m_position[ci];
        // Out of the turns, on the rail or placed, and not stalled, the step stands: one test.
        if (static_cast<uint64_t>(int64_t{from} - m_turnZoneFrom[ci]) >= m_plainSpan[ci]) [[unlikely]] {
            if (static_cast<uint64_t>(int64_t{from} - m_turnZoneFrom[ci]) >= m_turnZoneSpan[ci]) {
                enterTurnZone(ci);
                retake();
            }
            // Placed horses keep galloping to clear the line, without turn penalty (their toll is 0).
            if (const int toll = m_turnToll[ci]; toll != 0)
                step = floorOf(step * TurnFactor[static_cast<std::size_t>(toll)]);
            if (stalled && !m_finished[ci])
                step = std::max(step, 1);
        }
        m_position[ci] = from + step;
        if constexpr (Simulated)
            held.add(ci, step);
        if (m_position[ci] >= m_finishAt[ci]) {
            if constexpr (!Simulated) {
                // The finish straight runs to the right whatever leg the entry was last counted on.
                moved(c, step);
                if (m_observer)
                    m_observer->callHidden();
            }
            placeFinisher(c);
            retake();
        } else if constexpr (!Simulated) {
            movedOnLeg(c, step);
            if (m_position[ci] >= m_nextMarkAt[ci])
                testCalls(c);
        }
        if constexpr (!Simulated) {
            if (!m_orderOnly)
                m_clock = static_cast<float>(static_cast<double>(m_clock) + m_clockStep);
        }
    };
    for (int c = h; c < static_cast<int>(N); ++c)
        move(c);
    for (int c = 0; c < h; ++c)
        move(c);

    heldOver = held;
    if (m_placed < static_cast<int>(N))
        return true;
    m_day.result.complete = true;
    m_ended = true;
    if (!Simulated && m_observer)
        m_observer->raceEnded();
    return false;
}

bool RaceModel::runUntilPlaced(int places) {
    if (m_seeded && m_orderOnly && m_observer == nullptr) {
        SeededRandom rnd = *m_seeded;
        HeldPositions held = heldPositions();
        bool more = !m_ended;
        while (m_placed < places && (more = stepWith<SeededRandom, true>(rnd, held))) {
        }
        *m_seeded = rnd;
        return more;
    }
    bool more = !m_ended;
    while (m_placed < places && (more = step())) {
    }
    return more;
}

void RaceModel::runToEnd() {
    if (!m_started)
        start();
    while (step()) {
    }
}

int RaceModel::laneDecision(int e, int step, bool laneChangeAllowed, int path, int skill) {
    const auto ei = static_cast<std::size_t>(e);
    const int L = m_lane[ei];
    bool free = true;
    bool haveGap = false;
    int gap = 0;
    auto check = [&](int t) { return free = laneFree(e, t, step, skill); };
    auto computeGap = [&]() {
        gap = m_position[static_cast<std::size_t>(m_blocker)] - (m_position[ei] + BodyLength) - 1;
        haveGap = true;
    };
    auto moveTo = [&](int t) { setLane(e, t); };

    if (!laneChangeAllowed)
        return stepInLane(e, step, skill);
    if (L == 0) {
        if (path == 2) {
            if (check(1))
                moveTo(1);
            else if (!check(0))
                computeGap();
        } else if (!check(0)) {
            computeGap();
            if (check(1))
                moveTo(1);
        }
    } else if (L <= 4) {
        if (path == 1 && L >= 2) {
            if (!check(L)) {
                computeGap();
                if (check(L + 1))
                    moveTo(L + 1);
                else if (check(L - 1))
                    moveTo(L - 1);
            }
        } else if (path == 1) {
            if (check(2))
                moveTo(2);
            else if (!check(1))
                computeGap();
        } else if (path == 2) {
            if (check(L + 1))
                moveTo(L + 1);
            else if (!check(L)) {
                computeGap();
                if (check(L - 1))
                    moveTo(L - 1);
            }
        } else {
            // Path 0, and any unknown path from a hand-edited stable, seeks the rail.
            if (check(L - 1))
                moveTo(L - 1);
            else if (!check(L)) {
                computeGap();
                if (check(L + 1))
                    moveTo(L + 1);
            }
        }
    } else if (path != 2) {
        if (check(L - 1))
            moveTo(L - 1);
        else if (!check(L))
            computeGap();
    } else if (L == 5) {
        if (!check(5)) {
            if (check(4))
                moveTo(4);
            else
                computeGap();
        }
    } else {
        if (check(L - 1))
            moveTo(L - 1);
        else if (!check(L)) {
            if (check(L + 1))
                moveTo(L + 1);
            else
                computeGap();
        }
    }
    if (free)
        return step;
    return haveGap ? gap : 0;
}

int RaceModel::stepInOwnLane(std::size_t e, int step, const HeldPositions& held) {
    // Alone in its lane an entry is never blocked: the usual case, decided without a scan.
    if (m_mates[e] == 0)
        return step;
    const int64_t n = int64_t{m_position[e]} + step;
    if (clearOf(inTheWayOf(m_mates[e], n, m_wayLimit[e], held), n))
        return step;
    return m_position[static_cast<std::size_t>(m_blocker)] - (m_position[e] + BodyLength) - 1;
}

int RaceModel::stepInLane(int e, int step, int skill) {
    if (laneFree(e, m_lane[static_cast<std::size_t>(e)], step, skill))
        return step;
    return m_position[static_cast<std::size_t>(m_blocker)] -
           (m_position[static_cast<std::size_t>(e)] + BodyLength) - 1;
}

bool RaceModel::laneFree(int e, int targetLane, int step, int skill) {
    // Beyond the widest lane there is no room to move to.
    if (targetLane < 0 || targetLane > MaxLane)
        return false;
    return clearAhead(e, targetLane, step, reachOf(skill));
}

unsigned RaceModel::inTheWayOf(unsigned entries, int64_t n, int reach) const {
    return inTheWayOf(entries, n, wayLimitOf(reach), heldPositions());
}

unsigned RaceModel::inTheWayOf(unsigned entries, int64_t n, const std::array<int32_t, 4>& wayLimit,
                               [[maybe_unused]] const HeldPositions& held) const {
    // An entry from a body behind n (alongside) to the reach ahead of it (blocking) is in the way:
    // one test covers both. Positions stay far inside 32 bits, so differences taken modulo 2^32
    // are the true ones.
    const uint32_t base = static_cast<uint32_t>(BodyLength) - static_cast<uint32_t>(n);
#if defined(__SSE2__)
    // The whole field at once costs less than picking the lane-mates out one by one; the bound
    // comes ready to load, which a move's check would otherwise build from the reach each time.
    const __m128i shiftedBase = _mm_set1_epi32(static_cast<int32_t>(base + 0x8000'0000u));
    const __m128i shiftedLimit = _mm_loadu_si128(reinterpret_cast<const __m128i*>(wayLimit.data()));
    const auto clearOf = [&](__m128i four) {
        const __m128i shifted = _mm_add_epi32(four, shiftedBase);
        return static_cast<unsigned>(
            _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpgt_epi32(shifted, shiftedLimit))));
    };
    const unsigned clear = clearOf(held.low) | clearOf(held.high) << 4;
    return entries & ~clear;
#else
    const uint32_t limit = static_cast<uint32_t>(wayLimit[0]) - 0x8000'0000u;
    unsigned inTheWay = 0;
    for (; entries != 0; entries &= entries - 1) {
        const int j = std::countr_zero(entries);
        if (static_cast<uint32_t>(m_position[static_cast<std::size_t>(j)]) + base <= limit)
            inTheWay |= 1u << j;
    }
    return inTheWay;
#endif
}

bool RaceModel::clearAhead(int e, int targetLane, int step, int reach) {
    const int64_t n = static_cast<int64_t>(m_position[static_cast<std::size_t>(e)]) + step;
    return clearOf(inTheWayOf(m_laneMembers[static_cast<std::size_t>(targetLane)] & ~(1u << e), n, reach), n);
}

bool RaceModel::clearOf(unsigned inTheWay, int64_t n) {
    if (inTheWay == 0)
        return true;
    // The lowest-numbered entry ahead blocks; failing that, the lowest-numbered alongside.
    int overlapping = -1;
    for (; inTheWay != 0; inTheWay &= inTheWay - 1) {
        const int j = std::countr_zero(inTheWay);
        if (m_position[static_cast<std::size_t>(j)] > n) {
            m_blocker = j;
            return false;
        }
        if (overlapping < 0)
            overlapping = j;
    }
    // Stop behind the entry alongside, not behind whoever blocked some earlier move.
    m_blocker = overlapping;
    return false;
}

void RaceModel::placeEntry(int e, int32_t position, int lane) {
    if (e < 0 || e >= static_cast<int>(N))
        return;
    const auto ei = static_cast<std::size_t>(e);
    m_position[ei] = position;
    m_turnZoneSpan[ei] = 0;
    m_plainSpan[ei] = 0;
    setLane(e, std::clamp(lane, 0, MaxLane));
    setLeg(e);
}

int RaceModel::rating(int e) const {
    return m_phaseRating[static_cast<std::size_t>(e)];
}

void RaceModel::takePhaseRatings() {
    for (std::size_t e = 0; e < N; ++e) {
        const int r = m_rating[e][static_cast<std::size_t>(m_phase)];
        m_phaseRating[e] = r;
        // |r100 - r| < band: the draws from r - band + 1 to r + band - 1 that lie within 0..99.
        const int64_t lo = std::max<int64_t>(0, int64_t{r} - m_band[e] + 1);
        const int64_t hi = std::min<int64_t>(99, int64_t{r} + m_band[e] - 1);
        if (lo > hi) {
            m_bandFrom[e] = 0;
            m_bandSpan[e] = 0;
        } else {
            m_bandFrom[e] = HundredthFrom[static_cast<std::size_t>(lo)];
            m_bandSpan[e] = HundredthFrom[static_cast<std::size_t>(hi + 1)] - m_bandFrom[e];
        }
    }
}

int RaceModel::turnPenalised(int e, int step) const {
    const auto ei = static_cast<std::size_t>(e);
    const int32_t p = m_position[ei];
    const int lane = std::min(m_lane[ei], 4);
    // Each turn's range in one unsigned comparison, and no branch between the two.
    const auto within = [p](const std::array<int32_t, 2>& turn) {
        return static_cast<int>(static_cast<uint64_t>(static_cast<int64_t>(p) - turn[0]) <=
                                static_cast<uint64_t>(static_cast<int64_t>(turn[1]) - turn[0]));
    };
    if (lane == 0 || (within(m_turnOne) | within(m_turnTwo)) == 0)
        return step;
    return floorOf(step * TurnFactor[static_cast<std::size_t>(lane)]);
}

void RaceModel::setLeg(int e) {
    const auto ei = static_cast<std::size_t>(e);
    // Int(Position / LegLength), kept to the legs the drawing knows: an entry pushed back behind
    // the start stays on leg 0, one galloping on past the third straight on leg 3.
    const int32_t p = m_position[ei];
    m_leg[ei] = static_cast<int>(p >= m_legStart[0]) + static_cast<int>(p >= m_legStart[1]) +
                static_cast<int>(p >= m_legStart[2]);
}

void RaceModel::setLane(int e, int lane) {
    const auto ei = static_cast<std::size_t>(e);
    m_laneMembers[static_cast<std::size_t>(m_lane[ei])] &= static_cast<uint16_t>(~(1u << e));
    m_lane[ei] = lane;
    m_laneMembers[static_cast<std::size_t>(lane)] |= static_cast<uint16_t>(1u << e);
    for (std::size_t j = 0; j < N; ++j)
        m_mates[j] = m_laneMembers[static_cast<std::size_t>(m_lane[j])] & static_cast<uint16_t>(~(1u << j));
    takeTurnToll(ei);
}

void RaceModel::enterTurnZone(std::size_t e) {
    // The positions between two neighbouring turn ends are all in a turn or all out of one, so a
    // move only works this out again when it leaves the stretch it was in.
    const int64_t p = m_position[e];
    const std::array<int64_t, 4> ends = {m_turnOne[0], int64_t{m_turnOne[1]} + 1, m_turnTwo[0],
                                         int64_t{m_turnTwo[1]} + 1};
    int64_t from = std::numeric_limits<int32_t>::min();
    int64_t to = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    for (const int64_t end : ends) {
        if (end <= p)
            from = std::max(from, end);
        else
            to = std::min(to, end);
    }
    const auto within = [p](const std::array<int32_t, 2>& turn) { return turn[0] <= p && p <= turn[1]; };
    m_turnZoneFrom[e] = from;
    m_turnZoneSpan[e] = static_cast<uint64_t>(to - from);
    m_inTurn[e] = within(m_turnOne) || within(m_turnTwo);
    takeTurnToll(e);
}

void RaceModel::takeTurnToll(std::size_t e) {
    m_turnToll[e] = m_inTurn[e] && !m_finished[e] ? static_cast<uint8_t>(std::min(m_lane[e], 4)) : 0;
    m_plainSpan[e] = m_turnToll[e] == 0 && m_passes <= StallPasses ? m_turnZoneSpan[e] : 0;
}

void RaceModel::movedOnLeg(int e, int step) {
    // The leg and the direction are only worked out for someone watching: a simulated race has no
    // observer.
    if (m_observer) {
        setLeg(e);
        moved(e, legDirection(m_leg[static_cast<std::size_t>(e)]) * step);
    }
}

void RaceModel::moved(int e, int dx) {
    if (m_observer)
        m_observer->entryMoved(e, dx, m_leg[static_cast<std::size_t>(e)]);
}

void RaceModel::laneSet(int e) {
    const auto ei = static_cast<std::size_t>(e);
    if (m_observer)
        m_observer->laneSet(e, m_leg[ei], m_lane[ei]);
}

int RaceModel::scaledStep(int step) const {
    return m_trackWidth == DesignTrackWidth ? step : static_cast<int>(roundHalfEven(step * m_trackScale));
}

void RaceModel::testCalls(int c) {
    RaceResult& result = m_day.result;
    const auto ci = static_cast<std::size_t>(c);
    // Marks lie in order along the track, so an entry passes them in order: only the next one
    // can be due.
    uint8_t& next = m_nextMark[ci];
    while (next < 3 && m_position[ci] >= m_marks[next]) {
        const std::size_t m = next++;
        m_nextMarkAt[ci] = next < 3 ? m_marks[next] : std::numeric_limits<int32_t>::max();
        const int count = ++m_passedCount[m];
        uint8_t& callPos = m == 0   ? result.quarterPos[ci]
                           : m == 1 ? result.halfPos[ci]
                                    : result.threeQuarterPos[ci];
        callPos = static_cast<uint8_t>(count);
        if (m > 0) {
            std::string& lengths = m == 1 ? result.halfLengths[ci] : result.threeQuarterLengths[ci];
            if (count == 1) {
                lengths = "- ";
                m_leaderClock[m] = m_clock;
            } else {
                lengths = marginText(m_clock - m_leaderClock[m]);
            }
        }
        if (count == 1) {
            result.fractionTimes[m] = timeText(static_cast<double>(m_clock) / 1000.0);
            if (m_observer)
                m_observer->fractionTime(static_cast<int>(m), result.fractionTimes[m]);
        }
        if (m_observer)
            m_observer->callPassed(static_cast<int>(m), c, count);
        if (m == 2 && count == static_cast<int>(N) && m_observer)
            m_observer->finishLineShown();
    }
}

void RaceModel::finish(std::size_t e) {
    // Past the line for good: no call, no finish and no turn toll is due again.
    m_finished[e] = true;
    m_finishAt[e] = std::numeric_limits<int32_t>::max();
    m_nextMarkAt[e] = std::numeric_limits<int32_t>::max();
    takeTurnToll(e);
}

void RaceModel::placeFinisher(int c) {
    RaceResult& result = m_day.result;
    const auto f = static_cast<std::size_t>(m_placed);
    if (m_orderOnly) {
        result.finishOrder[f] = static_cast<uint8_t>(c + 1);
        finish(static_cast<std::size_t>(c));
        ++m_placed;
        return;
    }
    result.finishTime[f] = hundredths(static_cast<double>(m_clock) / 1000.0);
    result.finishOrder[f] = static_cast<uint8_t>(c + 1);
    finish(static_cast<std::size_t>(c));
    if (f == 0) {
        result.finishLengths[0] = "- ";
        m_winnerClock = m_clock;
    } else {
        result.finishLengths[f] = marginText(m_clock - m_winnerClock);
        // Only a close second to fifth calls for the photo; the tail of the field does not.
        const float gapSeconds = result.finishTime[f] - result.finishTime[f - 1];
        if (f <= 4 && static_cast<double>(gapSeconds) <= 0.444 && !result.photoFinish) {
            result.photoFinish = true;
            if (m_observer)
                m_observer->photoFinishRaised();
        }
    }
    ++m_placed;
    if (m_observer)
        m_observer->entryPlaced(c, m_placed);
}

} // namespace sw
