#include "RaceRecorder.h"

namespace sw {

using Kind = RaceRecording::Kind;

void RaceRecorder::takeStart() {
    if (!m_recording.hasStart())
        m_recording.setStart(m_scene.view());
}

void RaceRecorder::passEnded() {
    if (m_ended)
        return;
    takeStart();
    m_recording.endPass();
}

void RaceRecorder::raceStarted() {
    m_recording.clear();
    m_ended = false;
    m_leg.fill(0);
    m_laneKnown.fill(false);
    m_recording.add(Kind::RaceStarted);
    m_scene.raceStarted();
}

void RaceRecorder::entryMoved(int e, int dx, int leg) {
    takeStart();
    if (isEntry(e)) {
        m_recording.add(Kind::Moved, e, leg, dx);
        m_leg[static_cast<std::size_t>(e)] = leg;
    }
    m_scene.entryMoved(e, dx, leg);
}

void RaceRecorder::laneSet(int e, int leg, int lane) {
    takeStart();
    if (isEntry(e)) {
        const auto i = static_cast<std::size_t>(e);
        // Telling the scene the same leg and lane again moves nothing.
        const bool same = m_laneKnown[i] && m_laneLeg[i] == leg && m_lane[i] == lane && m_leg[i] == leg;
        if (!same)
            m_recording.add(Kind::LaneSet, e, leg, lane);
        m_laneKnown[i] = true;
        m_laneLeg[i] = leg;
        m_lane[i] = lane;
        m_leg[i] = leg;
    }
    m_scene.laneSet(e, leg, lane);
}

void RaceRecorder::phaseChanged(int phase) {
    takeStart();
    m_recording.add(Kind::Phase, 0, 0, phase);
    m_scene.phaseChanged(phase);
}

void RaceRecorder::gallop() {
    takeStart();
    m_recording.add(Kind::Gallop);
    m_scene.gallop();
}

void RaceRecorder::callPassed(int mark, int e, int count) {
    takeStart();
    if (isEntry(e) && mark >= 0 && mark <= 2)
        m_recording.add(Kind::Call, e, 0, count * 4 + mark);
    m_scene.callPassed(mark, e, count);
}

void RaceRecorder::fractionTime(int mark, std::string_view text) {
    takeStart();
    if (mark >= 0 && mark <= 2)
        m_recording.addFraction(mark, text);
    m_scene.fractionTime(mark, text);
}

void RaceRecorder::finishLineShown() {
    takeStart();
    m_recording.add(Kind::FinishLine);
    m_scene.finishLineShown();
}

void RaceRecorder::callHidden() {
    takeStart();
    m_recording.add(Kind::CallHidden);
    m_scene.callHidden();
}

void RaceRecorder::entryPlaced(int e, int place) {
    takeStart();
    if (isEntry(e))
        m_recording.add(Kind::Placed, e, 0, place);
    m_scene.entryPlaced(e, place);
}

void RaceRecorder::photoFinishRaised() {
    takeStart();
    m_recording.add(Kind::Photo);
    m_scene.photoFinishRaised();
}

void RaceRecorder::raceEnded() {
    takeStart();
    m_recording.add(Kind::Ended);
    // The race ends inside its last pass; close that pass so a replay draws it.
    m_recording.endPass();
    m_ended = true;
    m_scene.raceEnded();
}

} // namespace sw
