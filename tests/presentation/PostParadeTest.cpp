#include "race/presentation/PostParade.h"
#include "race/presentation/TrackScene.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

using namespace sw;

namespace {

constexpr int Lower = 2400;
constexpr int Upper = 1800;

HorsePicture slot(int k, bool upper) {
    return {7500 - 630 * k, upper ? Upper : Lower, true, upper ? GallopFrame::C : GallopFrame::A};
}

TEST(PostParade, HorsesTurnUpAtTheRightEndThenDownAtTheLeftEndAndWrapAfterSixteenSteps) {
    for (int h = 0; h < 8; ++h) {
        SCOPED_TRACE(h);
        EXPECT_EQ(PostParade::place(0, h), slot(h, false));
        EXPECT_EQ(PostParade::place(1, h), h == 0 ? slot(0, true) : slot(h - 1, false));
        EXPECT_EQ(PostParade::place(8, h), slot(7 - h, true));
        EXPECT_EQ(PostParade::place(9, h), h == 0 ? slot(7, false) : slot(8 - h, true));
        EXPECT_EQ(PostParade::place(16, h), PostParade::place(0, h));
    }
    EXPECT_EQ(PostParade::next(14), 15);
    EXPECT_EQ(PostParade::next(15), 0);
    EXPECT_EQ(PostParade::place(1, 0, 2.0).left, 15000);
    EXPECT_EQ(PostParade::place(9, 0, 2.0), (HorsePicture{6180, Lower, true, GallopFrame::A}));
}

TEST(PostParade, EveryStepUsesEightDistinctSpotsAndMovesEachHorseOneSlot) {
    for (int s = 0; s < 16; ++s) {
        std::set<std::pair<int, int>> spots;
        for (int h = 0; h < 8; ++h) {
            const HorsePicture now = PostParade::place(s, h);
            const HorsePicture next = PostParade::place(s + 1, h);
            spots.insert({now.left, now.top});
            // Each tick a horse walks one slot along its row (right below, left above) or turns.
            const bool walked =
                now.top == next.top && next.left - now.left == (now.top == Lower ? 630 : -630);
            const bool turned = now.top != next.top && now.left == next.left;
            EXPECT_TRUE(walked || turned) << "step " << s << " horse " << h;
        }
        EXPECT_EQ(spots.size(), 8u) << "step " << s;
    }
}

TEST(ParadeTimer, EachTickDrawsTheKeptStepThenMovesOnAndTheStepSurvivesARace) {
    TrackScene scene;
    EXPECT_FALSE(scene.picture(8).visible) << "no parade before the program is closed";
    scene.startParade();
    EXPECT_TRUE(scene.paradeRunning());
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(scene.paradeStep(), i);
        scene.paradeTick();
        for (int h = 0; h < 8; ++h)
            ASSERT_EQ(scene.picture(8 + h), PostParade::place(i, h)) << "tick " << i;
    }
    EXPECT_EQ(scene.paradeStep(), 0);
    for (int i = 0; i < 5; ++i)
        scene.paradeTick();
    scene.beginRace({}, TrackLayout::DesignWidth);
    scene.raceEnded();
    EXPECT_FALSE(scene.picture(8).visible);
    scene.startParade();
    EXPECT_EQ(scene.paradeStep(), 5);
    EXPECT_TRUE(scene.picture(8).visible);
    // A wider track moves the standing parade.
    scene.setTrackWidth(2 * TrackLayout::DesignWidth);
    EXPECT_EQ(scene.picture(12), PostParade::place(4, 4, 2.0));
}

} // namespace
