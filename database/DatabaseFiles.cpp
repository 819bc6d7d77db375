#include "DatabaseFiles.h"
#include "core/Translate.h"

#include "core/Constants.h"
#include "core/TextEncoding.h"
#include "players/SettingsRecord.h"

#include <array>
#include <string>
#include <vector>

namespace sw {

namespace {

bool isBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

void reportUnreadable(RaceDay& day, std::string_view fileName) {
    day.prompter.message(fillIn(_("Error reading {0}"), fileName), MessageTitle);
}

// The file's bytes for the day's load, its reading noted in the folder and a failure reported.
FileContent loadFile(RaceDay& day, std::string_view fileName) {
    FileContent content = day.folder.read(fileName);
    day.folder.noteLoad(fileName, content.status);
    if (!content.read())
        reportUnreadable(day, fileName);
    return content;
}

// The whole of a line forEachLineIn handed over, which it cuts when it is longer than it keeps.
std::string_view wholeLine(std::string_view text, std::string_view line) {
    const std::size_t begin = static_cast<std::size_t>(line.data() - text.data());
    const std::size_t end = text.find_first_of("\r\n", begin + line.size());
    return text.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin);
}

bool readWhole(std::string_view text, std::string_view line) {
    return wholeLine(text, line).size() == line.size();
}

// Fills slots 1.. from the text's records in order; extra lines are ignored. A line too long to
// read whole leaves its slot blank and is kept as it stands in `kept`.
template <typename Table, typename Parse>
std::size_t parseTable(std::string_view text, Table& table, Parse parse,
                       std::map<std::size_t, std::string>& kept) {
    std::size_t next = 1;
    kept.clear();
    forEachLineIn(text, [&](std::string_view line) {
        if (next >= table.size() || isBlankLine(line))
            return;
        if (readWhole(text, line)) {
            parse(line, table[next]);
        } else {
            table[next] = {};
            kept.emplace(next, std::string(wholeLine(text, line)));
        }
        ++next;
    });
    return next - 1;
}

template <typename Record, std::size_t Slots, typename Format>
std::string tableText(const std::array<Record, Slots>& table, const std::map<std::size_t, std::string>& kept,
                      Format format) {
    std::string content;
    for (std::size_t i = 1; i < Slots; ++i) {
        if (auto at = kept.find(i); at != kept.end()) {
            content += at->second;
            content += LineEnd;
        } else {
            content += format(table[i]);
        }
    }
    return content;
}

void reportKept(RaceDay& day, std::string_view fileName, std::string_view what,
                const std::map<std::size_t, std::string>& kept) {
    for (const auto& [slot, line] : kept)
        day.prompter.message(fillIn(_(what), fileName, slot, MaxLineLength / 1024), MessageTitle);
}

} // namespace

std::size_t parseHorsesKeeping(std::string_view text, HorseTable& horses,
                               std::map<std::size_t, std::string>& kept) {
    return parseTable(text, horses, parseHorse, kept);
}

std::size_t parseHorses(std::string_view text, HorseTable& horses) {
    std::map<std::size_t, std::string> kept;
    return parseHorsesKeeping(text, horses, kept);
}

std::size_t parseJockeysKeeping(std::string_view text, JockeyTable& jockeys,
                                std::map<std::size_t, std::string>& kept) {
    return parseTable(text, jockeys, parseJockey, kept);
}

std::size_t parseJockeys(std::string_view text, JockeyTable& jockeys) {
    std::map<std::size_t, std::string> kept;
    return parseJockeysKeeping(text, jockeys, kept);
}

std::string stableText(const HorseTable& horses, const std::map<std::size_t, std::string>& kept) {
    return tableText(horses, kept, horseRecord);
}

std::string stableText(const JockeyTable& jockeys, const std::map<std::size_t, std::string>& kept) {
    return tableText(jockeys, kept, jockeyRecord);
}

Settings parseSettingsFile(std::string_view text, Settings settings) {
    bool read = false;
    forEachLineIn(text, [&](std::string_view line) {
        if (read || isBlankLine(line))
            return;
        parseSettings(line, settings);
        read = true;
    });
    return settings;
}

ReadStatus loadHorses(RaceDay& day) {
    const FileContent content = loadFile(day, "horses.dat");
    day.db.keptHorseLines.clear();
    if (content.read()) {
        parseHorsesKeeping(content.bytes, day.db.horses, day.db.keptHorseLines);
        reportKept(
            day, "horses.dat",
            N_("{0}: the line of horse {1} is longer than {2} KiB and was not read. It sits out the day, "
               "and its line is kept as it stands."),
            day.db.keptHorseLines);
    }
    return content.status;
}

ReadStatus loadJockeys(RaceDay& day) {
    const FileContent content = loadFile(day, "jockeys.dat");
    day.db.keptJockeyLines.clear();
    if (content.read()) {
        parseJockeysKeeping(content.bytes, day.db.jockeys, day.db.keptJockeyLines);
        reportKept(
            day, "jockeys.dat",
            N_("{0}: the line of jockey {1} is longer than {2} KiB and was not read. It sits out the day, "
               "and its line is kept as it stands."),
            day.db.keptJockeyLines);
    }
    return content.status;
}

ReadStatus loadSettings(RaceDay& day) {
    const FileContent content = loadFile(day, "settings.dat");
    day.db.settings = content.read() ? parseSettingsFile(content.bytes, day.db.settings) : FactorySettings;
    return content.status;
}

FileError saveHorses(const RaceDay& day) {
    return day.folder.write("horses.dat", stableText(day.db.horses, day.db.keptHorseLines));
}

FileError saveJockeys(const RaceDay& day) {
    return day.folder.write("jockeys.dat", stableText(day.db.jockeys, day.db.keptJockeyLines));
}

FileError saveSettings(const RaceDay& day) {
    return day.folder.write("settings.dat", settingsRecord(day.db.settings));
}

std::string horseRecord(const Horse& horse) {
    RecordWriter w;
    w.text(horse.name)
        .text(horse.grade)
        .integer(horse.starts)
        .integer(horse.firsts)
        .integer(horse.seconds)
        .integer(horse.thirds)
        .integer(horse.fourths)
        .integer(horse.earnings)
        .integer(horse.horseRating)
        .text(horse.earnedGrade)
        .text(horse.gradeMark)
        .single(horse.bestTime);
    for (int16_t rating : horse.segmentRating)
        w.integer(rating);
    w.integer(horse.path);
    for (int16_t spare : horse.spareRating)
        w.integer(spare);
    w.integer(horse.formValue).boolean(horse.spareFlag);
    return std::move(w).line();
}

void parseHorse(std::string_view line, Horse& horse) {
    FieldReader r(line);
    r.read(horse.name);
    r.read(horse.grade);
    r.read(horse.starts);
    r.read(horse.firsts);
    r.read(horse.seconds);
    r.read(horse.thirds);
    r.read(horse.fourths);
    r.read(horse.earnings);
    r.read(horse.horseRating);
    r.read(horse.earnedGrade);
    r.read(horse.gradeMark);
    r.read(horse.bestTime);
    for (int16_t& rating : horse.segmentRating)
        r.read(rating);
    r.read(horse.path);
    for (int16_t& spare : horse.spareRating)
        r.read(spare);
    r.read(horse.formValue);
    r.read(horse.spareFlag);
}

std::string jockeyRecord(const Jockey& jockey) {
    return RecordWriter()
        .text(jockey.name)
        .integer(jockey.skill)
        .integer(jockey.starts)
        .integer(jockey.firsts)
        .integer(jockey.seconds)
        .integer(jockey.thirds)
        .integer(jockey.fourths)
        .dbl(jockey.earnings)
        .line();
}

void parseJockey(std::string_view line, Jockey& jockey) {
    FieldReader r(line);
    r.read(jockey.name);
    r.read(jockey.skill);
    r.read(jockey.starts);
    r.read(jockey.firsts);
    r.read(jockey.seconds);
    r.read(jockey.thirds);
    r.read(jockey.fourths);
    r.read(jockey.earnings);
}

std::string pastPerformanceRecord(const PastPerformance& line) {
    return RecordWriter()
        .integer(line.horse)
        .text(line.date)
        .integer(line.reserved)
        .integer(line.raceNumber)
        .integer(line.distanceCode)
        .text(line.trackCondition)
        .single(line.winnerTime)
        .integer(line.horseRating)
        .integer(line.postPosition)
        .integer(line.quarterPos)
        .integer(line.halfPos)
        .text(line.halfLengths)
        .integer(line.threeQuarterPos)
        .text(line.threeQuarterLengths)
        .integer(line.finishPos)
        .text(line.finishLengths)
        .single(line.finalTime)
        .single(line.odds)
        .text(line.raceGrade)
        .text(line.comment)
        .integer(line.fieldSize)
        .line();
}

PastPerformance parsePastPerformance(std::string_view text) {
    PastPerformance line;
    FieldReader r(text);
    r.read(line.horse);
    r.read(line.date);
    r.read(line.reserved);
    r.read(line.raceNumber);
    r.read(line.distanceCode);
    r.read(line.trackCondition);
    r.read(line.winnerTime);
    r.read(line.horseRating);
    r.read(line.postPosition);
    r.read(line.quarterPos);
    r.read(line.halfPos);
    r.read(line.halfLengths);
    r.read(line.threeQuarterPos);
    r.read(line.threeQuarterLengths);
    r.read(line.finishPos);
    r.read(line.finishLengths);
    r.read(line.finalTime);
    r.read(line.odds);
    r.read(line.raceGrade);
    r.read(line.comment);
    r.read(line.fieldSize);
    return line;
}

std::vector<PastPerformance> parsePastPerformances(std::string_view text) {
    std::vector<PastPerformance> lines;
    forEachLineIn(text, [&](std::string_view line) {
        if (!isBlankLine(line))
            lines.push_back(parsePastPerformance(line));
    });
    return lines;
}

std::string trimmedPastPerformances(std::string_view text) {
    // The slot of a line's horse; 0 for a horse outside the table.
    auto horseOf = [](int16_t horse) -> std::size_t {
        return horse >= 1 && horse <= HorseCount ? static_cast<std::size_t>(horse) : 0;
    };
    // Both passes run over the one text; each line's place is kept beside its horse.
    struct Line {
        std::string_view text;
        std::size_t horse;
        bool whole;
    };
    std::vector<Line> lines;
    std::array<int, HorseCount + 1> count{};
    forEachLineIn(text, [&](std::string_view line) {
        if (isBlankLine(line))
            return;
        int16_t horse = 0;
        FieldReader(line).read(horse);
        const std::size_t h = horseOf(horse);
        ++count[h];
        // A line too long to read whole is never re-encoded from the part that was read.
        const bool whole = readWhole(text, line);
        lines.push_back({whole ? line : wholeLine(text, line), h, whole});
    });

    // A horse with more lines than it may keep loses its oldest ones first. Lines of no known
    // horse (only a hand edit makes them) are copied as they stand.
    std::string kept;
    kept.reserve(text.size() + lines.size() * LineEnd.size());
    for (const Line& line : lines) {
        if (line.horse == 0) {
            kept.append(line.text);
            kept.append(LineEnd);
        } else if (count[line.horse] <= PastPerformanceKeep) {
            if (line.whole) {
                kept += pastPerformanceRecord(parsePastPerformance(line.text));
            } else {
                kept.append(line.text);
                kept.append(LineEnd);
            }
        } else {
            --count[line.horse];
        }
    }
    return kept;
}

void trimPastPerformances(RaceDay& day, FileChanges& changes) {
    const FileContent content = day.folder.read("pastperformances.dat");
    // This is the day's load of the history: one that could not be read is never added to.
    day.folder.noteLoad("pastperformances.dat", content.status);
    if (!content.read()) {
        reportUnreadable(day, "pastperformances.dat");
        return;
    }
    std::string kept = trimmedPastPerformances(content.bytes);
    // The scratch copy is kept beside the file, as the game always has.
    changes.write("pastperformances.tmp", kept);
    changes.write("pastperformances.dat", std::move(kept));
}

FileError writeRaceCard(const RaceDay& day) {
    std::string content;
    for (int r = 0; r < RacesPerDay; ++r) {
        RecordWriter w;
        w.integer(r + 1).integer(1).integer(0).text(day.date);
        for (int32_t horse : day.card.raceHorse[static_cast<std::size_t>(r)])
            w.integer(horse);
        content += w.line();
    }
    return day.folder.write("races.dat", content);
}

} // namespace sw
