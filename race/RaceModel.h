#pragma once

#include "core/Constants.h"
#include "core/RaceDay.h"
#include "race/RaceObserver.h"
#include "race/TrackGeometry.h"

#include <array>
#include <cstdint>

namespace sw {

// The length an entry occupies along its lane, in position units (never scaled).
inline constexpr int BodyLength = 630;
// The widest lane a runner can be pushed to.
inline constexpr int MaxLane = 8;

// How far ahead a jockey looks for traffic: skill 0 -> 945, 1 -> 787, anything else -> 630.
int reachOf(int skill);

// One race of the current card, stepped one pass at a time so a window can pace it with a timer
// and the text front end can run it straight through. Reads the per-entry tables, the favourite
// bands, the card and the jockeys of `day`; writes day.result.
class RaceModel {
public:
    RaceModel(RaceDay& day, RaceObserver* observer = nullptr, int trackWidth = DesignTrackWidth);

    // A race run only for its finishing order (the true chances run thousands): the clock, the
    // calls and the margins are left out of day.result. The order is the same either way, since
    // none of them moves a horse. Set before start().
    void keepOrderOnly(bool orderOnly) { m_orderOnly = orderOnly; }

    // Geometry, clock speed and a clean field at the gate; clears day.result.
    void start();
    // One pass of the race. False once all eight are placed (the race end is told once).
    bool step();
    // Steps until the last entry is placed.
    void runToEnd();
    // Steps until `places` entries are placed (or the race ends); false once it has ended. A
    // simulated race (order only, nobody watching, the seeded generator) runs this on a copy of
    // the generator held in registers, the millions of passes of the chances' hot loop.
    bool runUntilPlaced(int places);

    // The distance entry e may go for a move of `step`: the step when the lane it ends in is free,
    // else the gap behind the entry in the way. Changes the entry's lane only when allowed.
    int laneDecision(int e, int step, bool laneChangeAllowed, int path, int skill);
    // The move of an entry that keeps its lane: the step when the lane is free, else the gap
    // behind the entry in the way.
    int stepInLane(int e, int step, int skill);
    // Whether entry e could move `step` in lane `targetLane` without running into anyone.
    bool laneFree(int e, int targetLane, int step, int skill);

    // Puts an entry at a position and lane, for setting up a field by hand.
    void placeEntry(int e, int32_t position, int lane);

    int32_t position(int e) const { return m_position[static_cast<std::size_t>(e)]; }
    // The leg entry e was last told to the observer on; kept only while someone watches.
    int leg(int e) const { return m_leg[static_cast<std::size_t>(e)]; }
    int lane(int e) const { return m_lane[static_cast<std::size_t>(e)]; }
    bool finished(int e) const { return m_finished[static_cast<std::size_t>(e)]; }
    int phase() const { return m_phase; }
    int tick() const { return m_tick; }
    int passes() const { return m_passes; }
    int placedCount() const { return m_placed; }
    bool ended() const { return m_ended; }
    float raceClock() const { return m_clock; }
    float clockSpeed() const { return m_speedFactor; }
    // The entry the last blocked lane check stopped behind.
    int blocker() const { return m_blocker; }

    int trackWidth() const { return m_trackWidth; }
    double trackScale() const { return m_trackScale; }
    int32_t legLength() const { return m_legLength; }
    int32_t finishLine() const { return m_finishLine; }
    int32_t quarterMark() const { return m_marks[0]; }
    int32_t halfMark() const { return m_marks[1]; }
    int32_t threeQuarterMark() const { return m_marks[2]; }
    int32_t turnOneStart() const { return m_turnOne[0]; }
    int32_t turnOneEnd() const { return m_turnOne[1]; }
    int32_t turnTwoStart() const { return m_turnTwo[0]; }
    int32_t turnTwoEnd() const { return m_turnTwo[1]; }

    // Passes after which every unplaced entry moves at least one unit per move. A sound race
    // ends in about 6000 passes; only a corrupt rating can stall a field this long.
    static constexpr int StallPasses = 60000;

private:
    static constexpr std::size_t N = FieldSize;
    // Ratings outside this range only come from a hand-edited stable; clamping keeps every step,
    // and so every position, far inside 32 bits.
    static constexpr int MinRating = 0;
    static constexpr int MaxRating = 99;
    static constexpr int R10Count = 10;

    // The field's positions as a simulated race's lane checks read them, kept out of memory.
    struct HeldPositions;
    // Inlined into its callers so a simulated race keeps its generator and `held` in registers;
    // `held` is read and kept up to date only when Simulated.
    template <typename G, bool Simulated>
    [[gnu::always_inline]] inline bool stepWith(G& rnd, HeldPositions& held);
    HeldPositions heldPositions() const;
    int rating(int e) const;
    void takePhaseRatings();
    // Whether the move's draw of 0..99 falls within the entry's band of its rating.
    template <typename G> [[gnu::always_inline]] inline bool drawInBand(G& rnd, std::size_t e);
    int turnPenalised(int e, int step) const;
    int scaledStep(int step) const;
    void setLeg(int e);
    bool clearAhead(int e, int targetLane, int step, int reach);
    // Bit j set for each of `entries` in the way of a move ending at n.
    unsigned inTheWayOf(unsigned entries, int64_t n, int reach) const;
    // The same for a reach as wayLimitOf() gives it, against the positions `held`.
    [[gnu::always_inline]] inline unsigned inTheWayOf(unsigned entries, int64_t n,
                                                      const std::array<int32_t, 4>& wayLimit,
                                                      const HeldPositions& held) const;
    // Whether a move ending at n is clear of those `inTheWay`; else the one it stops behind is m_blocker.
    [[gnu::always_inline]] inline bool clearOf(unsigned inTheWay, int64_t n);
    [[gnu::always_inline]] inline int stepInOwnLane(std::size_t e, int step, const HeldPositions& held);
    void enterTurnZone(std::size_t e);
    void takeTurnToll(std::size_t e);
    void finish(std::size_t e);
    void setLane(int e, int lane);
    void moved(int e, int step);
    void movedOnLeg(int e, int step);
    void laneSet(int e);
    void testCalls(int c);
    void placeFinisher(int c);

    RaceDay& m_day;
    // The day's generator when it is the seeded one, else null.
    SeededRandom* m_seeded;
    RaceObserver* m_observer;

    int m_trackWidth;
    double m_trackScale = 1.0;
    int32_t m_legLength = 1;
    std::array<int32_t, 3> m_legStart{};
    int32_t m_finishLine = 0;
    std::array<int32_t, 3> m_marks{};
    std::array<int32_t, 2> m_turnOne{};
    std::array<int32_t, 2> m_turnTwo{};

    std::array<int32_t, N> m_position{};
    std::array<int, N> m_leg{};
    std::array<int, N> m_lane{};
    std::array<bool, N> m_finished{};
    // Where a move places entry e: the finish line, past any position once placed.
    std::array<int32_t, N> m_finishAt{};
    // The positions from m_turnZoneFrom on, m_turnZoneSpan of them, are all in a turn (m_inTurn) or
    // all out of one; a span of 0 has it worked out at the entry's next move.
    std::array<int64_t, N> m_turnZoneFrom{};
    std::array<uint64_t, N> m_turnZoneSpan{};
    std::array<bool, N> m_inTurn{};
    // The lane whose turn factor the entry's move pays now (in a turn, unplaced), 0 for none.
    std::array<uint8_t, N> m_turnToll{};
    // The zone's span while the entry's move needs no toll and no stall check, else 0.
    std::array<uint64_t, N> m_plainSpan{};
    std::array<uint8_t, N> m_nextMark{}; // the call each entry passes next: 0, 1, 2, or 3 when done
    // Where that call is, so the inner loop makes one comparison; past any position when none is due.
    std::array<int32_t, N> m_nextMarkAt{};
    // Bit e set when entry e runs in the lane, so a lane check looks only at its own runners.
    std::array<uint16_t, MaxLane + 1> m_laneMembers{};
    // The others in entry e's lane, a bit each.
    std::array<uint16_t, N> m_mates{};
    // Copied at the start so a hand-edited stable cannot reach outside the tables mid-race.
    std::array<std::array<int, 5>, N> m_rating{};
    std::array<int, N> m_path{};
    std::array<int, N> m_skill{};
    std::array<int, N> m_reach{};
    // Each entry's reach as its lane checks compare it, worked out once a race.
    alignas(16) std::array<std::array<int32_t, 4>, N> m_wayLimit{};
    std::array<int, N> m_band{};
    std::array<int, N> m_phaseRating{};
    // The band's draws as outputs of the seeded generator, top 53 bits: from, and how many.
    std::array<uint64_t, N> m_bandFrom{};
    std::array<uint64_t, N> m_bandSpan{};
    std::array<std::array<int, MaxRating + R10Count>, 2> m_innerStep{};

    float m_speedFactor = 1.0f;
    double m_clockStep = 0.0;
    float m_clock = 0.0f;
    float m_winnerClock = 0.0f;
    std::array<float, 3> m_leaderClock{};
    std::array<int, 3> m_passedCount{};
    int m_tick = 0;
    int m_phase = 0;
    int m_passes = 0;
    int m_placed = 0;
    int m_r10 = 0;
    int m_blocker = 0;
    bool m_started = false;
    bool m_ended = false;
    bool m_orderOnly = false;
};

} // namespace sw
