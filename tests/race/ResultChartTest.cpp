#include "race/ResultChart.h"
#include "RaceTestDay.h"
#include "core/Format.h"
#include "database/DatabaseFiles.h"
#include "race/ResultsShow.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <type_traits>

namespace sw {
namespace {

using test::RaceTestDay;
using test::readLines;
using test::scripted;

// Each running style's word is pinned by the stored days' charts; these are the rows no day shows.
TEST(ChartComment, ARowWithoutItsCallsOrPathStaysInTheTables) {
    // Nothing placed: the call positions read as 0, never outside the tables.
    EXPECT_EQ(chartComment(RaceResult{}, 7), "FadeLate");
    EXPECT_EQ(pathSuffix(3), "") << "a path outside the three adds nothing";
}

// A finished third race (grade "C"): posts 3, 1, 4, 8, 2, 6, 5, 7 in that order.
void finishRace(RaceDay& day, std::array<float, FieldSize> times = {121.35f, 121.5f, 122.0f, 122.5f, 123.0f,
                                                                    124.0f, 125.0f, 126.25f}) {
    RaceResult& r = day.result;
    r.finishOrder = {3, 1, 4, 8, 2, 6, 5, 7};
    r.finishTime = times;
    r.finishLengths = {"- ", " \u00BD", "1 ", "2 ", "3 ", "5 ", "7 ", "9 "};
    for (int f = 0; f < FieldSize; ++f) {
        const auto e = static_cast<std::size_t>(r.finishOrder[static_cast<std::size_t>(f)] - 1);
        r.quarterPos[e] = r.halfPos[e] = r.threeQuarterPos[e] = static_cast<uint8_t>(f + 1);
        r.halfLengths[e] = f == 0 ? "- " : "hd";
        r.threeQuarterLengths[e] = f == 0 ? "- " : "nk";
    }
    r.complete = true;
}

// A jockey's or a horse's record: starts, 1st to 4th, earnings, then a horse's best time, form value
// and grades.
template <typename R> std::string recordOf(const R& r) {
    std::ostringstream out;
    out << r.starts << ' ' << r.firsts << ' ' << r.seconds << ' ' << r.thirds << ' ' << r.fourths << ' '
        << r.earnings;
    if constexpr (std::is_same_v<R, Horse>)
        out << ' ' << r.bestTime << ' ' << r.formValue << ' ' << r.grade << ' ' << r.earnedGrade << ' '
            << r.gradeMark;
    return out.str();
}

TEST(RaceUpdate, ARaceIsChartedAndWrittenIntoTheStable) {
    RaceTestDay t(scripted({0.5, 0.9}));
    t.day.entries.bestTime[2] = 119.0f;                               // the winner ran faster before
    t.day.entries.segmentRating[2] = {6, 6, 6, 6, 6, 50, 1, 2, 3, 4}; // spare columns never rate it
    // The runner-up, post 1, comes from an edited stable with figures at and beyond their limits,
    // runs the middle path and carries spare columns.
    t.day.entries.bestTime[0] = 130.0f;
    t.day.entries.starts[0] = 32767;
    t.day.entries.earnings[0] = 2147483000;
    t.day.entries.path[0] = 1;
    t.day.entries.segmentRating[0] = {40000, -40000, 6, 6, 6, 50, 61, 62, 63, 64};
    t.day.db.horses[11].spareFlag = true;
    t.day.db.jockeys[1].starts = 2147483647;
    finishRace(t.day);
    const std::string before = todayText();
    const RaceChart chart = applyRaceToDatabase(t.day);
    const std::string after = todayText();
    ASSERT_TRUE(chart.applied);
    EXPECT_FALSE(chart.saveError) << chart.saveError.message;

    // The chart's rows are the stored days' to pin; the record the winner set is written.
    EXPECT_EQ(t.day.db.settings.trackRecord, 121.35f);
    EXPECT_EQ(test::readAll(t.dir / "settings.dat"), "400,2,,,121.35\r\n");
    EXPECT_EQ(t.day.raceWinner[2], 3);

    const auto lines = readLines(t.dir / "pastperformances.dat");
    ASSERT_EQ(lines.size(), 8u);
    const std::string date = lines[0].substr(3, before.size()) == before ? before : after;
    EXPECT_EQ(lines[0], "13," + date + ",0,3,550,F,121.35,52,3,1,1,- ,1,- ,1,- ,121.35,3.5,C,NewTrkRc-wd,8");

    // The purse shares of a grade 3 race, a tenth of them to the jockeys; a best time only improves;
    // the winner goes up a grade, the fourth starts a streak of unplaced runs.
    const auto& horses = t.day.db.horses;
    EXPECT_EQ(horses[13].segmentRating, (std::array<int16_t, 5>{6, 6, 8, 6, 6})); // k = 2 rose by 2
    EXPECT_EQ((std::vector{recordOf(horses[13]), recordOf(horses[11]), recordOf(horses[14]),
                           recordOf(horses[18]), recordOf(horses[17])}),
              (std::vector<std::string>{"1 1 0 0 0 1200 119 0 B B M",
                                        "32767 0 1 0 0 2147483647 121.5 0 C C M", "1 0 0 1 0 450 122 0 C C M",
                                        "1 0 0 0 1 300 122.5 1 C C M", "1 0 0 0 0 75 126.25 1 C C M"}));
    const auto& jockeys = t.day.db.jockeys;
    EXPECT_EQ(
        (std::vector{recordOf(jockeys[3]), recordOf(jockeys[1]), recordOf(jockeys[8]), recordOf(jockeys[7])}),
        (std::vector<std::string>{"1 1 0 0 0 120", "2147483647 0 1 0 0 75", "1 0 0 0 1 30",
                                  "1 0 0 0 0 7.5"}));
    // The record takes the entry's copies, stored at their limits, and carries the spare columns.
    EXPECT_EQ(horses[11].segmentRating, (std::array<int16_t, 5>{32767, -32768, 6, 6, 6}));
    EXPECT_EQ(horses[11].path, 1);
    EXPECT_EQ(horses[11].spareRating, (std::array<int16_t, 4>{61, 62, 63, 64}));
    EXPECT_FALSE(horses[11].spareFlag);

    // Horses and jockeys are saved together, once, with no journal left behind.
    const auto horseLines = readLines(t.dir / "horses.dat"), jockeyLines = readLines(t.dir / "jockeys.dat");
    ASSERT_EQ(std::pair(horseLines.size(), jockeyLines.size()),
              (std::pair<std::size_t, std::size_t>(200, 32)));
    EXPECT_EQ(horseLines[12] + "\r\n", horseRecord(horses[13]));
    EXPECT_EQ(jockeyLines[2] + "\r\n", jockeyRecord(t.day.db.jockeys[3]));
    EXPECT_FALSE(std::filesystem::exists(t.dir / "stridewell.journal"));
}

TEST(RaceUpdate, EqualingTheRecordOnlyTiesItEvenWhenTheRaceJustSetIt) {
    // Equalling leaves the record and its file alone; a second horse in the record time the race
    // just set only ties it, and 125 equals only the record the race replaced.
    for (const float record : {121.35f, 125.0f}) {
        RaceTestDay t(scripted({0.5, 0.9}));
        t.day.db.settings.trackRecord = record;
        finishRace(t.day, {121.35f, 121.35f, 122, 122.5f, 123, 124, 125, 126});
        const RaceChart chart = applyRaceToDatabase(t.day);
        const bool broken = record > 121.35f;
        EXPECT_EQ((std::array{chart.rows[0].lblComment, chart.rows[1].lblComment, chart.rows[2].lblComment,
                              chart.rows[6].lblComment}),
                  (std::array<std::string, 4>{broken ? "NewTrkRc-wd" : "TrkRecrd-wd", "TrkRecrd-in",
                                              "Good Effort-in", "NoFactor-md"}));
        EXPECT_TRUE(chart.rows[0].recordTime && chart.rows[1].recordTime && !chart.rows[2].recordTime);
        EXPECT_EQ(t.day.db.settings.trackRecord, 121.35f);
        EXPECT_EQ(std::filesystem::exists(t.dir / "settings.dat"), broken);
    }
}

TEST(RaceUpdate, GradeRatingAndStreakAfterTheRace) {
    // Post `post` of a race of grade `grade` finishes where finishRace puts it (post 3 wins, post 8
    // is fourth, post 6 sixth, post 5 seventh) after `streak` unplaced starts, with the draws given.
    // k = Int(draw x 5); a rating far from its ceiling moves by Int(draw x 3), one step from it by
    // Int(draw x 2). Winners of "C" go up to "B" (ceiling 11) unless the sum of ratings is not below
    // 3 x 3 + 40; a top winner has no grade to rise to. A fourth place starts a streak without a draw;
    // the third unplaced start in a "B" race goes down to "C", ending the streak and trimming a
    // rating above the ceiling 11. Nothing lies below "J": a weak horse is helped instead.
    // A winner's earned grade rises only from a grade letter below the top, and a top winner keeps
    // "A"; its purse, and a tenth of it for the jockey, follow the race's grade.
    struct Case {
        int grade, post, streak;
        std::array<int32_t, 5> before;
        std::vector<double> draws;
        std::array<int16_t, 5> after;
        const char* newGrade;
        int formValue;
        std::size_t drawsTaken;
        const char *earned = nullptr, *earnedAfter = nullptr;
        int purse = 0;
    };
    const Case cases[] = {
        {3, 3, 0, {6, 6, 6, 6, 6}, {0.5, 0.9}, {6, 6, 8, 6, 6}, "B", 0, 2, "AA", "AA", 1200},
        {3, 3, 2, {10, 4, 4, 4, 4}, {0.1, 0.9}, {11, 4, 4, 4, 4}, "B", 0, 2, "A", "B", 1200},
        {3, 3, 0, {11, 4, 4, 4, 4}, {0.1, 0.9}, {11, 4, 4, 4, 4}, "B", 0, 1},
        {3, 3, 0, {9, 10, 10, 10, 10}, {0.1, 0.9}, {9, 10, 10, 10, 10}, "B", 0, 1},
        {6, 3, 0, {6, 6, 6, 6, 6}, {0.5, 0.9}, {6, 6, 6, 6, 6}, "AA", 0, 1, "A", "A", 2400},
        {4, 8, 0, {6, 14, 6, 6, 6}, {0.0}, {6, 14, 6, 6, 6}, "B", 1, 1},
        {4, 6, 2, {6, 14, 6, 6, 6}, {0.0, 0.3, 0.9}, {6, 12, 6, 6, 6}, "C", 0, 3},
        {4, 6, 2, {6, 12, 6, 6, 6}, {0.0, 0.3, 0.9}, {6, 11, 6, 6, 6}, "C", 0, 3},
        {4, 6, 2, {6, 11, 6, 6, 6}, {0.0, 0.3, 0.9}, {6, 11, 6, 6, 6}, "C", 0, 2},
        {2, 5, 2, {6, 4, 6, 6, 6}, {0.0, 0.3, 0.9}, {6, 6, 6, 6, 6}, "J", 3, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        RaceTestDay t(scripted(c.draws));
        t.day.card.raceGrade[2] = static_cast<int16_t>(c.grade);
        const auto e = static_cast<std::size_t>(c.post - 1);
        if (c.post != 3) // a strong winner: its rise test fails after its one draw of k
            t.day.entries.segmentRating[2] = {12, 12, 12, 12, 12};
        t.day.entries.formValue[e] = static_cast<int16_t>(c.streak);
        std::copy(c.before.begin(), c.before.end(), t.day.entries.segmentRating[e].begin());
        if (c.earned)
            t.day.db.horses[13].earnedGrade = c.earned;
        finishRace(t.day);
        applyRaceToDatabase(t.day);
        const Horse& horse = t.day.db.horses[static_cast<std::size_t>(10 + c.post)];
        EXPECT_EQ(horse.segmentRating, c.after);
        EXPECT_EQ(horse.grade, c.newGrade);
        EXPECT_EQ(horse.formValue, c.formValue);
        if (c.earned) {
            EXPECT_EQ(horse.earnedGrade, c.earnedAfter);
            EXPECT_EQ(horse.earnings, c.purse);
            EXPECT_DOUBLE_EQ(t.day.db.jockeys[3].earnings, c.purse / 10.0);
        }
        EXPECT_EQ(static_cast<test::ListRandom&>(*t.random).drawsTaken(), c.drawsTaken);
    }
}

TEST(RaceUpdate, AnUnfinishedRaceWritesNothing) {
    RaceTestDay t(scripted({0.5, 0.9}));
    finishRace(t.day);
    t.day.result.complete = false;
    EXPECT_FALSE(applyRaceToDatabase(t.day).applied);
    for (const uint8_t post : {3, 9}) { // post 3 twice, or a post outside the field
        finishRace(t.day);
        t.day.result.finishOrder[7] = post;
        EXPECT_FALSE(applyRaceToDatabase(t.day).applied);
    }
    EXPECT_TRUE(std::filesystem::is_empty(t.dir.path()));
    EXPECT_EQ(t.day.db.horses[13].starts, 0);
}

TEST(ResultsShowTest, RunsOncePerRacePausingBeforeACloseFinish) {
    RaceTestDay t(scripted({0.5, 0.9}));
    finishRace(t.day, {120.0f, 121.0f, 121.44f, 122.0f, 123.0f, 124.0f, 125.0f, 126.0f});
    ResultsShow show(t.day);
    EXPECT_EQ(show.next().kind, ShowStep::Kind::Done); // nothing before the start
    EXPECT_TRUE(show.start());
    EXPECT_FALSE(show.start());

    using K = ShowStep::Kind;
    std::vector<std::tuple<K, int, int>> steps;
    for (int i = 0; i < 10; ++i) {
        const ShowStep s = show.next();
        steps.emplace_back(s.kind, s.k, s.pauseMs);
        if (s.kind == K::Reveal && s.k == 0) { // the winner is known before the chart is written
            EXPECT_EQ(t.day.raceWinner[2], 3);
        }
        if (s.kind == K::Chart) // the payoffs are worked out with the chart
            show.setPayoffRows(2);
    }
    // The order place by place, the chart, then the payoffs row by row, each with its pause.
    const std::vector<std::tuple<K, int, int>> expected = {{K::Reveal, 0, RevealStepMs},
                                                           {K::PhotoPause, 1, PhotoPauseMs},
                                                           {K::Reveal, 1, RevealStepMs},
                                                           {K::Reveal, 2, RevealStepMs},
                                                           {K::Reveal, 3, RevealStepMs},
                                                           {K::Chart, 0, 0},
                                                           {K::Payoff, 0, PayoffStepMs},
                                                           {K::Payoff, 1, PayoffStepMs},
                                                           {K::Done, 0, 0},
                                                           {K::Done, 0, 0}};
    EXPECT_EQ(steps, expected);
    EXPECT_TRUE(show.chart().applied);
}

} // namespace
} // namespace sw
