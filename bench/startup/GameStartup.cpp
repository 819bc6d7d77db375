// The game's start-up: the process start to the first painted main window, on the stable folder
// given, then on to the painted program of race 1 (the day starts once the window is up).
//
//   QT_QPA_PLATFORM=offscreen stridewell-startbench DATA_DIR

#include "FirstPaint.h"
#include "core/Random.h"
#include "game/Game.h"
#include "ui/MainWindow.h"
#include "ui/QtPrompter.h"

#include <QApplication>

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv) {
    QElapsedTimer sinceMain;
    sinceMain.start();
    if (argc != 2) {
        std::fprintf(stderr, "usage: stridewell-startbench DATA_DIR (a copy: the day rewrites its files)\n");
        return 2;
    }
    QApplication app(argc, argv);
    sw::SeededRandom random(20240611);
    sw::ui::QtPrompter prompter;
    sw::Game game(std::filesystem::path(argv[1]), random, prompter);
    sw::ui::MainWindow window(game);
    prompter.setParentWidget(&window);
    sw::bench::FirstPaint program("program", QStringLiteral("frmPastPerf"), sinceMain,
                                  [] { QApplication::quit(); });
    sw::bench::FirstPaint main("window", QStringLiteral("frmHorses"), sinceMain, [] {});
    window.show();
    return app.exec();
}
