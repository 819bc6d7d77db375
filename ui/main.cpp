// stridewell: the game's windows.

#include "core/Random.h"
#include "core/Translate.h"
#include "database/DataDirectory.h"
#include "database/ShippedFolder.h"
#include "database/WorkingCopy.h"
#include "game/Game.h"
#include "ui/MainWindow.h"
#include "ui/QtCatalog.h"
#include "ui/QtPrompter.h"
#include "ui/ReadOnlyFolder.h"
#include "ui/ScreenFit.h"
#include "ui/WindowMemory.h"
#include "ui/WindowOptions.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <optional>

#include <filesystem>
#include <iostream>

int main(int argc, char** argv) {
    // Help and the version need no display, so they are answered before Qt opens one; the other
    // options are read once Qt has taken its own (-platform, -style ...) out of argv.
    // Help and errors before the window speak the desktop's language too.
    sw::useDesktopLanguage(sw::executableDir(argv[0]));
    QStringList raw;
    for (int i = 0; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    const sw::ui::WindowOptions first = sw::ui::parseWindowOptions(raw);
    if (first.action == sw::ui::WindowOptions::Action::Help) {
        std::cout << sw::ui::windowHelpText().toStdString();
        return 0;
    }
    if (first.action == sw::ui::WindowOptions::Action::Version) {
        std::cout << sw::ui::windowVersionText().toStdString();
        return 0;
    }
    // Fractional scale factors as the desktop sets them, so the track and the board stay crisp.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    QApplication app(argc, argv);
    // Again: Qt has set the locale of its own meanwhile.
    sw::useDesktopLanguage(sw::executableDir(argv[0]));
    sw::ui::useQtCatalog(app);
    QApplication::setApplicationName(QStringLiteral("Stridewell"));
    QApplication::setApplicationVersion(QStringLiteral(STRIDEWELL_VERSION));
    // Lets Wayland desktops match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("net.stridewell.Stridewell"));

    const sw::ui::WindowOptions options = sw::ui::parseWindowOptions(QApplication::arguments());
    if (options.action != sw::ui::WindowOptions::Action::Play) {
        std::cerr << "stridewell: " << options.error.toStdString()
                  << sw::_("\nTry 'stridewell --help' for more information.\n");
        return 2;
    }
    const auto& dataDir = options.dataDir;
    const auto& seed = options.seed;

    // An installed game ships its stable under share/; a build from source uses the tree's data/.
    const auto exeDir = sw::executableDir(argv[0]);
    const auto bundled = sw::shippedFolder(exeDir, STRIDEWELL_INSTALLED_DATA, STRIDEWELL_SHIPPED_DATA);
    // Locked as it is chosen: one game at a time per folder, as two would overwrite each other's files.
    const sw::DataDirectory where = sw::resolveDataDir(dataDir, exeDir, bundled, sw::systemEnvironment);
    if (!where.ok()) {
        QMessageBox::critical(nullptr, QStringLiteral("Stridewell"), QString::fromStdString(where.error));
        return 2;
    }

    // A folder the game cannot write (a read-only disc or share) would fail every save of the
    // day: the player chooses, once, between a copy in their own data folder and quitting.
    std::filesystem::path dir = where.dir;
    std::optional<sw::FolderLock> copyLock;
    if (!sw::folderWritable(dir)) {
        const auto working = sw::ui::askForWritableFolder(dir, sw::systemEnvironment);
        if (!working)
            return 2;
        dir = *working;
        copyLock.emplace(dir);
        if (!copyLock->error().empty()) {
            QMessageBox::critical(nullptr, QStringLiteral("Stridewell"),
                                  QString::fromStdString(copyLock->error()));
            return 2;
        }
    }

    sw::SeededRandom random(seed ? *seed : sw::clockSeed());
    sw::ui::QtPrompter prompter;
    sw::Game game(dir, random, prompter);
    sw::ui::MainWindow window(game);
    prompter.setParentWidget(&window);
    sw::ui::showMainWindow(&window, sw::ui::restoreGeometry(&window));
    const int status = app.exec();
    // A day that could not start is a failed start, whoever closed the window after it.
    return game.stage() == sw::Stage::Failed ? 2 : status;
}
