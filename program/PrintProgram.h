#pragma once

#include "ProgramView.h"

#include "core/RaceDay.h"

#include <string>
#include <vector>

namespace sw {

// The races to print: From and To within the races still to run (current race + 1 .. 12).
struct PrintRange {
    int from = 1;
    int to = RacesPerDay;
    int minimum = 1;
    int maximum = RacesPerDay;
};

// The print options as they open: from the race about to be run to the last race.
PrintRange printRangeFor(const RaceDay& day);
// Sets From (kept within the range); To follows when From passes it.
void setPrintFrom(PrintRange& range, int value);
// Sets To (kept within the range); From follows when To drops below it.
void setPrintTo(PrintRange& range, int value);

struct PrintLine {
    std::string text;
    bool bold = false;
};

// One race of the printed program, in a fixed-pitch font.
struct PrintPage {
    int race = 0;
    std::vector<PrintLine> lines;
};

// The page of a race shown in the racing program: the race line, the bets offered, the column line
// and, per entry, its bold line and exactly nine past lines (blank when fewer, the first nine when
// more) and a blank line.
PrintPage programPage(const ProgramView& view);

// The printable area of a sheet and the print font's proportions per point of its size, all in
// one unit (a printer's device pixels).
struct PrintSheet {
    double width = 0;
    double height = 0;
    double advancePerPoint = 0;     // one character's width
    double lineSpacingPerPoint = 0; // from one baseline to the next
};

// The program as printed: one type size for every sheet, the lines of each sheet, and each
// sheet's footer ("Page 2 of 5"), which goes at the foot of the sheet below its lines.
struct PrintLayout {
    double pointSize = 0;
    std::vector<std::vector<PrintLine>> sheets;
    std::vector<std::string> footers;
};

// The largest type at which the widest line still fits the sheet's width, up to 12 points, so the
// columns fill the page. The first sheet says which races the program holds, one line each; then
// each race starts a sheet, and a race too long for one goes on over the next between two
// entries, under its three heading lines again. Every sheet keeps its last line for the footer.
PrintLayout layoutProgram(const std::vector<PrintPage>& pages, const PrintSheet& sheet);

// The pages of races from..to (kept within 1..12). Showing the races never touches the pool
// files; afterwards the day again holds the race about to be run with its pools from the files
// (showRaceAboutToBeRun gives the program's view of it).
std::vector<PrintPage> programPages(RaceDay& day, int from, int to);

} // namespace sw
