#include "ui/MainWindow.h"
#include "core/Constants.h"
#include "core/Random.h"
#include "game/Game.h"
#include "players/Players.h"
#include "race/presentation/qt/TrackWidget.h"
#include "support/TestSupport.h"
#include "ui/QtPrompter.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace sw;
using sw::test::ScriptedPrompter;
using sw::test::TempDir;

namespace {

constexpr uint64_t Seed = 20240517;

// One race day in the main window, on a copy of the bundled stable.
struct Session {
    explicit Session(uint64_t seed = Seed) : random(seed) {
        sw::test::copyBundledData(dir.path());
        game = std::make_unique<Game>(dir.path(), random, prompter);
        window = std::make_unique<ui::MainWindow>(*game);
        window->resize(1366, 768);
        window->show();
    }

    TempDir dir;
    ScriptedPrompter prompter;
    SeededRandom random;
    std::unique_ptr<Game> game;
    std::unique_ptr<ui::MainWindow> window;
};

QString plain(QString caption) {
    return caption.remove(QLatin1Char('&'));
}

// A window of the game shown over the main window, by its object name.
QWidget* openWindow(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->objectName() == QLatin1String(name))
            return w;
    return nullptr;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Session> m_session;

    Game& game() { return *m_session->game; }
    ScriptedPrompter& prompter() { return m_session->prompter; }

    template <typename T = QWidget> T* find(const char* name) {
        return m_session->window->centralWidget()->findChild<T*>(QLatin1String(name));
    }
    QAction* action(const char* name) { return m_session->window->findChild<QAction*>(QLatin1String(name)); }
    QString text(const char* name) { return find<QLabel>(name)->text(); }

    // Clicks a button of the main window if it is there and usable.
    bool click(const char* name) {
        auto* b = find<QAbstractButton>(name);
        if (!b || !b->isEnabled() || !b->isVisible())
            return false;
        QTest::mouseClick(b, Qt::LeftButton);
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

    // The day started and the racing program open, then "Tote Board" pressed in it.
    bool startAndBet() {
        if (!QTest::qWaitFor([] { return openWindow("frmPastPerf") != nullptr; }))
            return false;
        return leaveProgram();
    }
    bool leaveProgram() {
        QWidget* program = openWindow("frmPastPerf");
        if (!program)
            return false;
        QTest::mouseClick(program->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        return QTest::qWaitFor(
            [this] { return game().stage() == Stage::Betting && !openWindow("frmPastPerf"); });
    }
    void addPlayer(const char* name) {
        sw::addPlayer(game().day(), name);
        m_session->window->refresh();
    }
    // Types where the keyboard is, one key at a time: "\n" is Enter, "\b" Backspace.
    bool type(const QString& keys) {
        for (QChar key : keys) {
            QWidget* focus = m_session->window->focusWidget();
            if (!focus)
                return false;
            if (key == u'\n')
                QTest::keyClick(focus, Qt::Key_Return);
            else if (key == u'\b')
                QTest::keyClick(focus, Qt::Key_Backspace);
            else
                QTest::keyClick(focus, key.toLatin1());
        }
        return true;
    }
    // The keyboard is on a usable control of the bet page shown.
    bool focusOnUsableEntryControl() {
        QWidget* focus = m_session->window->focusWidget();
        return focus && find<QTabWidget>("tabBets")->currentWidget()->isAncestorOf(focus) &&
               focus->isEnabled();
    }
    QStringList ticketTexts() {
        QStringList texts;
        auto* list = find<QListWidget>("lstTicket");
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->data(Qt::UserRole).toString();
        return texts;
    }
    // Steps the results window through its show, photo pauses taken at once, and presses OK.
    bool confirmResults() {
        QWidget* results = openWindow("frmResults");
        if (!results)
            return false;
        auto* show = results->findChild<QPushButton*>(QStringLiteral("cmdShow"));
        auto* ok = results->findChild<QPushButton*>(QStringLiteral("cmdOK"));
        auto* photo = results->findChild<QTimer*>(QStringLiteral("timerPhoto"));
        if (show->isEnabled())
            QTest::mouseClick(show, Qt::LeftButton);
        if (!QTest::qWaitFor([&] {
                if (photo && photo->isActive())
                    photo->start(0);
                return ok->isEnabled();
            }))
            return false;
        QTest::mouseClick(ok, Qt::LeftButton);
        return QTest::qWaitFor([] { return openWindow("frmPastPerf") != nullptr; });
    }

private slots:
    void init() { m_session = std::make_unique<Session>(); }
    void cleanup() { m_session.reset(); }

    void controlsCarryTheirNamesCaptionsAndTooltips();
    void everyButtonIsReachableByKeyboard();
    void raceHeadingShowsTheRaceAboutToBeRun();
    void playersAreAddedSelectedAndDeletedFromThePlayerControls();
    void betPagesFollowTheEntryAndItsChecks();
    void everyBetTypeBuildsItsTicketByClicks();
    void ticketsAreBuiltFromTheKeyboard();
    void theKeyboardStaysOnAUsableControlOfTheEntry();
    void menusShowTheirShortcutsAndOfferANewDayAndPrinting();
    void theInstructionLineKeepsTheHorsesInPlace();
    void aTicketOverTheBalanceIsShownBeforeTheQuestion();
    void payingMarksTicketsChargesAndMovesTheBoard();
    void deletingATicketAsksFirst();
    void toteBoardShowsRaceOneAndMarksTheFavourite();
    void oddsGridsFollowTheChosenHorse();
    void startRaceAsksAboutUnpaidTicketsAndLocksTheWindow();
    void fastForwardOpensTheResultsAndTheDayGoesOn();
    void pacingDoesNotChangeTheRace();
    void replayShowsTheLastRaceUntilANewOneStarts();
    void trackMidRace();
    void pastPerformancesKeepTheTicketsOfTheRace();
    void menusOpenTheirWindows();
    void aWholeDayEndsInTheTopTenAndPlaysAgain();
    void aStableThatCannotFillTheCardClosesTheWindow();
    void aNewDayOpensItsProgramOnceInTheNextTurn();
    void messageBoxesShowTheTextUnderTheTitleGiven();
};

void MainWindowTest::controlsCarryTheirNamesCaptionsAndTooltips() {
    QVERIFY(startAndBet());
    QCOMPARE(m_session->window->objectName(), QStringLiteral("frmHorses"));
    QCOMPARE(m_session->window->windowTitle(), QStringLiteral("Stridewell - Horse Racing"));

    const std::vector<std::array<const char*, 3>> buttons = {
        {"cmdAmount0", "$1", ""},
        {"cmdAmount6", "$100", ""},
        {"cmdAmount7", "All", "Your current balance"},
        {"cmdAdd", "Add", "Add player(s)"},
        {"cmdDelPlayer", "Delete", "Delete chosen player"},
        {"cmdNext1", "Next ->", "Go to Choose Bet options"},
        {"cmdAcross", "Across The Board", "Win,Place, & Show"},
        {"cmdDouble", "DailyDouble", "1st place in 2 consecutive races"},
        {"cmdTriSuper", "Tri-Super",
         "Trifecta in one race, Superfecta in 2nd race. A winning Trifecta here is exchanged for a "
         "Superfecta of the next race (races 1 to 11)"},
        {"cmdWheel", "Key/Wheel", "One horse with some or all"},
        {"cmdCancelBet", "Cancel Bet", "Cancel all selections"},
        {"cmdNext2", "Next ->", "Go to Choose Horses options"},
        {"cmdHorse0", "1", ""},
        {"cmdHorse7", "8", ""},
        {"cmdAll", "All", "Choose all horses"},
        {"cmdWith", "With", "Click to make next set of selections"},
        {"cmdFinish", "Finish", "Click to place bet on ticket list"},
        {"cmdClear", "Clear Bet", "Clear all bet choices"},
        {"cmdBack", "<--  Clr Pick", "Delete last choice taken"},
        {"cmdDelete", "Delete", "Delete selected ticket"},
        {"cmdPrint", "Pay For Ticket(s)", "Log bets and pay for ticket(s)."},
        {"cmdRun", "Start Race", "Start the race"},
        {"cmdPast", "Past Performances", "View past performances"},
        {"cmdFastForward", "Fast Forward", nullptr},
        {"cmdReplay", "Replay", nullptr},
    };
    for (const auto& [name, caption, tooltip] : buttons) {
        auto* b = find<QAbstractButton>(name);
        QVERIFY2(b, name);
        QCOMPARE(plain(b->text()), QString::fromUtf8(caption));
        if (tooltip && *tooltip)
            QCOMPARE(b->toolTip(), QString::fromUtf8(tooltip));
    }

    const std::vector<std::array<const char*, 2>> labels = {
        {"lblRace", "Race"},          {"lblDistance", "Distance"},
        {"lblGrade", "Purse"},        {"lblAmount", "Amount per bet:"},
        {"Label7", "Select Player:"}, {"lblCurBal", "Current Balance:"},
        {"lblTicket", "Tickets"},     {"Label8", "Paid"},
        {"Label11", "Combinations"},  {"Label10", "Ticket Bets"},
        {"Label9", "Ticket Total"},   {"lblTotBets", "Total # of Bets"},
        {"lblTotal", "Total Paid"},   {"lblPost", "Post"},
        {"lblOddsLine", "Odds"},
    };
    for (const auto& [name, caption] : labels) {
        QVERIFY2(find<QLabel>(name), name);
        QCOMPARE(text(name), QString::fromUtf8(caption));
    }
    for (const char* name :
         {"lblOdds0",         "lblWinTot7",      "lblPlaceTot3", "lblShowTot5",  "lblTotHorse0",
          "lblQOdds7",        "lblEOdds0",       "lblWinPool",   "lblPlacePool", "lblShowPool",
          "lblQuinielaPool",  "lblExactPool",    "lblQuinAnd",   "lblExactaAnd", "lblBetName",
          "lblBetKind",       "lblBetAmount",    "lblBalance",   "lblInstruct",  "lblPicks",
          "lblTicketNumBets", "lblTotTicketNum", "lblNumOfBets", "lblTotalNum",  "lblRaceNum",
          "lblDistanceNum",   "lblGradeNum"})
        QVERIFY2(find<QLabel>(name), name);
    QVERIFY(find("imgLogo"));
    QVERIFY(find("frTrack"));
    QVERIFY(find("frTickets"));
    QVERIFY(find<QListWidget>("lstLegs"));
    QCOMPARE(find<QListWidget>("lstTicket")->toolTip(), QStringLiteral("Click to see all combinations."));
    QCOMPARE(find<QListWidget>("lstCombos")->toolTip(), QStringLiteral("Combinations generated by bet"));
    QCOMPARE(find<QComboBox>("cmbBettor")->toolTip(), QStringLiteral("Select player that will place a bet"));
    auto* amount = find<QSpinBox>("udAmount");
    QCOMPARE(amount->minimum(), 0);
    QCOMPARE(amount->maximum(), 32000);
    QCOMPARE(amount->toolTip(), QStringLiteral("Increase/Decrease amount by $1"));
    QVERIFY(find<QSpinBox>("udQuinAnd"));
    QVERIFY(find<QSpinBox>("udExactaAnd"));

    auto* bets = find<QTabWidget>("tabBets");
    QCOMPARE(plain(bets->tabText(0)), QStringLiteral("Choose Amount"));
    QCOMPARE(plain(bets->tabText(1)), QStringLiteral("Choose Bet"));
    QCOMPARE(plain(bets->tabText(2)), QStringLiteral("Choose Horses"));
    auto* tote = find<QTabWidget>("tabTote");
    QCOMPARE(plain(tote->tabText(0)), QStringLiteral("Win Odds"));
    QCOMPARE(plain(tote->tabText(1)), QStringLiteral("Quiniela Odds"));
    QCOMPARE(plain(tote->tabText(2)), QStringLiteral("Exacta Odds"));

    // Without a donation address the button stays out of sight; the reset is never offered.
    QVERIFY(!find("cmdDonate")->isVisible());
    QVERIFY(!action("menuReset")->isVisible());
    const std::vector<std::array<const char*, 2>> menus = {
        {"menuFile", "File"}, {"menuSettings", "Settings"}, {"menuHelp", "Help"}};
    for (const auto& [name, title] : menus) {
        auto* menu = m_session->window->findChild<QMenu*>(QLatin1String(name));
        QVERIFY2(menu, name);
        QCOMPARE(plain(menu->title()), QString::fromUtf8(title));
    }
    const std::vector<std::array<const char*, 2>> items = {
        {"menuExit", "Exit"},
        {"menuPlayer", "Add Player"},
        {"menuDefaults", "Set Defaults"},
        {"menuReset", "Reset DB"},
        {"menuAbout", "About"},
        {"menuUserGuide", "Using Stridewell - Horse Racing"}};
    for (const auto& [name, caption] : items) {
        QVERIFY2(action(name), name);
        QCOMPARE(plain(action(name)->text()), QString::fromUtf8(caption));
    }
    QVERIFY(!m_session->window->findChild<QAction*>(QStringLiteral("menuProductInfo")));
}

void MainWindowTest::everyButtonIsReachableByKeyboard() {
    QVERIFY(startAndBet());
    const auto buttons = m_session->window->centralWidget()->findChildren<QAbstractButton*>();
    QVERIFY(buttons.size() > 50);
    for (QAbstractButton* b : buttons)
        QVERIFY2(b->focusPolicy() & Qt::TabFocus, qPrintable(b->objectName()));
    // The commands a player reaches most often answer to Alt and a letter.
    for (const char* name : {"cmdRun", "cmdPast", "cmdPrint", "cmdFastForward", "cmdReplay"})
        QVERIFY2(find<QAbstractButton>(name)->text().contains(QLatin1Char('&')), name);
}

void MainWindowTest::raceHeadingShowsTheRaceAboutToBeRun() {
    QVERIFY(startAndBet());
    QCOMPARE(text("lblRaceNum"), QStringLiteral("1"));
    QCOMPARE(text("lblDistanceNum"), QStringLiteral("1\u00BC Miles"));
    const int grade = game().day().card.raceGrade[0];
    QCOMPARE(text("lblGradeNum"), QStringLiteral("$%1").arg(grade * 1000));
}

void MainWindowTest::playersAreAddedSelectedAndDeletedFromThePlayerControls() {
    QVERIFY(startAndBet());
    QVERIFY(!find("cmdNext1")->isEnabled());
    QVERIFY(click("cmdAdd"));
    QWidget* dialog = openWindow("frmAddPlayer");
    QVERIFY(dialog);
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("txtPlayer"));
    auto* add = dialog->findChild<QPushButton*>(QStringLiteral("cmdAdd"));
    QTest::keyClicks(name, QStringLiteral("Ann"));
    QTest::mouseClick(add, Qt::LeftButton);
    QTest::keyClicks(name, QStringLiteral("Bob"));
    QTest::mouseClick(add, Qt::LeftButton);
    dialog->close();
    QTRY_VERIFY(!openWindow("frmAddPlayer"));

    QCOMPARE(sw::test::readLines(m_session->dir / "players.dat"),
             (std::vector<std::string>{"1,Ann,400", "2,Bob,400"}));
    auto* bettor = find<QComboBox>("cmbBettor");
    QCOMPARE(bettor->count(), 2);
    QCOMPARE(bettor->currentText(), QStringLiteral("Bob"));
    QCOMPARE(text("lblBalance"), QStringLiteral("400.00"));
    QVERIFY(find("cmdNext1")->isEnabled());

    // Choosing in the list makes that player the bettor.
    bettor->setFocus();
    QTest::keyClick(bettor, Qt::Key_Up);
    QCOMPARE(game().day().players.selected, 0);

    prompter().answer(false);
    QVERIFY(click("cmdDelPlayer"));
    QCOMPARE(bettor->count(), 2);
    prompter().answer(true);
    QVERIFY(click("cmdDelPlayer"));
    QVERIFY(prompter().sawText(sw::DeletePlayerQuestion));
    QCOMPARE(bettor->count(), 1);
    QCOMPARE(bettor->currentText(), QStringLiteral("Bob"));
    QCOMPARE(sw::test::readLines(m_session->dir / "players.dat"), (std::vector<std::string>{"2,Bob,400"}));

    // The Settings menu opens the same dialog.
    action("menuPlayer")->trigger();
    QVERIFY(openWindow("frmAddPlayer"));
    openWindow("frmAddPlayer")->close();
}

void MainWindowTest::betPagesFollowTheEntryAndItsChecks() {
    QVERIFY(startAndBet());
    auto* bets = find<QTabWidget>("tabBets");
    QCOMPARE(bets->toolTip(),
             QStringLiteral("Select player and amount per bet, then click on the Next button."));

    // Nobody to bet for: the first step is said, with Add ready for the keyboard, and the bet page
    // cannot be entered by its tab.
    QCOMPARE(text("lblFirstStep"), QStringLiteral("Add a player to start betting"));
    QVERIFY(find("lblFirstStep")->isVisible());
    QCOMPARE(m_session->window->focusWidget(), find("cmdAdd"));
    bets->tabBar()->setCurrentIndex(1);
    QCOMPARE(bets->currentIndex(), 0);
    QVERIFY(prompter().sawText("Need to add a player."));

    addPlayer("Ann");
    QVERIFY(!find("lblFirstStep")->isVisible());
    QVERIFY(click("cmdNext1"));
    QCOMPARE(bets->currentIndex(), 1);
    QCOMPARE(
        bets->toolTip(),
        QStringLiteral(
            "Select type of bet, Box, Wheel or Straight (if necessary), then click on the Next button."));
    QVERIFY(!find("cmdNext2")->isEnabled());
    QVERIFY(!find("cmdBox")->isEnabled());

    // The horses page wants a bet first, and sends the player back.
    prompter().clear();
    bets->tabBar()->setCurrentIndex(2);
    QCOMPARE(bets->currentIndex(), 1);
    QVERIFY(prompter().sawText("Please make bet selection and/or select between Wheel, Box, or Straight."));

    QVERIFY(click("cmdExacta"));
    QVERIFY(find("cmdBox")->isEnabled());
    QCOMPARE(text("lblBetName"), QStringLiteral("Exacta"));
    QVERIFY(click("cmdBox"));
    QCOMPARE(text("lblBetKind"), QStringLiteral("Box"));
    QVERIFY(click("cmdNext2"));
    QCOMPARE(bets->currentIndex(), 2);
    QCOMPARE(text("lblInstruct"), QStringLiteral("Choose 2 or more horses then click the Finish button"));
    QVERIFY(!find("cmdFinish")->isEnabled());
    QVERIFY(!find("cmdWith")->isEnabled());
    QVERIFY(click("cmdHorse2"));
    QVERIFY(!find("cmdHorse2")->isEnabled());
    QVERIFY(!find("cmdFinish")->isEnabled());
    QVERIFY(click("cmdHorse0"));
    QVERIFY(find("cmdFinish")->isEnabled());
    QCOMPARE(text("lblPicks"), QStringLiteral("31"));
    QVERIFY(click("cmdBack"));
    QCOMPARE(text("lblPicks"), QStringLiteral("3"));
    QVERIFY(find("cmdHorse0")->isEnabled());
    QVERIFY(click("cmdAll"));
    QCOMPARE(text("lblPicks"), QStringLiteral("All"));
    QVERIFY(click("cmdClear"));
    QCOMPARE(bets->currentIndex(), 0);
    QCOMPARE(find<QListWidget>("lstLegs")->count(), 0);

    // Win below $2 is raised to $2 with a word; the spinner shows the $2 the label says.
    QVERIFY(click("cmdAmount0"));
    QCOMPARE(find<QSpinBox>("udAmount")->value(), 1);
    QVERIFY(click("cmdNext1"));
    QVERIFY(click("cmdWin"));
    QCOMPARE(text("lblBetAmount"), QStringLiteral("2"));
    QCOMPARE(find<QSpinBox>("udAmount")->value(), 2);
    QVERIFY(prompter().sawText("Minimum amount for Win is $2\r\nYour amount will be set $2"));
}

void MainWindowTest::everyBetTypeBuildsItsTicketByClicks() {
    QVERIFY(startAndBet());
    addPlayer("Ann");
    // The multi-race bets open only in their first race; race 1 offers none of them.
    for (const char* name : {"cmdDouble", "cmdPick3", "cmdPick6"})
        QVERIFY2(!find(name)->isEnabled(), name);
    RaceDay& day = game().day();
    day.dailyDoubleOffered = day.pick3Offered = day.pick6Offered = true;
    m_session->window->refresh();

    const QStringList start = {"cmdAmount1", "cmdNext1"};
    const std::vector<std::pair<QStringList, QString>> tickets = {
        {{"cmdWin", "cmdNext2", "cmdHorse4", "cmdFinish"}, "$2 Win on 5"},
        {{"cmdPlace", "cmdNext2", "cmdHorse0", "cmdHorse1", "cmdFinish"}, "$2 Place on 12"},
        {{"cmdShow", "cmdNext2", "cmdHorse2", "cmdFinish"}, "$2 Show on 3"},
        {{"cmdAcross", "cmdNext2", "cmdHorse2", "cmdFinish"}, "$2 WPS on 3"},
        {{"cmdQuiniela", "cmdStraight", "cmdNext2", "cmdHorse1", "cmdHorse6", "cmdFinish"},
         "$2 Quiniela Straight 27"},
        {{"cmdExacta", "cmdBox", "cmdNext2", "cmdHorse0", "cmdHorse2", "cmdHorse3", "cmdFinish"},
         "$2 Exacta Box 134"},
        {{"cmdTrifecta", "cmdWheel", "cmdNext2", "cmdHorse0", "cmdWith", "cmdHorse1", "cmdHorse2", "cmdWith",
          "cmdHorse1", "cmdHorse2", "cmdHorse3", "cmdHorse4", "cmdFinish"},
         "$2 Trifecta Wheel 1 with 23 with 2345"},
        {{"cmdSuper", "cmdStraight", "cmdNext2", "cmdHorse7", "cmdHorse6", "cmdHorse5", "cmdHorse4",
          "cmdFinish"},
         "$2 Superfecta Straight 8765"},
        {{"cmdDouble", "cmdNext2", "cmdHorse0", "cmdHorse1", "cmdWith", "cmdAll", "cmdFinish"},
         "$2 DailyDouble Wheel 12 with All"},
        {{"cmdPick3", "cmdNext2", "cmdHorse0", "cmdWith", "cmdHorse1", "cmdWith", "cmdHorse2", "cmdFinish"},
         "$2 Pick3 Wheel 1 with 2 with 3"},
        {{"cmdPick6", "cmdNext2", "cmdHorse0", "cmdWith", "cmdHorse1", "cmdWith", "cmdHorse2", "cmdWith",
          "cmdHorse3", "cmdWith", "cmdHorse4", "cmdWith", "cmdAll", "cmdFinish"},
         "$2 Pick6 Wheel 1 with 2 with 3 with 4 with 5 with All"},
        {{"cmdTwinTri", "cmdBox", "cmdNext2", "cmdHorse0", "cmdHorse1", "cmdHorse2", "cmdFinish"},
         "$2 Twin-Tri Box 123"},
        {{"cmdTriSuper", "cmdStraight", "cmdNext2", "cmdHorse3", "cmdHorse4", "cmdHorse5", "cmdFinish"},
         "$2 Tri-Super Straight 456"},
    };
    QStringList expected;
    for (const auto& [clicks, ticket] : tickets) {
        QVERIFY2(clickAll(start + clicks), qPrintable(ticket));
        expected << ticket;
        QCOMPARE(ticketTexts(), expected);
        // Each finished ticket returns to the amount page with the horses free again.
        QCOMPARE(find<QTabWidget>("tabBets")->currentIndex(), 0);
    }
    // A straight exacta takes no third horse.
    QVERIFY(clickAll(start + QStringList{"cmdExacta", "cmdStraight", "cmdNext2", "cmdHorse0", "cmdHorse1"}));
    QVERIFY(find("cmdFinish")->isEnabled());
    QVERIFY(click("cmdHorse2"));
    QCOMPARE(text("lblPicks"), QStringLiteral("12"));

    auto* list = find<QListWidget>("lstTicket");
    QVERIFY(list->item(0)->text().contains(QStringLiteral("Ann")));
    QVERIFY(find("cmdPrint")->isEnabled());

    // A credit held for the race is listed beside the tickets; Exchange enters its second half.
    QVERIFY(!click("cmdExchange"));
    day.exchangeCredits = {{57, day.players.entries[0].playerId, 5, "Tri-Super", 1, "3-5-1", 41.2f, 0}};
    m_session->window->refresh();
    QCOMPARE(find<QListWidget>("lstCredits")->count(), 1);
    QVERIFY(click("cmdExchange"));
    QCOMPARE(find<QTabWidget>("tabBets")->currentIndex(), 1);
    QCOMPARE(text("lblBetName"), QStringLiteral("Tri-Super"));
    QCOMPARE(text("lblBetAmount"), QStringLiteral("5"));
}

void MainWindowTest::ticketsAreBuiltFromTheKeyboard() {
    QVERIFY(startAndBet());
    addPlayer("Ann");
    // Each bet and mode button has its own letter on its page.
    auto* tabs = find<QTabWidget>("tabBets");
    for (int page = 0; page < tabs->count(); ++page) {
        QSet<QKeySequence> letters;
        for (auto* b : tabs->widget(page)->findChildren<QPushButton*>()) {
            const QKeySequence letter = QKeySequence::mnemonic(b->text());
            if (!letter.isEmpty()) {
                QVERIFY2(!letters.contains(letter), qPrintable(b->text()));
                letters.insert(letter);
            }
        }
    }
    for (const char* name : {"cmdWin", "cmdAcross", "cmdExacta", "cmdSuper", "cmdDouble", "cmdPick6",
                             "cmdTwinTri", "cmdTriSuper", "cmdStraight", "cmdBox", "cmdWheel"})
        QVERIFY2(!QKeySequence::mnemonic(find<QPushButton>(name)->text()).isEmpty(), name);

    // The default $2 stays; Enter goes on a page, letters choose, digits pick, Enter finishes.
    const std::vector<std::pair<QString, QString>> tickets = {
        {"\neb\n134\n", "$2 Exacta Box 134"},
        {"\nw\n5\n", "$2 Win on 5"},
        {"\nh\n4\b3\n", "$2 Show on 3"},
        {"\na\n78\n", "$2 WPS on 78"},
        {"\nqs\n26\n", "$2 Quiniela Straight 26"},
        {"\nek\n1wa\n", "$2 Exacta Wheel 1 with All"},
        {"\nub\n1234\n", "$2 Superfecta Box 1234"},
        {"\ntk\n1w2w3\n", "$2 Trifecta Wheel 1 with 2 with 3"},
    };
    for (const auto& [keys, ticket] : tickets) {
        QVERIFY2(keys.size() <= 10, qPrintable(ticket));
        QVERIFY2(type(keys), qPrintable(ticket));
        QVERIFY2(!ticketTexts().isEmpty(), qPrintable(ticket));
        QCOMPARE(ticketTexts().last(), ticket);
    }
    QCOMPARE(ticketTexts().size(), qsizetype(tickets.size()));
}

void MainWindowTest::theKeyboardStaysOnAUsableControlOfTheEntry() {
    QVERIFY(startAndBet());
    addPlayer("Ann");
    QVERIFY(type("\nw\n3"));
    // Clearing the pick makes Finish unusable under the keyboard; the next usable control of the
    // page takes it, not the ticket list after the panel.
    find("cmdFinish")->setFocus();
    QVERIFY(type("\b"));
    QVERIFY(!find("cmdFinish")->isEnabled());
    QVERIFY(focusOnUsableEntryControl());
    // Finish turns back to the amount page: the keyboard goes with it, ready for the next ticket.
    QVERIFY(type("4"));
    find("cmdFinish")->setFocus();
    QTest::keyClick(find("cmdFinish"), Qt::Key_Space);
    QCOMPARE(ticketTexts(), QStringList{"$2 Win on 4"});
    QCOMPARE(m_session->window->focusWidget(), find("cmdNext1"));
}

void MainWindowTest::menusShowTheirShortcutsAndOfferANewDayAndPrinting() {
    QVERIFY(startAndBet());
    const std::vector<std::pair<const char*, QKeySequence>> shortcuts = {
        {"menuUserGuide", QKeySequence(Qt::Key_F1)},
        {"menuExit", QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {"menuNewDay", QKeySequence(QKeySequence::New)},
        {"menuPrint", QKeySequence(QKeySequence::Print)},
    };
    for (const auto& [name, keys] : shortcuts) {
        QVERIFY2(action(name), name);
        QCOMPARE(action(name)->shortcut(), keys);
    }
    QVERIFY(action("menuPrint")->isEnabled());
    action("menuPrint")->trigger();
    QWidget* print = openWindow("frmPrint");
    QVERIFY(print);
    print->close();

    // A new day is offered until the first ticket is paid.
    addPlayer("Ann");
    QVERIFY(game().ticketList().listTicket(game().day(), "$2 Win on 1"));
    m_session->window->refresh();
    QVERIFY(action("menuNewDay")->isEnabled());
    QVERIFY(click("cmdPrint"));
    QVERIFY(!action("menuNewDay")->isEnabled());
}

void MainWindowTest::theInstructionLineKeepsTheHorsesInPlace() {
    QVERIFY(startAndBet());
    addPlayer("Ann");
    auto* instruct = find<QLabel>("lblInstruct");
    auto horsesTop = [this] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        return find("cmdHorse0")->mapTo(find("tabBets"), QPoint()).y();
    };
    // A larger window scales the type up; two lines of the larger type stay reserved.
    m_session->window->resize(1776, 999);
    QVERIFY(type("\nw\n"));
    const int oneLine = horsesTop();
    QVERIFY(click("cmdClear"));
    // The key horse of a quiniela wheel takes the longest instruction, two lines here.
    QVERIFY(type("\nqk\n"));
    QVERIFY(instruct->heightForWidth(instruct->width()) > instruct->fontMetrics().lineSpacing());
    QCOMPARE(horsesTop(), oneLine);
}

void MainWindowTest::aTicketOverTheBalanceIsShownBeforeTheQuestion() {
    QVERIFY(startAndBet());
    addPlayer("Ann");
    QVERIFY(type("\nw\n1\n"));
    find<QSpinBox>("udAmount")->setValue(500);
    auto* list = find<QListWidget>("lstTicket");
    QString selectedWhenAsked;
    prompter().whenAsked([&] {
        if (list->currentItem())
            selectedWhenAsked = list->currentItem()->data(Qt::UserRole).toString();
    });
    prompter().answer(false);
    QVERIFY(type("\nw\n2\n"));
    QVERIFY(prompter().sawText("Are you sure you want to delete the ticket?"));
    QCOMPARE(selectedWhenAsked, QStringLiteral("$500 Win on 2"));
}

void MainWindowTest::payingMarksTicketsChargesAndMovesTheBoard() {
    QVERIFY(startAndBet());
    addPlayer("Ann");
    const int winBefore = text("lblWinTot4").toInt();
    const int poolBefore = text("lblWinPool").toInt();
    QVERIFY(clickAll({"cmdAmount3", "cmdNext1", "cmdWin", "cmdNext2", "cmdHorse4", "cmdFinish"}));
    QVERIFY(clickAll({"cmdAmount1", "cmdNext1", "cmdExacta", "cmdBox", "cmdNext2", "cmdHorse0", "cmdHorse2",
                      "cmdHorse3", "cmdFinish"}));
    auto* list = find<QListWidget>("lstTicket");
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(0)->checkState(), Qt::Unchecked);
    QCOMPARE(text("lblTicketNumBets"), QStringLiteral("6"));
    QCOMPARE(text("lblTotTicketNum"), QStringLiteral("$12"));
    QCOMPARE(text("lblNumOfBets"), QStringLiteral("7"));
    QCOMPARE(text("lblTotalNum"), QStringLiteral("$22"));
    QCOMPARE(find<QListWidget>("lstCombos")->count(), 6);

    QVERIFY(click("cmdPrint"));
    QCOMPARE(list->item(0)->checkState(), Qt::Checked);
    QCOMPARE(list->item(1)->checkState(), Qt::Checked);
    QCOMPARE(text("lblBalance"), QStringLiteral("378.00"));
    QCOMPARE(text("lblTotalNum"), QString());
    // Nothing is left to pay, so Pay is out of reach rather than doing nothing.
    QVERIFY(!find("cmdPrint")->isEnabled());
    QCOMPARE(sw::test::readLines(m_session->dir / "tickets.dat").size(), std::size_t{2});
    // The board follows the money: $10 more on horse 5 to win.
    QCOMPARE(text("lblWinTot4").toInt(), winBefore + 10);
    QCOMPARE(text("lblWinPool").toInt(), poolBefore + 10);
    // The player cannot tick or untick a ticket by hand.
    QVERIFY(!(list->item(0)->flags() & Qt::ItemIsUserCheckable));

    // A board's win odds open on a click, a ticket on Enter, each into how its figure is worked out.
    QTest::mouseClick(find<QLabel>("lblOdds4"), Qt::LeftButton);
    list->setCurrentRow(1);
    QTest::keyClick(list, Qt::Key_Return);
    QStringList lastSteps;
    for (auto* explained : m_session->window->findChildren<QDialog*>(QStringLiteral("frmExplain"))) {
        QVERIFY(explained->isVisible() && !explained->isModal());
        auto* steps = explained->findChild<QListWidget*>(QStringLiteral("lstSteps"));
        lastSteps << steps->item(steps->count() - 1)->text();
    }
    lastSteps.sort();
    QCOMPARE(lastSteps.size(), 2);
    const QString tooltip = find<QLabel>("lblOdds4")->toolTip();
    QVERIFY2(lastSteps[0].endsWith(tooltip.mid(tooltip.lastIndexOf(u'$') + 1)), qPrintable(lastSteps[0]));
    QCOMPARE(lastSteps[1], QStringLiteral("6 bets x $2 = $12"));
}

void MainWindowTest::deletingATicketAsksFirst() {
    QVERIFY(startAndBet());
    addPlayer("Ann");
    QVERIFY(clickAll({"cmdAmount1", "cmdNext1", "cmdWin", "cmdNext2", "cmdHorse0", "cmdFinish"}));
    QVERIFY(clickAll({"cmdAmount1", "cmdNext1", "cmdShow", "cmdNext2", "cmdHorse1", "cmdFinish"}));
    auto* list = find<QListWidget>("lstTicket");
    list->setCurrentRow(0);
    QVERIFY(find("cmdDelete")->isEnabled());
    prompter().answer(false);
    QVERIFY(click("cmdDelete"));
    QCOMPARE(ticketTexts(), (QStringList{"$2 Win on 1", "$2 Show on 2"}));
    prompter().answer(true);
    QVERIFY(click("cmdDelete"));
    QVERIFY(prompter().sawText("Are you sure you want to delete the ticket?"));
    QCOMPARE(ticketTexts(), QStringList{"$2 Show on 2"});
    list->setCurrentRow(0);
    prompter().answer(true);
    QVERIFY(click("cmdDelete"));
    QVERIFY(ticketTexts().isEmpty());
    QCOMPARE(text("lblTotTicketNum"), QStringLiteral("$0"));
    QVERIFY(!find("cmdDelete")->isEnabled());
    QVERIFY(!find("cmdPrint")->isEnabled());
}

void MainWindowTest::toteBoardShowsRaceOneAndMarksTheFavourite() {
    QVERIFY(startAndBet());
    int win = 0, place = 0, show = 0;
    int favourites = 0, favourite = -1, mostMoney = -1;
    for (int h = 0; h < FieldSize; ++h) {
        const QByteArray n = QByteArray::number(h);
        const int money = text("lblWinTot" + n).toInt();
        win += money;
        place += text("lblPlaceTot" + n).toInt();
        show += text("lblShowTot" + n).toInt();
        mostMoney = std::max(mostMoney, money);
        auto* odds = find<QLabel>("lblOdds" + n);
        QVERIFY(!odds->text().trimmed().isEmpty());
        QVERIFY(odds->toolTip().startsWith(QStringLiteral("$2 Win Bet pays: $")));
        // Each post names its horse, as the racing program lists it.
        QCOMPARE(find<QLabel>("lblTotHorse" + n)->toolTip(),
                 QString::fromStdString(game().day().entries.name[static_cast<std::size_t>(h)]));
        if (odds->property("favourite").toBool()) {
            ++favourites;
            favourite = h;
        }
    }
    // Race 1's public money is on the board, each column adding up to its pool.
    QVERIFY(win > 0);
    QCOMPARE(text("lblWinPool").toInt(), win);
    QCOMPARE(text("lblPlacePool").toInt(), place);
    QCOMPARE(text("lblShowPool").toInt(), show);
    QVERIFY(text("lblQuinielaPool").toInt() > 0);
    QVERIFY(text("lblExactPool").toInt() > 0);
    // One favourite, the horse the most win money is on, marked across its row.
    QCOMPARE(favourites, 1);
    const QByteArray f = QByteArray::number(favourite);
    QCOMPARE(text("lblWinTot" + f).toInt(), mostMoney);
    QVERIFY(find<QLabel>("lblWinTot" + f)->property("favourite").toBool());
}

void MainWindowTest::oddsGridsFollowTheChosenHorse() {
    QVERIFY(startAndBet());
    auto* tote = find<QTabWidget>("tabTote");
    auto* quin = find<QSpinBox>("udQuinAnd");
    quin->setValue(5);
    tote->setCurrentIndex(1);
    // Opening the grid starts it on horse 1.
    QCOMPARE(quin->value(), 1);
    QCOMPARE(text("lblQuinAnd"), QStringLiteral("1"));
    QVERIFY(text("lblQOdds0").isEmpty());
    QVERIFY(!text("lblQOdds1").isEmpty());
    QVERIFY(find<QLabel>("lblQOdds1")->toolTip().startsWith(QStringLiteral("$2 Quiniela Bet pays: $")));
    const QString oneAndThree = text("lblQOdds2");

    quin->setValue(3);
    QCOMPARE(text("lblQuinAnd"), QStringLiteral("3"));
    QVERIFY(text("lblQOdds2").isEmpty());
    // A quiniela has no order: 3 with 1 is 1 with 3.
    QCOMPARE(text("lblQOdds0"), oneAndThree);

    // Pointing at a cell swaps in the shorter payoff line.
    auto* cell = find<QLabel>("lblQOdds0");
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(cell, &enter);
    QVERIFY(cell->toolTip().startsWith(QStringLiteral("$2 Quiniela pays: $")));

    auto* exacta = find<QSpinBox>("udExactaAnd");
    exacta->setValue(4);
    tote->setCurrentIndex(2);
    QCOMPARE(exacta->value(), 1);
    QVERIFY(text("lblEOdds0").isEmpty());
    QVERIFY(find<QLabel>("lblEOdds3")->toolTip().startsWith(QStringLiteral("$2 Exacta Bet pays: $")));
}

void MainWindowTest::startRaceAsksAboutUnpaidTicketsAndLocksTheWindow() {
    QVERIFY(startAndBet());
    addPlayer("Ann");
    QVERIFY(clickAll({"cmdAmount1", "cmdNext1", "cmdWin", "cmdNext2", "cmdHorse0", "cmdFinish"}));
    QVERIFY(!find("cmdFastForward")->isEnabled());
    prompter().answer(true);
    QVERIFY(click("cmdRun"));
    QVERIFY(prompter().sawText(
        "There are tickets that have not been paid for.  Do you want to pay for the tickets?"));
    QCOMPARE(game().stage(), Stage::Racing);
    QCOMPARE(find<QListWidget>("lstTicket")->item(0)->checkState(), Qt::Checked);
    QCOMPARE(text("lblBalance"), QStringLiteral("398.00"));

    // Nothing that could change the bets or the day is usable while the race runs.
    for (const char* name : {"cmdRun", "cmdPast", "cmdPrint", "cmdDelete", "tabBets", "cmdReplay"})
        QVERIFY2(!find(name)->isEnabled(), name);
    for (const char* name : {"menuFile", "menuSettings", "menuHelp"})
        QVERIFY2(!m_session->window->findChild<QMenu*>(QLatin1String(name))->menuAction()->isEnabled(), name);
    QVERIFY(text("lblTotalNum").isEmpty());
    QVERIFY(find("cmdFastForward")->isEnabled());
    QVERIFY(!m_session->window->findChild<QTimer*>(QStringLiteral("timerParade"))->isActive());
    QVERIFY(click("cmdFastForward"));
}

void MainWindowTest::fastForwardOpensTheResultsAndTheDayGoesOn() {
    QVERIFY(startAndBet());
    QVERIFY(m_session->window->findChild<QTimer*>(QStringLiteral("timerParade"))->isActive());
    // Across the board on every horse: some of it is sure to collect.
    addPlayer("Ann");
    QVERIFY(game().ticketList().listTicket(game().day(), "$2 WPS on 12345678"));
    QCOMPARE(game().pay().paid, 1);
    QVERIFY(click("cmdRun"));
    // Every ticket paid, no question.
    QCOMPARE(prompter().shown().size(), std::size_t{0});
    QVERIFY(click("cmdFastForward"));
    QVERIFY(game().day().result.complete);
    QVERIFY(openWindow("frmResults"));
    // The balance behind the results shows the winnings as soon as they are settled.
    QVERIFY(QTest::qWaitFor([this] { return game().resultsDone(); }, 30000));
    QVERIFY(QTest::qWaitFor([this] { return text("lblBalance") != QStringLiteral("352.00"); }, 30000));
    QCOMPARE(text("lblBalance"), QString::fromStdString(game().day().players.balanceLabel));
    QCOMPARE(game().stage(), Stage::Results);
    // The race's pictures leave the track; the window is usable again behind the results.
    auto* track = find<TrackWidget>("frTrack");
    for (int e = 0; e < FieldSize; ++e)
        QVERIFY(!track->scene().picture(e).visible);
    QVERIFY(find("tabBets")->isEnabled());
    QVERIFY(m_session->window->findChild<QMenu*>(QStringLiteral("menuFile"))->menuAction()->isEnabled());

    QVERIFY(confirmResults());
    QVERIFY(leaveProgram());
    QCOMPARE(text("lblRaceNum"), QStringLiteral("2"));
    QVERIFY(find("cmdRun")->isEnabled());
    // Race 2 opens the daily double.
    QVERIFY(find("cmdDouble")->isEnabled());
    QVERIFY(m_session->window->findChild<QTimer*>(QStringLiteral("timerParade"))->isActive());
}

void MainWindowTest::pacingDoesNotChangeTheRace() {
    // The same day run at the race's own pace for a while, then fast-forwarded, ends as a race
    // fast-forwarded from the gate.
    QVERIFY(startAndBet());
    QVERIFY(click("cmdRun"));
    QVERIFY(QTest::qWaitFor([this] { return game().race() && game().race()->passes() > 40; }, 15000));
    QVERIFY(click("cmdFastForward"));
    const RaceResult paced = game().day().result;
    QVERIFY(paced.complete);

    m_session = std::make_unique<Session>();
    QVERIFY(startAndBet());
    QVERIFY(click("cmdRun"));
    QVERIFY(click("cmdFastForward"));
    const RaceResult rushed = game().day().result;
    QCOMPARE(rushed.finishOrder, paced.finishOrder);
    QCOMPARE(rushed.finishTime, paced.finishTime);
}

void MainWindowTest::replayShowsTheLastRaceUntilANewOneStarts() {
    QVERIFY(startAndBet());
    QVERIFY(!find("cmdReplay")->isEnabled());
    QVERIFY(click("cmdRun"));
    QVERIFY(click("cmdFastForward"));
    QVERIFY(confirmResults());
    QVERIFY(leaveProgram());

    auto* parade = m_session->window->findChild<QTimer*>(QStringLiteral("timerParade"));
    auto* track = find<TrackWidget>("frTrack");
    QVERIFY(find("cmdReplay")->isEnabled());
    find<QCheckBox>("chkSlowFinish")->setChecked(true);
    QVERIFY(click("cmdReplay"));
    // The field is back at the start of the race just run; the parade waits.
    QVERIFY(!parade->isActive());
    QVERIFY(!find("cmdReplay")->isEnabled());
    for (int e = 0; e < FieldSize; ++e) {
        QVERIFY(track->scene().picture(e).visible);
        QCOMPARE(track->scene().picture(e).left, 0);
    }
    QVERIFY(QTest::qWaitFor([&] { return track->scene().picture(0).left > 0; }));
    QCOMPARE(track->scene().view().caption, std::string("Replay of race 1"));

    // Starting the next race ends the replay: the field goes to the gate for race 2.
    QVERIFY(click("cmdRun"));
    QCOMPARE(game().stage(), Stage::Racing);
    QCOMPARE(game().day().currentRace, 1);
    for (int e = 0; e < FieldSize; ++e)
        QCOMPARE(track->scene().picture(e).left, 0);
    QVERIFY(track->scene().view().caption.empty());
    QVERIFY(click("cmdFastForward"));
    QVERIFY(openWindow("frmResults"));
}

void MainWindowTest::trackMidRace() {
    QVERIFY(startAndBet());
    addPlayer("Ann");
    QVERIFY(clickAll({"cmdAmount2", "cmdNext1", "cmdExacta", "cmdBox", "cmdNext2", "cmdHorse0", "cmdHorse2",
                      "cmdHorse3", "cmdFinish", "cmdPrint"}));
    QVERIFY(click("cmdRun"));
    auto* track = find<TrackWidget>("frTrack");
    // Halfway round without waiting on the clock: the gate opened and the race stepped by hand.
    track->scene().advanceGate(TrackScene::gateLength());
    for (int pass = 0; pass < 2600 && game().race()->step(); ++pass) {
    }
    track->sceneChanged();
    int moved = 0;
    for (int e = 0; e < FieldSize; ++e) {
        QVERIFY(track->scene().picture(e).visible);
        moved += track->scene().picture(e).left > 0 ? 1 : 0;
    }
    QCOMPARE(moved, FieldSize);
    QVERIFY(!track->scene().view().call.text.empty());

    // Lay out what the last clicks changed, as the window's event loop does before it paints.
    QCoreApplication::sendPostedEvents();
    const QImage shot = m_session->window->grab().toImage();
    QCOMPARE(shot.size(), QSize(1366, 768) * m_session->window->devicePixelRatio());
    const QByteArray folder = qgetenv("STRIDEWELL_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        QVERIFY(shot.save(QString::fromLocal8Bit(folder) + QStringLiteral("/main-race.png")));
    QVERIFY(click("cmdFastForward"));
}

void MainWindowTest::pastPerformancesKeepTheTicketsOfTheRace() {
    QVERIFY(startAndBet());
    addPlayer("Ann");
    QVERIFY(clickAll({"cmdAmount1", "cmdNext1", "cmdWin", "cmdNext2", "cmdHorse0", "cmdFinish"}));
    QVERIFY(click("cmdPast"));
    QVERIFY(openWindow("frmPastPerf"));
    QCOMPARE(game().stage(), Stage::Program);
    QVERIFY(leaveProgram());
    // The program was only looked at: the race and its tickets are as they were.
    QCOMPARE(ticketTexts(), QStringList{"$2 Win on 1"});
    QCOMPARE(text("lblRaceNum"), QStringLiteral("1"));
    QVERIFY(find("cmdRun")->isEnabled());
}

void MainWindowTest::menusOpenTheirWindows() {
    QVERIFY(startAndBet());
    const std::vector<std::pair<const char*, const char*>> items = {
        {"menuPlayer", "frmAddPlayer"}, {"menuDefaults", "frmSettings"}, {"menuAbout", "frmAbout"}};
    for (const auto& [item, window] : items) {
        action(item)->trigger();
        QWidget* opened = openWindow(window);
        QVERIFY2(opened, window);
        // Window-modal over the main window, and gone once closed.
        QCOMPARE(opened->windowModality(), Qt::WindowModal);
        QVERIFY(opened->testAttribute(Qt::WA_DeleteOnClose));
        opened->close();
        QTRY_VERIFY(!openWindow(window));
    }
}

void MainWindowTest::aWholeDayEndsInTheTopTenAndPlaysAgain() {
    QVERIFY(startAndBet());
    addPlayer("Ann");
    for (int race = 1; race <= RacesPerDay; ++race) {
        QCOMPARE(text("lblRaceNum"), QString::number(race));
        QVERIFY(click("cmdRun"));
        QVERIFY(click("cmdFastForward"));
        QWidget* results = openWindow("frmResults");
        QVERIFY(results);
        if (race < RacesPerDay) {
            QVERIFY(confirmResults());
            QVERIFY(leaveProgram());
        }
    }
    auto* show = openWindow("frmResults")->findChild<QPushButton*>(QStringLiteral("cmdShow"));
    auto* ok = openWindow("frmResults")->findChild<QPushButton*>(QStringLiteral("cmdOK"));
    auto* photo = openWindow("frmResults")->findChild<QTimer*>(QStringLiteral("timerPhoto"));
    QTest::mouseClick(show, Qt::LeftButton);
    QVERIFY(QTest::qWaitFor([&] {
        if (photo->isActive())
            photo->start(0);
        return ok->isEnabled();
    }));
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(QTest::qWaitFor([] { return openWindow("frmTop10") != nullptr; }));
    QCOMPARE(game().stage(), Stage::TopTen);
    QVERIFY(!find("cmdRun")->isEnabled());

    QTest::mouseClick(openWindow("frmTop10")->findChild<QPushButton*>(QStringLiteral("cmdPlay")),
                      Qt::LeftButton);
    // A new day: race 1 again, the program open on it, everyone back at the starting amount.
    QVERIFY(QTest::qWaitFor([] { return openWindow("frmPastPerf") != nullptr; }));
    QVERIFY(!openWindow("frmTop10"));
    QVERIFY(leaveProgram());
    QCOMPARE(text("lblRaceNum"), QStringLiteral("1"));
    QCOMPARE(text("lblBalance"), QStringLiteral("400.00"));
    QVERIFY(find("cmdRun")->isEnabled());
    QVERIFY(m_session->window->isVisible());
}

void MainWindowTest::aNewDayOpensItsProgramOnceInTheNextTurn() {
    QVERIFY(startAndBet());
    const auto programsOpen = [] {
        int open = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            open += w->isVisible() && w->objectName() == QLatin1String("frmPastPerf") ? 1 : 0;
        return open;
    };
    // Two starts in a row, as a menu used in the moment between them would make.
    m_session->window->startDay();
    m_session->window->startDay();
    QCOMPARE(game().stage(), Stage::Program);
    QCOMPARE(text("lblRaceNum"), QStringLiteral("1"));
    // The window shows the new day first; its program follows in the next turn of the loop.
    QCOMPARE(programsOpen(), 0);
    QVERIFY(QTest::qWaitFor([&] { return programsOpen() > 0; }));
    QTest::qWait(50);
    QCOMPARE(programsOpen(), 1);
    QVERIFY(leaveProgram());
    QVERIFY(find("cmdRun")->isEnabled());
}

void MainWindowTest::aStableThatCannotFillTheCardClosesTheWindow() {
    m_session.reset();
    auto session = std::make_unique<Session>();
    // No horse carries a grade the card can use.
    sw::test::writeAll(session->dir / "horses.dat", "");
    m_session = std::move(session);
    QVERIFY(QTest::qWaitFor([this] { return game().stage() == Stage::Failed; }));
    QVERIFY(!prompter().shown().empty());
    QTRY_VERIFY(!m_session->window->isVisible());
    QVERIFY(!openWindow("frmPastPerf"));
}

void MainWindowTest::messageBoxesShowTheTextUnderTheTitleGiven() {
    ui::QtPrompter boxes(m_session->window.get());
    QString shownText, shownTitle;
    QTimer watcher;
    QMessageBox::StandardButton pressed = QMessageBox::NoButton;
    // Answers the box once it is up, noting what it said.
    connect(&watcher, &QTimer::timeout, this, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible() && box->button(pressed)) {
                shownText = box->text();
                shownTitle = box->windowTitle();
                box->button(pressed)->click();
                watcher.stop();
            }
    });
    auto answer = [&](QMessageBox::StandardButton button) {
        pressed = button;
        watcher.start(10);
    };
    answer(QMessageBox::Ok);
    boxes.message("Minimum amount for Win is $2\r\nYour amount will be set $2", "Stridewell");
    QCOMPARE(shownText, QStringLiteral("Minimum amount for Win is $2\nYour amount will be set $2"));
    QCOMPARE(shownTitle, QStringLiteral("Stridewell"));
    answer(QMessageBox::Yes);
    QVERIFY(boxes.ask("Are you sure you want to delete the ticket?", "Stridewell"));
    QCOMPARE(shownText, QStringLiteral("Are you sure you want to delete the ticket?"));
    answer(QMessageBox::No);
    QVERIFY(!boxes.ask("Are you sure you want to delete the player?", "Stridewell"));
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
