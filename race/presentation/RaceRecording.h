#pragma once

#include "TrackView.h"
#include "race/RaceObserver.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sw {

// The notifications of one race, pass by pass, with what the track showed when the first pass
// began, so the race can be drawn again without running it. One 32-bit word per notification
// (about a quarter of a megabyte for a whole race); a value too wide for its word takes a second.
class RaceRecording {
public:
    enum class Kind : uint8_t {
        RaceStarted,
        Moved,
        LaneSet,
        Phase,
        Gallop,
        Call,
        Fraction,
        FinishLine,
        CallHidden,
        Placed,
        Photo,
        Ended,
        PassEnd,
    };

    // Forgets everything recorded.
    void clear();
    bool empty() const { return m_words.empty(); }

    // What the track showed as the first pass began; a replay starts from it.
    void setStart(const TrackView& view);
    bool hasStart() const { return m_hasStart; }
    const TrackView& start() const { return m_start; }

    // Adds one notification; `entry` 0..7, `leg` 0..15 (clamped), `value` any 32-bit number.
    void add(Kind kind, int entry = 0, int leg = 0, int32_t value = 0);
    // Adds a fraction time (its text is kept beside the words).
    void addFraction(int mark, std::string_view text);
    // Closes the current pass.
    void endPass() { add(Kind::PassEnd); }

    // Passes recorded (each ended by endPass).
    int passCount() const { return m_passes; }
    std::size_t wordCount() const { return m_words.size(); }

    // Tells `to` the notifications of the pass that begins at word `at`; returns where the next
    // pass begins (the end when none is left).
    std::size_t playPass(std::size_t at, RaceObserver& to) const;

    // The pass during which the horse finishing place + 1 (0 = the winner) was placed, or -1.
    int passOfPlacing(int place) const;
    // How many placings were recorded.
    int placedCount() const;

private:
    TrackView m_start;
    bool m_hasStart = false;
    std::vector<uint32_t> m_words;
    std::vector<std::string> m_texts;
    int m_passes = 0;
};

} // namespace sw
