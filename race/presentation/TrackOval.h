#pragma once

namespace sw {

// Where a horse picture stands for a distance run and a lane.
struct OvalPlace {
    double left = 0;
    double top = 0;
    bool facingRight = true;
};

// The oval the race is drawn on, in the track frame's twips: the near straight (run right, the
// start in a chute at its left end), the first turn, the far straight (run left), the second
// turn, and the near straight again up to the finish. Horizontal sizes scale with the track; the
// vertical ones are fixed, as the lanes' places are. The race is told in distance run; this
// turns it into a place, so the field runs round the turns instead of jumping across the infield.
class TrackOval {
public:
    explicit TrackOval(int trackWidth);

    // The picture's place after `distance` run in `lane` (a fraction gives the rails: -0.15 the
    // inner rail, 8.6 the outer). A horse past the line that has not been placed yet eases off
    // short of the first turn.
    OvalPlace place(double distance, double lane) const;
    // The place for a distance as shown (past the line, eased off already).
    OvalPlace placeShown(double shown, double lane) const { return onOval(shown > 0 ? shown : 0, lane); }
    // The distance shown for a distance run: the same up to the finish line, then easing off to a
    // stop `stopRoom` past it (a negative room: short of the first turn).
    double shownDistance(double distance, double stopRoom = -1) const;

    // A finished horse pulls up straight on in its lane: the room it has past the line before its
    // nose would meet the first turn's outer rail.
    double pullUpRoom(double lane) const;
    // Where a finished horse in `lane` stands `past` the line as shown.
    OvalPlace pullUpPlace(double past, double lane) const;

    int legLength() const { return m_legLength; }
    int finishLine() const { return m_finishLine; }
    // Half the distance a turn takes, each side of the end of a leg.
    double turnHalf() const { return m_turnHalf; }
    // The lefts of the two turns' centres (first turn right, second left) and their common top.
    double firstTurnLeft() const { return m_legLength - m_turnHalf; }
    double secondTurnLeft() const { return m_turnHalf; }
    static double centreTop();
    // A lane's radii round a turn: across (scaling with the track) and up and down (fixed).
    double radiusAcross(double lane) const;
    static double radiusUpDown(double lane);
    // The room left for pulling up past the line.
    double pullUp() const { return m_pullUp; }

private:
    OvalPlace onOval(double distance, double lane) const;

    double m_scale = 1;
    int m_legLength = 1;
    int m_finishLine = 0;
    double m_turnHalf = 1;
    double m_pullUp = 1;
};

} // namespace sw
