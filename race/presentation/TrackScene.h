#pragma once

#include "TrackOval.h"
#include "TrackView.h"
#include "race/RaceObserver.h"

#include <array>
#include <string_view>

namespace sw {

class Random;

// What the track frame shows, kept up to date from the race's notifications, the post parade's
// steps and the starting gate. A window paints `view()`; nothing here knows about drawing.
class TrackScene final : public RaceObserver {
public:
    static constexpr int RacingPictures = 8;

    explicit TrackScene(int trackWidth = DesignTrackWidth);

    // Everything the frame shows now.
    const TrackView& view() const { return m_view; }
    // Picture 0..15 (an index outside is brought inside).
    const HorsePicture& picture(int index) const;
    // The frame's width in twips and its ratio to the design width.
    int trackWidth() const { return m_view.trackWidth; }
    double trackScale() const { return m_scale; }
    // Changes the frame's width between races; places given for the design width follow.
    void setTrackWidth(int trackWidth);

    // Starts the post parade with its pictures showing; the next tick draws the kept step.
    void startParade();
    // Stops the parade timer's steps; the horses stay where they stand.
    void stopParade();
    bool paradeRunning() const { return m_paradeRunning; }
    // One tick of the parade timer: draws the current step, then moves on (15 wraps to 0).
    void paradeTick();
    // Draws one step of the parade without touching the step counter.
    void showParadeStep(int step);
    // The step the next tick draws.
    int paradeStep() const { return m_paradeStep; }

    // Sets the field at the start: each horse's first stride picked by Int(Rnd * 10) odd -> B,
    // lanes 0..7 on the near straight, parade stopped and hidden, race labels reset. Horse 0 shows
    // at once; the rest appear through the gate sequence.
    void beginRace(Random& rnd, int trackWidth);
    // The same with the strides already chosen (a replay, a test).
    void beginRace(const std::array<GallopFrame, RacingPictures>& frames, int trackWidth);
    // Counts pacing waits of the gate sequence: horse i shows after i * 81 waits, 8 * 81 in all.
    void advanceGate(int waits);
    // True once every horse is showing and the last one has had its waits.
    bool gateDone() const { return m_gateWaits >= gateLength(); }
    int gateWaits() const { return m_gateWaits; }
    static constexpr int gateLength() { return RacingPictures * TrackLayout::GateWaitsPerHorse; }

    // Puts back a view taken at the start of a race, with the race's own bookkeeping fresh.
    void restore(const TrackView& view);

    // Says on the track which race is being shown again; the race's end (or the next start) takes it away.
    void showReplayOf(int raceNumber);
    // The distance entry e has run as the race told it (0 for no such entry).
    double distanceRun(int e) const { return isEntry(e) ? m_distance[static_cast<std::size_t>(e)] : 0; }
    // The distance entry e is shown to have run: past the line it eases off to its stop.
    double distanceShown(int e) const;
    // How far past the line a placed entry comes to a stop; -1 while it races (or no such entry).
    double stopRoom(int e) const { return isEntry(e) ? m_stopRoom[static_cast<std::size_t>(e)] : -1; }
    // How much taller than wide a twip of the frame is drawn (see TrackLayout::horseFootprint):
    // the finishers pull up spaced by the horses as they are drawn.
    void setDrawnAspect(double aspect) { m_aspect = aspect > 0 ? aspect : 1.0; }
    double drawnAspect() const { return m_aspect; }
    // The oval the racing pictures are placed on.
    const TrackOval& oval() const { return m_oval; }

    // The call label's text for mark 0, 1 or 2 ("¼ Mile" ...).
    static std::string_view callText(int mark);

    // The race's notifications (see RaceObserver); reports about no such entry are ignored.
    void raceStarted() override;
    void entryMoved(int e, int dx, int leg) override;
    void laneSet(int e, int leg, int lane) override;
    void phaseChanged(int phase) override;
    void gallop() override;
    void callPassed(int mark, int e, int count) override;
    void fractionTime(int mark, std::string_view text) override;
    void finishLineShown() override;
    void callHidden() override;
    void entryPlaced(int e, int place) override;
    void photoFinishRaised() override;
    void raceEnded() override;

private:
    static bool isEntry(int e) { return e >= 0 && e < RacingPictures; }
    HorsePicture& racer(int e) { return m_view.pictures[static_cast<std::size_t>(e)]; }
    void resetRaceBookkeeping();
    // Puts racing picture e where its distance and lane put it on the oval, facing its way.
    void placeRacer(int e);
    // Where a horse just placed stops: as far into the pull-up as its lane allows, a drawn horse
    // short of every horse that finished before it in a lane near enough for the two to meet.
    double chooseStop(int e) const;
    // Whether finishers in these lanes would be drawn over each other side by side.
    bool lanesMeet(int laneA, int laneB) const;
    // How far past the line placed entry e is shown now, from the distance it has run.
    double pullUpShown(int e);

    TrackView m_view;
    double m_scale = 1.0;
    TrackOval m_oval{DesignTrackWidth};
    // What the race has told of each entry: the distance run and the lane.
    std::array<double, RacingPictures> m_distance{};
    std::array<int, RacingPictures> m_lane{};
    std::array<double, RacingPictures> m_stopRoom{};
    // For placed entries: how far past the line each is shown, the order they were placed in, and
    // the least lead each keeps over a later finisher near its lane (m_lead[first][later]), which
    // only grows: a beaten horse never closes on one that beat it.
    std::array<double, RacingPictures> m_shownPast{};
    std::array<int, RacingPictures> m_placedOrder{};
    int m_placedCount = 0;
    std::array<std::array<double, RacingPictures>, RacingPictures> m_lead{};
    double m_aspect = 1.0;
    std::array<bool, 3> m_fractionShown{};
    int m_gateWaits = gateLength();
    int m_paradeStep = 0;
    int m_shownParadeStep = 0;
    bool m_paradeRunning = false;
};

} // namespace sw
