#include "race/presentation/PostParade.h"
#include "race/presentation/TrackScene.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

using namespace sw;

namespace {

constexpr int Lower = 2400;
constexpr int Upper = 1800;

int slotLeft(int k) {
    return 7500 - 630 * k;
}

TEST(PostParade, StepZeroHasAllEightOnTheLowerRowInOrder) {
    for (int h = 0; h < 8; ++h) {
        const HorsePicture p = PostParade::place(0, h);
        EXPECT_EQ(p.left, slotLeft(h)) << "horse " << h;
        EXPECT_EQ(p.top, Lower);
        EXPECT_EQ(p.frame, GallopFrame::A);
        EXPECT_TRUE(p.visible);
    }
}

TEST(PostParade, StepOneTurnsTheFirstHorseUpAtTheRightEnd) {
    const HorsePicture first = PostParade::place(1, 0);
    EXPECT_EQ(first.left, 7500);
    EXPECT_EQ(first.top, Upper);
    EXPECT_EQ(first.frame, GallopFrame::C);
    for (int h = 1; h < 8; ++h) {
        const HorsePicture p = PostParade::place(1, h);
        EXPECT_EQ(p.left, slotLeft(h - 1)) << "horse " << h;
        EXPECT_EQ(p.top, Lower);
        EXPECT_EQ(p.frame, GallopFrame::A);
    }
}

TEST(PostParade, StepEightHasAllEightWalkingLeftAbove) {
    for (int h = 0; h < 8; ++h) {
        const HorsePicture p = PostParade::place(8, h);
        EXPECT_EQ(p.left, slotLeft(7 - h)) << "horse " << h;
        EXPECT_EQ(p.top, Upper);
        EXPECT_EQ(p.frame, GallopFrame::C);
    }
}

TEST(PostParade, StepNineTurnsTheFirstHorseDownAtTheLeftEnd) {
    const HorsePicture first = PostParade::place(9, 0);
    EXPECT_EQ(first.left, 3090);
    EXPECT_EQ(first.top, Lower);
    EXPECT_EQ(first.frame, GallopFrame::A);
    for (int h = 1; h < 8; ++h) {
        const HorsePicture p = PostParade::place(9, h);
        EXPECT_EQ(p.left, slotLeft(8 - h)) << "horse " << h;
        EXPECT_EQ(p.top, Upper);
    }
}

TEST(PostParade, EveryStepUsesSixteenDistinctSpotsAndMovesEachHorseOneSlot) {
    for (int s = 0; s < 16; ++s) {
        std::set<std::pair<int, int>> spots;
        for (int h = 0; h < 8; ++h) {
            const HorsePicture now = PostParade::place(s, h);
            spots.insert({now.left, now.top});
            const HorsePicture next = PostParade::place(s + 1, h);
            // Each tick a horse either walks one slot along its row or turns to the other row.
            const bool walked = now.top == next.top && std::abs(now.left - next.left) == 630;
            const bool turned = now.top != next.top && now.left == next.left;
            EXPECT_TRUE(walked || turned) << "step " << s << " horse " << h;
            if (walked) {
                EXPECT_EQ(next.left - now.left, now.top == Lower ? 630 : -630)
                    << "step " << s << " horse " << h;
            }
        }
        EXPECT_EQ(spots.size(), 8u) << "step " << s;
    }
}

TEST(PostParade, StepsWrapFromFifteenToZero) {
    EXPECT_EQ(PostParade::next(14), 15);
    EXPECT_EQ(PostParade::next(15), 0);
    for (int h = 0; h < 8; ++h)
        EXPECT_EQ(PostParade::place(16, h), PostParade::place(0, h));
}

TEST(PostParade, PlacesScaleWithTheTrack) {
    EXPECT_EQ(PostParade::place(1, 0, 2.0).left, 15000);
    EXPECT_EQ(PostParade::place(9, 0, 2.0).left, 6180);
    EXPECT_EQ(PostParade::place(9, 0, 2.0).top, Lower);
}

TEST(ParadeTimer, EachTickDrawsTheKeptStepThenMovesOn) {
    TrackScene scene;
    EXPECT_FALSE(scene.picture(8).visible) << "no parade before the program is closed";
    scene.startParade();
    EXPECT_TRUE(scene.paradeRunning());
    for (int h = 0; h < 8; ++h)
        EXPECT_TRUE(scene.picture(8 + h).visible);
    EXPECT_EQ(scene.paradeStep(), 0);
    scene.paradeTick();
    EXPECT_EQ(scene.picture(8), PostParade::place(0, 0));
    EXPECT_EQ(scene.paradeStep(), 1);
    scene.paradeTick();
    EXPECT_EQ(scene.picture(8).top, Upper);
    for (int i = 2; i < 16; ++i)
        scene.paradeTick();
    EXPECT_EQ(scene.paradeStep(), 0);
    EXPECT_EQ(scene.picture(15), PostParade::place(15, 7));
    scene.paradeTick();
    for (int h = 0; h < 8; ++h)
        EXPECT_EQ(scene.picture(8 + h), PostParade::place(0, h));
}

TEST(ParadeTimer, StepCounterSurvivesARace) {
    TrackScene scene;
    scene.startParade();
    for (int i = 0; i < 5; ++i)
        scene.paradeTick();
    std::array<GallopFrame, 8> frames{};
    scene.beginRace(frames, TrackLayout::DesignWidth);
    scene.raceEnded();
    EXPECT_FALSE(scene.picture(8).visible);
    scene.startParade();
    EXPECT_EQ(scene.paradeStep(), 5);
    EXPECT_TRUE(scene.picture(8).visible);
}

TEST(ParadeTimer, AWiderTrackMovesTheStandingParade) {
    TrackScene scene;
    scene.startParade();
    scene.paradeTick();
    scene.setTrackWidth(2 * TrackLayout::DesignWidth);
    EXPECT_EQ(scene.picture(8).left, 15000);
}

} // namespace
