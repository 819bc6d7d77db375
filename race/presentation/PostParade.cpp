#include "PostParade.h"

namespace sw {

namespace {

int wrapped(int step) {
    const int s = step % TrackLayout::ParadeSteps;
    return s < 0 ? s + TrackLayout::ParadeSteps : s;
}

HorsePicture at(int slot, bool upper, double trackScale) {
    HorsePicture p;
    p.left = TrackLayout::scaled(TrackLayout::ParadeFirstSlotLeft - TrackLayout::ParadeSlotSpacing * slot,
                                 trackScale);
    p.top = upper ? TrackLayout::ParadeUpperTop : TrackLayout::ParadeLowerTop;
    p.frame = upper ? GallopFrame::C : GallopFrame::A;
    p.visible = true;
    return p;
}

} // namespace

HorsePicture PostParade::place(int step, int horse, double trackScale) {
    const int s = wrapped(step);
    const int last = TrackLayout::ParadeSlots - 1;
    if (s <= last + 1) {
        // Horses 0..s-1 have turned up at the right end, one a step; the rest walk right below.
        if (horse < s)
            return at(s - 1 - horse, true, trackScale);
        return at(horse - s, false, trackScale);
    }
    // Steps 9..15: horses 0..s-9 have come down at the left end; the rest still walk left above.
    const int down = s - (last + 2); // index of the horse turning down this step
    if (horse <= down)
        return at(last - (down - horse), false, trackScale);
    return at(last - horse + (s - (last + 1)), true, trackScale);
}

int PostParade::next(int step) {
    return wrapped(step + 1);
}

} // namespace sw
