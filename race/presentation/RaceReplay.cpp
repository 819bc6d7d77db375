#include "RaceReplay.h"

#include <algorithm>

namespace sw {

RaceReplay::RaceReplay(const RaceRecording& recording, TrackScene& scene, int finishSlowdown, int raceNumber,
                       RaceObserver* alsoTold)
    : m_recording(recording), m_scene(scene), m_alsoTold(alsoTold), m_raceNumber(raceNumber) {
    const int placed = recording.placedCount();
    if (finishSlowdown > 1 && placed > 0) {
        m_slowFrom = std::max(recording.passOfPlacing(0) - SlowLead, 0);
        const int lastWatched = std::min(placed, 5) - 1;
        m_slowTo = std::min(recording.passOfPlacing(lastWatched) + SlowTail, recording.passCount());
        m_slowTo = std::max(m_slowTo, m_slowFrom);
        m_pacer.setSlowMotion(m_slowFrom, m_slowTo, finishSlowdown);
    }
    rewind();
}

void RaceReplay::rewind() {
    if (m_recording.hasStart())
        m_scene.restore(m_recording.start());
    if (m_raceNumber > 0)
        m_scene.showReplayOf(m_raceNumber);
    m_at = 0;
    m_passes = 0;
    m_pacer.reset();
}

bool RaceReplay::stepPass() {
    if (finished())
        return false;
    const std::size_t next = m_recording.playPass(m_at, m_scene);
    if (m_alsoTold)
        m_recording.playPass(m_at, *m_alsoTold);
    m_at = next;
    ++m_passes;
    return true;
}

bool RaceReplay::play(int64_t elapsedMs) {
    for (int n = m_pacer.due(elapsedMs); n > 0 && stepPass(); --n) {
    }
    return !finished();
}

} // namespace sw
