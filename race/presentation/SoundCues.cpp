#include "SoundCues.h"

#include "core/Durations.h"

#include <algorithm>

namespace sw {

std::string_view soundFile(Sound sound) {
    switch (sound) {
    case Sound::Bugle:
        return "bugle.wav";
    case Sound::Bell:
        return "bell.wav";
    case Sound::Gates:
        return "gates.wav";
    case Sound::Hooves:
        return "hooves.wav";
    case Sound::Crowd:
        return "crowd.wav";
    case Sound::Photo:
        return "photo.wav";
    }
    return {};
}

void SoundCues::fire(Sound sound, int64_t ms) {
    m_all.push_back({sound, ms});
}

void SoundCues::begin(const TrackScene& scene, int64_t ms) {
    m_all.clear();
    m_taken = 0;
    m_running = true;
    m_gateOpen = false;
    m_crowd = false;
    m_photo = scene.view().photoVisible;
    m_lastMs = ms;
    m_nextStrideMs = ms;
    m_pace = 0;
    for (int e = 0; e < TrackScene::RacingPictures; ++e)
        m_shown[static_cast<std::size_t>(e)] = scene.distanceShown(e);
    if (!scene.gateDone())
        fire(Sound::Bugle, ms);
}

void SoundCues::update(const TrackScene& scene, int64_t ms) {
    if (!m_running)
        return;
    const TrackView& view = scene.view();
    bool showing = false;
    for (int e = 0; e < TrackScene::RacingPictures; ++e)
        showing = showing || view.pictures[static_cast<std::size_t>(e)].visible;
    if (!m_gateOpen && scene.gateDone() && showing) {
        m_gateOpen = true;
        fire(Sound::Bell, ms);
        fire(Sound::Gates, ms);
        m_nextStrideMs = ms;
    }
    // The field's pace: how far its runners are shown to have gone since the last look, on
    // average, in design-track twips a second.
    double moved = 0;
    double leader = 0;
    for (int e = 0; e < TrackScene::RacingPictures; ++e) {
        const auto ei = static_cast<std::size_t>(e);
        const double shown = scene.distanceShown(e);
        moved += shown - m_shown[ei];
        m_shown[ei] = shown;
        leader = std::max(leader, scene.distanceRun(e));
    }
    const int64_t elapsed = ms - m_lastMs;
    m_lastMs = ms;
    if (!showing) {
        // The race is over (or the replay stopped): nothing more to hear.
        m_running = false;
        return;
    }
    if (m_gateOpen && elapsed > 0) {
        const double pace =
            moved / TrackScene::RacingPictures / scene.trackScale() * 1000.0 / static_cast<double>(elapsed);
        if (pace >= HoofQuietTwipsPerSecond && ms >= m_nextStrideMs) {
            fire(Sound::Hooves, ms);
            const double stride = HoofStrideMs * HoofPaceTwipsPerSecond / pace;
            m_nextStrideMs = ms + std::max<int64_t>(HoofStrideShortestMs, static_cast<int64_t>(stride));
        }
    }
    // The home straight begins where the second turn ends.
    const TrackOval& oval = scene.oval();
    if (!m_crowd && leader >= 2.0 * oval.legLength() + oval.turnHalf()) {
        m_crowd = true;
        fire(Sound::Crowd, ms);
    }
    if (!m_photo && view.photoVisible) {
        m_photo = true;
        fire(Sound::Photo, ms);
    }
}

std::vector<SoundCue> SoundCues::take() {
    std::vector<SoundCue> due(m_all.begin() + static_cast<std::ptrdiff_t>(m_taken), m_all.end());
    m_taken = m_all.size();
    return due;
}

} // namespace sw
