#include "TopTen.h"
#include "core/Translate.h"

#include "core/Constants.h"
#include "core/Format.h"
#include "core/TextEncoding.h"

#include <algorithm>
#include <utility>

namespace sw {

namespace {

bool isBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

Standing parseStanding(std::string_view line) {
    FieldReader reader(line);
    Standing entry;
    reader.read(entry.name);
    if (!reader.atEnd())
        entry.amount = parseCents(reader.next()).value_or(0);
    return entry;
}

// Puts the standing in its place among the best so far, after every equal amount (the one
// recorded earlier ranks higher), and drops the eleventh.
void keepIfBest(std::vector<Standing>& best, Standing entry) {
    auto at = best.begin();
    while (at != best.end() && !(entry.amount > at->amount))
        ++at;
    if (at == best.end() && best.size() >= static_cast<std::size_t>(TopTenKept))
        return;
    best.insert(at, std::move(entry));
    if (best.size() > static_cast<std::size_t>(TopTenKept))
        best.pop_back();
}

} // namespace

std::vector<Standing> parseStandings(std::string_view text) {
    std::vector<Standing> standings;
    forEachLineIn(text, [&](std::string_view line) {
        if (!isBlankLine(line))
            standings.push_back(parseStanding(line));
    });
    return standings;
}

std::vector<Standing> bestStandings(std::vector<Standing> standings) {
    std::vector<Standing> best;
    for (Standing& entry : standings)
        keepIfBest(best, std::move(entry));
    return best;
}

std::vector<Standing> bestStandingsIn(std::string_view text) {
    std::vector<Standing> best;
    forEachLineIn(text, [&](std::string_view line) {
        if (!isBlankLine(line))
            keepIfBest(best, parseStanding(line));
    });
    return best;
}

std::string standingRecord(const Standing& standing) {
    return RecordWriter().text(standing.name).text(centsField(standing.amount)).line();
}

StepOutcome recordDayResults(RaceDay& day) {
    // Standings that are there but cannot be read are never added to: the folder refuses.
    day.folder.noteLoad("top10players.dat", day.folder.read("top10players.dat").status);
    std::string lines;
    for (const PlayerEntry& player : day.players.entries)
        lines += RecordWriter().text(player.name).text(player.balance).line();
    // The day is over whatever the disk says: its results wait for the next step that can save.
    return day.folder.carry(FileChanges().append("top10players.dat", lines));
}

std::vector<std::string> showTopTen(RaceDay& day) {
    const FileContent content = day.folder.read("top10players.dat");
    // Standings that exist but cannot be read are never rewritten: the best ten would be lost.
    day.folder.noteLoad("top10players.dat", content.status);
    if (content.status == ReadStatus::Unreadable)
        day.prompter.message(fillIn(_("Error reading {0}"), "top10players.dat"), MessageTitle);

    const std::vector<Standing> best = bestStandingsIn(content.bytes);
    std::string text;
    std::vector<std::string> lines;
    for (const Standing& entry : best) {
        text += standingRecord(entry);
        lines.push_back(rightAlign(centsDollarText(entry.amount), 10) + " - " + entry.name);
    }
    if (content.status != ReadStatus::Unreadable)
        day.folder.write("top10players.dat", text);
    return lines;
}

} // namespace sw
