#pragma once

#include "race/TrackGeometry.h"

namespace sw {

// Where things sit on the track frame, in twips. Horizontal places given for the design width
// scale with the track scale (the race's DesignTrackWidth is scale 1); vertical places are fixed.
struct TrackLayout {
    // A horse picture; its width is what the last stride of each straight leaves of the frame.
    static constexpr int PictureWidth = 700;
    static constexpr int PictureHeight = 480;
    static constexpr int StartLeft = 0;
    // A right-facing horse's nose reaches this far past its picture, so at the design width the
    // winner's nose meets the finish line (9100) as it is placed (Left 8300 + 700 + 100).
    static constexpr int NoseOverhang = 100;
    static constexpr int LaneSpacing = 330;

    // The painted frame reaches above Top 0, so a runner pushed to lane 8 on the far straight
    // stays in view and the fractions have a band of their own beyond the far rail.
    static constexpr int FrameTop = -650;
    static constexpr int FrameBottom = 6250;
    static constexpr int FarRailY = 0;
    static constexpr int InnerRailFarY = 2830;
    static constexpr int InnerRailNearY = 3330;
    static constexpr int NearRailY = 6110;

    static constexpr int ParadeSlots = 8;
    static constexpr int ParadeSteps = 16;
    static constexpr int ParadeFirstSlotLeft = 7500;
    static constexpr int ParadeSlotSpacing = 630;
    static constexpr int ParadeLowerTop = 2400;
    static constexpr int ParadeUpperTop = 1800;

    static constexpr int FinishLabelLeft = 9000;
    static constexpr int FinishLineX = 9100;

    // Each horse appears this many pacing waits after the one before it.
    static constexpr int GateWaitsPerHorse = 81;

    // Vertical place of a picture: the near straight (legs 0 and 2) grows down from 2900, the far
    // straight (leg 1) grows up from 2310, a runner past the third straight sits at 0. Lanes past
    // 7 continue the same spacing.
    static constexpr int laneTop(int leg, int lane) {
        switch (leg) {
        case 0:
        case 2:
            return 2900 + LaneSpacing * lane;
        case 1:
            return 2310 - LaneSpacing * lane;
        default:
            return 0;
        }
    }

    // A design-width horizontal place at the given scale, rounded half to even.
    static int scaled(int designTwips, double trackScale);
};

} // namespace sw
