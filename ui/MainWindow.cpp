#include "MainWindow.h"

#include "ActionState.h"
#include "BetEntryWidget.h"
#include "BettingSlip.h"
#include "FontScale.h"
#include "LogoWidget.h"
#include "RaceCallView.h"
#include "RaceRunner.h"
#include "Sound.h"

#include "TicketsWidget.h"
#include "ToteBoardWidget.h"
#include "core/Constants.h"
#include "core/Durations.h"
#include "core/GradeTables.h"
#include "core/Translate.h"
#include "game/Game.h"
#include "ui/AboutDialog.h"
#include "ui/AddPlayerDialog.h"
#include "ui/LabWindow.h"
#include "ui/PastPerfWindow.h"
#include "ui/PrintOptionsDialog.h"
#include "ui/ResultsWindow.h"
#include "ui/ScreenFit.h"
#include "ui/SettingsWindow.h"
#include "ui/TopTenWindow.h"
#include "ui/UserGuide.h"
#include "ui/WindowMemory.h"
#include "ui/track/TrackWidget.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace sw::ui {

namespace {

// The page cmdDonate opens is a setting of the build; without one the button stays hidden.
QString donationAddress() {
#ifdef STRIDEWELL_DONATION_URL
    return QStringLiteral(STRIDEWELL_DONATION_URL);
#else
    return {};
#endif
}

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QPushButton* commandButton(const QString& name, const QString& caption, const QString& tooltip,
                           QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setToolTip(tooltip);
    b->setAutoDefault(false);
    b->setMinimumHeight(30);
    return b;
}

} // namespace

MainWindow::MainWindow(Game& game, QWidget* parent) : QMainWindow(parent), m_game(game) {
    setObjectName(QStringLiteral("frmHorses"));
    setWindowTitle(qs(_(AppCaption)));

    auto* central = new QWidget(this);
    setDesignFont(central, QApplication::font());
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->setSpacing(6);
    outer->addWidget(buildHeading());

    auto* areas = new QHBoxLayout;
    areas->setSpacing(6);
    // The slip stands over the bet pages and never moves: it says what the pages are building.
    auto* betting = new QVBoxLayout;
    betting->setSpacing(6);
    m_slip = new BettingSlip(m_game, central);
    m_betEntry = new BetEntryWidget(m_game, central);
    betting->addWidget(m_slip);
    betting->addWidget(m_betEntry, 1);
    m_tickets = new TicketsWidget(m_game, central);
    m_tote = new ToteBoardWidget(m_game, central);
    areas->addLayout(betting, 10);
    areas->addWidget(m_tickets, 9);
    areas->addWidget(m_tote, 8);
    outer->addLayout(areas, 10);

    m_track = new TrackWidget(central);
    m_track->setMinimumHeight(180);
    outer->addWidget(m_track, 9);
    // No scroll area: the window is laid out to fit a 1280 by 720 work area (1920 by 1080 at
    // 150 %) whole, the track's finish included.
    setCentralWidget(central);

    m_runner = new RaceRunner(m_game, *m_track, this);
    m_raceCall = new RaceCallView(m_game, *m_runner, *m_track, central);
    outer->addWidget(m_raceCall);
    m_runner->setSound(&m_sound->output());
    m_timerParade = new QTimer(this);
    m_timerParade->setObjectName(QStringLiteral("timerParade"));
    m_timerParade->setInterval(ParadeStepMs);
    connect(m_timerParade, &QTimer::timeout, this, [this] {
        m_track->scene().paradeTick();
        m_track->sceneChanged();
    });

    buildMenus();

    connect(m_betEntry, &BetEntryWidget::changed, this, &MainWindow::refresh);
    connect(m_slip, &BettingSlip::changed, this, &MainWindow::refresh);
    connect(m_betEntry, &BetEntryWidget::addPlayerRequested, this, &MainWindow::addPlayer);
    connect(m_tickets, &TicketsWidget::changed, this, &MainWindow::refresh);
    connect(m_tickets, &TicketsWidget::payRequested, this, &MainWindow::pay);
    connect(m_cmdPast, &QPushButton::clicked, this, &MainWindow::pastPerformances);
    connect(m_cmdRun, &QPushButton::clicked, this, &MainWindow::startRace);
    connect(m_cmdFastForward, &QPushButton::clicked, m_runner, &RaceRunner::fastForward);
    connect(m_cmdReplay, &QPushButton::clicked, this, &MainWindow::replay);
    connect(m_cmdDonate, &QPushButton::clicked, this, &MainWindow::donate);
    connect(m_runner, &RaceRunner::raceEnded, this, &MainWindow::raceEnded);
    connect(m_runner, &RaceRunner::replayEnded, this, &MainWindow::replayEnded);

    // Keyboard order follows the way a ticket is made: entry, tickets, board, then the race.
    setTabOrder(m_betEntry, m_tickets);
    setTabOrder(m_tickets, m_tote);
    setTabOrder(m_tote, m_cmdPast);
    setTabOrder(m_cmdPast, m_cmdRun);
    setTabOrder(m_cmdRun, m_cmdFastForward);
    setTabOrder(m_cmdFastForward, m_cmdReplay);
    setTabOrder(m_cmdReplay, m_chkSlowFinish);

    // The size the board was laid out for, or the screen's work area where that is smaller (a
    // laptop at 150 % or 200 % scaling).
    fitToScreen(this, QSize(1366, 740));
    refresh();
    // A question asked in the middle of a click (a ticket over the balance) is asked over the
    // window as the click left the game, not as it was before.
    m_game.day().prompter.setBeforePrompt([this] {
        if (!working() && m_game.stage() == Stage::Betting)
            refresh();
    });
    m_game.day().prompter.setAfterAnswer([this] { refresh(); });
}

MainWindow::~MainWindow() {
    if (working()) {
        for (std::thread* work : {&m_payWork, &m_dayWork})
            if (work->joinable())
                work->join();
        qApp->removeEventFilter(this);
    }
    m_game.day().prompter.setBeforePrompt({});
    m_game.day().prompter.setAfterAnswer({});
    // The game's windows still open go down with this one; none may call back into it meanwhile.
    for (QObject* child : children())
        child->disconnect(this);
}

QWidget* MainWindow::buildHeading() {
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    // Spaced to fit 1024 pixels with every command showing.
    row->setSpacing(4);
    // The name beside the badge gives way first when the window is narrow.
    auto* logo = new LogoWidget(bar);
    logo->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    row->addWidget(logo);
    row->addSpacing(8);

    QFont captionFont = bar->font();
    captionFont.setPointSizeF(captionFont.pointSizeF() * 1.15);
    QFont valueFont = captionFont;
    valueFont.setBold(true);
    valueFont.setPointSizeF(captionFont.pointSizeF() * 1.3);
    auto pair = [&](const char* captionName, const char* caption, const char* valueName) {
        auto* c = new QLabel(qs(_(caption)), bar);
        c->setObjectName(QString::fromLatin1(captionName));
        setDesignFont(c, captionFont);
        auto* v = new QLabel(bar);
        v->setObjectName(QString::fromLatin1(valueName));
        setDesignFont(v, valueFont);
        row->addWidget(c);
        row->addWidget(v);
        row->addSpacing(12);
        return v;
    };
    m_lblRaceNum = pair("lblRace", N_("Race"), "lblRaceNum");
    m_lblDistanceNum = pair("lblDistance", N_("Distance"), "lblDistanceNum");
    m_lblGradeNum = pair("lblGrade", N_("Purse"), "lblGradeNum");
    row->addStretch(1);

    m_cmdDonate = commandButton(QStringLiteral("cmdDonate"), qs(_("Donate")),
                                qs(_("Donate and be included on our update mailing list.")), bar);
    m_cmdDonate->setVisible(!donationAddress().isEmpty());
    row->addWidget(m_cmdDonate);
    m_cmdReplay =
        commandButton(QStringLiteral("cmdReplay"), qs(_("R&eplay")), qs(_("Show the last race again")), bar);
    m_chkSlowFinish = new QCheckBox(qs(_("S&low finish")), bar);
    m_chkSlowFinish->setObjectName(QStringLiteral("chkSlowFinish"));
    m_chkSlowFinish->setToolTip(qs(_("Replay the finish in slow motion")));
    m_cmdPast = commandButton(QStringLiteral("cmdPast"), qs(_("&Past Performances")),
                              qs(_("View past performances")), bar);
    m_cmdRun = commandButton(QStringLiteral("cmdRun"), qs(_("S&tart Race")), qs(_("Start the race")), bar);
    m_cmdFastForward = commandButton(QStringLiteral("cmdFastForward"), qs(_("Fast Forwar&d")),
                                     qs(_("Run the rest of the race at once")), bar);
    QFont runFont = m_cmdRun->font();
    runFont.setBold(true);
    setDesignFont(m_cmdRun, runFont);
    m_cmdRun->setMinimumWidth(96);
    row->addWidget(m_cmdReplay);
    row->addWidget(m_chkSlowFinish);
    row->addSpacing(8);
    row->addWidget(m_cmdPast);
    row->addWidget(m_cmdRun);
    row->addWidget(m_cmdFastForward);
    m_sound = new SoundControl(this);
    row->addSpacing(8);
    row->addWidget(m_sound->volumeSlider());
    return bar;
}

void MainWindow::buildMenus() {
    auto action = [this](QMenu* menu, const char* name, const QString& text, auto slot) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    m_menuFile = menuBar()->addMenu(qs(_("&File")));
    m_menuFile->setObjectName(QStringLiteral("menuFile"));
    m_menuNewDay = action(m_menuFile, "menuNewDay", qs(_("&New Day")), &MainWindow::newDay);
    m_menuNewDay->setShortcut(QKeySequence::New);
    m_menuPrint = action(m_menuFile, "menuPrint", qs(_("&Print Program...")), &MainWindow::printProgram);
    m_menuPrint->setShortcut(QKeySequence::Print);
    action(m_menuFile, "menuLab", qs(_("Strategy &Lab")), &MainWindow::openLab);
    m_menuFile->addSeparator();
    action(m_menuFile, "menuExit", qs(_("E&xit")), &MainWindow::endGame)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    m_menuSettings = menuBar()->addMenu(qs(_("&Settings")));
    m_menuSettings->setObjectName(QStringLiteral("menuSettings"));
    m_menuPlayer = action(m_menuSettings, "menuPlayer", qs(_("&Add Player")), &MainWindow::addPlayer);
    m_menuDefaults = action(m_menuSettings, "menuDefaults", qs(_("Set &Defaults")), &MainWindow::setDefaults);
    // The reset throws away every horse's history; it is kept out of reach of a stray click.
    m_menuReset = action(m_menuSettings, "menuReset", qs(_("&Reset DB")), &MainWindow::resetDatabase);
    m_menuReset->setVisible(false);
    m_menuSettings->addSeparator();
    m_menuSettings->addAction(m_raceCall->speakAction());
    m_menuSettings->addAction(m_sound->muteAction());

    m_menuHelp = menuBar()->addMenu(qs(_("&Help")));
    m_menuHelp->setObjectName(QStringLiteral("menuHelp"));
    action(m_menuHelp, "menuAbout", qs(_("&About")), &MainWindow::about);
    action(m_menuHelp, "menuUserGuide", qs(fillIn(_("&Using {0}"), _(AppCaption))), &MainWindow::userGuide)
        ->setShortcut(QKeySequence(Qt::Key_F1));
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // A bigger window shows bigger type, so the board reads from across the room.
    const double scale = fontScaleFor(width(), height());
    if (scale != m_fontScale) {
        m_fontScale = scale;
        scaleFonts(centralWidget(), scale);
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Half a payment or a day's start is never left behind: the window closes once it is written.
    if (working()) {
        event->ignore();
        return;
    }
    // The next start opens the window where the player left it.
    sw::ui::saveGeometry(this);
    QMainWindow::closeEvent(event);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The day starts once the window has been painted, so the player sees it while the program
    // loads. Should no paint come (a window shown hidden behind others), it starts all the same.
    if (!m_started)
        QTimer::singleShot(StartWithoutPaintMs, this, &MainWindow::startDayOnce);
}

void MainWindow::paintEvent(QPaintEvent* event) {
    QMainWindow::paintEvent(event);
    if (!m_started && !m_startScheduled) {
        m_startScheduled = true;
        QTimer::singleShot(0, this, &MainWindow::startDayOnce);
    }
}

void MainWindow::startDayOnce() {
    if (!m_started)
        startDay();
}

void MainWindow::startDay() {
    if (working())
        return;
    m_started = true;
    // The day's start reads the stable and writes its fresh files: off the window thread, which
    // keeps painting but passes no input on, so nothing else calls into the game until it is done.
    qApp->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_dayWork = std::thread([this] {
        m_dayReady = m_game.startDay();
        QMetaObject::invokeMethod(this, &MainWindow::dayStarted, Qt::QueuedConnection);
    });
}

void MainWindow::dayStarted() {
    m_dayWork.join();
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
    refresh();
    if (m_dayReady) {
        openProgramSoon();
        return;
    }
    // A stable that cannot fill the day can be replaced from here: the reset asks before it
    // throws the horses' history away, and starts a new day when it is done.
    askFirst(m_game, Action::ResetStable, this, [this](Answer answer) {
        if (!(m_game.resetDatabase(answer) && m_game.stage() == Stage::Program)) {
            close();
            return;
        }
        refresh();
        openProgramSoon();
    });
}

void MainWindow::refresh() {
    refreshHeading();
    m_betEntry->refresh();
    m_slip->refresh();
    m_tickets->refresh();
    m_tote->refresh();
    m_raceCall->refresh();
    refreshCommands();
}

void MainWindow::setSoundOutput(std::unique_ptr<SoundOutput> output) {
    m_sound->setOutput(std::move(output));
    m_runner->setSound(&m_sound->output());
}

void MainWindow::refreshHeading() {
    const Stage stage = m_game.stage();
    if (stage == Stage::NotStarted || stage == Stage::Failed) {
        m_lblRaceNum->clear();
        m_lblDistanceNum->clear();
        m_lblGradeNum->clear();
        return;
    }
    const RaceDay& day = m_game.day();
    const int race = std::clamp<int>(day.currentRace, 0, RacesPerDay - 1);
    m_lblRaceNum->setText(QString::number(race + 1));
    m_lblDistanceNum->setText(qs(_(RaceDistanceText)));
    m_lblGradeNum->setText(QStringLiteral("$") +
                           QString::number(purseOf(day.card.raceGrade[static_cast<std::size_t>(race)])));
}

void MainWindow::refreshCommands() {
    showAvailability(m_cmdRun, m_game.availability(Action::StartRace));
    showAvailability(m_cmdPast, m_game.availability(Action::OpenProgram));
    showAvailability(m_cmdFastForward, m_game.availability(Action::FastForward));
    // A replay needs the race's recording too, which only the track holds.
    Availability replay = m_game.availability(Action::Replay);
    if (replay && m_runner->replaying())
        replay.whyNot = _("The race is being shown again.");
    else if (replay && !m_runner->canReplay())
        replay.whyNot = _("There is no race to show again.");
    showAvailability(m_cmdReplay, replay);
    showAvailability(m_chkSlowFinish, replay);
    const Availability window = m_game.availability(Action::UseWindow);
    m_betEntry->setEnabled(window.allowed());
    for (QMenu* menu : {m_menuFile, m_menuSettings, m_menuHelp})
        showAvailability(menu->menuAction(), window);
    showAvailability(m_menuNewDay, m_game.availability(Action::NewDay));
    showAvailability(m_menuPrint, m_game.availability(Action::PrintProgram));
    showAvailability(m_menuPlayer, m_game.availability(Action::AddPlayer));
    showAvailability(m_menuDefaults, m_game.availability(Action::Settings));
    showAvailability(m_menuReset, m_game.availability(Action::ResetStable));
}

void MainWindow::openModal(QWidget* window) {
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowModality(Qt::WindowModal);
    window->show();
}

void MainWindow::openLab() {
    // One lab window, beside the day rather than over it: the player may bet while it plays.
    if (m_lab && m_lab->isVisible()) {
        m_lab->raise();
        m_lab->activateWindow();
        return;
    }
    m_lab = new LabWindow(m_game, this);
    m_lab->setAttribute(Qt::WA_DeleteOnClose);
    m_lab->show();
}

void MainWindow::openProgram() {
    // One program at a time: a menu used in the moment before it opened may have opened it.
    if ((m_program && m_program->isVisible()) || m_programComing)
        return;
    auto* program = new PastPerfWindow(m_game, this);
    m_program = program;
    m_programComing = program;
    connect(program, &PastPerfWindow::toteBoardChosen, this, &MainWindow::toteBoardChosen);
    // Built in one turn of the event loop and shown in the next, so each keeps the window busy
    // for half as long.
    QTimer::singleShot(0, program, [this, program] {
        m_programComing = nullptr;
        openModal(program);
    });
}

void MainWindow::openProgramSoon() {
    // In the next turn of the event loop: the new day or race and the program's window then each
    // keep the window busy for a short while rather than both for a long one.
    QTimer::singleShot(0, this, [this] {
        if (m_game.stage() == Stage::Program)
            openProgram();
    });
}

void MainWindow::toteBoardChosen() {
    refresh();
    // Betting opens: the keys build a ticket at once.
    m_betEntry->takeFocus();
    startParade();
}

void MainWindow::pastPerformances() {
    m_runner->stopReplay();
    m_game.openProgram();
    refresh();
    if (m_game.stage() == Stage::Program)
        openProgram();
}

void MainWindow::startParade() {
    m_track->scene().startParade();
    m_timerParade->start();
    m_track->sceneChanged();
}

void MainWindow::stopParade() {
    m_timerParade->stop();
    m_track->scene().stopParade();
}

void MainWindow::startRace() {
    // The question is whether to pay the unpaid tickets first: No starts the race without them.
    askFirst(m_game, Action::StartRace, this, [this](Answer payUnpaid) {
        stopParade();
        if (!m_runner->start(payUnpaid) && m_game.stage() == Stage::Betting)
            startParade();
        refresh();
    });
}

void MainWindow::raceEnded() {
    m_game.finishRace();
    refresh();
    // In the next turn of the event loop: the race's last passes (all of them, after a fast
    // forward) and the results window then each keep the window busy for a short while.
    QTimer::singleShot(0, this, [this] {
        if (m_game.stage() == Stage::Results)
            openResults();
    });
}

void MainWindow::openResults() {
    auto* results = new ResultsWindow(m_game, this);
    results->setPhotoStill(m_track->scene().view().photoStill);
    connect(results, &ResultsWindow::confirmed, this, &MainWindow::resultsConfirmed);
    connect(results, &ResultsWindow::settled, this, &MainWindow::refresh);
    openModal(results);
}

void MainWindow::resultsConfirmed() {
    refresh();
    if (m_game.stage() == Stage::Program)
        openProgramSoon();
    else if (m_game.stage() == Stage::TopTen)
        openTopTen();
}

void MainWindow::openTopTen() {
    auto* topTen = new TopTenWindow(m_game, this);
    connect(topTen, &TopTenWindow::playAgain, this, &MainWindow::playAgain);
    connect(topTen, &TopTenWindow::endGame, this, &MainWindow::endGame);
    openModal(topTen);
}

void MainWindow::playAgain() {
    m_runner->stopReplay();
    stopParade();
    // A new day is the same start as the first one, in a turn of its own: the window the choice
    // was made in is put away first.
    QTimer::singleShot(0, this, &MainWindow::startDay);
}

void MainWindow::newDay() {
    if (m_game.availability(Action::NewDay))
        playAgain();
}

void MainWindow::printProgram() {
    if (!m_game.availability(Action::PrintProgram))
        return;
    auto* options = new PrintOptionsDialog(m_game, this);
    // Printing walks the races it prints and then sets the race about to be run back up.
    connect(options, &PrintOptionsDialog::raceRestored, this, &MainWindow::refresh);
    openModal(options);
}

void MainWindow::endGame() {
    // Every file is already up to date: nothing is left to save or to ask.
    close();
    QCoreApplication::quit();
}

void MainWindow::pay() {
    if (working())
        return;
    // A big Pick 6 is megabytes of pool lines: it is paid off the window thread, which keeps
    // painting but passes no input on, so nothing else calls into the game until it is done.
    qApp->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    m_payWork = std::thread([this] {
        m_game.payQuietly();
        QMetaObject::invokeMethod(this, &MainWindow::paymentDone, Qt::QueuedConnection);
    });
}

void MainWindow::paymentDone() {
    m_payWork.join();
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
    // The screen shows the payment before anything is said of it.
    refresh();
    m_game.sayPayment();
    refresh();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (working()) {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
            return true;
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::replay() {
    stopParade();
    if (!m_runner->replay(m_chkSlowFinish->isChecked()) && m_game.stage() == Stage::Betting)
        startParade();
    refreshCommands();
}

void MainWindow::replayEnded() {
    if (m_game.stage() == Stage::Betting && !m_runner->running())
        startParade();
    refreshCommands();
}

void MainWindow::addPlayer() {
    auto* dialog = new AddPlayerDialog(m_game, this);
    connect(dialog, &AddPlayerDialog::playersChanged, this, &MainWindow::refresh);
    openModal(dialog);
}

void MainWindow::setDefaults() {
    auto* settings = new SettingsWindow(m_game, this);
    connect(settings, &QObject::destroyed, this, &MainWindow::refresh);
    openModal(settings);
}

void MainWindow::resetDatabase() {
    askFirst(m_game, Action::ResetStable, this, [this](Answer answer) {
        m_runner->stopReplay();
        stopParade();
        if (!m_game.resetDatabase(answer))
            return;
        refresh();
        if (m_game.stage() == Stage::Program)
            openProgramSoon();
        else if (m_game.stage() == Stage::Failed)
            close();
    });
}

void MainWindow::about() {
    openModal(new AboutDialog(this));
}

void MainWindow::userGuide() {
    openUserGuide(this);
}

void MainWindow::donate() {
    const QString address = donationAddress();
    if (!address.isEmpty())
        QDesktopServices::openUrl(QUrl(address));
}

} // namespace sw::ui
