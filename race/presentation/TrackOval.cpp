#include "TrackOval.h"

#include "TrackLayout.h"
#include "core/Format.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sw {

namespace {

// A turn takes this much distance either side of the end of a leg at the design width: enough
// that the widest lane's arc stays inside the frame.
constexpr double DesignTurnHalf = 1700;
// Across the frame a turn is this fraction of its height (the frame's twips are not square once
// scaled), which keeps the outer lanes' arcs within the frame's ends.
constexpr double TurnAspect = 0.6;

} // namespace

TrackOval::TrackOval(int trackWidth) {
    const int width = std::max(trackWidth, 1);
    m_scale = static_cast<double>(width) / DesignTrackWidth;
    // The race's own geometry, so the line and the ends of the legs fall where the race has them.
    m_legLength = std::max(static_cast<int>(roundHalfEven(10655 * m_scale)), 1);
    m_finishLine = static_cast<int>(roundHalfEven(8300 * m_scale + (width - 700) * 2.0));
    m_turnHalf = std::min(DesignTurnHalf * m_scale, m_legLength / 2.0);
    // Finished horses ease off into the first quarter of the first turn, never round it.
    m_pullUp = std::max(3.0 * m_legLength - m_turnHalf / 2 - m_finishLine, 1.0);
}

double TrackOval::centreTop() {
    return (TrackLayout::laneTop(0, 0) + TrackLayout::laneTop(1, 0)) / 2.0;
}

double TrackOval::radiusUpDown(double lane) {
    return (TrackLayout::laneTop(0, 0) - TrackLayout::laneTop(1, 0)) / 2.0 + TrackLayout::LaneSpacing * lane;
}

double TrackOval::radiusAcross(double lane) const {
    return TurnAspect * radiusUpDown(lane) * m_scale;
}

double TrackOval::shownDistance(double distance, double stopRoom) const {
    const double past = distance - m_finishLine;
    if (past <= 0)
        return distance;
    const double room = stopRoom < 0 ? m_pullUp : stopRoom;
    if (room <= 0)
        return m_finishLine;
    return m_finishLine + room * (1 - std::exp(-past / room));
}

OvalPlace TrackOval::place(double distance, double lane) const {
    return onOval(std::max(shownDistance(distance), 0.0), lane);
}

double TrackOval::pullUpRoom(double lane) const {
    // The outer rail round the first turn is a half ellipse about the turn's centre as drawn; a
    // picture's nose goes as far as the rail at the height of its hooves, less a little margin.
    const double rx = radiusAcross(8.6);
    const double ry = (TrackLayout::NearRailY - TrackLayout::FarRailY) / 2.0;
    const double cy = (TrackLayout::NearRailY + TrackLayout::FarRailY) / 2.0;
    const double hooves =
        TrackLayout::laneTop(2, 0) + TrackLayout::LaneSpacing * lane + TrackLayout::PictureHeight;
    const double dy = std::min(std::abs(hooves - cy) / ry, 1.0);
    const double railX = firstTurnLeft() + TrackLayout::HorseCentre + rx * std::sqrt(1 - dy * dy);
    const double lineNose = pullUpPlace(0, lane).left + TrackLayout::PictureWidth + TrackLayout::NoseOverhang;
    return std::max(railX - TrackLayout::NoseOverhang - lineNose, 0.0);
}

OvalPlace TrackOval::pullUpPlace(double past, double lane) const {
    const OvalPlace atLine = onOval(m_finishLine, lane);
    return {atLine.left + past, atLine.top, true};
}

OvalPlace TrackOval::onOval(double d, double lane) const {
    const double leg = m_legLength;
    const double a = m_turnHalf;
    const double nearTop = centreTop() + radiusUpDown(lane);
    const double farTop = centreTop() - radiusUpDown(lane);
    // Turns are run at the same pace in every lane (the race charges the wide runners for it), so
    // the angle follows the distance alone.
    auto angle = [&](double turnStart) { return std::numbers::pi * (d - turnStart) / (2 * a); };

    if (d < leg - a)
        return {d, nearTop, true};
    if (d < leg + a) {
        const double t = angle(leg - a);
        return {firstTurnLeft() + radiusAcross(lane) * std::sin(t),
                centreTop() + radiusUpDown(lane) * std::cos(t), t < std::numbers::pi / 2};
    }
    if (d < 2 * leg - a)
        return {2 * leg - d, farTop, false};
    if (d < 2 * leg + a) {
        const double t = angle(2 * leg - a);
        return {secondTurnLeft() - radiusAcross(lane) * std::sin(t),
                centreTop() - radiusUpDown(lane) * std::cos(t), t >= std::numbers::pi / 2};
    }
    // Round again: the third straight is the first one run from the end of the chute on.
    return onOval(d - 2 * leg, lane);
}

} // namespace sw
