#pragma once

#include "TrackView.h"

namespace sw {

// The post parade between races: eight horses walking a loop of eight slots on two rows. In
// steps 1..8 one horse after another turns at the right end and walks back along the upper row;
// in steps 9..15 they turn again at the left end; step 0 has them all on the lower row.
struct PostParade {
    // Where `horse` (0..7) stands in `step` (taken modulo 16): Left, Top and frame, visible.
    static HorsePicture place(int step, int horse, double trackScale = 1.0);
    // The step after `step`, wrapping from 15 to 0.
    static int next(int step);
};

} // namespace sw
