#pragma once

#include "core/RaceDay.h"
#include "core/TextEncoding.h"
#include "database/DatabaseFiles.h"
#include "support/TestSupport.h"
#include "tote/PoolFiles.h"

#include <string>
#include <vector>

namespace sw::test {

// A small made-up day: horse n is "Horse n", race r runs horses 8r+1..8r+8 with jockeys cycling
// through the 32, jockey n is "Jockey n" of skill n % 3, and jockeys.dat is on disk.
struct ProgramFixture {
    TempDir dir;
    SeededRandom random{7};
    ScriptedPrompter prompter;
    RaceDay day{dir.path(), random, prompter};

    ProgramFixture() {
        for (int n = 1; n <= HorseCount; ++n) {
            Horse& horse = day.db.horses[static_cast<std::size_t>(n)];
            horse.name = "Horse " + std::to_string(n);
            horse.grade = "M";
            horse.starts = static_cast<int16_t>(n % 7);
            horse.firsts = static_cast<int16_t>(n % 3);
            horse.earnings = 250 * (n % 7);
            horse.bestTime = 999;
            for (int s = 0; s < 5; ++s)
                horse.segmentRating[static_cast<std::size_t>(s)] = static_cast<int16_t>(4 + (n + s) % 5);
            horse.path = static_cast<int16_t>(n % 3);
        }
        std::string jockeys;
        for (int n = 1; n <= JockeyCount; ++n) {
            Jockey jockey;
            jockey.name = "Jockey " + std::to_string(n);
            jockey.skill = static_cast<int16_t>(n % 3);
            jockey.starts = n;
            jockey.earnings = 100.0 * n;
            jockeys += jockeyRecord(jockey);
            day.db.jockeys[static_cast<std::size_t>(n)] = jockey;
        }
        writeAll(dir / "jockeys.dat", jockeys);
        for (int r = 0; r < RacesPerDay; ++r) {
            auto race = static_cast<std::size_t>(r);
            day.card.raceGrade[race] = static_cast<int16_t>(r % 6 + 1);
            for (int h = 0; h < FieldSize; ++h) {
                day.card.raceHorse[race][static_cast<std::size_t>(h)] = 8 * r + h + 1;
                day.card.raceJockey[race][static_cast<std::size_t>(h)] =
                    static_cast<int16_t>((8 * r + h) % 32 + 1);
            }
        }
        day.db.settings.trackRecord = 999;
    }

    // Appends n past-performance lines of the horse, numbered through their comment.
    void addPastLines(int horse, int n, std::string grade = "C", int16_t finishPos = 3) {
        std::string text;
        for (int i = 0; i < n; ++i) {
            PastPerformance line;
            line.horse = static_cast<int16_t>(horse);
            line.date = "5/12/2026";
            line.raceNumber = 1;
            line.postPosition = 2;
            line.quarterPos = 4;
            line.halfPos = 3;
            line.halfLengths = "1";
            line.threeQuarterPos = 2;
            line.threeQuarterLengths = "nk";
            line.finishPos = finishPos;
            line.finishLengths = "2";
            line.finalTime = 118.3f;
            line.odds = 6.5f;
            line.raceGrade = grade;
            line.comment = "line " + std::to_string(i + 1);
            text += pastPerformanceRecord(line);
        }
        writeFileAtomic(dir / "pastperformances.dat", readAll(dir / "pastperformances.dat") + text);
    }

    std::string poolFile(PoolFile file) const { return readAll(dir / poolFileName(file)); }

    std::vector<std::string> allPoolFiles() const {
        std::vector<std::string> contents;
        for (PoolFile file : SingleRacePoolFiles)
            contents.push_back(poolFile(file));
        return contents;
    }
};

} // namespace sw::test
