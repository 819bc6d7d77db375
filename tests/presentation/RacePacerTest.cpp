#include "race/presentation/RacePacer.h"

#include <gtest/gtest.h>

using namespace sw;

namespace {

TEST(RacePacer, OnePassEveryFiveMilliseconds) {
    RacePacer pacer;
    EXPECT_EQ(pacer.due(0), 0);
    EXPECT_EQ(pacer.due(4), 0);
    EXPECT_EQ(pacer.due(5), 1);
    EXPECT_EQ(pacer.due(5), 0) << "a pass is run once";
    EXPECT_EQ(pacer.due(21), 3);
    EXPECT_EQ(pacer.due(37), 3);
    EXPECT_EQ(pacer.passesRun(), 7);
}

TEST(RacePacer, ATimerTickRunsWhatIsDue) {
    RacePacer pacer;
    int run = 0;
    for (int64_t t = 16; t <= 1600; t += 16)
        run += pacer.due(t);
    EXPECT_EQ(run, 320);
}

TEST(RacePacer, AClockThatGoesBackRunsNothing) {
    RacePacer pacer;
    EXPECT_EQ(pacer.due(50), 10);
    EXPECT_EQ(pacer.due(20), 0);
    EXPECT_EQ(pacer.due(-100), 0);
    EXPECT_EQ(pacer.due(55), 1);
}

TEST(RacePacer, AStallIsNotCaughtUpInOneBurst) {
    RacePacer pacer(10);
    EXPECT_EQ(pacer.due(20), 4);
    EXPECT_EQ(pacer.due(2020), 10) << "two seconds lost run only one burst";
    EXPECT_EQ(pacer.due(2020), 0);
    EXPECT_EQ(pacer.due(2025), 1) << "after the stall the race keeps its pace";
    EXPECT_EQ(pacer.due(2045), 4);
    EXPECT_EQ(pacer.passesRun(), 19);
}

TEST(RacePacer, SlowMotionStretchesAWindowOfPasses) {
    RacePacer pacer(1000);
    pacer.setSlowMotion(10, 20, 4);
    EXPECT_EQ(pacer.passesAt(50), 10);
    EXPECT_EQ(pacer.passesAt(69), 10);
    EXPECT_EQ(pacer.passesAt(70), 11);
    EXPECT_EQ(pacer.passesAt(250), 20);
    EXPECT_EQ(pacer.passesAt(255), 21);
    EXPECT_EQ(pacer.timeOf(10), 50);
    EXPECT_EQ(pacer.timeOf(11), 70);
    EXPECT_EQ(pacer.timeOf(20), 250);
    EXPECT_EQ(pacer.timeOf(25), 275);
    for (int64_t p = 0; p < 40; ++p)
        EXPECT_EQ(pacer.passesAt(pacer.timeOf(p)), p) << p;
    EXPECT_EQ(pacer.due(260), 22);
}

TEST(RacePacer, ResetStartsOver) {
    RacePacer pacer(3);
    pacer.due(1000);
    pacer.reset();
    EXPECT_EQ(pacer.passesRun(), 0);
    EXPECT_EQ(pacer.due(10), 2);
}

} // namespace
