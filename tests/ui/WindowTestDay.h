#pragma once

// A race day for the window tests: a Game on a copy of the bundled stable, a fixed seed and
// scripted answers, with helpers to move the day on without any window.

#include "core/Constants.h"
#include "core/Random.h"
#include "game/Game.h"
#include "support/TestSupport.h"

#include <QLabel>
#include <QMetaObject>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace sw::test {

struct WindowTestDay {
    explicit WindowTestDay(uint64_t seed = 20240611) : random(seed) {
        copyBundledData(dir.path());
        game = std::make_unique<Game>(dir.path(), random, prompter);
        started = game->startDay();
    }

    RaceDay& day() { return game->day(); }
    std::filesystem::path file(const char* name) const { return dir / name; }

    // Leaves the program and runs the race about to be run; the day then waits on its results.
    void runRace() {
        if (game->stage() == Stage::Program)
            game->toteBoard();
        game->beginRace(nullptr);
        game->finishRace();
    }

    // Plays the next races without any window: run, show the results at once, confirm.
    void playRaces(int count) {
        for (int i = 0; i < count; ++i) {
            runRace();
            game->runResultsToEnd();
            game->confirmResults();
        }
    }

    TempDir dir;
    ScriptedPrompter prompter;
    SeededRandom random;
    std::unique_ptr<Game> game;
    bool started = false;
};

// The single-race pool files as they stand, to compare before and after.
inline std::vector<std::string> poolFiles(const WindowTestDay& day) {
    std::vector<std::string> contents;
    for (const char* name :
         {"wins.dat", "places.dat", "shows.dat", "quinielas.dat", "exactas.dat", "trifectas.dat",
          "superfectas.dat", "dailydoubles.dat", "pick3s.dat", "pick6s.dat"})
        contents.push_back(readAll(day.file(name)));
    return contents;
}

// Makes a timer go off now, as if its interval had passed.
inline void fire(QTimer* timer) {
    timer->stop();
    QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
}

inline QString qtext(const std::string& text) {
    return QString::fromStdString(text);
}

template <typename T = QLabel> T* child(QWidget* window, const QString& name) {
    return window->findChild<T*>(name);
}

// True when the label is wide enough for its whole text.
inline bool showsWholeText(const QLabel* label) {
    return label->contentsRect().width() >= label->fontMetrics().horizontalAdvance(label->text());
}

// Saves a picture of the window when STRIDEWELL_SCREENSHOT_DIR names a folder, for a person to
// look at; the tests themselves only check what can be measured.
inline void saveScreenshot(QWidget* window, const char* name) {
    const QByteArray folder = qgetenv("STRIDEWELL_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        window->grab().save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + QLatin1String(name));
}

} // namespace sw::test
