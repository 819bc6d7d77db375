// The race-and-betting window, for what it alone can get wrong: the rules behind each control are
// the core's and tested there; here, that each control reaches them and shows what they decided.

#include "ui/MainWindow.h"
#include "database/ResetDatabase.h"
#include "players/Players.h"
#include "race/ResultChart.h"
#include "tote/ToteBoard.h"
#include "ui/PastPerfWindow.h"
#include "ui/QtPrompter.h"
#include "ui/RaceCallView.h"
#include "ui/RaceRunner.h"
#include "ui/Sound.h"
#include "ui/track/PhotoStillWidget.h"
#include "ui/track/TrackWidget.h"
#include "wagering/TicketPricing.h"

#include "WindowTestDay.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QMouseEvent>
#include <QSet>
#include <QStandardPaths>
#include <QTabBar>

#include <optional>

using namespace sw;
using namespace sw::test;

namespace {

// Hears what the window plays, in order.
struct HeardSounds final : ui::SoundOutput {
    void play(Sound sound) override { heard->push_back(sound); }
    void setVolume(int, bool) override {}
    std::shared_ptr<std::vector<Sound>> heard = std::make_shared<std::vector<Sound>>();
};

// One race day in the main window, which starts the day itself.
struct Session : WindowTestDay {
    Session() : WindowTestDay(20240517, false), window(game) {
        window.resize(1366, 768);
        window.show();
    }
    ui::MainWindow window;
};

// Hears the race call instead of the desktop's speech, with what a screen reader was told of the
// track as each sentence came.
struct HeardCall : ui::Announcer {
    explicit HeardCall(const QWidget* track) : track(track) {}
    const QWidget* track;
    QStringList said;
    QStringList described;
    void say(const QString& text) override {
        said << text;
        if (described.value(described.size() - 1) != track->accessibleDescription())
            described << track->accessibleDescription();
    }
    void silence() override {}
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Session> m_session;

    Game& game() { return m_session->game; }
    ScriptedPrompter& prompter() { return m_session->prompter; }
    ui::MainWindow& window() { return m_session->window; }
    template <typename T = QWidget> T* find(const QString& name) {
        return window().centralWidget()->findChild<T*>(name);
    }
    // A label's text, or the text of the board's cell that goes by the name.
    QString text(const QString& name) {
        if (const QLabel* label = find<QLabel>(name))
            return label->text();
        return namedCell(&window(), name).data().toString();
    }
    QTimer* parade() { return window().findChild<QTimer*>(u"timerParade"_s); }

    // Clicks the buttons named (without their "cmd") in turn; false at the first that is not usable.
    bool click(const QString& names) {
        for (const QString& name : names.split(u' ')) {
            auto* b = find<QAbstractButton>("cmd"_L1 + name);
            if (!b || !b->isEnabled() || !b->isVisible())
                return false;
            QTest::mouseClick(b, Qt::LeftButton);
        }
        return true;
    }
    // Types where the keyboard is, one key at a time: "\n" is Enter, "\b" Backspace.
    void type(const QString& keys) {
        for (QChar key : keys) {
            if (key == u'\n' || key == u'\b')
                QTest::keyClick(window().focusWidget(), key == u'\n' ? Qt::Key_Return : Qt::Key_Backspace);
            else
                QTest::keyClick(window().focusWidget(), key.toLatin1());
        }
    }
    void addPlayer(const char* name) {
        sw::addPlayer(game().day(), name);
        window().refresh();
    }
    // The steps of the explanation the window opened, once it is shown.
    QStringList explained() {
        auto* explanation = window().findChild<QDialog*>(u"frmExplain"_s);
        if (!explanation || !explanation->isVisible())
            return {u"no explanation shown"_s};
        return items(explanation->findChild<QListWidget*>(u"lstSteps"_s));
    }
    // A Tri-Super credit of Ann's held for the race, listed beside the tickets.
    void holdCredit() {
        game().day().exchangeCredits = {
            {57, game().day().players.entries[0].playerId, 5, "Tri-Super", 1, "3-5-1", 4120, 0}};
        window().refresh();
    }
    QStringList ticketTexts() {
        QStringList texts;
        for (const QStringList& row : tableRows(find<QAbstractItemView>(u"lstTicket"_s), Qt::UserRole))
            texts << row.value(1);
        return texts;
    }

private slots:
    // The window's preferences (the race call spoken or not) stay out of the player's own.
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    // Every test starts with race 1 open for betting.
    void init() {
        m_session = std::make_unique<Session>();
        QVERIFY(startBetting(game()));
    }
    void cleanup() { m_session.reset(); }

    void everyButtonTakesTheKeyboardWhichStaysOnAUsableControl() {
        const auto buttons = window().centralWidget()->findChildren<QAbstractButton*>();
        QVERIFY(buttons.size() > 50);
        // A table's corner button is the table's own, reached with the table.
        for (QAbstractButton* b : buttons)
            QVERIFY2(qobject_cast<QAbstractItemView*>(b->parentWidget()) || b->focusPolicy() & Qt::TabFocus,
                     qPrintable(b->objectName()));
        // No letter is taken twice on a bet page.
        auto* tabs = find<QTabWidget>(u"tabBets"_s);
        for (int page = 0; page < tabs->count(); ++page) {
            QSet<QKeySequence> letters;
            for (auto* b : tabs->widget(page)->findChildren<QPushButton*>()) {
                const QKeySequence letter = QKeySequence::mnemonic(b->text());
                QVERIFY2(letter.isEmpty() || !letters.contains(letter), qPrintable(b->text()));
                letters.insert(letter);
            }
        }
        // The reset of the whole stable is out of sight.
        QVERIFY(!window().findChild<QAction*>(u"menuReset"_s)->isVisible());

        // Typing a ticket, the keyboard stays on a usable control.
        addPlayer("Ann");
        type(u"\nw\n3"_s);
        // Clearing the pick makes Finish unusable under the keyboard; the next usable control of the
        // page takes it, not the ticket list after the panel.
        find(u"cmdFinish"_s)->setFocus();
        type(u"\b"_s);
        QVERIFY(!find(u"cmdFinish"_s)->isEnabled());
        QWidget* focus = window().focusWidget();
        QVERIFY(focus && focus->isEnabled() &&
                find<QTabWidget>(u"tabBets"_s)->currentWidget()->isAncestorOf(focus));
        // Finish turns back to the amount page: the keyboard goes with it, ready for the next ticket.
        type(u"4"_s);
        find(u"cmdFinish"_s)->setFocus();
        QTest::keyClick(find(u"cmdFinish"_s), Qt::Key_Space);
        QCOMPARE(ticketTexts(), QStringList{u"$2 Win on 4"_s});
        QCOMPARE(window().focusWidget(), find(u"cmdNext1"_s));
    }

    void playersAndBetPagesFollowTheEntry() {
        auto* bets = find<QTabWidget>(u"tabBets"_s);
        // Nobody to bet for: Add is under the keyboard, and the bet page's tab is refused.
        QCOMPARE(window().focusWidget(), find(u"cmdAdd"_s));
        QVERIFY(!find(u"cmdNext1"_s)->isEnabled());
        bets->tabBar()->setCurrentIndex(1);
        QCOMPARE(bets->currentIndex(), 0);

        // Add opens the dialog. Each name it takes, by Enter or by Add, leaves the box empty for the next
        // and reaches the list of bettors behind it at once, the last one chosen; a refused name stays
        // to be put right.
        QVERIFY(click(u"Add"_s));
        QWidget* dialog = openWindow("frmAddPlayer");
        auto* name = child<QLineEdit>(dialog, u"txtPlayer"_s);
        QTest::keyClicks(name, u"Ann"_s);
        QTest::keyClick(name, Qt::Key_Return);
        QTest::keyClicks(name, u"Bob"_s);
        QTest::mouseClick(button(dialog, "cmdAdd"), Qt::LeftButton);
        auto* bettor = find<QComboBox>(u"cmbBettor"_s);
        QCOMPARE(bettor->currentText() + u' ' + text(u"lblBalance"_s), u"Bob $400.00"_s);
        QTest::keyClicks(name, u"Smith, Jo"_s);
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(name->text(), u"Smith, Jo"_s);
        dialog->close();
        // Choosing in the list makes that player the bettor.
        bettor->setFocus();
        QTest::keyClick(bettor, Qt::Key_Up);
        QCOMPARE(game().day().players.selected, 0);

        // Only a shown button clicks, so these follow the pages (Delete is on the amount page).
        QVERIFY(click(u"Amount0 Next1 Win Next2 Horse2 Horse0"_s));
        QCOMPARE(text(u"lblPicks"_s), u"31"_s);
        // Another player's key makes them the bettor, with a ticket of their own.
        window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window()));
        QTest::keyClick(window().focusWidget(), Qt::Key_F3);
        QCOMPARE(bettor->currentText() + u' ' + text(u"lblPicks"_s), u"Bob "_s);
        QVERIFY(find<QPushButton>(u"chipPlayer1"_s)->isChecked() &&
                !find<QPushButton>(u"chipPlayer0"_s)->isChecked());
        prompter().answer(true);
        QVERIFY(click(u"DelPlayer"_s));
        QCOMPARE(bettor->count(), 1);
        QCOMPARE(bettor->currentText(), u"Ann"_s);
    }

    void everyBetIsBuiltByClicksAndByKeys() {
        addPlayer("Ann");
        RaceDay& day = game().day();
        day.dailyDoubleOffered = true;
        window().refresh();
        // Clicked, each ticket from $2 and "Next" on the amount page: the bet and mode buttons come from
        // one table, so a few bets reach every kind of click (legs, All, a race ahead). Typed: Enter goes
        // on a page, letters choose, digits pick, Enter finishes; A is Across on the bets page and All on
        // the horses page.
        const std::tuple<bool, const char*, const char*> entered[] = {
            {false, "Place Next2 Horse0 Horse1", "$2 Place on 12"},
            {false, "Trifecta Wheel Next2 Horse0 With Horse1 Horse2 With Horse1 Horse2 Horse3 Horse4",
             "$2 Trifecta Wheel 1 with 23 with 2345"},
            {false, "Double Next2 Horse0 Horse1 With All", "$2 DailyDouble Wheel 12 with All"},
            {true, "\neb\n134\n", "$2 Exacta Box 134"},
            {true, "\na\n78\n", "$2 WPS on 78"},
            {true, "3\nek\n1wa\n", "$5 Exacta Wheel 1 with All"}, // 3: the third amount
        };
        QStringList expected;
        for (const auto& [typed, input, ticket] : entered) {
            if (typed)
                type(QLatin1String(input));
            else
                QVERIFY2(click("Amount1 Next1 %1 Finish"_L1.arg(QLatin1String(input))), ticket);
            expected << QLatin1String(ticket);
            QCOMPARE(ticketTexts(), expected);
        }

        // A credit held for the race is listed beside the tickets; Exchange enters its second half.
        holdCredit();
        QVERIFY(click(u"Exchange"_s));
        QCOMPARE(text(u"lblExchange"_s) + u' ' + text(u"lblBetName"_s),
                 u"Exchanging credit 57 (Ann) Tri-Super"_s);
    }

    void deletingAndPayingFollowTheTicketList() {
        addPlayer("Ann");
        const int winBefore = text(u"lblWinTot4"_s).toInt();
        const int poolBefore = text(u"lblWinPool"_s).toInt();
        QVERIFY(click(u"Amount1 Next1 Show Next2 Horse1 Finish Amount3 Next1 Win Next2 Horse4 Finish"_s));
        QVERIFY(click(u"Amount1 Next1 Exacta Box Next2 Horse0 Horse2 Horse3"_s));
        // Before it is listed the slip says what the ticket is and costs, and a pick what it is for.
        QCOMPARE(text(u"lblSlip"_s) + u' ' + text(u"lblMark2"_s), u"$2 Exacta Box 1-3-4: 6 bets, $12 Box"_s);
        QVERIFY(find(u"cmdHorse2"_s)->property("picked").toBool());
        QVERIFY(click(u"Finish"_s));
        // The last ticket listed is the one selected: its bets and cost beside the day's.
        QCOMPARE((QStringList{text(u"lblTicketNumBets"_s), text(u"lblTotTicketNum"_s),
                              text(u"lblNumOfBets"_s), text(u"lblTotalNum"_s)}),
                 (QStringList{u"6"_s, u"$12"_s, u"8"_s, u"$24"_s}));

        auto* list = find<QAbstractItemView>(u"lstTicket"_s);
        const QAbstractItemModel* tickets = list->model();
        auto paid = [&](int row) { return tickets->index(row, 0).data(Qt::CheckStateRole) == Qt::Checked; };
        list->setCurrentIndex(tickets->index(0, 1));
        prompter().answer(true);
        QVERIFY(click(u"Delete"_s));
        QCOMPARE(ticketTexts(), (QStringList{u"$10 Win on 5"_s, u"$2 Exacta Box 134"_s}));

        QVERIFY(click(u"Print"_s));
        // Paid off the window thread: until it is done, the window passes no input on.
        QVERIFY(QApplication::overrideCursor());
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent press(type, QPointF(4, 4), QPointF(), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(find(u"cmdRun"_s), &press);
        }
        QCOMPARE(game().stage(), Stage::Betting);
        QTRY_VERIFY(paid(0) && paid(1));
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(text(u"lblTotalNum"_s), QString());
        // Nothing is left to pay, so Pay is out of reach rather than doing nothing; nor can the player
        // tick or untick a ticket by hand.
        QVERIFY(!find(u"cmdPrint"_s)->isEnabled());
        QVERIFY(!(tickets->flags(tickets->index(0, 0)) & Qt::ItemIsUserCheckable));
        // A horse button tells a screen reader the odds the board shows now.
        QCOMPARE(find(u"cmdHorse4"_s)->accessibleName(),
                 qtext(game().betEntry().horseButtonName(game().day(), 4)));
        // The board follows the money: $10 more on horse 5 to win.
        QCOMPARE(text(u"lblWinTot4"_s).toInt(), winBefore + 10);
        QCOMPARE(text(u"lblWinPool"_s).toInt(), poolBefore + 10);

        // A ticket activated explains its cost at once, and its story once its race's runs are
        // simulated off the window thread.
        emit list->activated(tickets->index(1, 1));
        QVERIFY(explained().last().startsWith(u"Its story follows"_s));
        QVERIFY(
            QTest::qWaitFor([&] { return !explained().last().startsWith(u"Its story follows"_s); }, 120000));
        std::vector<std::string> told = explainTicket("$2 Exacta Box 134");
        const std::vector<std::string> story = game().ticketStory(1).value().lines;
        told.insert(told.end(), story.begin(), story.end());
        QCOMPARE(explained(), qtexts(told));
    }

    void theToteBoardShowsTheDaysFigures() {
        const RaceDay& day = game().day();
        const ToteBoard board = toteBoard(day);
        // Race 1's public money is on the board, so one horse is the favourite.
        QVERIFY(board.favourite >= 0);
        for (int h = 0; h < FieldSize; ++h) {
            const ToteBoardEntry& e = board.entries[static_cast<std::size_t>(h)];
            const std::pair<const char*, std::string> cells[] = {{"lblOdds", e.odds},
                                                                 {"lblWinTot", e.winTotal},
                                                                 {"lblPlaceTot", e.placeTotal},
                                                                 {"lblShowTot", e.showTotal}};
            for (const auto& [cell, figure] : cells) {
                const QModelIndex at = namedCell(&window(), QLatin1String(cell) + QString::number(h));
                QCOMPARE(at.data().toString(), qtext(figure));
                QCOMPARE(at.data(ui::TextTableModel::MarkedRole).toBool(), h == board.favourite);
            }
        }
        QCOMPARE(
            (QStringList{text(u"lblWinPool"_s), text(u"lblPlacePool"_s), text(u"lblShowPool"_s),
                         text(u"lblQuinielaPool"_s), text(u"lblExactPool"_s)}),
            qtexts({board.winPool, board.placePool, board.showPool, board.quinielaPool, board.exactaPool}));

        // The quiniela and exacta grids pair every horse with the one chosen.
        for (const bool quiniela : {true, false}) {
            const QString cell = quiniela ? u"lblQOdds"_s : u"lblEOdds"_s;
            auto* spin = find<QSpinBox>(quiniela ? u"udQuinAnd"_s : u"udExactaAnd"_s);
            find<QTabWidget>(u"tabTote"_s)->setCurrentIndex(quiniela ? 1 : 2);
            spin->setValue(3);
            const OddsGrid grid = quiniela ? quinielaGrid(day, 3) : exactaGrid(day, 3);
            for (int h = 0; h < FieldSize; ++h)
                QCOMPARE(text(cell + QString::number(h)), qtext(grid.odds[static_cast<std::size_t>(h)]));
            // A cell opens what $2 on the pair would pay now, and why.
            const QModelIndex at = namedCell(&window(), cell + u'4');
            auto* table = find<QAbstractItemView>(quiniela ? u"tblQuinielaOdds"_s : u"tblExactaOdds"_s);
            QCOMPARE(table->model(), at.model());
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(at).center());
            QCOMPARE(explained(), qtexts(explainGridCell(day, !quiniela, 2, 4)));
        }
        // The keyboard steps from a post to its odds, and Enter there explains them.
        auto* win = find<QAbstractItemView>(u"tblWinOdds"_s);
        win->setFocus();
        win->setCurrentIndex(win->model()->index(2, 0));
        QTest::keyClick(win, Qt::Key_Right);
        QCOMPARE(win->currentIndex(), win->model()->index(2, 1));
        QTest::keyClick(win, Qt::Key_Return);
        QCOMPARE(explained(), qtexts(explainWinCell(day, 2)));
    }

    void screenReadersReadEachTableCellUnderItsHeading() {
        addPlayer("Ann");
        QVERIFY(click(u"Amount1 Next1 Win Next2 Horse3 Finish"_s));
        ui::PastPerfWindow program(game());
        const ToteBoard board = toteBoard(game().day());
        const ProgramView& view = game().program();
        // The table, the cell, and its heading and text as a screen reader says them.
        const std::tuple<QWidget*, const char*, int, int, QString> cells[] = {
            {&window(), "tblWinOdds", 2, 1, u"Odds "_s + qtext(board.entries[2].odds)},
            {&window(), "tblWinOdds", 2, 2, u"Win "_s + qtext(board.entries[2].winTotal)},
            {&window(), "tblWinOdds", FieldSize, 4, u"Show "_s + qtext(board.showPool)},
            {&window(), "tblExactaOdds", 1, 3, u"Odds "_s + qtext(exactaGrid(game().day(), 1).odds[5])},
            {&window(), "lstTicket", 0, 0, u"Paid not paid"_s},
            {&window(), "lstTicket", 0, 1, u"Ticket $2 Win on 4"_s},
            {&window(), "lstTicket", 0, 2, u"Player Ann"_s},
            {&program, "lstPast0", 0, 0, u"Post position "_s + qtext(view.entries[0].pastCells.at(0)[0])},
            {&program, "lstPast0", 0, 7,
             u"Lengths at the finish "_s + qtext(view.entries[0].pastCells.at(0)[7])},
            {&program, "lstJockeys", 0, 1, u"Starts "_s + qtext(view.jockeyCells.at(0)[1])},
        };
        for (const auto& [shown, name, row, column, read] : cells) {
            QAccessibleTableInterface* table = tableOf(child<QAbstractItemView>(shown, QLatin1String(name)));
            QVERIFY2(table, name);
            QCOMPARE(columnHeadings(table).value(column) + u' ' + rowCells(table, row).value(column), read);
        }
    }

    void playsAWholeRaceDayInTheWindow() {
        QVERIFY(parade()->isActive());
        HeardCall heard(find(u"frTrack"_s));
        window().findChild<ui::RaceCallView*>()->setAnnouncer(&heard);
        // On, whatever an earlier run left in the test's preferences.
        auto* speak = window().findChild<QAction*>(u"actSpeakCall"_s);
        speak->setChecked(true);
        const RaceCall& call = window().findChild<ui::RaceRunner*>()->call();
        QCOMPARE(find(u"frTrack"_s)->accessibleName(), u"Race track"_s);
        auto sounds = std::make_unique<HeardSounds>();
        const auto sounded = sounds->heard;
        window().setSoundOutput(std::move(sounds));
        addPlayer("Ann");
        // Across the board on every horse, paid: some of it is sure to collect.
        QVERIFY(click(
            u"Amount1 Next1 Across Next2 Horse0 Horse1 Horse2 Horse3 Horse4 Horse5 Horse6 Horse7 Finish Print"_s));
        QTRY_COMPARE(text(u"lblBalance"_s), u"$352.00"_s);
        bool photoSeen = false;
        for (int race = 1; race <= RacesPerDay; ++race) {
            QCOMPARE(text(u"lblRaceNum"_s), QString::number(race));
            QVERIFY(!find(u"cmdFastForward"_s)->isEnabled());
            QVERIFY(click(u"Run"_s));
            // Nothing that could change the bets or the day is usable while the race runs.
            for (const char* name : {"cmdRun", "cmdPast", "cmdPrint", "cmdDelete", "tabBets", "cmdReplay"})
                QVERIFY2(!find(QLatin1String(name))->isEnabled(), name);
            // A control out of reach says why, in the game's words.
            QVERIFY(find(u"cmdRun"_s)->toolTip().endsWith(u'\n' + qtext(game().whyNot(Action::StartRace))));
            for (const char* name : {"menuFile", "menuSettings", "menuHelp"})
                QVERIFY2(!window().findChild<QMenu*>(QLatin1String(name))->menuAction()->isEnabled(), name);
            QVERIFY(!parade()->isActive());
            if (race == 1) {
                // The first race is heard at its own pace up to the stretch: the call to the post, the
                // bell and the gates, a gallop, the crowd. What the fast forward skips is not heard.
                QVERIFY(!sounded->empty() && sounded->front() == Sound::Bugle);
                QVERIFY(QTest::qWaitFor([&] { return sounded->back() == Sound::Crowd; }, 60000));
                std::vector<Sound> events(*sounded);
                QVERIFY(click(u"FastForward"_s));
                QCOMPARE(*sounded, events);
                QVERIFY(std::erase(events, Sound::Hooves) > 30);
                QCOMPARE(events, (std::vector{Sound::Bugle, Sound::Bell, Sound::Gates, Sound::Crowd}));
            } else {
                QVERIFY(click(u"FastForward"_s));
            }
            QVERIFY(QTest::qWaitFor([] { return openWindow("frmResults") != nullptr; }));
            if (!photoSeen && game().day().result.photoFinish && photoExpected(game().day().result)) {
                // While a close finish is studied the results show the track's photo of the line,
                // the winner at it or past it.
                photoSeen = true;
                QWidget* results = openWindow("frmResults");
                button(results, u"cmdShow"_s)->click();
                QVERIFY(QTest::qWaitFor([&] { return child(results, u"lblPhoto"_s)->text() == u"PHOTO"_s; }));
                const auto* still = child<PhotoStillWidget>(results, u"picPhotoStill"_s);
                const PhotoStill& taken = find<TrackWidget>(u"frTrack"_s)->scene().view().photoStill;
                QVERIFY(still->isVisible() && taken.visible && still->still() == taken);
                QVERIFY(taken.noseFromLine[game().day().result.finishOrder[0] - 1u] >= 0);
            }
            if (race == 1) {
                // Every ticket was paid: the race started without a question.
                QVERIFY(prompter().shown().empty());
                // Behind the results the race's pictures leave the track, the window is usable again,
                // and the balance shows the winnings once they are settled.
                for (int e = 0; e < FieldSize; ++e)
                    QVERIFY(!find<TrackWidget>(u"frTrack"_s)->scene().picture(e).visible);
                QVERIFY(find(u"tabBets"_s)->isEnabled());
                QVERIFY(window().findChild<QMenu*>(u"menuFile"_s)->menuAction()->isEnabled());
                QVERIFY(runResultsShow(openWindow("frmResults")));
                QCOMPARE(text(u"lblBalance"_s),
                         qtext(shownMoney(parseCents(game().day().players.balanceLabel).value())));
                QVERIFY(text(u"lblBalance"_s) != u"$352.00"_s);

                // The race was called as it ran: said in order, its last words on screen and in the
                // call's description for a screen reader, each call told as the track's, and the
                // field in the strip in its finishing order.
                QVERIFY(call.moments().size() >= 6);
                QCOMPARE(heard.said, qtexts(call.sentences()));
                QVERIFY(text(u"lblRaceCall"_s).endsWith(heard.said.last().toHtmlEscaped() + u"</b>"_s));
                QCOMPARE(find(u"lblRaceCall"_s)->accessibleDescription(), heard.said.last());
                QStringList calls;
                for (const CallMoment& moment : call.moments())
                    calls << u"Race 1, "_s + qtext(callDescription(moment));
                QCOMPARE(heard.described, calls);
                for (int place = 0; place < FieldSize; ++place)
                    QCOMPARE(
                        text("lblRunning"_L1 + QString::number(place + 1)),
                        QString::number(game().day().result.finishOrder[static_cast<std::size_t>(place)]));
                // Turned off, the next race is shown but not said.
                speak->trigger();
                heard.said.clear();
            }
            if (race == 2)
                QVERIFY(heard.said.isEmpty() && !call.sentences().empty());
            if (race < RacesPerDay) {
                QVERIFY(runResultsShow(openWindow("frmResults")));
                press("frmResults", "cmdOK");
                QVERIFY(startBetting(game()));
                QVERIFY(parade()->isActive());
            }
        }
        QVERIFY(photoSeen);
        QVERIFY(runResultsShow(openWindow("frmResults")));
        press("frmResults", "cmdOK");
        QVERIFY(QTest::qWaitFor([] { return openWindow("frmTop10") != nullptr; }));
        QCOMPARE(game().stage(), Stage::TopTen);
        QVERIFY(!find(u"cmdRun"_s)->isEnabled());

        // A new day: race 1 again, the program open on it, everyone back at the starting amount.
        press("frmTop10", "cmdPlay");
        QVERIFY(startBetting(game()));
        QVERIFY(!openWindow("frmTop10"));
        QCOMPARE(text(u"lblRaceNum"_s) + u' ' + text(u"lblBalance"_s), u"1 $400.00"_s);
        QVERIFY(find(u"cmdRun"_s)->isEnabled());
    }

    void aScreenReaderCanNameEveryControlOfTheDay() {
        addPlayer("Ann");
        addPlayer("Bob");
        holdCredit(); // so its list and Exchange are shown too
        // Each bet page as a ticket is built, with each of the board's pages: no control unnamed.
        auto* tote = find<QTabWidget>(u"tabTote"_s);
        for (const QString& clicks : {u"Amount1"_s, u"Next1"_s, u"Exacta Box Next2"_s}) {
            QVERIFY(click(clicks));
            for (int page = 0; page < tote->count(); ++page) {
                tote->setCurrentIndex(page);
                QCOMPARE(unnamedControls(&window()).join(u", "_s), QString());
            }
        }
        QVERIFY(click(u"Past"_s));
        QVERIFY(QTest::qWaitFor([] { return openWindow("frmPastPerf") != nullptr; }));
        QCOMPARE(unnamedControls(openWindow("frmPastPerf")).join(u", "_s), QString());
        press("frmPastPerf", "cmdOK");
        QVERIFY(QTest::qWaitFor([] { return !openWindow("frmPastPerf"); }));

        QVERIFY(click(u"Run"_s));
        QCOMPARE(unnamedControls(&window()).join(u", "_s), QString());
        QVERIFY(click(u"FastForward"_s));
        QVERIFY(QTest::qWaitFor([] { return openWindow("frmResults") != nullptr; }));
        QWidget* results = openWindow("frmResults");
        QCOMPARE(unnamedControls(results).join(u", "_s), QString());
        QVERIFY(runResultsShow(results));
        QCOMPARE(unnamedControls(results).join(u", "_s), QString());
    }

    void aStableThatCannotFillTheDayOffersTheWindowsOwnReset() {
        for (const bool reset : {true, false}) {
            WindowTestDay damaged(7, false);
            writeAll(damaged.file("horses.dat"), "");
            damaged.prompter.answer(reset);
            ui::MainWindow shown(damaged.game);
            shown.show();
            // The day starts off the window's thread; the reset is offered back on it.
            QVERIFY(QTest::qWaitFor(
                [&] { return damaged.game.stage() == Stage::Program || !shown.isVisible(); }));
            QVERIFY(std::ranges::any_of(damaged.prompter.shown(), [](const ScriptedPrompter::Shown& box) {
                return box.text.find("horses.dat") != std::string::npos &&
                       box.text.find("text front end") == std::string::npos;
            }));
            QVERIFY(damaged.prompter.sawText(ResetQuestion));
            // Yes: a fresh stable and a new day; no: the window closes on a day that never started.
            QCOMPARE(damaged.game.stage(), reset ? Stage::Program : Stage::Failed);
            QCOMPARE(shown.isVisible(), reset);
        }
    }

    void aNewDayOpensItsProgramOnceInTheNextTurn() {
        const auto programsOpen = [] { return openWindows("frmPastPerf").size(); };
        // Two starts in a row, as a menu used in the moment between them would make; the window shows
        // the new day first, and its program follows in the next turn of the loop.
        window().startDay();
        window().startDay();
        QCOMPARE(programsOpen(), 0);
        QVERIFY(QTest::qWaitFor([&] { return programsOpen() > 0; }));
        QTest::qWait(50);
        QCOMPARE(programsOpen(), 1);
    }

    void messageBoxesShowTheTextUnderTheTitleGiven() {
        ui::QtPrompter boxes(&window());
        QString shown;
        // A message opens its box and returns; one said while it is up waits its turn.
        boxes.message("Minimum amount\r\nset $2", "Stridewell");
        boxes.message("You're out of cash!", "Stridewell");
        QVERIFY(shown.isEmpty());
        answerBox(u"OK"_s, shown);
        QVERIFY(QTest::qWaitFor([&] { return !shown.isEmpty(); }));
        QCOMPARE(shown, u"Stridewell:Minimum amount\nset $2"_s);
        answerBox(u"OK"_s, shown);
        QVERIFY(QTest::qWaitFor([&] { return shown.endsWith(u"out of cash!"_s); }));
        QVERIFY(QTest::qWaitFor([] { return !QApplication::activeModalWidget(); }));
        answerBox(u"Yes"_s, shown);
        QVERIFY(boxes.ask("Are you sure you want to delete the ticket?", "Stridewell"));
        answerBox(u"No"_s, shown);
        QVERIFY(!boxes.ask("Are you sure you want to delete the player?", "Stridewell"));
        // A question asked before a step opens its box and returns; the answer follows the click.
        std::optional<bool> later;
        answerBox(u"Yes"_s, shown);
        boxes.askThen("Do you want to pay for the tickets?", "Stridewell", [&](bool yes) { later = yes; });
        QVERIFY(!later);
        QVERIFY(QTest::qWaitFor([&] { return later.has_value(); }));
        QVERIFY(*later);
        QCOMPARE(shown, u"Stridewell:Do you want to pay for the tickets?"_s);
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
