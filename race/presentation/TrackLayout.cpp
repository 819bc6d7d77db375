#include "TrackLayout.h"

#include "core/Format.h"

#include <cmath>

namespace sw {

int TrackLayout::scaled(int designTwips, double trackScale) {
    return static_cast<int>(roundHalfEven(designTwips * trackScale));
}

TwipsRect TrackLayout::horseFootprint(int left, int top, bool facingRight, double aspect) {
    // The painter fits the drawing to the picture's box on the smaller side.
    const double tall = aspect > 0 ? aspect : 1.0;
    const int width = static_cast<int>(std::ceil(HorseDrawScale * PictureWidth * std::min(1.0, tall)));
    const int height =
        static_cast<int>(std::ceil(HorseDrawScale * PictureHeight * std::min(1.0, 1.0 / tall)));
    // Facing right the nose reaches past the picture and the body stretches back from it; facing
    // left the horse starts at the picture's Left.
    const int x = facingRight ? left + PictureWidth + NoseOverhang - width : left;
    const int y = top + PictureHeight - height - NumberRoom;
    return {x, y, width, height + NumberRoom};
}

TwipsRect TrackLayout::finishSign(double trackScale) {
    const int width = scaled(FinishSignWidth, trackScale);
    return {scaled(FinishLineX, trackScale) - width / 2, SignTop, width, SignHeight};
}

TwipsRect TrackLayout::photoSign(double trackScale) {
    const TwipsRect finish = finishSign(trackScale);
    const int width = scaled(PhotoSignWidth, trackScale);
    return {finish.left - scaled(SignGap, trackScale) - width, SignTop, width, SignHeight};
}

TwipsRect TrackLayout::photoStill(double trackScale, bool raceOver) {
    if (raceOver) {
        const int left = scaled(DesignTrackWidth / 8, trackScale);
        return {left, FarRailY + 200, scaled(DesignTrackWidth, trackScale) - 2 * left,
                NearRailY - FarRailY - 400};
    }
    return {scaled(PhotoStillLeft, trackScale), PhotoStillTop, scaled(PhotoStillWidth, trackScale),
            PhotoStillHeight};
}

} // namespace sw
