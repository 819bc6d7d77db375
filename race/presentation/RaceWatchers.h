#pragma once

#include "race/RaceObserver.h"

#include <initializer_list>
#include <vector>

namespace sw {

// Tells several watchers of one race each notification, in the order they were given; a null
// watcher is left out.
class RaceWatchers final : public RaceObserver {
public:
    RaceWatchers(std::initializer_list<RaceObserver*> watchers) {
        for (RaceObserver* w : watchers)
            if (w)
                m_watchers.push_back(w);
    }

    void raceStarted() override {
        for (RaceObserver* w : m_watchers)
            w->raceStarted();
    }
    void entryMoved(int e, int dx, int leg) override {
        for (RaceObserver* w : m_watchers)
            w->entryMoved(e, dx, leg);
    }
    void laneSet(int e, int leg, int lane) override {
        for (RaceObserver* w : m_watchers)
            w->laneSet(e, leg, lane);
    }
    void phaseChanged(int phase) override {
        for (RaceObserver* w : m_watchers)
            w->phaseChanged(phase);
    }
    void gallop() override {
        for (RaceObserver* w : m_watchers)
            w->gallop();
    }
    void callPassed(int mark, int e, int count) override {
        for (RaceObserver* w : m_watchers)
            w->callPassed(mark, e, count);
    }
    void fractionTime(int mark, std::string_view text) override {
        for (RaceObserver* w : m_watchers)
            w->fractionTime(mark, text);
    }
    void finishLineShown() override {
        for (RaceObserver* w : m_watchers)
            w->finishLineShown();
    }
    void callHidden() override {
        for (RaceObserver* w : m_watchers)
            w->callHidden();
    }
    void entryPlaced(int e, int place) override {
        for (RaceObserver* w : m_watchers)
            w->entryPlaced(e, place);
    }
    void photoFinishRaised() override {
        for (RaceObserver* w : m_watchers)
            w->photoFinishRaised();
    }
    void raceEnded() override {
        for (RaceObserver* w : m_watchers)
            w->raceEnded();
    }

private:
    std::vector<RaceObserver*> m_watchers;
};

} // namespace sw
