#include "race/presentation/TrackScene.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace sw;

namespace {

constexpr GallopFrame A = GallopFrame::A;
constexpr GallopFrame B = GallopFrame::B;
constexpr GallopFrame C = GallopFrame::C;
constexpr GallopFrame D = GallopFrame::D;

// A scene with the field at the gate, all eight showing, first strides all A.
TrackScene sceneAtGate(int trackWidth = TrackLayout::DesignWidth) {
    TrackScene scene;
    std::array<GallopFrame, 8> frames{};
    frames.fill(A);
    scene.beginRace(frames, trackWidth);
    scene.advanceGate(TrackScene::gateLength());
    scene.raceStarted();
    return scene;
}

TEST(LaneTop, NearStraightsGrowDownFrom2900AndTheFarOneUpFrom2310) {
    const struct {
        int leg, lane, top;
    } cases[] = {{0, 0, 2900}, {0, 1, 3230}, {0, 7, 5210}, {2, 0, 2900}, {2, 5, 4550},
                 {0, 8, 5540}, {1, 0, 2310}, {1, 3, 1320}, {1, 7, 0},    {1, 8, -330}};
    for (const auto& c : cases)
        EXPECT_EQ(TrackLayout::laneTop(c.leg, c.lane), c.top) << "leg " << c.leg << " lane " << c.lane;
}

TEST(LegDirection, RightLeftRightThenStill) {
    EXPECT_EQ(TrackLayout::legDirection(0), 1);
    EXPECT_EQ(TrackLayout::legDirection(1), -1);
    EXPECT_EQ(TrackLayout::legDirection(2), 1);
    EXPECT_EQ(TrackLayout::legDirection(3), 0);
    EXPECT_EQ(TrackLayout::legDirection(7), 0);
    EXPECT_EQ(TrackLayout::legDirection(-1), 0);
}

TEST(RaceStart, OddDrawTakesTheSecondStride) {
    // Int(Rnd * 10): 0, 1, 9, 4, 5, 8, 3, 2 -> even A, odd B.
    test::ListRandom rnd({0.05, 0.15, 0.95, 0.45, 0.55, 0.85, 0.35, 0.25});
    TrackScene scene;
    scene.beginRace(rnd, TrackLayout::DesignWidth);
    EXPECT_EQ(rnd.drawsTaken(), 8u);
    const GallopFrame expected[] = {A, B, B, A, B, A, B, A};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(scene.picture(i).frame, expected[i]) << "horse " << i;
}

TEST(RaceStart, FieldLinesUpInLanesOfTheFirstLegAndParadeLeaves) {
    TrackScene scene;
    scene.startParade();
    scene.paradeTick();
    test::ListRandom rnd({0.0});
    scene.beginRace(rnd, TrackLayout::DesignWidth);
    EXPECT_FALSE(scene.paradeRunning());
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(scene.picture(i).top, TrackLayout::laneTop(0, i));
        EXPECT_EQ(scene.picture(i).left, TrackLayout::StartLeft);
        EXPECT_FALSE(scene.picture(8 + i).visible);
    }
    EXPECT_TRUE(scene.view().turnCaptionsVisible);
    EXPECT_FALSE(scene.view().finishLineVisible);
    EXPECT_FALSE(scene.view().photoVisible);
}

TEST(RaceStart, LabelsOfTheLastRaceAreCleared) {
    TrackScene scene = sceneAtGate();
    scene.finishLineShown();
    scene.photoFinishRaised();
    scene.callPassed(0, 0, 1);
    std::array<GallopFrame, 8> frames{};
    scene.beginRace(frames, TrackLayout::DesignWidth);
    EXPECT_FALSE(scene.view().finishLineVisible);
    EXPECT_FALSE(scene.view().photoVisible);
    EXPECT_FALSE(scene.view().call.visible);
}

TEST(Gate, HorsesAppearEightyOneWaitsApart) {
    TrackScene scene;
    std::array<GallopFrame, 8> frames{};
    scene.beginRace(frames, TrackLayout::DesignWidth);
    auto shown = [&] {
        int n = 0;
        for (int i = 0; i < 8; ++i)
            n += scene.picture(i).visible ? 1 : 0;
        return n;
    };
    EXPECT_EQ(shown(), 1);
    EXPECT_TRUE(scene.picture(0).visible);
    scene.advanceGate(80);
    EXPECT_EQ(shown(), 1);
    scene.advanceGate(1);
    EXPECT_EQ(shown(), 2);
    EXPECT_TRUE(scene.picture(1).visible);
    scene.advanceGate(7 * 81 - 81 - 1);
    EXPECT_EQ(shown(), 7);
    EXPECT_FALSE(scene.gateDone());
    scene.advanceGate(1);
    EXPECT_EQ(shown(), 8);
    EXPECT_FALSE(scene.gateDone()) << "the last horse still gets its 81 waits";
    scene.advanceGate(80);
    EXPECT_FALSE(scene.gateDone());
    scene.advanceGate(1);
    EXPECT_TRUE(scene.gateDone());
    EXPECT_EQ(scene.gateWaits(), 8 * 81);
    scene.advanceGate(500);
    EXPECT_EQ(scene.gateWaits(), 8 * 81);
}

TEST(Moves, RunTheDistanceRoundTheOvalInTheLaneLastTold) {
    // The race signs each move by its leg; the picture goes by the distance run, so the move that
    // ends the first straight carries on round the turn rather than across the infield.
    TrackScene scene = sceneAtGate();
    const TrackOval& oval = scene.oval();
    const struct {
        bool laneReport; // else a move
        int amount;      // the move's dx or the lane reported
        int leg;
        double distance; // then the distance run, the lane and the stride shown
        int lane;
        GallopFrame frame;
    } steps[] = {
        {false, 14, 0, 14, 3, A},      {false, 9, 0, 23, 3, A},       {false, -10600, 1, 10623, 3, A},
        {false, -40, 1, 10663, 3, C},  {true, 5, 1, 10663, 5, C},     {false, -4000, 1, 14663, 5, C},
        {false, 9000, 2, 23663, 5, A}, {false, 6000, 2, 29663, 5, A}, {false, 0, 3, 29663, 5, A},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.distance);
        if (step.laneReport)
            scene.laneSet(3, step.leg, step.amount);
        else
            scene.entryMoved(3, step.amount, step.leg);
        const OvalPlace at = oval.place(step.distance, step.lane);
        EXPECT_EQ(scene.picture(3).left, std::lround(at.left));
        EXPECT_EQ(scene.picture(3).top, std::lround(at.top));
        EXPECT_EQ(scene.picture(3).frame, step.frame);
    }
    EXPECT_EQ(scene.picture(2).left, 0);
}

TEST(Moves, ReportsAboutNoSuchEntryChangeNothing) {
    TrackScene scene = sceneAtGate();
    const TrackView before = scene.view();
    scene.entryMoved(8, 100, 0);
    scene.entryMoved(-1, 100, 0);
    scene.laneSet(9, 1, 3);
    scene.callPassed(0, 12, 1);
    scene.callPassed(5, 0, 1);
    scene.fractionTime(3, "0:99.99");
    EXPECT_EQ(scene.view(), before);
}

TEST(Gallop, NearStraightsAlternateBetweenTheRightFacingStrides) {
    TrackScene scene = sceneAtGate();
    scene.laneSet(0, 2, 0);
    scene.gallop();
    EXPECT_EQ(scene.picture(0).frame, B);
    EXPECT_EQ(scene.picture(1).frame, B);
    scene.gallop();
    EXPECT_EQ(scene.picture(0).frame, A);
    EXPECT_EQ(scene.picture(1).frame, A);
}

TEST(Gallop, LeftFacingHorsesAlternateBetweenTheLeftFacingStrides) {
    TrackScene scene = sceneAtGate();
    scene.entryMoved(4, -15000, 1);
    EXPECT_EQ(scene.picture(4).frame, C) << "turning round keeps the stride";
    scene.gallop();
    EXPECT_EQ(scene.picture(4).frame, D);
    scene.gallop();
    EXPECT_EQ(scene.picture(4).frame, C);
    EXPECT_EQ(scene.picture(3).frame, A);
}

TEST(Gallop, ParadeHorsesDoNotGallop) {
    TrackScene scene = sceneAtGate();
    const HorsePicture parade = scene.picture(9);
    scene.gallop();
    EXPECT_EQ(scene.picture(9), parade);
}

TEST(Call, FollowsTheHorseThatPassesAMark) {
    TrackScene scene = sceneAtGate();
    EXPECT_FALSE(scene.view().call.visible);
    scene.entryMoved(2, 5964, 0);
    scene.callPassed(0, 2, 1);
    EXPECT_TRUE(scene.view().call.visible);
    EXPECT_EQ(scene.view().call.text, "\u00BC Mile");
    EXPECT_EQ(scene.view().call.left, 5964);
    scene.entryMoved(6, 5900, 0);
    scene.callPassed(0, 6, 2);
    EXPECT_EQ(scene.view().call.left, 5900);
    scene.callPassed(1, 2, 1);
    EXPECT_EQ(scene.view().call.text, "\u00BD Mile");
    scene.callPassed(2, 2, 1);
    EXPECT_EQ(scene.view().call.text, "\u00BE Mile");
}

TEST(Call, HiddenWhenAHorseFinishesAndShownAgainByATrailingHorse) {
    TrackScene scene = sceneAtGate();
    scene.callPassed(2, 0, 7);
    scene.callHidden();
    scene.entryPlaced(0, 0);
    EXPECT_FALSE(scene.view().call.visible);
    scene.entryMoved(7, 1234, 0);
    scene.callPassed(2, 7, 8);
    EXPECT_TRUE(scene.view().call.visible);
    EXPECT_EQ(scene.view().call.left, 1234);
    scene.entryPlaced(5, 1);
    EXPECT_FALSE(scene.view().call.visible) << "a placing alone hides the call too";
}

TEST(Fractions, EachMarkIsWrittenOncePerRace) {
    TrackScene scene = sceneAtGate();
    scene.fractionTime(0, "0:24.31");
    scene.fractionTime(0, "0:25.00");
    scene.fractionTime(2, "1:12.05");
    EXPECT_EQ(scene.view().fractionTimes[0], "0:24.31");
    EXPECT_EQ(scene.view().fractionTimes[1], "");
    EXPECT_EQ(scene.view().fractionTimes[2], "1:12.05");

    // The board is empty from the next parade and the next start on, until the next race writes it.
    scene.raceEnded();
    EXPECT_EQ(scene.view().fractionTimes[0], "0:24.31") << "the finished race's times stay until the parade";
    TrackScene parade = scene;
    parade.startParade();
    std::array<GallopFrame, 8> frames{};
    scene.beginRace(frames, TrackLayout::DesignWidth);
    for (const TrackScene* next : {&parade, &scene})
        EXPECT_EQ(next->view().fractionTimes, (std::array<std::string, 3>{}));
    scene.fractionTime(0, "0:23.90");
    EXPECT_EQ(scene.view().fractionTimes[0], "0:23.90");
}

TEST(FinishLine, ShownAtPlacesThatScaleWithTheTrack) {
    TrackScene scene = sceneAtGate();
    EXPECT_FALSE(scene.view().finishLineVisible);
    scene.finishLineShown();
    EXPECT_TRUE(scene.view().finishLineVisible);
    EXPECT_EQ(scene.view().finishLabelLeft, 9000);
    EXPECT_EQ(scene.view().finishLineX, 9100);

    TrackScene wide = sceneAtGate(22710);
    EXPECT_EQ(wide.view().finishLabelLeft, 18000);
    EXPECT_EQ(wide.view().finishLineX, 18200);

    // 9100 * 1.5 / ... rounded half to even: 9000 * 12000/11355 = 9511.23, 9100 * 12000/11355 = 9616.91
    TrackScene odd = sceneAtGate(12000);
    EXPECT_EQ(odd.view().finishLabelLeft, 9511);
    EXPECT_EQ(odd.view().finishLineX, 9617);
}

TEST(Photo, SignShowsWhenRaisedAndGoesAtRaceEnd) {
    TrackScene scene = sceneAtGate();
    scene.photoFinishRaised();
    EXPECT_TRUE(scene.view().photoVisible);
    scene.raceEnded();
    EXPECT_FALSE(scene.view().photoVisible);
}

TEST(RaceEnd, TidiesTheTrack) {
    TrackScene scene = sceneAtGate();
    scene.finishLineShown();
    scene.fractionTime(1, "0:48.10");
    scene.raceEnded();
    const TrackView& v = scene.view();
    EXPECT_FALSE(v.finishLineVisible);
    EXPECT_FALSE(v.turnCaptionsVisible);
    EXPECT_FALSE(v.call.visible);
    for (int i = 0; i < 8; ++i)
        EXPECT_FALSE(v.pictures[static_cast<std::size_t>(i)].visible);
    EXPECT_EQ(v.fractionTimes[1], "0:48.10");
}

TEST(Restore, BringsBackAViewWithFreshRaceBookkeeping) {
    TrackScene scene = sceneAtGate();
    const TrackView start = scene.view();
    scene.entryMoved(1, -40, 1);
    scene.fractionTime(0, "0:24.00");
    scene.restore(start);
    EXPECT_EQ(scene.view(), start);
    scene.gallop();
    EXPECT_EQ(scene.picture(1).frame, B) << "the leg told before the restore is forgotten";
    scene.fractionTime(0, "0:23.00");
    EXPECT_EQ(scene.view().fractionTimes[0], "0:23.00");
}

TEST(TrackWidth, NonsenseWidthsStayUsable) {
    TrackScene scene(0);
    EXPECT_GE(scene.trackWidth(), 1);
    EXPECT_GT(scene.trackScale(), 0.0);
    scene.setTrackWidth(-50);
    EXPECT_GE(scene.trackWidth(), 1);
}

} // namespace
