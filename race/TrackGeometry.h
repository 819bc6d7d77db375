#pragma once

namespace sw {

// The track as the race runs on it, which the drawn track follows.

// The track picture's width in twips at which every distance of the race was designed; any other
// width scales the race's horizontal places by width / DesignTrackWidth.
inline constexpr int DesignTrackWidth = 11355;

// Horizontal direction of an entry's picture on leg 0..3: +1 right, -1 left, 0 standing still
// (past the third straight, and for any other leg).
constexpr int legDirection(int leg) {
    switch (leg) {
    case 0:
    case 2:
        return 1;
    case 1:
        return -1;
    default:
        return 0;
    }
}

} // namespace sw
