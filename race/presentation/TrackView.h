#pragma once

#include "TrackLayout.h"
#include "core/Translate.h"

#include <array>
#include <cstdint>
#include <string>

namespace sw {

// The four drawings of a horse: A and B face right, C and D face left, in two strides each.
enum class GallopFrame : uint8_t { A, B, C, D };

// True for the two drawings that face right.
constexpr bool facesRight(GallopFrame frame) {
    return frame == GallopFrame::A || frame == GallopFrame::B;
}

// One horse picture on the track frame; Left and Top in twips.
struct HorsePicture {
    int left = TrackLayout::StartLeft;
    int top = 0;
    bool visible = false;
    GallopFrame frame = GallopFrame::A;

    bool operator==(const HorsePicture&) const = default;
};

struct CallLabel {
    std::string text = N_("Break");
    int left = 0;
    bool visible = false;

    bool operator==(const CallLabel&) const = default;
};

// The close-up of the line taken the instant a finish was close enough for the photo: every
// racing horse as it stood and how far its nose was past the line (negative: short of it).
struct PhotoStill {
    bool visible = false;
    std::array<HorsePicture, 8> horses{};
    std::array<int, 8> noseFromLine{};

    bool operator==(const PhotoStill&) const = default;
};

// Everything the track frame shows at one moment; a painter needs nothing else.
struct TrackView {
    static constexpr int PictureCount = 16;
    static constexpr int FirstParadePicture = 8;

    int trackWidth = DesignTrackWidth;
    // 0..7 the racing horses by entry, 8..15 the parade horses (index - 8 = entry).
    std::array<HorsePicture, PictureCount> pictures{};
    CallLabel call;
    // The times at the quarter, the half and the three quarters.
    std::array<std::string, 3> fractionTimes;
    bool finishLineVisible = false;
    int finishLabelLeft = TrackLayout::FinishLabelLeft;
    int finishLineX = TrackLayout::FinishLineX;
    bool photoVisible = false;
    // Stays up after the race while the judges study it; the next parade or race takes it away.
    PhotoStill photoStill;
    bool turnCaptionsVisible = false;
    // Across the track while a race is shown again ("Replay of race 3"); empty otherwise.
    std::string caption;
    int phase = 0;

    bool operator==(const TrackView&) const = default;
};

} // namespace sw
