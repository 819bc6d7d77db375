#pragma once

#include "race/TrackGeometry.h"

namespace sw {

// A rectangle on the track frame, in twips.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width; }
    int bottom() const { return top + height; }
    // True when the two share some area; touching edges do not count.
    bool intersects(const TwipsRect& o) const {
        return left < o.right() && o.left < right() && top < o.bottom() && o.top < bottom();
    }
    bool operator==(const TwipsRect&) const = default;
};

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
    // A horse is drawn up to this much larger than its picture, hooves on the picture's bottom,
    // so a bunched field reads; its saddle number stands in this much room above it.
    static constexpr double HorseDrawScale = 1.5;
    static constexpr int NumberRoom = 420;
    // A horse's body centre lies about this far right of its picture's Left, whichever way it
    // faces; the turns are drawn round this point.
    static constexpr int HorseCentre = 400;

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
    // The signs stand beyond the far rail, above the finish line: at the finish the whole field is
    // on the near straight or pulling up in the first turn, so nothing runs there. The photo sign
    // stands to the finish sign's left.
    static constexpr int SignTop = FrameTop + 70;
    static constexpr int SignHeight = 520;
    static constexpr int FinishSignWidth = 1300;
    static constexpr int PhotoSignWidth = 2100;
    static constexpr int SignGap = 120;
    // The photo's close-up of the line hangs over the far straight, empty at the finish, short of
    // the heads of the runners on the near straight's rail.
    static constexpr int PhotoStillLeft = 4300;
    static constexpr int PhotoStillTop = 120;
    static constexpr int PhotoStillWidth = 5400;
    static constexpr int PhotoStillHeight = 2080;

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

    // Everything the horse of a picture at Left and Top may cover when drawn facing its way, its
    // saddle number included. The drawing keeps its proportions, so on a frame whose twips are
    // `aspect` times as tall as they are wide (1 at most both ways) it is narrower, or lower.
    static TwipsRect horseFootprint(int left, int top, bool facingRight, double aspect = 1.0);
    // The picture's own box: Left and Top, one picture wide and high.
    static TwipsRect pictureBox(int left, int top) { return {left, top, PictureWidth, PictureHeight}; }
    // The "Finish" and " Photo Finish" signs at a track scale.
    static TwipsRect finishSign(double trackScale);
    static TwipsRect photoSign(double trackScale);
    // Where the photo's close-up of the line is shown: over the far straight while the field is
    // on the track, over most of the frame once the race is over and the track is empty.
    static TwipsRect photoStill(double trackScale, bool raceOver);
};

} // namespace sw
