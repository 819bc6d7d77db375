#include "RacePacer.h"

#include <algorithm>

namespace sw {

RacePacer::RacePacer(int maxBurst) : m_maxBurst(std::max(maxBurst, 1)) {}

void RacePacer::setSlowMotion(int fromPass, int toPass, int factor) {
    m_slowFrom = std::max(fromPass, 0);
    m_slowTo = std::max(toPass, m_slowFrom);
    m_slowFactor = std::max(factor, 1);
}

void RacePacer::reset() {
    m_passes = 0;
    m_lostMs = 0;
}

int64_t RacePacer::passesAt(int64_t ms) const {
    if (ms < 0)
        return 0;
    const int64_t slowStart = int64_t{m_slowFrom} * PassMs;
    if (ms < slowStart)
        return ms / PassMs;
    const int64_t slowMs = int64_t{PassMs} * m_slowFactor;
    const int64_t slowLength = (int64_t{m_slowTo} - m_slowFrom) * slowMs;
    const int64_t inSlow = ms - slowStart;
    if (inSlow < slowLength)
        return m_slowFrom + inSlow / slowMs;
    return m_slowTo + (inSlow - slowLength) / PassMs;
}

int64_t RacePacer::timeOf(int64_t passes) const {
    if (passes <= 0)
        return 0;
    const int64_t before = std::min<int64_t>(passes, m_slowFrom);
    const int64_t slow = std::clamp<int64_t>(passes - m_slowFrom, 0, int64_t{m_slowTo} - m_slowFrom);
    const int64_t after = std::max<int64_t>(passes - m_slowTo, 0);
    return (before + after) * PassMs + slow * PassMs * m_slowFactor;
}

int RacePacer::due(int64_t elapsedMs) {
    const int64_t now = elapsedMs - m_lostMs;
    const int64_t behind = passesAt(now) - m_passes;
    if (behind <= 0)
        return 0;
    int run = static_cast<int>(std::min<int64_t>(behind, m_maxBurst));
    if (behind > m_maxBurst) {
        // Forget the backlog: after this burst the race is exactly on time again.
        m_lostMs += now - timeOf(int64_t{m_passes} + run);
    }
    m_passes += run;
    return run;
}

} // namespace sw
