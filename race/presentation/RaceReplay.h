#pragma once

#include "RacePacer.h"
#include "RaceRecording.h"
#include "TrackScene.h"

#include <cstddef>
#include <cstdint>

namespace sw {

// Draws a recorded race again on a track scene, at the pace it was run or with its finish
// slowed down, without running the race. The recording must outlive the replay.
class RaceReplay {
public:
    // How much slower the finish runs when slowed down.
    static constexpr int FinishSlowdown = 4;
    // Slow motion begins this many passes before the winner reaches the line...
    static constexpr int SlowLead = 120;
    // ...and ends this many passes after the fifth horse (the last a photo can concern) does.
    static constexpr int SlowTail = 40;

    // Puts the scene at the start of the recorded race; `finishSlowdown` 1 plays at race speed.
    // Given the race's number, the track says it is a replay of that race until it ends. `alsoTold`
    // (may be null) hears the race again beside the scene.
    RaceReplay(const RaceRecording& recording, TrackScene& scene, int finishSlowdown = 1, int raceNumber = 0,
               RaceObserver* alsoTold = nullptr);

    // Back to the start of the race.
    void rewind();
    // Plays one recorded pass; false when none was left.
    bool stepPass();
    // Plays the passes due `elapsedMs` after the replay began; false once the whole race is shown.
    bool play(int64_t elapsedMs);

    int passesPlayed() const { return m_passes; }
    bool finished() const { return m_at >= m_recording.wordCount(); }
    // The passes [slowFrom, slowTo) that run slowed down; empty at race speed.
    int slowFrom() const { return m_slowFrom; }
    int slowTo() const { return m_slowTo; }

private:
    const RaceRecording& m_recording;
    TrackScene& m_scene;
    RaceObserver* m_alsoTold;
    RacePacer m_pacer;
    std::size_t m_at = 0;
    int m_passes = 0;
    int m_slowFrom = 0;
    int m_slowTo = 0;
    int m_raceNumber = 0;
};

} // namespace sw
