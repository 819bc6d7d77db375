// stridewell-screenshot: plays into the first race of a day on a scratch copy of the bundled data,
// without a display, and saves the main window mid-race as a PNG (the picture in the README); or,
// with --page, on that bet page before the race, an Exacta box half built; with --results the
// race's results once they are all shown; with --lab, the strategy lab's window once it has played
// two strategies side by side; with --program, the racing program the day opens on; with --after the
// main window at the end of the race run at its own pace, the results over it as the player sees them.
// --a11y-tree FILE
// writes beside it what a screen reader finds in the window shown: each element's role, name and
// description, indented under its parent.
// --players N
// adds players after the first, up to N, so the slip shows as many chips.

#include "cli/CliPrompter.h"
#include "cli/CommandLine.h"
#include "core/Random.h"
#include "core/Translate.h"
#include "database/DataDirectory.h"
#include "game/Game.h"
#include "ui/LabWindow.h"
#include "ui/MainWindow.h"
#include "ui/QtCatalog.h"
#include "ui/ResultsWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QMetaEnum>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>

namespace {

const char* const Usage =
    "usage: stridewell-screenshot OUTPUT.png [--seed N] [--after-ms N] [--size WxH | --fit] [--screen WxH]\n"
    "                             [--page 0|1|2 | --results | --after | --lab | --program]\n"
    "                             [--a11y-tree FILE] [--players N]\n";

// The window's elements as Qt gives them to assistive technology, the hidden ones left out.
void writeTree(QAccessibleInterface* element, int depth, QTextStream& out) {
    if (!element || !element->isValid() || element->state().invisible)
        return;
    out << QString(depth * 2, QLatin1Char(' '))
        << QMetaEnum::fromType<QAccessible::Role>().valueToKey(element->role()) << " \""
        << element->text(QAccessible::Name) << '"';
    if (const QString description = element->text(QAccessible::Description); !description.isEmpty())
        out << " - " << description.simplified();
    out << '\n';
    for (int i = 0; i < element->childCount(); ++i)
        writeTree(element->child(i), depth + 1, out);
}

bool saveTree(QWidget* window, const QString& file) {
    QFile tree(file);
    if (!tree.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream out(&tree);
    writeTree(QAccessible::queryAccessibleInterface(window), 0, out);
    return true;
}

// The game's windows opened over the main one (the racing program at the start of the day).
QList<QWidget*> openWindowsOver(const QWidget& main) {
    QList<QWidget*> open;
    for (QWidget* w : main.findChildren<QWidget*>())
        if (w->isWindow() && w->isVisible())
            open.append(w);
    return open;
}

bool copyBundledData(const std::filesystem::path& to) {
    std::error_code ec;
    std::filesystem::copy(
        STRIDEWELL_BUNDLED_DATA, to,
        std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing, ec);
    return !ec;
}

// The offscreen platform's one screen, WxH logical pixels at 96 dpi, as a file its option names.
bool pretendScreen(const char* size, const std::filesystem::path& config) {
    int width = 0, height = 0;
    if (std::sscanf(size, "%dx%d", &width, &height) != 2 || width <= 0 || height <= 0)
        return false;
    std::ofstream out(config);
    out << R"({"screens": [{"name": "shot", "x": 0, "y": 0, "width": )" << width << R"(, "height": )"
        << height << R"(, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";
    return static_cast<bool>(out);
}

// The lab over the scratch stable: the favourite against the rail over 200 days, saved once played.
int labScreenshot(const sw::Game& game, const QString& output, QSize size) {
    sw::ui::LabWindow window(game);
    if (size.isValid())
        window.resize(size);
    window.show();
    for (const auto& [name, strategy] :
         {std::pair{"cboStrategyA", "favourite-win"}, {"cboStrategyB", "post1-win"}}) {
        auto* box = window.findChild<QComboBox*>(QLatin1String(name));
        box->setCurrentIndex(box->findData(QLatin1String(strategy)));
    }
    window.findChild<QSpinBox*>(QStringLiteral("spnDays"))->setValue(200);
    window.findChild<QPushButton*>(QStringLiteral("cmdLabRun"))->click();
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (window.running())
            return;
        poll.stop();
        const bool saved = window.grab().save(output);
        if (!saved)
            std::cerr << "error: cannot write " << output.toStdString() << "\n";
        QCoreApplication::exit(saved ? 0 : 1);
    });
    poll.start();
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    // The screen must be chosen before Qt opens its platform.
    const std::filesystem::path screenConfig =
        std::filesystem::temp_directory_path() / ("stridewell-screen-" + std::to_string(getpid()) + ".json");
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string_view(argv[i]) == "--screen") {
            if (!pretendScreen(argv[i + 1], screenConfig)) {
                std::cerr << Usage;
                return 2;
            }
            qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screenConfig.string()).c_str());
        }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::filesystem::remove(screenConfig);
    // The desktop's language, as the game follows it (LANGUAGE=fr takes the picture in French).
    sw::useDesktopLanguage(sw::executableDir(argv[0]));
    sw::ui::useQtCatalog(app);
    QApplication::setApplicationName(QStringLiteral("Stridewell"));

    QString output;
    uint64_t seed = 7;
    int afterMs = 9000;
    QSize size(1366, 768);
    bool fit = false;     // the size the game gives itself on this screen
    bool results = false; // the results window rather than the race
    bool after = false;   // the main window with the results over it, the race run at its pace
    int page = -1;        // a bet page instead of the race
    bool lab = false;     // the strategy lab's window
    int players = 1;      // players on the slip, Ann the first
    bool program = false; // the racing program the day opens on
    QString tree;         // where to write the shown window's accessibility tree, if anywhere
    const QStringList args = QApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        bool ok = true;
        if (args[i] == QLatin1String("--seed") && i + 1 < args.size()) {
            seed = args[++i].toULongLong(&ok);
        } else if (args[i] == QLatin1String("--after-ms") && i + 1 < args.size()) {
            afterMs = args[++i].toInt(&ok);
        } else if (args[i] == QLatin1String("--size") && i + 1 < args.size()) {
            const QStringList wh = args[++i].split(QLatin1Char('x'));
            bool okH = false;
            size = wh.size() == 2 ? QSize(wh[0].toInt(&ok), wh[1].toInt(&okH)) : QSize();
            ok = ok && okH && size.width() > 0 && size.height() > 0;
        } else if (args[i] == QLatin1String("--page") && i + 1 < args.size()) {
            page = args[++i].toInt(&ok);
            ok = ok && page >= 0 && page <= 2;
        } else if (args[i] == QLatin1String("--fit")) {
            fit = true;
        } else if (args[i] == QLatin1String("--results")) {
            results = true;
        } else if (args[i] == QLatin1String("--after")) {
            after = true;
        } else if (args[i] == QLatin1String("--screen") && i + 1 < args.size()) {
            ++i; // taken before Qt started
        } else if (args[i] == QLatin1String("--lab")) {
            lab = true;
        } else if (args[i] == QLatin1String("--program")) {
            program = true;
        } else if (args[i] == QLatin1String("--players") && i + 1 < args.size()) {
            players = args[++i].toInt(&ok);
        } else if (args[i] == QLatin1String("--a11y-tree") && i + 1 < args.size()) {
            tree = args[++i];
        } else if (output.isEmpty() && !args[i].startsWith(QLatin1Char('-'))) {
            output = args[i];
        } else {
            ok = false;
        }
        if (!ok) {
            std::cerr << Usage;
            return 2;
        }
    }
    if (output.isEmpty()) {
        std::cerr << Usage;
        return 2;
    }

    // A scratch copy, so a screenshot never plays on anybody's stable.
    QTemporaryDir scratch;
    if (!scratch.isValid() || !copyBundledData(scratch.path().toStdString())) {
        std::cerr << "error: cannot copy the bundled data from " << STRIDEWELL_BUNDLED_DATA << "\n";
        return 1;
    }

    sw::SeededRandom random(seed);
    std::ostringstream said;
    sw::cli::CliPrompter prompter(said, nullptr);
    sw::Game game(scratch.path().toStdString(), random, prompter);
    sw::cli::CommandLine commands(game, prompter, said, std::cerr, false);
    if (lab)
        return labScreenshot(game, output, fit ? QSize() : size);
    sw::ui::MainWindow window(game);
    if (!fit)
        window.resize(size);
    window.show();

    // The picture of the window shown, and its tree when asked for; the tool's exit status.
    const auto shoot = [&](QWidget* shown) {
        if (!shown->grab().save(output)) {
            std::cerr << "error: cannot write " << output.toStdString() << "\n";
            return 1;
        }
        if (!tree.isEmpty() && !saveTree(shown, tree)) {
            std::cerr << "error: cannot write " << tree.toStdString() << "\n";
            return 1;
        }
        return 0;
    };
    enum class Step { Program, Betting, Racing };
    Step step = Step::Program;
    QElapsedTimer raceClock;
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (game.stage() == sw::Stage::Failed) {
            std::cerr << "error: the day could not start:\n" << said.str();
            QCoreApplication::exit(1);
            return;
        }
        switch (step) {
        case Step::Program:
            if (program) {
                // Once its chances have had a moment to fill in.
                for (QWidget* w : openWindowsOver(window))
                    if (w->objectName() == QLatin1String("frmPastPerf")) {
                        poll.stop();
                        QTimer::singleShot(3000, [&, w] { QCoreApplication::exit(shoot(w)); });
                        return;
                    }
                break;
            }
            // The day opens on the racing program; leaving it goes to the tote board.
            if (game.stage() == sw::Stage::Program)
                for (QWidget* w : openWindowsOver(window))
                    w->close();
            if (game.stage() == sw::Stage::Betting && openWindowsOver(window).isEmpty())
                step = Step::Betting;
            break;
        case Step::Betting: {
            // A player with a few paid tickets, so the tickets and the board show them.
            for (const char* line : {"add-player Ann", "ticket $5 Win on 3", "ticket $2 Exacta Box 134",
                                     "ticket $1 Trifecta Wheel 3 with 146 with 146", "pay"})
                if (!commands.execute(line))
                    std::cerr << "warning: " << line << " failed\n";
            const char* const others[] = {"Bartholomew", "Cy",        "Dorothea", "Eustace",
                                          "Philippa",    "Gwendolyn", "Horatio"};
            for (int i = 1; i < players; ++i)
                game.addPlayer(std::string(others[(i - 1) % std::size(others)]) +
                               (i > 7 ? std::to_string(i) : ""));
            window.refresh();
            if (page >= 0) {
                using sw::Action;
                if (page >= 1)
                    for (const auto& [action, which] :
                         {std::pair{Action::NextToBet, 0},
                          {Action::ChooseBet, static_cast<int>(sw::BetType::Exacta)},
                          {Action::ChooseMode, static_cast<int>(sw::BetMode::Box)}})
                        game.press(action, which);
                if (page == 2)
                    for (const auto& [action, which] : {std::pair{Action::NextToHorses, 0},
                                                        {Action::PickHorse, 0},
                                                        {Action::PickHorse, 2},
                                                        {Action::PickHorse, 3}})
                        game.press(action, which);
                window.refresh();
                poll.stop();
                QTimer::singleShot(1000, [&] { QCoreApplication::exit(shoot(&window)); });
                return;
            }
            auto* run = window.findChild<QPushButton*>(QStringLiteral("cmdRun"));
            if (!run || !run->isEnabled()) {
                std::cerr << "error: the race cannot be started\n";
                QCoreApplication::exit(1);
                return;
            }
            run->click();
            raceClock.start();
            step = Step::Racing;
            break;
        }
        case Step::Racing:
            if (after || results) {
                // With --results the race at once; either way the whole show of its results.
                if (auto* fast = window.findChild<QPushButton*>(QStringLiteral("cmdFastForward"));
                    results && fast && fast->isEnabled())
                    fast->click();
                auto* shown = window.findChild<sw::ui::ResultsWindow*>(QStringLiteral("frmResults"));
                if (!shown || !shown->isVisible())
                    return;
                shown->showAllAtOnce();
                if (!shown->showFinished())
                    return;
                poll.stop();
                if (results) {
                    QCoreApplication::exit(shoot(shown));
                    break;
                }
                // The screen as the player sees it: the results' window over the main one, where it
                // stands.
                QPixmap screen = window.grab();
                {
                    QPainter painter(&screen);
                    painter.drawPixmap(shown->frameGeometry().topLeft() - window.frameGeometry().topLeft(),
                                       shown->grab());
                }
                const bool saved = screen.save(output);
                if (!saved)
                    std::cerr << "error: cannot write " << output.toStdString() << "\n";
                QCoreApplication::exit(saved ? 0 : 1);
                break;
            }
            if (raceClock.elapsed() < afterMs && game.stage() == sw::Stage::Racing)
                return;
            poll.stop();
            QCoreApplication::exit(shoot(&window));
            break;
        }
    });
    poll.start();
    // However the day goes, the tool ends.
    QTimer::singleShot(180000, [&] {
        std::cerr << "error: the race did not start in time\n";
        QCoreApplication::exit(1);
    });
    // The main window closing on its own ends the application too: report it rather than pass.
    QApplication::setQuitOnLastWindowClosed(false);
    return app.exec();
}
