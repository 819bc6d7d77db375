#include "race/presentation/RaceCall.h"
#include "../race/RaceTestDay.h"
#include "race/RaceModel.h"
#include "race/presentation/RaceRecorder.h"
#include "race/presentation/RaceReplay.h"
#include "race/presentation/RaceWatchers.h"
#include "race/presentation/RunningOrder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace sw;

namespace {

using Lines = std::vector<std::string>;

// Two seeded races of the test card, called as they run: a photo at the wire after a new leader on
// the turn, and new leaders on the turn and the backstretch with a photo for third. The words are
// picked by the seed; the horses, places and margins come from the race.
TEST(RaceCall, CallsEachMarkFromTheRacesOwnPlacesAndMarginsAndAgainInItsReplay) {
    struct Case {
        uint64_t seed;
        Lines said;
        Lines described;
    };
    const Case cases[] = {
        {5,
         {"The gates open, and they're off!",
          "Horse 15 shows the way at the quarter, Horse 12 second, Horse 17 third",
          "Horse 11 goes by on the turn to lead",
          "Half a mile gone, Horse 11 by a head, Horse 17 second, Horse 15 third",
          "At the three quarters, Horse 11 by a nose, Horse 15 second, Horse 17 third", "Into the stretch...",
          "Horse 11 still in front", "Horse 11 and Horse 17 hit the wire as one!", "Photo!"},
         {"Race 3, they're off", "Race 3, at the quarter: 5 leads, 2 second, 7 third",
          "Race 3, at the half: 1 leads by a head, 7 second, 5 third",
          "Race 3, at the three quarters: 1 leads by a nose, 5 second, 7 third",
          "Race 3, into the stretch: 1 leads", "Race 3, at the finish: photo between 1 and 7"}},
        {11,
         {"They're off!", "At the quarter, Horse 14 leads, Horse 18 second, Horse 13 third",
          "Horse 11 moves to the front on the turn",
          "At the half, Horse 11 by a neck, Horse 17 second, Horse 18 third",
          "Horse 17 grabs the lead on the backstretch",
          "At the three quarters, Horse 17 by three quarters of a length, Horse 15 second, Horse 18 third",
          "Round the far turn and into the stretch...", "Horse 17 holds the lead",
          "Horse 17 wins it by a length!", "Photo for third!"},
         {"Race 3, they're off", "Race 3, at the quarter: 4 leads, 8 second, 3 third",
          "Race 3, at the half: 1 leads by a neck, 7 second, 8 third",
          "Race 3, at the three quarters: 7 leads by three quarters of a length, 5 second, 8 third",
          "Race 3, into the stretch: 7 leads", "Race 3, at the finish: 7 wins by a length, 8 second",
          "Race 3, photo for third"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seed);
        test::RaceTestDay t(test::seeded(c.seed));
        CallField field = callFieldOf(t.day);
        field.seed = c.seed;
        RaceCall call;
        call.begin(field, t.day.result);
        Lines heard, described;
        call.setListener([&](const Lines& said) {
            heard.insert(heard.end(), said.begin(), said.end());
            described.push_back(call.description());
        });
        EXPECT_EQ(call.description(), "Race 3");
        TrackScene scene;
        RaceRecorder recorder(scene);
        RaceWatchers watchers{&recorder, &call};
        RaceModel race(t.day, &watchers);
        race.start();
        while (race.step())
            recorder.passEnded();
        EXPECT_EQ(call.sentences(), c.said);
        EXPECT_EQ(heard, c.said);
        EXPECT_EQ(described, c.described);

        EXPECT_EQ(call.placed().size(), FieldSize);

        // Shown again after the day has moved on, the race is called as it was.
        t.day.result = RaceResult{};
        heard.clear();
        RaceReplay replay(recorder.recording(), scene, 1, 3, &call);
        while (replay.stepPass()) {
        }
        EXPECT_EQ(heard, c.said);
    }
}

TEST(RaceCall, PutsTheChartsMarginsInWords) {
    const char* const cases[][2] = {{"ns", "a nose"},
                                    {"nk", "a neck"},
                                    {"hd", "a head"},
                                    {" \u00BC", "a quarter length"},
                                    {" \u00BD", "half a length"},
                                    {" \u00BE", "three quarters of a length"},
                                    {"1 ", "a length"},
                                    {"7 ", "seven lengths"},
                                    {"15", "15 lengths"},
                                    {"- ", ""}};
    for (const auto& [margin, words] : cases)
        EXPECT_EQ(marginWords(margin), words) << margin;
}

// Distances (a body, 630, is a length), the placed by place with their times, and what the strip shows.
TEST(RunningOrder, PlacedByTheirTimesThenTheRestByDistanceWithTheLengthsBetween) {
    struct Case {
        std::array<double, FieldSize> distance;
        std::vector<int> placed;
        std::vector<float> times;
        std::array<int, FieldSize> posts;
        std::array<const char*, FieldSize> lengths;
    };
    const Case cases[] = {
        // At the gate: by post, no lengths.
        {{}, {}, {}, {1, 2, 3, 4, 5, 6, 7, 8}, {"", "", "", "", "", "", "", ""}},
        // Running: farthest first, level horses by post, a body apart a length.
        {{5000, 5630, 4370, 4685, 5000, 1000, 4600, 4370},
         {},
         {},
         {2, 1, 5, 4, 7, 3, 8, 6},
         {"", "1", "ns", "\u00BD", "hd", "\u00BD", "ns", "5"}},
        // Two placed a neck apart by the clock, though the second has galloped on past the first.
        {{30000, 30100, 29000, 20000, 20000, 20000, 20000, 20000},
         {0, 1},
         {118.30f, 118.55f},
         {1, 2, 3, 4, 5, 6, 7, 8},
         {"", "nk", "1", "14", "ns", "ns", "ns", "ns"}},
    };
    for (const Case& c : cases) {
        const RunningOrder order = runningOrder(c.distance, c.placed, c.times);
        for (std::size_t i = 0; i < FieldSize; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(order[i].entry + 1, c.posts[i]);
            EXPECT_EQ(order[i].lengths, c.lengths[i]);
        }
    }
}

} // namespace
