#include "ResultChart.h"

#include "core/Format.h"
#include "core/GradeTables.h"
#include "core/Translate.h"
#include "database/DatabaseFiles.h"
#include "players/SettingsRecord.h"
#include "race/StableSave.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace sw {

namespace {

// The entry index of finishing row r, or -1 when the row holds no valid post.
int entryOfRow(const RaceResult& result, int r) {
    if (r < 0 || r >= FieldSize)
        return -1;
    const int post = result.finishOrder[static_cast<std::size_t>(r)];
    return (post >= 1 && post <= FieldSize) ? post - 1 : -1;
}

bool isCompleteOrder(const RaceResult& result) {
    std::array<bool, FieldSize> seen{};
    for (int r = 0; r < FieldSize; ++r) {
        const int e = entryOfRow(result, r);
        if (e < 0 || seen[static_cast<std::size_t>(e)])
            return false;
        seen[static_cast<std::size_t>(e)] = true;
    }
    return true;
}

std::string_view gradeLetter(int g) {
    return (g >= 0 && g < static_cast<int>(GradeLetters.size())) ? GradeLetters[static_cast<std::size_t>(g)]
                                                                 : "-";
}

// Counters come from files a player may have edited; they stop at their type's limits
// instead of overflowing.
template <typename T, typename D> void addClamped(T& value, D delta) {
    const auto sum = static_cast<int64_t>(value) + static_cast<int64_t>(delta);
    value = static_cast<T>(
        std::clamp<int64_t>(sum, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}

int16_t toInt16(int32_t value) {
    return static_cast<int16_t>(
        std::clamp<int32_t>(value, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()));
}

int floorDraw(Random& rnd, int n) {
    return static_cast<int>(std::floor(rnd.uniform() * n));
}

// A rating a step below its ceiling rises by 0 or 1, one further below by 0, 1 or 2.
int32_t risen(Random& rnd, int32_t rating, int ceiling) {
    const int rise = rating == ceiling - 1 ? floorDraw(rnd, 2) : floorDraw(rnd, 3);
    return static_cast<int32_t>(roundHalfEven(static_cast<double>(rating) + rise));
}

int32_t fallen(Random& rnd, int32_t rating, int ceiling) {
    const int fall = rating == ceiling + 1 ? floorDraw(rnd, 2) : floorDraw(rnd, 3);
    return static_cast<int32_t>(roundHalfEven(static_cast<double>(rating) - fall));
}

int64_t ratingSum(const std::array<int32_t, 10>& ratings) {
    int64_t sum = 0;
    for (std::size_t k = 0; k < 5; ++k)
        sum += ratings[k];
    return sum;
}

// The updates of the entry's own copies for finishing row r; returns the grade it carries on.
std::string updateEntry(RaceDay& day, int e, int r, int g) {
    EntryTables& en = day.entries;
    const auto ei = static_cast<std::size_t>(e);
    const float time = day.result.finishTime[static_cast<std::size_t>(r)];
    Random& rnd = day.raceRandom();
    auto& ratings = en.segmentRating[ei];

    addClamped(en.starts[ei], 1);
    addClamped(en.earnings[ei], purseShare(g, r));
    if (time < en.bestTime[ei])
        en.bestTime[ei] = time;
    std::string newGrade(gradeLetter(g));

    if (r == 0) {
        addClamped(en.firsts[ei], 1);
        if (g != 6)
            newGrade = gradeLetter(g + 1);
        en.formValue[ei] = 0;
        const auto k = static_cast<std::size_t>(floorDraw(rnd, 5));
        const int ceiling = gradeFactor(g + 1);
        if (g != 6 && ratingSum(ratings) < 3 * g + 40 && ratings[k] < ceiling)
            ratings[k] = risen(rnd, ratings[k], ceiling);
    }
    if (r == 1) {
        addClamped(en.seconds[ei], 1);
        en.formValue[ei] = 0;
    }
    if (r == 2) {
        addClamped(en.thirds[ei], 1);
        en.formValue[ei] = 0;
    }
    if (r == 3)
        addClamped(en.fourths[ei], 1);
    if (r >= 3) {
        addClamped(en.formValue[ei], 1);
        if (en.formValue[ei] >= 3) {
            const auto k = static_cast<std::size_t>(floorDraw(rnd, 5));
            if (g != 1 && g != 2) {
                newGrade = gradeLetter(g - 1);
                const int ceiling = gradeFactor(g);
                if (ratings[k] > ceiling)
                    ratings[k] = fallen(rnd, ratings[k], ceiling);
                en.formValue[ei] = 0;
            } else {
                // Nothing below "J" and "M": a struggling horse is helped along instead of dropped.
                const int ceiling = gradeFactor(g);
                if (ratingSum(ratings) < 3 * (g - 1) + 40 && ratings[k] < ceiling)
                    ratings[k] = risen(rnd, ratings[k], ceiling);
            }
        }
    }
    return newGrade;
}

void updateHorse(Horse& horse, const EntryTables& en, int e, int r, int g, const std::string& newGrade) {
    const auto ei = static_cast<std::size_t>(e);
    horse.grade = newGrade;
    horse.starts = en.starts[ei];
    horse.firsts = en.firsts[ei];
    horse.seconds = en.seconds[ei];
    horse.thirds = en.thirds[ei];
    horse.fourths = en.fourths[ei];
    horse.earnings = en.earnings[ei];
    if (r == 0 && g < 6) {
        const int earned = gradeIndex(horse.earnedGrade);
        if (earned >= 1 && earned <= 5)
            horse.earnedGrade = gradeLetter(g + 1);
    }
    // Built as a string first: GCC 12 at -O3 warns falsely on assigning the literal here.
    horse.gradeMark = std::string("M");
    horse.bestTime = en.bestTime[ei];
    for (std::size_t k = 0; k < 5; ++k)
        horse.segmentRating[k] = toInt16(en.segmentRating[ei][k]);
    horse.path = en.path[ei];
    for (std::size_t k = 0; k < 4; ++k)
        horse.spareRating[k] = toInt16(en.segmentRating[ei][k + 6]);
    horse.formValue = en.formValue[ei];
    horse.spareFlag = false;
}

void updateJockey(Jockey& jockey, int r, int g) {
    addClamped(jockey.starts, 1);
    if (r == 0)
        addClamped(jockey.firsts, 1);
    if (r == 1)
        addClamped(jockey.seconds, 1);
    if (r == 2)
        addClamped(jockey.thirds, 1);
    if (r == 3)
        addClamped(jockey.fourths, 1);
    jockey.earnings += purseShare(g, r) * 0.1;
}

void keepFirstError(FileError& first, FileError err) {
    if (err && !first)
        first = std::move(err);
}

} // namespace

std::string chartComment(const RaceResult& result, int r) {
    const int e = entryOfRow(result, r);
    int q = 0, m = 0, t = 0;
    if (e >= 0) {
        const auto ei = static_cast<std::size_t>(e);
        q = result.quarterPos[ei];
        m = result.halfPos[ei];
        t = result.threeQuarterPos[ei];
    }
    const int f = r + 1;
    const int s = q + m + t + f;

    std::string text = "Good Effort";
    if (s == 4)
        text = "BxToWire";
    if (s > 16)
        text = "StdyPace";
    if (s > 24)
        text = "NoFactor";
    if (q - f <= -3)
        text = "Faded";
    if (q - f <= -6)
        text = "FadeBad";
    if (t - f <= -2)
        text = "FadeLate";
    if (q - f > 2)
        text = "StdyGain";
    if (q - f >= 6)
        text = "StrgGain";
    if (t - f >= 2)
        text = "LateGain";
    if (f == 2 && t == 1)
        text = "JustMisd";
    if (f == 1 && t == 2)
        text = "UpAtWire";
    return text;
}

std::string pathSuffix(int path) {
    switch (path) {
    case 0:
        return "-in";
    case 1:
        return "-md";
    case 2:
        return "-wd";
    default:
        return "";
    }
}

bool photoBeforeReveal(const RaceResult& result, int k) {
    if (k < 0 || k > 3)
        return false;
    const auto i = static_cast<std::size_t>(k);
    const float gap = result.finishTime[i + 1] - result.finishTime[i];
    return static_cast<double>(gap) <= PhotoGapSeconds;
}

bool photoExpected(const RaceResult& result) {
    for (int k = 0; k < 4; ++k)
        if (photoBeforeReveal(result, k))
            return true;
    return false;
}

RaceChart applyRaceToDatabase(RaceDay& day) {
    RaceChart chart;
    const RaceResult& result = day.result;
    const int race = day.currentRace;
    if (!result.complete || !isCompleteOrder(result) || race < 0 || race >= RacesPerDay)
        return chart;
    const auto ri = static_cast<std::size_t>(race);
    const int g = day.card.raceGrade[ri];
    // A replayed season dates its lines by its own calendar; a played day by today's date.
    const std::string today = day.date.empty() ? todayText() : day.date;
    Settings& settings = day.db.settings;

    std::string pastLines;
    bool newRecord = false;
    for (int r = 0; r < FieldSize; ++r) {
        const auto rr = static_cast<std::size_t>(r);
        const int e = entryOfRow(result, r);
        const auto ei = static_cast<std::size_t>(e);
        const float time = result.finishTime[rr];
        const float odds = day.pools.winOdds[ei];

        ChartRow& row = chart.rows[rr];
        row.lblHorseName = day.entries.name[ei];
        row.lblPost = std::to_string(result.finishOrder[rr]);
        row.lblBreak = std::to_string(result.quarterPos[ei]);
        row.lblEigth = std::to_string(result.halfPos[ei]);
        row.lblEiLen = result.halfLengths[ei];
        row.lblStrech = std::to_string(result.threeQuarterPos[ei]);
        row.lblStLen = result.threeQuarterLengths[ei];
        row.lblFin = std::to_string(r + 1);
        row.lblFinLen = result.finishLengths[rr];
        row.lblTime = timeText(time);
        row.lblOdds = fixedText(odds, 2);

        std::string comment = chartComment(result, r);
        // Equality first: a horse matching a record set earlier in this very race only ties it.
        if (time == settings.trackRecord) {
            comment = "TrkRecrd";
            row.recordTime = true;
        } else if (time < settings.trackRecord) {
            settings.trackRecord = time;
            newRecord = true;
            comment = "NewTrkRc";
            row.recordTime = true;
        }
        comment += pathSuffix(day.entries.path[ei]);
        row.lblComment = comment;

        const int32_t horseNumber = day.card.raceHorse[ri][ei];
        const bool knownHorse = horseNumber >= 1 && horseNumber <= HorseCount;
        Horse* horse = knownHorse ? &day.db.horses[static_cast<std::size_t>(horseNumber)] : nullptr;
        if (horse) {
            PastPerformance line;
            line.horse = static_cast<int16_t>(horseNumber);
            line.date = today;
            line.reserved = 0;
            line.raceNumber = static_cast<int16_t>(race + 1);
            line.distanceCode = 550;
            line.trackCondition = std::string("F");
            line.winnerTime = result.finishTime[0];
            line.horseRating = horse->horseRating;
            line.postPosition = result.finishOrder[rr];
            line.quarterPos = result.quarterPos[ei];
            line.halfPos = result.halfPos[ei];
            line.halfLengths = result.halfLengths[ei];
            line.threeQuarterPos = result.threeQuarterPos[ei];
            line.threeQuarterLengths = result.threeQuarterLengths[ei];
            line.finishPos = static_cast<int16_t>(r + 1);
            line.finishLengths = result.finishLengths[rr];
            line.finalTime = time;
            line.odds = odds;
            line.raceGrade = std::string(gradeLetter(g));
            line.comment = comment;
            line.fieldSize = FieldSize;
            pastLines += pastPerformanceRecord(line);
        }

        const std::string newGrade = updateEntry(day, e, r, g);
        if (horse)
            updateHorse(*horse, day.entries, e, r, g, newGrade);
        const int jockeyNumber = day.card.raceJockey[ri][ei];
        if (jockeyNumber >= 1 && jockeyNumber <= JockeyCount)
            updateJockey(day.db.jockeys[static_cast<std::size_t>(jockeyNumber)], r, g);
    }
    day.raceWinner[ri] = result.finishOrder[0];
    // The past lines, the stable and a new record go in together: a kill between them would leave
    // history that no horse's record counts.
    // A settings.dat the day could not read refuses the new record on its own, and the race is
    // still saved.
    const bool recordApart = newRecord && day.folder.loaded("settings.dat") == ReadStatus::Unreadable;
    // Past performances the day could not read are never added to (their end is unknown); the
    // stable is still saved, and the chart says why the history was not.
    FileChanges changes;
    if (day.folder.loaded("pastperformances.dat") == ReadStatus::Unreadable)
        keepFirstError(chart.saveError,
                       FileError{_("Cannot add to pastperformances.dat: it could not be read, so "
                                   "the game leaves it as it is.")});
    else
        changes.append("pastperformances.dat", std::move(pastLines));
    addStable(day, changes);
    if (newRecord && !recordApart)
        changes.write("settings.dat", settingsRecord(settings));
    // The race has been run whatever the disk says: what cannot be written now goes out with the
    // next step, and the files never count one race without the other.
    const StepOutcome saved = day.folder.carry(changes);
    keepFirstError(chart.saveError, saved);
    chart.saveNotice = saved.notice;
    if (recordApart)
        keepFirstError(chart.saveError, day.folder.write("settings.dat", settingsRecord(settings)));

    chart.lblTimeOfRace = timeText(result.finishTime[0]);
    chart.applied = true;
    return chart;
}

} // namespace sw
