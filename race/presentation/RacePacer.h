#pragma once

#include "core/Durations.h"

#include <cstdint>

namespace sw {

// Turns wall-clock time into race passes: one pass is due every 5 ms, as the race paced itself
// with a wait after every pass. A window's timer asks on each tick how many passes to run and
// repaints once. A stall (a dragged window, a busy machine) is not caught up in one burst: the
// race goes on from where it was, as a race that waited would.
class RacePacer {
public:
    static constexpr int PassMs = RacePassMs;
    // The most passes one tick may run; anything beyond is time the race lost.
    static constexpr int MaxBurst = 24;

    explicit RacePacer(int maxBurst = MaxBurst);

    // Runs passes [fromPass, toPass) `factor` times slower (a replay's finish); factor 1 undoes it.
    void setSlowMotion(int fromPass, int toPass, int factor);

    // Passes to run now, `elapsedMs` after the race began; counts them as run. Never negative.
    int due(int64_t elapsedMs);
    int passesRun() const { return m_passes; }
    // Back to the first pass.
    void reset();

    // How many passes are due `ms` after the start, with no time lost.
    int64_t passesAt(int64_t ms) const;
    // When pass count `passes` is reached, with no time lost.
    int64_t timeOf(int64_t passes) const;

private:
    int m_maxBurst;
    int m_slowFrom = 0;
    int m_slowTo = 0;
    int m_slowFactor = 1;
    int m_passes = 0;
    int64_t m_lostMs = 0;
};

} // namespace sw
