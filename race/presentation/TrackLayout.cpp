#include "TrackLayout.h"

#include "core/Format.h"

namespace sw {

int TrackLayout::scaled(int designTwips, double trackScale) {
    return static_cast<int>(roundHalfEven(designTwips * trackScale));
}

} // namespace sw
