#include "PrintProgram.h"

#include "ProgramTexts.h"
#include "RacingProgram.h"

#include "core/Format.h"
#include "tote/Tote.h"

#include <algorithm>

namespace sw {

namespace {

constexpr std::size_t PrintedPastLines = 9;

} // namespace

PrintRange printRangeFor(const RaceDay& day) {
    PrintRange range;
    range.minimum = std::clamp(day.currentRace + 1, 1, RacesPerDay);
    range.maximum = RacesPerDay;
    range.from = range.minimum;
    range.to = range.maximum;
    return range;
}

void setPrintFrom(PrintRange& range, int value) {
    range.from = std::clamp(value, range.minimum, range.maximum);
    if (range.from > range.to && range.to < range.maximum)
        range.to = range.from;
}

void setPrintTo(PrintRange& range, int value) {
    range.to = std::clamp(value, range.minimum, range.maximum);
    if (range.to < range.from && range.from > range.minimum)
        range.from = range.to;
}

PrintPage programPage(const ProgramView& view) {
    PrintPage page;
    page.race = view.race;
    page.lines.push_back({"Race " + std::to_string(view.race) + " Grade " + view.purse +
                              " 550 Yards        " + view.betsOffered,
                          false});
    page.lines.push_back({std::string(PrintColumnLine), false});
    for (std::size_t h = 0; h < FieldSize; ++h) {
        const ProgramEntryView& entry = view.entries[h];
        page.lines.push_back({std::to_string(h + 1) + " " + padRight(entry.horseName, 20) +
                                  padRight(entry.jockey, 20) + "          Starts: " + entry.starts + " " +
                                  entry.firsts + " " + entry.seconds + " " + entry.thirds + " " +
                                  entry.fourths + " " + entry.earnings,
                              true});
        for (std::size_t n = 0; n < PrintedPastLines; ++n)
            page.lines.push_back({n < entry.pastLines.size() ? entry.pastLines[n] : std::string(), false});
        page.lines.push_back({std::string(), false});
    }
    return page;
}

std::vector<PrintPage> programPages(RaceDay& day, int from, int to) {
    std::vector<PrintPage> pages;
    for (int race = std::max(from, 1); race <= std::min(to, RacesPerDay); ++race)
        pages.push_back(programPage(showRace(day, race, false)));
    showRaceAboutToBeRun(day);
    return pages;
}

} // namespace sw
