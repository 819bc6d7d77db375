#pragma once

#include "core/Constants.h"
#include "core/FileStore.h"
#include "core/RaceDay.h"
#include "core/RaceResult.h"
#include "core/Translate.h"

#include <array>
#include <string>

namespace sw {

// Finishers this close in seconds call for the photo.
inline constexpr double PhotoGapSeconds = 0.444;

// The texts of one row of the race chart, finishing place r = row index.
struct ChartRow {
    std::string lblHorseName;
    std::string lblPost;
    std::string lblBreak;
    std::string lblEigth;
    std::string lblEiLen;
    std::string lblStrech;
    std::string lblStLen;
    std::string lblFin;
    std::string lblFinLen;
    std::string lblTime;
    std::string lblOdds;
    std::string lblComment;
    bool recordTime = false; // equals or sets the track record: shown in the photo sign's colour
};

// One column of the chart: the heading printed over it, and the words a screen reader says for
// it where the heading is a sign ("\u00BD" is "At the half"); both as the catalog marks them.
struct ChartColumnHeading {
    const char* heading;
    const char* spoken;
};
// The chart's columns in the order of a row's texts.
inline constexpr std::array<ChartColumnHeading, 12> ChartColumnHeadings = {{
    {N_("Name"), N_("Horse")},
    {"PP", N_("Post")},
    {"\u00BC", N_("At the quarter")},
    {"\u00BD", N_("At the half")},
    {"L", N_("Lengths at the half")},
    {"\u00BE", N_("At three quarters")},
    {"L", N_("Lengths at three quarters")},
    {N_("Fin"), N_("Finish")},
    {"L", N_("Lengths at the finish")},
    {N_("Time"), N_("Time")},
    {N_("Odds"), N_("Odds")},
    {N_("Comment"), N_("Comment")},
}};

// What the chart shows once the race has been written into the stable.
struct RaceChart {
    bool applied = false; // false when the result was not a complete race: nothing was written
    std::array<ChartRow, FieldSize> rows;
    std::string lblTimeOfRace;
    FileError saveError;    // the first file that could not be written, if any
    std::string saveNotice; // saved, with a file still to be put in place
};

// The running-style comment of finishing row r, before any track-record text or path suffix:
// "Good Effort" unless one of the chart's tests holds, the last that holds winning.
std::string chartComment(const RaceResult& result, int r);

// "-in", "-md" or "-wd" for paths 0, 1, 2; nothing for any other value.
std::string pathSuffix(int path);

// Whether finisher k + 1 (k = 0..3) is close enough behind finisher k for a photo pause
// before place k is revealed.
bool photoBeforeReveal(const RaceResult& result, int k);

// True when any of the first five finishers is within a photo of the one before it.
bool photoExpected(const RaceResult& result);

// Writes the run race into the stable, row by row in finishing order: chart texts, track record
// (saved at once when broken), a past-performance line per starter (appended at once), the entry,
// horse and jockey updates with their random draws, the race winner; then horses and jockeys are
// saved together. Does nothing unless day.result holds a complete race.
RaceChart applyRaceToDatabase(RaceDay& day);

} // namespace sw
