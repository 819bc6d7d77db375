#pragma once

#include <string_view>

namespace sw {

// What the race tells whoever draws it. Every call has a do-nothing default, so a headless
// run passes no observer at all.
class RaceObserver {
public:
    virtual ~RaceObserver() = default;
    virtual void raceStarted() {}
    // Entry e moved by a signed horizontal amount on leg `leg` (the leg after the move): the step
    // times legDirection(leg), so a picture just adds dx to its Left. The finishing move is always
    // to the right. `leg` stays within 0..3.
    virtual void entryMoved(int /*e*/, int /*dx*/, int /*leg*/) {}
    // After every lane decision: the entry's leg and lane (0..8; lane 8 only for a boxed-in wide runner).
    virtual void laneSet(int /*e*/, int /*leg*/, int /*lane*/) {}
    virtual void phaseChanged(int /*phase*/) {}
    // A pass whose tick is divisible by 8: every picture changes its gallop frame once.
    virtual void gallop() {}
    // Entry e is the count-th to pass mark 0 (quarter), 1 (half) or 2 (three quarters).
    virtual void callPassed(int /*mark*/, int /*e*/, int /*count*/) {}
    virtual void fractionTime(int /*mark*/, std::string_view /*text*/) {}
    virtual void finishLineShown() {}
    virtual void callHidden() {}
    // Entry e crossed the line and was placed; place counts from 1.
    virtual void entryPlaced(int /*e*/, int /*place*/) {}
    virtual void photoFinishRaised() {}
    virtual void raceEnded() {}
};

} // namespace sw
