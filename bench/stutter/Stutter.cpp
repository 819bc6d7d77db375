// How long the windows keep the event loop from running: start-up, paying a big ticket, a race,
// the results show and a new day. The figures are reported, not judged; the program fails only
// when a stretch could not be played to its end.
//
//   QT_QPA_PLATFORM=offscreen stridewell-stutter [--full-race]   (or scripts/bench --stutter)
//   --full-race (or STRIDEWELL_STUTTER_FULL_RACE=1) watches the whole race instead of its start.

#include "core/Constants.h"
#include "core/Random.h"
#include "game/Game.h"
#include "players/Players.h"
#include "ui/MainWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

using namespace sw;

namespace {

constexpr uint64_t Seed = 20240517;

bool wholeRace = false;

// Says what could not be done; the figures printed so far still stand.
bool must(bool done, const char* what) {
    if (!done)
        std::fprintf(stderr, "stutter: could not %s\n", what);
    return done;
}

// Nobody answers: a question is answered No, and noted, since a measured day asks none.
class SilentPrompter final : public Prompter {
public:
    void message(std::string_view text, std::string_view) override {
        beforePrompt();
        std::fprintf(stderr, "stutter: told \"%.*s\"\n", static_cast<int>(text.size()), text.data());
    }
    bool ask(std::string_view text, std::string_view) override {
        beforePrompt();
        std::fprintf(stderr, "stutter: asked \"%.*s\"\n", static_cast<int>(text.size()), text.data());
        return false;
    }
};

double msOf(qint64 ns) {
    return static_cast<double>(ns) / 1e6;
}

// A 1 ms timer: the longest gap between its timeouts is the longest the event loop was kept busy.
class BlockProbe {
public:
    BlockProbe() {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { note(); });
        m_clock.start();
        m_last = m_clock.nsecsElapsed();
        m_timer.start();
    }

    // Counts the time since the last timeout too, so a block still running at the end is not lost.
    void stop() {
        note();
        m_timer.stop();
    }
    double longestMs() const { return msOf(m_longest); }
    int timeouts() const { return m_timeouts; }

private:
    void note() {
        const qint64 now = m_clock.nsecsElapsed();
        m_longest = std::max(m_longest, now - m_last);
        m_last = now;
        ++m_timeouts;
    }

    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
    int m_timeouts = 0;
};

// Notes when a widget, or any widget of a window, by object name, receives a paint event.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QString name, std::function<void()> onFirst = {})
        : m_name(std::move(name)), m_onFirst(std::move(onFirst)) {
        m_clock.start();
        qApp->installEventFilter(this);
    }
    ~PaintWatch() override { qApp->removeEventFilter(this); }

    const std::vector<qint64>& times() const { return m_times; }
    bool painted() const { return !m_times.empty(); }
    double firstMs() const { return painted() ? msOf(m_times.front()) : -1; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            if (w->objectName() == m_name || w->window()->objectName() == m_name) {
                if (m_times.empty() && m_onFirst)
                    m_onFirst();
                m_times.push_back(m_clock.nsecsElapsed());
            }
        }
        return false;
    }

private:
    QString m_name;
    std::function<void()> m_onFirst;
    QElapsedTimer m_clock;
    std::vector<qint64> m_times;
};

struct FrameSpacing {
    int frames = 0;
    double meanMs = 0;
    double maxGapMs = 0;
    double stdDevMs = 0;
};

// The spacing of paints, counting one frame per distinct moment (a window paints several widgets
// at once).
FrameSpacing spacingOf(std::vector<qint64> times) {
    times.erase(std::unique(times.begin(), times.end(), [](qint64 a, qint64 b) { return b - a < 500'000; }),
                times.end());
    FrameSpacing s;
    s.frames = static_cast<int>(times.size());
    if (times.size() < 2)
        return s;
    std::vector<double> gaps;
    for (std::size_t i = 1; i < times.size(); ++i)
        gaps.push_back(msOf(times[i] - times[i - 1]));
    double sum = 0;
    for (double g : gaps) {
        sum += g;
        s.maxGapMs = std::max(s.maxGapMs, g);
    }
    s.meanMs = sum / static_cast<double>(gaps.size());
    double squares = 0;
    for (double g : gaps)
        squares += (g - s.meanMs) * (g - s.meanMs);
    s.stdDevMs = std::sqrt(squares / static_cast<double>(gaps.size()));
    return s;
}

// Runs the event loop until `done` holds. A wait that sleeps between its checks would show up as
// blocks of its own; this loop only ever waits for events.
bool runUntil(const std::function<bool()>& done, int timeoutMs = 30000) {
    if (done())
        return true;
    QEventLoop loop;
    QTimer check;
    check.setInterval(1);
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (done())
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    check.start();
    loop.exec();
    return done();
}

// Lets the event loop run for a while, for the paints that follow an action.
void settle(int ms) {
    QElapsedTimer clock;
    clock.start();
    runUntil([&] { return clock.elapsed() >= ms; });
}

// What happened while the probe watched: the longest block, reported under `what`.
struct Stretch {
    bool reached = false;
    double longestBlockMs = 0;
    int probeTimeouts = 0;
};

// Runs `action` from the event loop, waits for `done`, lets the paints follow, and reports the
// longest time the loop was kept busy meanwhile.
// With `beforeTheLoop` the action runs at once, before the event loop turns, as main() builds and
// shows the window before it starts the loop: whatever runs before the first paint then counts.
Stretch measure(const char* what, const std::function<void()>& action, const std::function<bool()>& done,
                int settleMs = 30, int timeoutMs = 30000, bool beforeTheLoop = false) {
    BlockProbe probe;
    if (beforeTheLoop)
        action();
    else
        QTimer::singleShot(0, action);
    Stretch s;
    s.reached = runUntil(done, timeoutMs);
    settle(settleMs);
    probe.stop();
    s.longestBlockMs = probe.longestMs();
    s.probeTimeouts = probe.timeouts();
    std::printf("stutter: %-34s longest block %7.1f ms\n", what, s.longestBlockMs);
    std::fflush(stdout);
    return s;
}

QWidget* openWindow(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->objectName() == QLatin1String(name))
            return w;
    return nullptr;
}

// One race day in the main window, on a copy of the bundled stable.
struct Session {
    Session() : random(Seed) {
        for (const auto& entry : std::filesystem::directory_iterator(STRIDEWELL_BUNDLED_DATA))
            if (entry.is_regular_file())
                std::filesystem::copy_file(entry.path(), folder() / entry.path().filename());
    }
    std::filesystem::path folder() const { return dir.path().toStdString(); }

    void open() {
        game = std::make_unique<Game>(folder(), random, prompter);
        window = std::make_unique<ui::MainWindow>(*game);
        window->resize(1366, 768);
        window->show();
    }

    template <typename T = QWidget> T* find(const char* name) {
        return window->centralWidget()->findChild<T*>(QLatin1String(name));
    }
    // Presses a button of the main window if it is there and usable.
    bool click(const char* name) {
        auto* b = find<QAbstractButton>(name);
        if (!b || !b->isEnabled() || !b->isVisible())
            return false;
        b->click();
        return true;
    }
    bool clickAll(const QStringList& names) {
        for (const QString& name : names)
            if (!click(name.toLatin1().constData())) {
                qWarning() << "could not click" << name;
                return false;
            }
        return true;
    }

    // Presses the buttons one turn of the event loop apart, as a player's clicks arrive.
    void clickInTurns(const QStringList& names, qsizetype next = 0) {
        if (next >= names.size())
            return;
        if (!click(names[next].toLatin1().constData()))
            qWarning() << "could not click" << names[next];
        QTimer::singleShot(0, window.get(), [this, names, next] { clickInTurns(names, next + 1); });
    }

    static void press(QWidget* window, const char* button) {
        window->findChild<QPushButton*>(QLatin1String(button))->click();
    }
    // "Tote Board" in the open program; true once betting is open.
    bool leaveProgram() {
        if (!runUntil([] { return openWindow("frmPastPerf") != nullptr; }))
            return false;
        press(openWindow("frmPastPerf"), "cmdOK");
        return runUntil([this] { return game->stage() == Stage::Betting && !openWindow("frmPastPerf"); });
    }
    // Starts the results show (its pauses taken at once) and waits until OK can be pressed.
    bool runResultsShow() {
        // The results open in the turn after the race ends.
        if (!runUntil([] { return openWindow("frmResults") != nullptr; }))
            return false;
        QWidget* results = openWindow("frmResults");
        auto* show = results->findChild<QPushButton*>(QStringLiteral("cmdShow"));
        auto* ok = results->findChild<QPushButton*>(QStringLiteral("cmdOK"));
        auto* pause = results->findChild<QTimer*>(QStringLiteral("timerReveal"));
        if (show->isEnabled())
            show->click();
        return runUntil([&] {
            if (pause && pause->isActive() && pause->remainingTime() > 0)
                pause->start(0);
            return ok->isEnabled();
        });
    }
    bool pressResultsOk() {
        QWidget* results = openWindow("frmResults");
        if (!results)
            return false;
        press(results, "cmdOK");
        return true;
    }
    // Runs the race at once and goes through its results to the next program.
    bool fastRace() {
        return click("cmdRun") && click("cmdFastForward") && runResultsShow() && pressResultsOk() &&
               leaveProgram();
    }

    QTemporaryDir dir;
    SilentPrompter prompter;
    SeededRandom random;
    std::unique_ptr<Game> game;
    std::unique_ptr<ui::MainWindow> window;
};

bool startUpToTheFirstPaintedWindow() {
    Session session;
    // The window is painted first and the day started after, so the player sees the window at once.
    Stage stageWhenPainted = Stage::Failed;
    PaintWatch mainPainted(QStringLiteral("frmHorses"), [&] { stageWhenPainted = session.game->stage(); });
    PaintWatch programPainted(QStringLiteral("frmPastPerf"));
    QElapsedTimer clock;
    clock.start();
    QElapsedTimer building;
    double buildMs = 0;
    const Stretch toWindow = measure(
        "start-up to the painted window",
        [&] {
            building.start();
            session.open();
            buildMs = msOf(building.nsecsElapsed());
        },
        [&] { return mainPainted.painted(); }, 0, 30000, true);
    const double windowMs = msOf(clock.nsecsElapsed());
    if (!must(toWindow.reached, "paint the window") ||
        !must(stageWhenPainted == Stage::NotStarted, "paint the window before the day starts"))
        return false;
    // The day starts once the window is up, and opens the program of race 1.
    const Stretch toProgram = measure(
        "the day started, program painted", [] {}, [&] { return programPainted.painted(); });
    const double programMs = msOf(clock.nsecsElapsed());
    if (!must(toProgram.reached, "paint the program of race 1"))
        return false;
    std::printf("stutter: window built in %.1f ms, first painted after %.1f ms, the program after %.1f ms\n",
                buildMs, windowMs, programMs);
    // The program's chances run off the window thread once it is painted: the window stays as quick.
    QWidget* program = openWindow("frmPastPerf");
    auto* chances = program ? program->findChild<QProgressBar*>(QStringLiteral("prgChances")) : nullptr;
    const Stretch whileChances = measure(
        "the program's chances running", [] {},
        [&] { return chances && chances->maximum() > 0 && chances->value() == chances->maximum(); }, 30,
        120000);
    if (!must(whileChances.reached, "finish the chances of race 1"))
        return false;
    return must(session.game->stage() == Stage::Program, "open the program") &&
           must(toWindow.probeTimeouts > 0 && toProgram.probeTimeouts > 0, "run the probe");
}

bool aRaceIsPaintedOnEvenlySpacedFrames() {
    Session session;
    session.open();
    if (!must(session.leaveProgram(), "leave the program"))
        return false;
    sw::addPlayer(session.game->day(), "Ann");
    session.window->refresh();
    if (!must(session.clickAll({"cmdAmount2", "cmdNext1", "cmdExacta", "cmdBox", "cmdNext2", "cmdHorse0",
                                "cmdHorse2", "cmdHorse3", "cmdFinish", "cmdPrint"}),
              "buy a ticket"))
        return false;
    settle(50);

    // The gate and the first seconds of the race, where the whole field is bunched on the track;
    // the whole race on request.
    constexpr int EarlyPasses = 1000;
    PaintWatch track(QStringLiteral("frTrack"));
    const Stretch race = measure(
        wholeRace ? "the whole race, frame to frame" : "gate and 5 s of the race",
        [&] { session.click("cmdRun"); },
        [&] {
            if (wholeRace)
                return openWindow("frmResults") != nullptr;
            return session.game->race() && session.game->race()->passes() >= EarlyPasses;
        },
        30, 120000);
    if (!must(race.reached, "run the race"))
        return false;
    const FrameSpacing frames = spacingOf(track.times());
    std::printf(
        "stutter: race frames %d, mean %.1f ms apart, longest gap %.1f ms, standard deviation %.2f ms\n",
        frames.frames, frames.meanMs, frames.maxGapMs, frames.stdDevMs);
    // The race was painted as it ran, frame after frame, not only at its end.
    if (!must(frames.frames >= 2 && frames.meanMs > 0, "paint the race frame after frame"))
        return false;

    if (!wholeRace) {
        const Stretch rest = measure(
            "fast forward to the results", [&] { session.click("cmdFastForward"); },
            [] { return openWindow("frmResults") != nullptr; });
        if (!must(rest.reached, "fast forward to the results"))
            return false;
    }
    return must(session.game->stage() == Stage::Results, "open the results");
}

bool aDayWithABigTicketResultsAndANewDay() {
    Session session;
    session.open();
    if (!must(session.leaveProgram(), "leave the program"))
        return false;
    sw::addPlayer(session.game->day(), "Ann");
    session.window->refresh();

    // Race 1's results as the first of the day shows them.
    if (!must(session.click("cmdRun") && session.click("cmdFastForward"), "run race 1"))
        return false;
    const Stretch firstShow = measure(
        "results show of race 1", [] {}, [&] { return session.runResultsShow(); });
    if (!must(firstShow.reached, "show the results of race 1"))
        return false;
    const Stretch firstOk = measure(
        "results confirmed, next program", [&] { session.pressResultsOk(); },
        [] { return openWindow("frmPastPerf") != nullptr; });
    if (!must(firstOk.reached && session.leaveProgram(), "go on to race 2"))
        return false;
    for (int race = 2; race <= 6; ++race)
        if (!must(session.fastRace(), "run races 2 to 6"))
            return false;

    // Race 7 opens the Pick 6: every horse in all six legs is 262,144 combinations at $2.
    PlayerList& players = session.game->day().players;
    if (!must(session.game->day().currentRace == 6 && session.find("cmdPick6")->isEnabled() &&
                  players.selected >= 0,
              "open the Pick 6 in race 7"))
        return false;
    setBalance(players.entries[static_cast<std::size_t>(players.selected)], 600000 * CentsPerDollar);
    session.window->refresh();
    const QStringList bigTicket = {"cmdAmount1", "cmdNext1", "cmdPick6", "cmdNext2", "cmdAll", "cmdWith",
                                   "cmdAll",     "cmdWith",  "cmdAll",   "cmdWith",  "cmdAll", "cmdWith",
                                   "cmdAll",     "cmdWith",  "cmdAll",   "cmdFinish"};
    const QAbstractItemModel* tickets = session.find<QAbstractItemView>("lstTicket")->model();
    const Stretch made = measure(
        "making the Pick 6 All x6 ticket", [&] { session.clickInTurns(bigTicket); },
        [&] { return tickets->rowCount() == 1; });
    if (!must(made.reached, "make the Pick 6 ticket"))
        return false;
    const Stretch paid = measure(
        "paying the Pick 6 All x6 ticket", [&] { session.click("cmdPrint"); },
        [&] { return tickets->index(0, 0).data(Qt::CheckStateRole) == Qt::Checked; });
    if (!must(paid.reached && balanceOf(players.entries[static_cast<std::size_t>(players.selected)]) <
                                  (600000 - 500000) * CentsPerDollar,
              "pay the Pick 6 ticket"))
        return false;

    for (int race = 7; race <= RacesPerDay - 1; ++race)
        if (!must(session.fastRace(), "run races 7 to 11"))
            return false;

    // Race 12 settles the Pick 6: every one of its pool lines is paid.
    if (!must(session.click("cmdRun") && session.click("cmdFastForward"), "run race 12"))
        return false;
    const Stretch lastShow = measure(
        "results show of race 12 (Pick 6)", [] {}, [&] { return session.runResultsShow(); });
    if (!must(lastShow.reached, "show the results of race 12"))
        return false;
    const Stretch topTen = measure(
        "results confirmed, top ten", [&] { session.pressResultsOk(); },
        [] { return openWindow("frmTop10") != nullptr; });
    if (!must(topTen.reached && session.game->stage() == Stage::TopTen, "open the top ten"))
        return false;

    PaintWatch programPainted(QStringLiteral("frmPastPerf"));
    const Stretch again = measure(
        "Play Again, new program painted", [] { Session::press(openWindow("frmTop10"), "cmdPlay"); },
        [&] { return programPainted.painted(); });
    return must(again.reached && session.game->day().currentRace == 0 &&
                    session.game->stage() == Stage::Program,
                "start a new day");
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    wholeRace = qEnvironmentVariableIsSet("STRIDEWELL_STUTTER_FULL_RACE") ||
                (argc > 1 && std::string_view(argv[1]) == "--full-race");
    const bool measured = startUpToTheFirstPaintedWindow() && aRaceIsPaintedOnEvenlySpacedFrames() &&
                          aDayWithABigTicketResultsAndANewDay();
    return measured ? 0 : 1;
}
