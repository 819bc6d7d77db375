#pragma once

#include <string_view>

namespace sw {

// What the race tells whoever draws it. Every call has a do-nothing default, so a headless
// run passes no observer at all.
class RaceObserver {
public:
    virtual ~RaceObserver() = default;
    virtual void raceStarted() {}
    // Entry e moved by a signed horizontal amount on leg `leg` (the finishing move is always to the right).
    virtual void entryMoved(int /*e*/, int /*dx*/, int /*leg*/) {}
    // After every lane decision: the entry's leg and lane.
    virtual void laneSet(int /*e*/, int /*leg*/, int /*lane*/) {}
    virtual void phaseChanged(int /*phase*/) {}
    // A pass whose tick is divisible by 8: every picture changes its gallop frame once.
    virtual void gallop() {}
    // Entry e is the count-th to pass mark 0 (quarter), 1 (half) or 2 (three quarters).
    virtual void callPassed(int /*mark*/, int /*e*/, int /*count*/) {}
    virtual void fractionTime(int /*mark*/, std::string_view /*text*/) {}
    virtual void finishLineShown() {}
    virtual void callHidden() {}
    virtual void entryPlaced(int /*e*/, int /*place*/) {}
    virtual void photoFinishRaised() {}
    virtual void raceEnded() {}
};

} // namespace sw
