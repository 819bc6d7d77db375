#include "TopTen.h"

#include "core/Constants.h"
#include "core/Format.h"
#include "core/TextEncoding.h"

#include <algorithm>
#include <filesystem>
#include <utility>

namespace sw {

namespace {

struct Standing {
    std::string name;
    double amount = 0;
};

} // namespace

FileError recordDayResults(const RaceDay& day) {
    std::string lines;
    for (const PlayerEntry& player : day.players.entries)
        lines += RecordWriter().text(player.name).text(player.balance).line();
    FileChanges changes;
    changes.append("top10players.dat", std::move(lines));
    return day.folder.commit(changes);
}

std::vector<std::string> showTopTen(const RaceDay& day) {
    std::vector<Standing> standings;
    const bool read = forEachLine(day.file("top10players.dat"), [&](std::string_view line) {
        if (standings.size() >= static_cast<std::size_t>(TopTenReadLimit) ||
            line.find_first_not_of(" \t") == std::string_view::npos)
            return;
        FieldReader reader(line);
        Standing entry;
        reader.read(entry.name);
        reader.read(entry.amount);
        standings.push_back(std::move(entry));
    });
    // Standings that exist but cannot be read are shown as far as they were read and never
    // rewritten: the best ten would be lost.
    std::error_code ec;
    const bool keepFile = !read && std::filesystem::exists(day.file("top10players.dat"), ec);
    if (keepFile)
        day.prompter.message("Error reading top10players.dat", MessageTitle);

    // Only strictly greater amounts move up, so of two equal results the earlier one ranks higher.
    const std::size_t n = standings.size();
    for (std::size_t pass = 0; pass < n; ++pass)
        for (std::size_t j = 0; j + 1 < n; ++j)
            if (standings[j + 1].amount > standings[j].amount)
                std::swap(standings[j], standings[j + 1]);
    standings.resize(std::min(n, static_cast<std::size_t>(TopTenKept)));

    std::string content;
    std::vector<std::string> lines;
    for (const Standing& entry : standings) {
        content += RecordWriter().text(entry.name).dbl(entry.amount).line();
        lines.push_back(rightAlign(dollarText(entry.amount), 10) + " - " + entry.name);
    }
    if (!keepFile)
        day.folder.write("top10players.dat", content);
    return lines;
}

} // namespace sw
