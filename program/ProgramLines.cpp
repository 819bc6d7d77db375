#include "ProgramLines.h"
#include "core/Translate.h"

#include "core/Format.h"
#include "core/GradeTables.h"
#include "core/TextEncoding.h"

#include <cmath>
#include <utility>

namespace sw {

namespace {

constexpr float NoTrackRecord = 999.0f;
constexpr std::string_view NoTrackRecordText = N_("none yet");

std::string paddedMargin(std::string_view margin) {
    return padRight(margin, 3);
}

// Whole dollars of a jockey's earnings; a hand-edited figure beyond 64 bits is printed as it is.
std::string wholeDollars(double value) {
    if (std::fabs(value) < 9e15)
        return std::to_string(roundHalfEven(value));
    return fixedText(value, 0);
}

bool hasTrackRecord(float record) {
    // No record yet, or none a race could have run (a missing settings file reads 0).
    return record != NoTrackRecord && record > 0;
}

// One row of the jockey standings; the heading goes through here too so it lines up with the figures.
std::string standingsColumns(std::string_view name, std::string_view starts, std::string_view firsts,
                             std::string_view seconds, std::string_view thirds, std::string_view fourths,
                             std::string_view earnings) {
    return padRight(name, 15) + rightAlign(starts, 4) + "  " + rightAlign(firsts, 4) + " " +
           rightAlign(seconds, 4) + " " + rightAlign(thirds, 4) + " " + rightAlign(fourths, 4) + "   " +
           rightAlign(earnings, 8);
}

} // namespace

std::string pastPurseText(std::string_view gradeLetter) {
    int g = gradeIndex(gradeLetter);
    return g == 0 ? std::string() : std::to_string(g) + "K";
}

PastLineCells pastPerformanceCells(const PastPerformance& line) {
    return {std::to_string(line.postPosition),
            std::to_string(line.quarterPos),
            std::to_string(line.halfPos),
            line.halfLengths,
            std::to_string(line.threeQuarterPos),
            line.threeQuarterLengths,
            std::to_string(line.finishPos),
            line.finishLengths,
            timeText(line.finalTime),
            pastPurseText(line.raceGrade),
            fixedText(line.odds, 1),
            line.comment};
}

std::string pastPerformanceText(const PastPerformance& line) {
    const PastLineCells c = pastPerformanceCells(line);
    std::string out;
    out.reserve(64);
    out += c[0] + "  " + c[1] + " ";
    out += c[2] + "-" + paddedMargin(c[3]);
    out += c[4] + "-" + paddedMargin(c[5]);
    out += c[6] + "-" + paddedMargin(c[7]);
    out += " " + rightAlign(c[8], 7) + " " + c[9] + " " + rightAlign(c[10], 5) + " " + c[11];
    return out;
}

std::string betsOfferedText(int race) {
    // Whole lines, one a race, so that each is translated as a whole where it is shown.
    static constexpr const char* offered[] = {
        N_("Win Place Show Quiniela Exacta Trifecta Superfecta Betting"),
        N_("Win Place Show Quiniela Exacta Trifecta Superfecta Daily Double Betting"),
        N_("Win Place Show Quiniela Exacta Trifecta Superfecta 2nd Half Daily Double Betting"),
        N_("Win Place Show Quiniela Exacta Trifecta Superfecta Pick 3 Betting"),
        N_("Win Place Show Quiniela Exacta Trifecta Superfecta 2nd Leg of Pick 3 Betting"),
        N_("Win Place Show Quiniela Exacta Trifecta Superfecta 3rd Leg of Pick 3 Betting"),
        N_("Win Place Show Quiniela Exacta Trifecta Superfecta Pick 6 Betting"),
        N_("Win Place Show Quiniela Exacta Trifecta Superfecta 2nd Leg of Pick 6 Betting"),
        N_("Win Place Show Quiniela Exacta Trifecta Superfecta 3rd Leg of Pick 6 Betting"),
        N_("Win Place Show Quiniela Exacta Trifecta Superfecta 4th Leg of Pick 6 Betting"),
        N_("Win Place Show Quiniela Exacta Trifecta Superfecta 5th Leg of Pick 6 Betting"),
        N_("Win Place Show Quiniela Exacta Trifecta Superfecta 6th Leg of Pick 6 Betting")};
    return offered[race >= 2 && race <= 12 ? race - 1 : 0];
}

std::string jockeyMarker(int skill) {
    switch (skill) {
    case 0:
        return " (A)";
    case 1:
        return " (R)";
    case 2:
        return " (V)";
    default:
        return "";
    }
}

std::string jockeyRecordText(const Jockey& jockey) {
    return std::to_string(jockey.starts) + "   " + std::to_string(jockey.firsts) + " " +
           std::to_string(jockey.seconds) + " " + std::to_string(jockey.thirds) + " " +
           std::to_string(jockey.fourths) + "  $" + formatDouble(jockey.earnings);
}

std::vector<StandingCells> jockeyStandingCells(const std::array<Jockey, JockeyCount + 1>& jockeys) {
    // The standings' own exchange sort, so jockeys with equal earnings keep its order.
    std::array<Jockey, JockeyCount + 1> sorted = jockeys;
    for (std::size_t i = 1; i < JockeyCount; ++i)
        for (std::size_t j = i + 1; j <= JockeyCount; ++j)
            if (sorted[i].earnings < sorted[j].earnings)
                std::swap(sorted[i], sorted[j]);

    std::vector<StandingCells> rows;
    rows.reserve(JockeyCount);
    for (std::size_t i = 1; i <= JockeyCount; ++i) {
        const Jockey& j = sorted[i];
        rows.push_back({j.name, std::to_string(j.starts), std::to_string(j.firsts), std::to_string(j.seconds),
                        std::to_string(j.thirds), std::to_string(j.fourths), "$" + wholeDollars(j.earnings)});
    }
    return rows;
}

std::vector<std::string> jockeyStandings(const std::array<Jockey, JockeyCount + 1>& jockeys) {
    std::vector<std::string> lines;
    lines.reserve(JockeyCount);
    for (const StandingCells& c : jockeyStandingCells(jockeys))
        lines.push_back(
            standingsColumns(c[0], c[1], c[2], c[3], c[4], c[5], "$" + rightAlign(c[6].substr(1), 7)));
    return lines;
}

std::string jockeyStandingsHeading() {
    return standingsColumns("Name", "Sts", "1st", "2nd", "3rd", "4th", "Earnings");
}

std::string trackRecordText(float record) {
    return hasTrackRecord(record) ? timeText(record) : std::string(NoTrackRecordText);
}

std::vector<std::string> trackRecordHolders(const Database& db) {
    std::vector<std::string> names;
    const float record = db.settings.trackRecord;
    if (!hasTrackRecord(record))
        return names;
    for (std::size_t h = 1; h <= HorseCount; ++h)
        if (db.horses[h].bestTime == record)
            names.push_back(db.horses[h].name);
    return names;
}

} // namespace sw
