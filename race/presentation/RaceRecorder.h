#pragma once

#include "RaceRecording.h"
#include "TrackScene.h"

#include <array>

namespace sw {

// Stands between the race and the track: passes every notification on to the scene and keeps
// it in a recording of the race. The one who steps the race calls passEnded() after each pass.
class RaceRecorder final : public RaceObserver {
public:
    explicit RaceRecorder(TrackScene& scene) : m_scene(scene) {}

    const RaceRecording& recording() const { return m_recording; }
    // Marks the end of one pass of the race; after the race's end there is nothing to mark.
    void passEnded();

    // Each notification is kept, then passed on to the scene; a race start begins a new recording.
    void raceStarted() override;
    void entryMoved(int e, int dx, int leg) override;
    void laneSet(int e, int leg, int lane) override;
    void phaseChanged(int phase) override;
    void gallop() override;
    void callPassed(int mark, int e, int count) override;
    void fractionTime(int mark, std::string_view text) override;
    void finishLineShown() override;
    void callHidden() override;
    void entryPlaced(int e, int place) override;
    void photoFinishRaised() override;
    void raceEnded() override;

private:
    static bool isEntry(int e) { return e >= 0 && e < TrackScene::RacingPictures; }
    // The track as it stands when the first pass begins, after the gate.
    void takeStart();

    TrackScene& m_scene;
    RaceRecording m_recording;
    // The last leg and lane told per entry, so a lane report that changes nothing is not kept.
    std::array<int, TrackScene::RacingPictures> m_leg{};
    std::array<int, TrackScene::RacingPictures> m_laneLeg{};
    std::array<int, TrackScene::RacingPictures> m_lane{};
    std::array<bool, TrackScene::RacingPictures> m_laneKnown{};
    bool m_ended = false;
};

} // namespace sw
