#include "ReliabilitySupport.h"

#include "core/Constants.h"
#include "core/TextEncoding.h"
#include "support/TestSupport.h"
#include "tote/PoolFiles.h"
#include "wagering/ExchangeCredits.h"

#include <algorithm>
#include <ranges>

namespace sw::reliability {

namespace {

namespace fs = std::filesystem;

// A number as the game writes one: an optional minus, digits, and (unless whole) a point and digits.
bool isNumber(std::string_view text, bool whole) {
    auto digits = [](std::string_view d) {
        return !d.empty() && d.find_first_not_of("0123456789") == d.npos;
    };
    text.remove_prefix(text.starts_with('-') ? 1 : 0);
    const std::size_t point = whole ? text.npos : text.find('.');
    return digits(text.substr(0, point)) && (point == text.npos || digits(text.substr(point + 1)));
}

// Each field of a record: 'i' whole number, 'n' number, 't' text (a name cut short by a hand edit
// stays empty), 'T' text that is not empty, 'b' True or False, 'e' empty or a whole number.
bool matches(std::string_view line, std::string_view shape) {
    std::size_t i = 0;
    for (const auto field : std::views::split(line, ',')) {
        const std::string_view f(field.begin(), field.end());
        const char kind = i < shape.size() ? shape[i++] : '!'; // '!': a field too many
        if (kind == '!' || (kind == 'i' && !isNumber(f, true)) || (kind == 'n' && !isNumber(f, false)) ||
            (kind == 'T' && f.empty()) || (kind == 'b' && f != "True" && f != "False") ||
            (kind == 'e' && !f.empty() && !isNumber(f, true)))
            return false;
    }
    return i == shape.size();
}

} // namespace

std::vector<std::string> folderProblems(const fs::path& dir) {
    struct FileShape {
        std::string_view name;
        std::function<bool(std::string_view)> lineIsWhole;
        int records = -1; // exact count of records, -1 for any
        bool required = false;
        bool mayBeEmpty = false; // emptied at the start of a day before it is written
    };
    auto shaped = [](std::string_view shape) {
        return [shape](std::string_view line) { return matches(line, shape); };
    };
    // horse, date, reserved, race, distance, track, winner time, rating, post, the calls with their
    // margins, finish, final time, odds, grade, comment, field size.
    std::vector<FileShape> files = {
        {"horses.dat", shaped("ttiiiiiiittniiiiiiiiiiib"), HorseCount, true},
        {"jockeys.dat", shaped("tiiiiiin"), JockeyCount, true},
        {"settings.dat", shaped("nneen"), 1, true},
        {"players.dat", shaped("itn")},
        {"tickets.dat", shaped("iiiTit")},
        {"pastperformances.dat", shaped("itiiitniiiitititnntti")},
        {"top10players.dat", shaped("tn")},
        {"races.dat", shaped("iiitiiiiiiii"), RacesPerDay, false, true},
        {ExchangeCreditsFile, [](std::string_view line) { return parseExchangeCredit(line).has_value(); }},
    };
    for (int f = 0; f < static_cast<int>(PoolFileCount); ++f) {
        const auto pool = static_cast<PoolFile>(f);
        files.push_back({poolFileName(pool), [pool](std::string_view line) {
                             return parsePoolLine(line, pool) &&
                                    isNumber(line.substr(line.rfind(',') + 1), true);
                         }});
    }

    std::vector<std::string> problems;
    for (const FileShape& file : files) {
        auto report = [&](std::string what) { problems.push_back(std::string(file.name) + ": " + what); };
        std::error_code ec;
        if (!fs::exists(dir / file.name, ec)) {
            if (file.required)
                report("missing");
            continue;
        }
        const std::string content = test::readAll(dir / file.name);
        std::string rejoined; // the lines as they would be with CR LF ends
        int records = 0;
        for (std::string_view line : splitLines(content)) {
            ++records;
            rejoined.append(line).append("\r\n");
            if (!file.lineIsWhole(line))
                report("broken record \"" + std::string(line.substr(0, 120)) + "\"");
        }
        if (rejoined != content)
            report("a line does not end with CR LF");
        if (file.records >= 0 && records != file.records && !(file.mayBeEmpty && records == 0))
            report(std::to_string(records) + " records instead of " + std::to_string(file.records));
    }
    return problems;
}

} // namespace sw::reliability
