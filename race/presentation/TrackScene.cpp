#include "TrackScene.h"

#include "PostParade.h"
#include "core/Random.h"
#include "core/Translate.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace sw {

TrackScene::TrackScene(int trackWidth) {
    // Before the first parade tick the horses wait in the order of step 0, out of sight.
    setTrackWidth(trackWidth);
    for (int i = TrackView::FirstParadePicture; i < TrackView::PictureCount; ++i)
        m_view.pictures[static_cast<std::size_t>(i)].visible = false;
}

const HorsePicture& TrackScene::picture(int index) const {
    return m_view.pictures[static_cast<std::size_t>(std::clamp(index, 0, TrackView::PictureCount - 1))];
}

void TrackScene::setTrackWidth(int trackWidth) {
    m_view.trackWidth = std::max(trackWidth, 1);
    m_scale = static_cast<double>(m_view.trackWidth) / DesignTrackWidth;
    m_view.finishLabelLeft = TrackLayout::scaled(TrackLayout::FinishLabelLeft, m_scale);
    m_view.finishLineX = TrackLayout::scaled(TrackLayout::FinishLineX, m_scale);
    m_oval = TrackOval(m_view.trackWidth);
    showParadeStep(m_shownParadeStep);
}

void TrackScene::startParade() {
    // A parade is for a race not yet run: the board waits for its times.
    m_view.fractionTimes = {};
    m_view.caption.clear();
    m_paradeRunning = true;
    m_view.photoStill = {};
    for (int i = TrackView::FirstParadePicture; i < TrackView::PictureCount; ++i)
        m_view.pictures[static_cast<std::size_t>(i)].visible = true;
}

void TrackScene::stopParade() {
    m_paradeRunning = false;
}

void TrackScene::paradeTick() {
    showParadeStep(m_paradeStep);
    m_paradeStep = PostParade::next(m_paradeStep);
}

void TrackScene::showParadeStep(int step) {
    m_shownParadeStep = step;
    for (int h = 0; h < RacingPictures; ++h) {
        HorsePicture& p = m_view.pictures[static_cast<std::size_t>(TrackView::FirstParadePicture + h)];
        const bool visible = p.visible;
        p = PostParade::place(step, h, m_scale);
        p.visible = visible;
    }
}

void TrackScene::beginRace(Random& rnd, int trackWidth) {
    std::array<GallopFrame, RacingPictures> frames{};
    for (auto& f : frames)
        f = static_cast<int>(std::floor(rnd.uniform() * 10)) % 2 != 0 ? GallopFrame::B : GallopFrame::A;
    beginRace(frames, trackWidth);
}

void TrackScene::beginRace(const std::array<GallopFrame, RacingPictures>& frames, int trackWidth) {
    setTrackWidth(trackWidth);
    stopParade();
    for (int i = 0; i < RacingPictures; ++i) {
        HorsePicture& p = racer(i);
        p.frame = frames[static_cast<std::size_t>(i)];
        p.left = TrackLayout::StartLeft;
        p.top = TrackLayout::laneTop(0, i);
        p.visible = false;
        m_view.pictures[static_cast<std::size_t>(TrackView::FirstParadePicture + i)].visible = false;
    }
    m_view.finishLineVisible = false;
    m_view.photoVisible = false;
    m_view.photoStill = {};
    m_view.turnCaptionsVisible = true;
    m_view.call.visible = false;
    m_view.fractionTimes = {};
    m_view.caption.clear();
    m_view.phase = 0;
    resetRaceBookkeeping();
    m_gateWaits = 0;
    advanceGate(0);
}

void TrackScene::advanceGate(int waits) {
    m_gateWaits = std::clamp(m_gateWaits + std::max(waits, 0), 0, gateLength());
    for (int i = 0; i < RacingPictures; ++i)
        if (i * TrackLayout::GateWaitsPerHorse <= m_gateWaits)
            racer(i).visible = true;
}

void TrackScene::restore(const TrackView& view) {
    m_view = view;
    m_view.trackWidth = std::max(view.trackWidth, 1);
    m_scale = static_cast<double>(m_view.trackWidth) / DesignTrackWidth;
    m_oval = TrackOval(m_view.trackWidth);
    resetRaceBookkeeping();
    m_gateWaits = gateLength();
}

std::string_view TrackScene::callText(int mark) {
    switch (mark) {
    case 0:
        return N_("\u00BC Mile");
    case 1:
        return N_("\u00BD Mile");
    case 2:
        return N_("\u00BE Mile");
    default:
        return {};
    }
}

void TrackScene::showReplayOf(int raceNumber) {
    m_view.caption = fillIn(_("Replay of race {0}"), raceNumber);
}

void TrackScene::resetRaceBookkeeping() {
    m_distance.fill(0);
    m_stopRoom.fill(-1);
    m_shownPast.fill(0);
    m_placedCount = 0;
    m_lead = {};
    for (int e = 0; e < RacingPictures; ++e)
        m_lane[static_cast<std::size_t>(e)] = e;
    m_fractionShown.fill(false);
}

double TrackScene::distanceShown(int e) const {
    if (!isEntry(e))
        return 0;
    const auto ei = static_cast<std::size_t>(e);
    return m_stopRoom[ei] >= 0 ? m_oval.finishLine() + m_shownPast[ei] : m_oval.shownDistance(m_distance[ei]);
}

bool TrackScene::lanesMeet(int laneA, int laneB) const {
    const auto rows = [&](int lane) {
        return TrackLayout::horseFootprint(0, TrackLayout::laneTop(2, lane), true, m_aspect);
    };
    const TwipsRect a = rows(laneA);
    const TwipsRect b = rows(laneB);
    return a.top < b.bottom() && b.top < a.bottom();
}

double TrackScene::pullUpShown(int e) {
    const auto ei = static_cast<std::size_t>(e);
    double shown = m_oval.shownDistance(m_distance[ei], m_stopRoom[ei]) - m_oval.finishLine();
    // Behind a horse that beat it, a finisher keeps the lead that horse has gained on it so far,
    // up to the room between their stops: the two only ever draw apart.
    for (int k = 0; k < m_placedCount && m_placedOrder[static_cast<std::size_t>(k)] != e; ++k) {
        const auto ji = static_cast<std::size_t>(m_placedOrder[static_cast<std::size_t>(k)]);
        if (lanesMeet(m_lane[ji], m_lane[ei]))
            shown = std::min(shown, m_shownPast[ji] - m_lead[ji][ei]);
    }
    // Whatever lead is gained, on either side's move, is kept.
    bool before = true;
    for (int k = 0; k < m_placedCount; ++k) {
        const int j = m_placedOrder[static_cast<std::size_t>(k)];
        const auto ji = static_cast<std::size_t>(j);
        if (j == e) {
            before = false;
            continue;
        }
        if (!lanesMeet(m_lane[ji], m_lane[ei]))
            continue;
        const std::size_t first = before ? ji : ei;
        const std::size_t later = before ? ei : ji;
        const double firstShown = before ? m_shownPast[ji] : shown;
        const double laterShown = before ? shown : m_shownPast[ji];
        m_lead[first][later] = std::max(
            m_lead[first][later], std::min(firstShown - laterShown, m_stopRoom[first] - m_stopRoom[later]));
    }
    return shown;
}

void TrackScene::placeRacer(int e) {
    const auto ei = static_cast<std::size_t>(e);
    const bool placed = m_stopRoom[ei] >= 0;
    if (placed)
        m_shownPast[ei] = pullUpShown(e);
    const OvalPlace at =
        placed ? m_oval.pullUpPlace(m_shownPast[ei], m_lane[ei]) : m_oval.place(m_distance[ei], m_lane[ei]);
    HorsePicture& p = racer(e);
    p.left = static_cast<int>(std::lround(at.left));
    p.top = static_cast<int>(std::lround(at.top));
    // Turning round keeps the stride: A and C are the same stride facing each way, as are B and D.
    if (at.facingRight != facesRight(p.frame)) {
        const bool first = p.frame == GallopFrame::A || p.frame == GallopFrame::C;
        p.frame = at.facingRight ? (first ? GallopFrame::A : GallopFrame::B)
                                 : (first ? GallopFrame::C : GallopFrame::D);
    }
}

void TrackScene::raceStarted() {
    resetRaceBookkeeping();
}

void TrackScene::entryMoved(int e, int dx, int leg) {
    if (!isEntry(e))
        return;
    // The race signs the move by the leg's direction (the finishing move comes as a move right on
    // the third straight), so unsigning it gives the distance run.
    m_distance[static_cast<std::size_t>(e)] += static_cast<double>(dx) * legDirection(leg);
    placeRacer(e);
}

void TrackScene::laneSet(int e, int /*leg*/, int lane) {
    // A finisher pulls up in the lane it finished in.
    if (!isEntry(e) || m_stopRoom[static_cast<std::size_t>(e)] >= 0)
        return;
    m_lane[static_cast<std::size_t>(e)] = lane;
    placeRacer(e);
}

void TrackScene::phaseChanged(int phase) {
    m_view.phase = phase;
}

void TrackScene::gallop() {
    for (int e = 0; e < RacingPictures; ++e) {
        HorsePicture& p = racer(e);
        if (!facesRight(p.frame))
            p.frame = p.frame == GallopFrame::C ? GallopFrame::D : GallopFrame::C;
        else
            p.frame = p.frame == GallopFrame::A ? GallopFrame::B : GallopFrame::A;
    }
}

void TrackScene::callPassed(int mark, int e, int /*count*/) {
    if (!isEntry(e) || callText(mark).empty())
        return;
    m_view.call.text = std::string(callText(mark));
    m_view.call.left = racer(e).left;
    m_view.call.visible = true;
}

void TrackScene::fractionTime(int mark, std::string_view text) {
    if (mark < 0 || mark > 2)
        return;
    const auto m = static_cast<std::size_t>(mark);
    if (m_fractionShown[m])
        return;
    m_fractionShown[m] = true;
    m_view.fractionTimes[m] = std::string(text);
}

void TrackScene::finishLineShown() {
    m_view.finishLineVisible = true;
}

void TrackScene::callHidden() {
    m_view.call.visible = false;
}

double TrackScene::chooseStop(int e) const {
    const auto ei = static_cast<std::size_t>(e);
    // Finishers stop spaced by their order, a drawn horse and a little apart wherever their lanes
    // are close enough to meet; the winner runs on furthest.
    const double spacing =
        TrackLayout::horseFootprint(0, 0, true, m_aspect).width + TrackLayout::PictureWidth / 20.0;
    double room = m_oval.pullUpRoom(m_lane[ei]);
    for (int k = 0; k < m_placedCount; ++k) {
        const auto ji = static_cast<std::size_t>(m_placedOrder[static_cast<std::size_t>(k)]);
        if (lanesMeet(m_lane[ji], m_lane[ei]))
            room = std::min(room, m_stopRoom[ji] - spacing);
    }
    return std::max(room, 0.0);
}

void TrackScene::entryPlaced(int e, int /*place*/) {
    m_view.call.visible = false;
    if (!isEntry(e) || m_stopRoom[static_cast<std::size_t>(e)] >= 0)
        return;
    m_stopRoom[static_cast<std::size_t>(e)] = chooseStop(e);
    m_placedOrder[static_cast<std::size_t>(m_placedCount++)] = e;
    placeRacer(e);
}

void TrackScene::photoFinishRaised() {
    m_view.photoVisible = true;
    // The camera takes the line as it is now: the horse calling for the photo has just reached it.
    PhotoStill& still = m_view.photoStill;
    still.visible = true;
    for (int e = 0; e < RacingPictures; ++e) {
        const auto ei = static_cast<std::size_t>(e);
        still.horses[ei] = racer(e);
        const HorsePicture& p = still.horses[ei];
        const int nose =
            facesRight(p.frame) ? p.left + TrackLayout::PictureWidth + TrackLayout::NoseOverhang : p.left;
        still.noseFromLine[ei] = nose - m_view.finishLineX;
    }
}

void TrackScene::raceEnded() {
    m_view.photoVisible = false;
    m_view.finishLineVisible = false;
    m_view.turnCaptionsVisible = false;
    m_view.call.visible = false;
    m_view.caption.clear();
    for (int e = 0; e < RacingPictures; ++e)
        racer(e).visible = false;
}

} // namespace sw
