#include "PrintProgram.h"
#include "core/Translate.h"

#include "ProgramTexts.h"
#include "RacingProgram.h"

#include "core/Format.h"
#include "tote/Tote.h"

#include <algorithm>

namespace sw {

namespace {

constexpr std::size_t PrintedPastLines = 9;
constexpr std::size_t HeadingLines = 3; // race, bets offered, columns
constexpr double LargestPrintSize = 12.0;

// Characters, not bytes: the column line's fractions take two bytes each.
std::size_t characters(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

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
    // The bets offered go on a line of their own: beside the race they made the widest line of
    // the page, and the type smaller for all of it.
    page.lines.push_back(
        {"Race " + std::to_string(view.race) + "   Purse " + view.purse + "   " + view.distance, false});
    page.lines.push_back({view.betsOffered, false});
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

PrintLayout layoutProgram(const std::vector<PrintPage>& pages, const PrintSheet& sheet) {
    PrintLayout layout;
    std::size_t widest = 1;
    for (const PrintPage& page : pages)
        for (const PrintLine& line : page.lines)
            widest = std::max(widest, characters(line.text));
    layout.pointSize = LargestPrintSize;
    if (sheet.advancePerPoint > 0)
        layout.pointSize =
            std::min(layout.pointSize, sheet.width / (static_cast<double>(widest) * sheet.advancePerPoint));
    const double lineHeight = layout.pointSize * sheet.lineSpacingPerPoint;
    // The footer's line is kept free on every sheet.
    const std::size_t perSheet = std::max(
        HeadingLines + 1, lineHeight > 0 ? static_cast<std::size_t>(sheet.height / lineHeight) - 1 : 0);

    if (!pages.empty()) {
        // What the program holds, so a sheet that went astray can be put back: the race lines.
        std::vector<PrintLine> contents;
        const int first = pages.front().race;
        const int last = pages.back().race;
        contents.push_back({first == last ? fillIn(_("Racing Program: race {0}"), first)
                                          : fillIn(_("Racing Program: races {0} to {1}"), first, last),
                            true});
        contents.push_back({std::string(), false});
        for (const PrintPage& page : pages)
            if (!page.lines.empty())
                contents.push_back(page.lines.front());
        layout.sheets.push_back(std::move(contents));
    }

    for (const PrintPage& page : pages) {
        const auto body =
            page.lines.begin() + static_cast<std::ptrdiff_t>(std::min(HeadingLines, page.lines.size()));
        std::vector<PrintLine> current(page.lines.begin(), body);
        for (auto entry = body; entry != page.lines.end();) {
            // An entry runs from its bold line to the next one.
            auto next = std::find_if(entry + 1, page.lines.end(), [](const PrintLine& l) { return l.bold; });
            const auto length = static_cast<std::size_t>(next - entry);
            if (current.size() > HeadingLines && current.size() + length > perSheet) {
                layout.sheets.push_back(std::move(current));
                current.assign(page.lines.begin(), body);
            }
            current.insert(current.end(), entry, next);
            entry = next;
        }
        layout.sheets.push_back(std::move(current));
    }
    for (std::size_t n = 1; n <= layout.sheets.size(); ++n)
        layout.footers.push_back("Page " + std::to_string(n) + " of " + std::to_string(layout.sheets.size()));
    return layout;
}

std::vector<PrintPage> programPages(RaceDay& day, int from, int to) {
    std::vector<PrintPage> pages;
    for (int race = std::max(from, 1); race <= std::min(to, RacesPerDay); ++race)
        pages.push_back(programPage(showRace(day, race, false)));
    showRaceAboutToBeRun(day);
    return pages;
}

} // namespace sw
