// stridewell: the game's windows.

#include "core/Random.h"
#include "database/DataDirectory.h"
#include "database/ShippedFolder.h"
#include "game/Game.h"
#include "ui/MainWindow.h"
#include "ui/QtPrompter.h"
#include "ui/WindowMemory.h"

#include <QApplication>
#include <QMessageBox>

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

namespace {

const char* const Usage = "usage: stridewell [--data-dir DIR] [--seed N]\n";

} // namespace

int main(int argc, char** argv) {
    // Help needs no display; everything else waits until Qt has taken its own options.
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--help" || std::string(argv[i]) == "-h") {
            std::cout << Usage;
            return 0;
        }
    // Fractional scale factors as the desktop sets them, so the track and the board stay crisp.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Stridewell"));
    QApplication::setApplicationVersion(QStringLiteral(STRIDEWELL_VERSION));
    // Lets Wayland desktops match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("net.stridewell.Stridewell"));

    // QApplication has taken its own options (-platform, -style ...) out of argv by now.
    std::optional<std::filesystem::path> dataDir;
    std::optional<uint64_t> seed;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--data-dir" && i + 1 < argc) {
            dataDir = argv[++i];
        } else if (arg == "--seed" && i + 1 < argc) {
            try {
                seed = std::stoull(argv[++i]);
            } catch (const std::exception&) {
                std::cerr << "error: --seed takes a whole number\n" << Usage;
                return 2;
            }
        } else {
            std::cerr << "error: unknown argument " << arg << "\n" << Usage;
            return 2;
        }
    }

    // An installed game ships its stable under share/; a build from source uses the tree's data/.
    const auto exeDir = sw::executableDir(argv[0]);
    const auto bundled = sw::shippedFolder(exeDir, STRIDEWELL_INSTALLED_DATA, STRIDEWELL_BUNDLED_DATA);
    // Locked as it is chosen: one game at a time per folder, as two would overwrite each other's files.
    const sw::DataDirectory where = sw::resolveDataDir(dataDir, exeDir, bundled, sw::systemEnvironment);
    if (!where.ok()) {
        QMessageBox::critical(nullptr, QStringLiteral("Stridewell"), QString::fromStdString(where.error));
        return 2;
    }

    sw::SeededRandom random(seed ? *seed : sw::clockSeed());
    sw::ui::QtPrompter prompter;
    sw::Game game(where.dir, random, prompter);
    sw::ui::MainWindow window(game);
    prompter.setParentWidget(&window);
    sw::ui::restoreGeometry(&window);
    window.show();
    return app.exec();
}
