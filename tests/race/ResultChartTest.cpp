#include "race/ResultChart.h"
#include "RaceTestDay.h"
#include "core/Format.h"
#include "database/DatabaseFiles.h"
#include "race/ResultsShow.h"
#include "race/StableSave.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace sw {
namespace {

using test::RaceTestDay;
using test::readLines;
using test::scripted;

// ---- ChartComment -----------------------------------------------------------------------------

// The comment of a horse at calls q, m, t that finished f-th.
std::string commentFor(int q, int m, int t, int f) {
    RaceResult result;
    const auto row = static_cast<std::size_t>(f - 1);
    result.finishOrder[row] = 4; // entry 3
    result.quarterPos[3] = static_cast<uint8_t>(q);
    result.halfPos[3] = static_cast<uint8_t>(m);
    result.threeQuarterPos[3] = static_cast<uint8_t>(t);
    return chartComment(result, f - 1);
}

TEST(ChartComment, EachRunningStyleHasItsWord) {
    EXPECT_EQ(commentFor(3, 3, 3, 3), "Good Effort");
    EXPECT_EQ(commentFor(1, 1, 1, 1), "BxToWire");
    EXPECT_EQ(commentFor(5, 5, 5, 5), "StdyPace");
    EXPECT_EQ(commentFor(2, 3, 4, 5), "Faded");
    EXPECT_EQ(commentFor(1, 3, 6, 7), "FadeBad");
    EXPECT_EQ(commentFor(6, 5, 3, 3), "StdyGain");
    EXPECT_EQ(commentFor(8, 5, 3, 2), "StrgGain");
    EXPECT_EQ(commentFor(5, 5, 5, 3), "LateGain");
    EXPECT_EQ(commentFor(1, 1, 1, 2), "JustMisd");
    EXPECT_EQ(commentFor(2, 2, 2, 1), "UpAtWire");
}

TEST(ChartComment, TheLastTestThatHoldsWins) {
    // Last at every call: also a steady pace, but no factor wins.
    EXPECT_EQ(commentFor(8, 8, 8, 8), "NoFactor");
    // Led early and faded to seventh: faded, faded badly, and late; the late fade is named.
    EXPECT_EQ(commentFor(1, 1, 1, 7), "FadeLate");
    // A strong gain that ends a close second after leading at three quarters just missed.
    EXPECT_EQ(commentFor(8, 4, 1, 2), "JustMisd");
    // A steady gain that got up at the wire from second at three quarters.
    EXPECT_EQ(commentFor(5, 4, 2, 1), "UpAtWire");
    // A late gain from far back beats the steady pace of the sum.
    EXPECT_EQ(commentFor(7, 7, 7, 5), "LateGain");
}

TEST(ChartComment, BoundariesOfTheTests) {
    EXPECT_EQ(commentFor(4, 4, 4, 4), "Good Effort"); // s = 16 is no steady pace yet
    EXPECT_EQ(commentFor(4, 4, 4, 5), "StdyPace");    // s = 17
    EXPECT_EQ(commentFor(6, 6, 6, 7), "NoFactor");    // s = 25; q - f = -1, t - f = -1
    EXPECT_EQ(commentFor(5, 4, 4, 3), "Good Effort"); // q - f = 2 is no steady gain
    EXPECT_EQ(commentFor(3, 3, 4, 5), "Good Effort"); // q - f = -2, t - f = -1
}

TEST(ChartComment, AnEmptyRowNeverIndexesOutside) {
    RaceResult result; // nothing placed: call positions read as 0
    EXPECT_EQ(chartComment(result, 0), "Good Effort");
    EXPECT_EQ(chartComment(result, 7), "FadeLate");
}

TEST(ChartComment, PathSuffixes) {
    EXPECT_EQ(pathSuffix(0), "-in");
    EXPECT_EQ(pathSuffix(1), "-md");
    EXPECT_EQ(pathSuffix(2), "-wd");
    EXPECT_EQ(pathSuffix(3), "");
    EXPECT_EQ(pathSuffix(-1), "");
}

// ---- Photo pauses -----------------------------------------------------------------------------

RaceResult timed(std::array<float, FieldSize> times) {
    RaceResult r;
    r.finishTime = times;
    return r;
}

TEST(ResultPhoto, APauseComesBeforeEachOfTheFirstFourPlacesWithACloseFollower) {
    const RaceResult r = timed({120.0f, 120.44f, 121.0f, 121.45f, 121.89f, 121.9f, 130, 130});
    EXPECT_TRUE(photoBeforeReveal(r, 0));  // 0.44
    EXPECT_FALSE(photoBeforeReveal(r, 1)); // 0.56
    EXPECT_FALSE(photoBeforeReveal(r, 2)); // 0.45
    EXPECT_TRUE(photoBeforeReveal(r, 3));  // 0.44
    EXPECT_FALSE(photoBeforeReveal(r, 4)); // only places 1..4 are revealed
    EXPECT_TRUE(photoExpected(r));
}

TEST(ResultPhoto, AClose6thExpectsNoPhoto) {
    const RaceResult r = timed({120.0f, 121.0f, 122.0f, 123.0f, 124.0f, 124.1f, 124.2f, 130});
    EXPECT_FALSE(photoExpected(r));
}

// ---- The database update ----------------------------------------------------------------------

// A finished third race (grade "C"): posts 3, 1, 4, 8, 2, 6, 5, 7 in that order.
void finishRace(RaceDay& day, std::array<float, FieldSize> times = {121.35f, 121.5f, 122.0f, 122.5f, 123.0f,
                                                                    124.0f, 125.0f, 126.25f}) {
    RaceResult& r = day.result;
    r.finishOrder = {3, 1, 4, 8, 2, 6, 5, 7};
    r.finishTime = times;
    r.finishLengths = {"- ", " \u00BD", "1 ", "2 ", "3 ", "5 ", "7 ", "9 "};
    for (int f = 0; f < FieldSize; ++f) {
        const auto e = static_cast<std::size_t>(r.finishOrder[static_cast<std::size_t>(f)] - 1);
        r.quarterPos[e] = static_cast<uint8_t>(f + 1);
        r.halfPos[e] = static_cast<uint8_t>(f + 1);
        r.threeQuarterPos[e] = static_cast<uint8_t>(f + 1);
        r.halfLengths[e] = f == 0 ? "- " : "hd";
        r.threeQuarterLengths[e] = f == 0 ? "- " : "nk";
    }
    r.complete = true;
}

std::filesystem::path fileOf(const RaceTestDay& t, const char* name) {
    return t.dir / name;
}

TEST(RaceUpdate, ChartRowsShowTheRaceInFinishingOrder) {
    RaceTestDay t(scripted({0.5, 0.9}));
    finishRace(t.day);
    const RaceChart chart = applyRaceToDatabase(t.day);
    ASSERT_TRUE(chart.applied);
    const ChartRow& win = chart.rows[0];
    EXPECT_EQ(win.lblHorseName, "Horse 13");
    EXPECT_EQ(win.lblPost, "3");
    EXPECT_EQ(win.lblBreak, "1");
    EXPECT_EQ(win.lblEigth, "1");
    EXPECT_EQ(win.lblEiLen, "- ");
    EXPECT_EQ(win.lblStrech, "1");
    EXPECT_EQ(win.lblStLen, "- ");
    EXPECT_EQ(win.lblFin, "1");
    EXPECT_EQ(win.lblFinLen, "- ");
    EXPECT_EQ(win.lblTime, "2:01.35");
    EXPECT_EQ(win.lblOdds, "3.50");
    const ChartRow& last = chart.rows[7];
    EXPECT_EQ(last.lblHorseName, "Horse 17");
    EXPECT_EQ(last.lblPost, "7");
    EXPECT_EQ(last.lblEiLen, "hd");
    EXPECT_EQ(last.lblStLen, "nk");
    EXPECT_EQ(last.lblFinLen, "9 ");
    EXPECT_EQ(last.lblTime, "2:06.25");
    EXPECT_EQ(last.lblOdds, "7.50");
    EXPECT_EQ(last.lblComment, "NoFactor-in");
    EXPECT_EQ(chart.lblTimeOfRace, "2:01.35");
    EXPECT_FALSE(chart.saveError) << chart.saveError.message;
}

TEST(RaceUpdate, TheFirstWinnerOnAFreshTrackSetsTheRecord) {
    RaceTestDay t(scripted({0.5, 0.9}));
    finishRace(t.day);
    const RaceChart chart = applyRaceToDatabase(t.day);
    // A wire-to-wire winner: the record replaces the comment, the path is still added.
    EXPECT_EQ(chart.rows[0].lblComment, "NewTrkRc-wd");
    EXPECT_TRUE(chart.rows[0].recordTime);
    EXPECT_FALSE(chart.rows[1].recordTime);
    EXPECT_EQ(t.day.db.settings.trackRecord, 121.35f);
    EXPECT_EQ(test::readAll(fileOf(t, "settings.dat")), "400,2,,,121.35\r\n");
}

TEST(RaceUpdate, EqualingTheRecordLeavesItAndItsFileAlone) {
    RaceTestDay t(scripted({0.5, 0.9}));
    t.day.db.settings.trackRecord = 121.35f;
    finishRace(t.day);
    const RaceChart chart = applyRaceToDatabase(t.day);
    EXPECT_EQ(chart.rows[0].lblComment, "TrkRecrd-wd");
    EXPECT_TRUE(chart.rows[0].recordTime);
    EXPECT_FALSE(std::filesystem::exists(fileOf(t, "settings.dat")));
}

TEST(RaceUpdate, ASecondHorseWithTheNewRecordTimeOnlyEqualsIt) {
    RaceTestDay t(scripted({0.5, 0.9}));
    t.day.db.settings.trackRecord = 125.0f;
    finishRace(t.day, {121.35f, 121.35f, 122.0f, 122.5f, 123.0f, 124.0f, 125.0f, 126.0f});
    const RaceChart chart = applyRaceToDatabase(t.day);
    EXPECT_EQ(chart.rows[0].lblComment, "NewTrkRc-wd");
    EXPECT_EQ(chart.rows[1].lblComment, "TrkRecrd-in");
    EXPECT_EQ(chart.rows[2].lblComment, "Good Effort-in");
    EXPECT_EQ(chart.rows[6].lblComment, "NoFactor-md"); // equals only the record the race replaced
    EXPECT_EQ(t.day.db.settings.trackRecord, 121.35f);
}

TEST(RaceUpdate, EveryStarterGetsAPastPerformanceLine) {
    RaceTestDay t(scripted({0.5, 0.9}));
    finishRace(t.day);
    const std::string before = todayText();
    applyRaceToDatabase(t.day);
    const std::string after = todayText();
    const auto lines = readLines(fileOf(t, "pastperformances.dat"));
    ASSERT_EQ(lines.size(), 8u);
    const std::string date = lines[0].substr(3, before.size()) == before ? before : after;
    EXPECT_EQ(lines[0], "13," + date + ",0,3,550,F,121.35,52,3,1,1,- ,1,- ,1,- ,121.35,3.5,C,NewTrkRc-wd,8");
    EXPECT_EQ(lines[1],
              "11," + date + ",0,3,550,F,121.35,50,1,2,2,hd,2,nk,2, \u00BD,121.5,1.5,C,Good Effort-in,8");
    EXPECT_EQ(lines[7], "17," + date + ",0,3,550,F,121.35,56,7,8,8,hd,8,nk,8,9 ,126.25,7.5,C,NoFactor-in,8");
}

TEST(RaceUpdate, RecordsAndEarningsOfHorsesAndJockeys) {
    RaceTestDay t(scripted({0.5, 0.9}));
    finishRace(t.day);
    applyRaceToDatabase(t.day);
    const Horse& winner = t.day.db.horses[13];
    EXPECT_EQ(winner.starts, 1);
    EXPECT_EQ(winner.firsts, 1);
    EXPECT_EQ(winner.earnings, 1200);
    EXPECT_EQ(winner.bestTime, 121.35f);
    EXPECT_EQ(winner.formValue, 0);
    EXPECT_EQ(winner.gradeMark, "M");
    EXPECT_EQ(t.day.db.jockeys[3].starts, 1);
    EXPECT_EQ(t.day.db.jockeys[3].firsts, 1);
    EXPECT_DOUBLE_EQ(t.day.db.jockeys[3].earnings, 120.0);

    const Horse& second = t.day.db.horses[11];
    EXPECT_EQ(second.seconds, 1);
    EXPECT_EQ(second.earnings, 750);
    EXPECT_DOUBLE_EQ(t.day.db.jockeys[1].earnings, 75.0);
    EXPECT_EQ(t.day.db.horses[14].thirds, 1);
    EXPECT_EQ(t.day.db.horses[14].earnings, 450);

    const Horse& fourth = t.day.db.horses[18];
    EXPECT_EQ(fourth.fourths, 1);
    EXPECT_EQ(fourth.earnings, 300);
    EXPECT_EQ(fourth.formValue, 1);
    EXPECT_EQ(fourth.grade, "C");
    EXPECT_EQ(t.day.db.jockeys[8].fourths, 1);
    EXPECT_DOUBLE_EQ(t.day.db.jockeys[8].earnings, 30.0);

    const Horse& last = t.day.db.horses[17];
    EXPECT_EQ(last.starts, 1);
    EXPECT_EQ(last.earnings, 75);
    EXPECT_EQ(last.firsts + last.seconds + last.thirds + last.fourths, 0);
    EXPECT_EQ(last.bestTime, 126.25f);
    EXPECT_DOUBLE_EQ(t.day.db.jockeys[7].earnings, 7.5);
    EXPECT_EQ(t.day.raceWinner[2], 3);
}

TEST(RaceUpdate, ABestTimeOnlyImproves) {
    RaceTestDay t(scripted({0.5, 0.9}));
    t.day.entries.bestTime[2] = 119.0f;
    t.day.entries.bestTime[0] = 130.0f;
    finishRace(t.day);
    applyRaceToDatabase(t.day);
    EXPECT_EQ(t.day.db.horses[13].bestTime, 119.0f);
    EXPECT_EQ(t.day.db.horses[11].bestTime, 121.5f);
}

TEST(RaceUpdate, AnAAWinnerStaysAAWithoutARise) {
    RaceTestDay t(scripted({0.5, 0.9}));
    t.day.card.raceGrade[2] = 6;
    t.day.db.horses[13].earnedGrade = "A";
    finishRace(t.day);
    applyRaceToDatabase(t.day);
    const Horse& winner = t.day.db.horses[13];
    EXPECT_EQ(winner.grade, "AA");
    EXPECT_EQ(winner.earnedGrade, "A");
    EXPECT_EQ(winner.segmentRating, (std::array<int16_t, 5>{6, 6, 6, 6, 6}));
    EXPECT_EQ(winner.earnings, 2400);
    EXPECT_DOUBLE_EQ(t.day.db.jockeys[3].earnings, 240.0);
}

TEST(RaceUpdate, EarnedGradeRisesOnlyFromAGradeLetter) {
    for (const char* earned : {"AA", "X", ""}) {
        RaceTestDay t(scripted({0.5, 0.9}));
        t.day.db.horses[13].earnedGrade = earned;
        finishRace(t.day);
        applyRaceToDatabase(t.day);
        EXPECT_EQ(t.day.db.horses[13].earnedGrade, earned);
    }
    RaceTestDay t(scripted({0.5, 0.9}));
    t.day.db.horses[13].earnedGrade = "M";
    finishRace(t.day);
    applyRaceToDatabase(t.day);
    EXPECT_EQ(t.day.db.horses[13].earnedGrade, "B");
}

// One horse's grade and rating change: post `post` of a race of grade `grade` finishes where
// finishRace puts it, after `streak` unplaced starts, with the draws given in order.
struct RatingCase {
    const char* name;
    int grade;
    int post;
    int streak;
    std::array<int32_t, 5> before;
    std::vector<double> draws;
    std::array<int16_t, 5> after;
    const char* newGrade;
    int formValue;
    std::size_t drawsTaken;
};

void PrintTo(const RatingCase& c, std::ostream* os) {
    *os << c.name;
}

class RatingChangeTest : public ::testing::TestWithParam<RatingCase> {};

TEST_P(RatingChangeTest, GradeRatingAndStreakAfterTheRace) {
    const RatingCase& c = GetParam();
    RaceTestDay t(scripted(c.draws));
    t.day.card.raceGrade[2] = static_cast<int16_t>(c.grade);
    const auto e = static_cast<std::size_t>(c.post - 1);
    if (c.post != 3) // a strong winner: its rise test fails after its one draw of k
        t.day.entries.segmentRating[2] = {12, 12, 12, 12, 12};
    t.day.entries.formValue[e] = static_cast<int16_t>(c.streak);
    std::copy(c.before.begin(), c.before.end(), t.day.entries.segmentRating[e].begin());
    finishRace(t.day);
    applyRaceToDatabase(t.day);
    const Horse& horse = t.day.db.horses[static_cast<std::size_t>(10 + c.post)];
    EXPECT_EQ(horse.segmentRating, c.after);
    EXPECT_EQ(horse.grade, c.newGrade);
    EXPECT_EQ(horse.formValue, c.formValue);
    EXPECT_EQ(static_cast<test::ListRandom&>(*t.random).drawsTaken(), c.drawsTaken);
}

// Post 3 wins, post 8 is fourth, post 6 sixth and post 5 seventh. k = Int(draw x 5); a rating far
// from its ceiling moves by Int(draw x 3), one step from it by Int(draw x 2).
INSTANTIATE_TEST_SUITE_P(
    WinnersAndStrugglers, RatingChangeTest,
    ::testing::Values(
        // A "C" winner goes up to "B"; its rating 2 (6) is far below the "B" ceiling 11.
        RatingCase{"WinnerRises", 3, 3, 0, {6, 6, 6, 6, 6}, {0.5, 0.9}, {6, 6, 8, 6, 6}, "B", 0, 2},
        RatingCase{
            "WinnerOneBelowCeiling", 3, 3, 2, {10, 4, 4, 4, 4}, {0.1, 0.9}, {11, 4, 4, 4, 4}, "B", 0, 2},
        RatingCase{"WinnerAtCeiling", 3, 3, 0, {11, 4, 4, 4, 4}, {0.1, 0.9}, {11, 4, 4, 4, 4}, "B", 0, 1},
        // The sum 49 is not below 3 x 3 + 40.
        RatingCase{"StrongWinner", 3, 3, 0, {9, 10, 10, 10, 10}, {0.1, 0.9}, {9, 10, 10, 10, 10}, "B", 0, 1},
        // A fourth place starts a streak without a draw.
        RatingCase{"FirstUnplaced", 4, 8, 0, {6, 14, 6, 6, 6}, {0.0}, {6, 14, 6, 6, 6}, "B", 1, 1},
        // The third unplaced start in a "B" race: down to "C", streak over, a rating above the
        // ceiling 11 trimmed.
        RatingCase{"DemotedTrimmed", 4, 6, 2, {6, 14, 6, 6, 6}, {0.0, 0.3, 0.9}, {6, 12, 6, 6, 6}, "C", 0, 3},
        RatingCase{
            "DemotedOneAbove", 4, 6, 2, {6, 12, 6, 6, 6}, {0.0, 0.3, 0.9}, {6, 11, 6, 6, 6}, "C", 0, 3},
        RatingCase{
            "DemotedAtCeiling", 4, 6, 2, {6, 11, 6, 6, 6}, {0.0, 0.3, 0.9}, {6, 11, 6, 6, 6}, "C", 0, 2},
        // Nothing lies below "J" and "M": the grade and the streak stay, a weak horse is helped.
        RatingCase{"NoDropBelowJ", 2, 5, 2, {6, 4, 6, 6, 6}, {0.0, 0.3, 0.9}, {6, 6, 6, 6, 6}, "J", 3, 3},
        RatingCase{"NoDropBelowM", 1, 5, 2, {6, 4, 6, 6, 6}, {0.0, 0.3, 0.9}, {6, 6, 6, 6, 6}, "M", 3, 3}),
    [](const ::testing::TestParamInfo<RatingCase>& info) { return std::string(info.param.name); });

TEST(RaceUpdate, TheRecordTakesTheEntrysCopiesAndCarriesTheSpareColumns) {
    RaceTestDay t(scripted({0.5, 0.9}));
    t.day.entries.starts[0] = 9;
    t.day.entries.earnings[0] = 5000;
    t.day.entries.path[0] = 1;
    t.day.entries.segmentRating[0] = {6, 6, 6, 6, 6, 50, 61, 62, 63, 64};
    t.day.db.horses[11].spareFlag = true;
    finishRace(t.day);
    applyRaceToDatabase(t.day);
    const Horse& horse = t.day.db.horses[11];
    EXPECT_EQ(horse.starts, 10);
    EXPECT_EQ(horse.earnings, 5750);
    EXPECT_EQ(horse.path, 1);
    EXPECT_EQ(horse.spareRating, (std::array<int16_t, 4>{61, 62, 63, 64}));
    EXPECT_FALSE(horse.spareFlag);
}

TEST(RaceUpdate, OutOfRangeFiguresFromAnEditedStableAreStoredAtTheirLimits) {
    RaceTestDay t(scripted({0.5, 0.9}));
    t.day.entries.starts[0] = 32767;
    t.day.entries.earnings[0] = 2147483000;
    t.day.entries.segmentRating[0] = {40000, -40000, 6, 6, 6};
    t.day.db.jockeys[1].starts = 2147483647;
    finishRace(t.day);
    applyRaceToDatabase(t.day);
    const Horse& horse = t.day.db.horses[11];
    EXPECT_EQ(horse.starts, 32767);
    EXPECT_EQ(horse.earnings, 2147483647);
    EXPECT_EQ(horse.segmentRating[0], 32767);
    EXPECT_EQ(horse.segmentRating[1], -32768);
    EXPECT_EQ(t.day.db.jockeys[1].starts, 2147483647);
}

TEST(RaceUpdate, HorsesAndJockeysAreSavedTogetherOnce) {
    RaceTestDay t(scripted({0.5, 0.9}));
    finishRace(t.day);
    applyRaceToDatabase(t.day);
    const auto horses = readLines(fileOf(t, "horses.dat"));
    const auto jockeys = readLines(fileOf(t, "jockeys.dat"));
    ASSERT_EQ(horses.size(), 200u);
    ASSERT_EQ(jockeys.size(), 32u);
    Horse saved;
    parseHorse(horses[12], saved);
    EXPECT_EQ(saved.name, "Horse 13");
    EXPECT_EQ(saved.grade, "B");
    EXPECT_EQ(saved.earnings, 1200);
    Jockey jockey;
    parseJockey(jockeys[2], jockey);
    EXPECT_DOUBLE_EQ(jockey.earnings, 120.0);
    EXPECT_FALSE(std::filesystem::exists(fileOf(t, "stridewell.journal")));
}

TEST(RaceUpdate, AnUnfinishedRaceWritesNothing) {
    RaceTestDay t(scripted({0.5, 0.9}));
    finishRace(t.day);
    t.day.result.complete = false;
    EXPECT_FALSE(applyRaceToDatabase(t.day).applied);
    finishRace(t.day);
    t.day.result.finishOrder[7] = 3; // post 3 twice
    EXPECT_FALSE(applyRaceToDatabase(t.day).applied);
    EXPECT_TRUE(std::filesystem::is_empty(t.dir.path()));
    EXPECT_EQ(t.day.db.horses[13].starts, 0);
}

// ---- The show ---------------------------------------------------------------------------------

TEST(ResultsShowTest, RunsOncePerRace) {
    RaceTestDay t(scripted({0.5, 0.9}));
    finishRace(t.day, {120.0f, 121.0f, 121.44f, 122.0f, 123.0f, 124.0f, 125.0f, 126.0f});
    ResultsShow show(t.day);
    EXPECT_EQ(show.openingDelayMs(), PhotoShowDelayMs);
    EXPECT_EQ(show.next().kind, ShowStep::Kind::Done); // nothing before the start
    EXPECT_TRUE(show.start());
    EXPECT_FALSE(show.start());

    using K = ShowStep::Kind;
    std::vector<std::pair<K, int>> steps;
    for (int i = 0; i < 10; ++i) {
        const ShowStep s = show.next();
        steps.emplace_back(s.kind, s.k);
        if (s.kind == K::PhotoPause) {
            EXPECT_EQ(s.pauseMs, PhotoPauseMs);
        }
        if (s.kind == K::Reveal && s.k == 0) {
            EXPECT_EQ(t.day.raceWinner[2], 3);
        }
    }
    const std::vector<std::pair<K, int>> expected = {
        {K::Reveal, 0}, {K::PhotoPause, 1}, {K::Reveal, 1}, {K::Reveal, 2}, {K::Reveal, 3},
        {K::Chart, 0},  {K::Done, 0},       {K::Done, 0},   {K::Done, 0},   {K::Done, 0}};
    EXPECT_EQ(steps, expected);
    EXPECT_TRUE(show.chart().applied);
    EXPECT_EQ(readLines(fileOf(t, "pastperformances.dat")).size(), 8u);
    EXPECT_EQ(t.day.db.horses[13].starts, 1);
}

TEST(ResultsShowTest, OpensQuicklyWithoutAPhoto) {
    RaceTestDay t(scripted({0.5}));
    finishRace(t.day, {120.0f, 120.45f, 121.0f, 122.0f, 123.0f, 123.1f, 123.2f, 123.3f});
    EXPECT_EQ(ResultsShow(t.day).openingDelayMs(), ShowDelayMs);
}

} // namespace
} // namespace sw
