#include "TopTen.h"

#include "core/Constants.h"
#include "core/Format.h"
#include "core/TextEncoding.h"

#include <algorithm>
#include <utility>

namespace sw {

std::vector<Standing> parseStandings(std::string_view text) {
    std::vector<Standing> standings;
    forEachLineIn(text, [&](std::string_view line) {
        if (standings.size() >= static_cast<std::size_t>(TopTenReadLimit) ||
            line.find_first_not_of(" \t") == std::string_view::npos)
            return;
        FieldReader reader(line);
        Standing entry;
        reader.read(entry.name);
        reader.read(entry.amount);
        standings.push_back(std::move(entry));
    });
    return standings;
}

std::vector<Standing> bestStandings(std::vector<Standing> standings) {
    // Only strictly greater amounts move up, so of two equal results the earlier one ranks higher.
    const std::size_t n = standings.size();
    for (std::size_t pass = 0; pass < n; ++pass)
        for (std::size_t j = 0; j + 1 < n; ++j)
            if (standings[j + 1].amount > standings[j].amount)
                std::swap(standings[j], standings[j + 1]);
    standings.resize(std::min(n, static_cast<std::size_t>(TopTenKept)));
    return standings;
}

std::string standingRecord(const Standing& standing) {
    return RecordWriter().text(standing.name).dbl(standing.amount).line();
}

StepOutcome recordDayResults(RaceDay& day) {
    // Standings that are there but cannot be read are never added to: the folder refuses.
    day.folder.noteLoad("top10players.dat", day.folder.read("top10players.dat").status);
    std::string lines;
    for (const PlayerEntry& player : day.players.entries)
        lines += RecordWriter().text(player.name).text(player.balance).line();
    return day.folder.commit(FileChanges().append("top10players.dat", lines));
}

std::vector<std::string> showTopTen(RaceDay& day) {
    const FileContent content = day.folder.read("top10players.dat");
    // Standings that exist but cannot be read are never rewritten: the best ten would be lost.
    day.folder.noteLoad("top10players.dat", content.status);
    if (content.status == ReadStatus::Unreadable)
        day.prompter.message("Error reading top10players.dat", MessageTitle);

    const std::vector<Standing> best = bestStandings(parseStandings(content.bytes));
    std::string text;
    std::vector<std::string> lines;
    for (const Standing& entry : best) {
        text += standingRecord(entry);
        lines.push_back(rightAlign(dollarText(entry.amount), 10) + " - " + entry.name);
    }
    if (content.status != ReadStatus::Unreadable)
        day.folder.write("top10players.dat", text);
    return lines;
}

} // namespace sw
