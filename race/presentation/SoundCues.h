#pragma once

#include "TrackScene.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace sw {

// The race's sounds, in the order a race day hears them.
enum class Sound : uint8_t { Bugle, Bell, Gates, Hooves, Crowd, Photo };
inline constexpr int SoundCount = 6;

// The file each sound is kept in ("bugle.wav" ...).
std::string_view soundFile(Sound sound);

struct SoundCue {
    Sound sound = Sound::Bugle;
    // Milliseconds since the field went to the gate (or since a replay began).
    int64_t ms = 0;

    bool operator==(const SoundCue&) const = default;
};

// Decides which sound is due when, from what the track shows: the call to the post as the field
// goes to the gate, the bell and the gates as it opens, the field's hoofbeats at its pace, the
// crowd as the leader turns for home and the photo's sound when one is called for. Whoever steps
// the track tells it the time after every step and plays what take() hands over.
class SoundCues {
public:
    // A race or replay begins on `scene`: a field at the gate gets the call to the post.
    void begin(const TrackScene& scene, int64_t ms = 0);
    // The scene as it stands `ms` after the beginning.
    void update(const TrackScene& scene, int64_t ms);
    // The cues fired since the last take, oldest first.
    std::vector<SoundCue> take();
    // Every cue since the beginning.
    const std::vector<SoundCue>& cues() const { return m_all; }

private:
    void fire(Sound sound, int64_t ms);

    std::vector<SoundCue> m_all;
    std::size_t m_taken = 0;
    bool m_running = false;
    bool m_gateOpen = false;
    bool m_crowd = false;
    bool m_photo = false;
    std::array<double, TrackScene::RacingPictures> m_shown{};
    int64_t m_lastMs = 0;
    int64_t m_nextStrideMs = 0;
    double m_pace = 0;
};

} // namespace sw
