#include "race/presentation/RacePacer.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace sw;

namespace {

TEST(RacePacer, RunsEachPassDueOnceAndNeverCatchesUpAStallInOneBurst) {
    struct Case {
        int maxBurst;
        std::vector<std::pair<int64_t, int>> due; // elapsed ms, passes run then
        int passesRun;
    };
    // One pass every 5 ms; a clock that goes back runs nothing; two seconds lost run only one burst,
    // and after the stall the race keeps its pace.
    for (const Case& c : {Case{24, {{0, 0}, {4, 0}, {5, 1}, {5, 0}, {21, 3}, {37, 3}}, 7},
                          Case{24, {{50, 10}, {20, 0}, {-100, 0}, {55, 1}}, 11},
                          Case{10, {{20, 4}, {2020, 10}, {2020, 0}, {2025, 1}, {2045, 4}}, 19}}) {
        RacePacer pacer(c.maxBurst);
        for (const auto& [ms, passes] : c.due)
            EXPECT_EQ(pacer.due(ms), passes) << ms;
        EXPECT_EQ(pacer.passesRun(), c.passesRun);
        // A reset starts over, time lost to a stall forgotten.
        pacer.reset();
        EXPECT_EQ(pacer.passesRun(), 0);
        EXPECT_EQ(pacer.due(10), 2);
    }
}

TEST(RacePacer, SlowMotionStretchesAWindowOfPasses) {
    RacePacer pacer(1000);
    pacer.setSlowMotion(10, 20, 4);
    const std::pair<int64_t, int64_t> times[] = {{50, 10},  {69, 10},  {70, 11},
                                                 {250, 20}, {255, 21}, {275, 25}};
    for (const auto& [ms, passes] : times) {
        EXPECT_EQ(pacer.passesAt(ms), passes) << ms;
        if (ms % 5 == 0) { // at a pass's own time
            EXPECT_EQ(pacer.timeOf(passes), ms) << passes;
        }
    }
    for (int64_t p = 0; p < 40; ++p)
        EXPECT_EQ(pacer.passesAt(pacer.timeOf(p)), p) << p;
    EXPECT_EQ(pacer.due(260), 22);
}

} // namespace
