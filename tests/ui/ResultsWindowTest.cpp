#include "ui/ResultsWindow.h"

#include "AccessibleTree.h"
#include "WindowTestDay.h"

#include "players/Players.h"
#include "wagering/ExchangeCredits.h"

#include <QTableView>

#include <algorithm>

using namespace sw;
using namespace sw::test;

namespace {

// The payoff table's cell that shows the core's label `name`.
QModelIndex payoffCell(const QWidget* window, const QString& name) {
    for (const auto* table : window->findChildren<QTableView*>()) {
        const QAbstractItemModel* model = table->model();
        for (int r = 0; r < model->rowCount(); ++r)
            for (int c = 0; c < model->columnCount(); ++c)
                if (model->index(r, c).data(Qt::UserRole).toString() == name)
                    return model->index(r, c);
    }
    return {};
}

} // namespace

class ResultsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void theChartAndPayoffsOfTheGameShowWhole() {
        // Race 3 closes the Daily Double, the fullest payoff area of the early races.
        WindowTestDay day;
        addPlayer(day.day(), "Ann");
        addPlayer(day.day(), "Bo");
        day.playRaces(2);
        // Ann's Twin-Tri credit for race 3, never exchanged: it pays its first half's price there.
        day.day().exchangeCredits = {
            {2100, day.day().players.entries[0].playerId, 2, "Twin-Tri", 3, "1-2-3", 550, 0}};
        test::writeAll(day.file("exchangecredits.dat"), exchangeCreditsText(day.day().exchangeCredits));
        day.runRace();
        ui::ResultsWindow window(day.game);
        window.show();
        // A click shows the whole show at once: none of its pauses is waited for.
        QTest::mouseClick(child(&window, u"lblRaceNum"_s), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return window.showFinished(); }, PhotoPauseMs / 2));

        // The pay-off moment: what Ann was paid, in one line.
        Cents paid = 0;
        for (const Credit& credit : day.game.settlement().credits)
            paid += credit.playerIndex == 0 ? credit.winnings : 0;
        QVERIFY(paid > 0);
        QCOMPARE(text(&window, u"lblCollects0"_s), u"Ann collects "_s + qtext(shownMoney(paid)));
        QVERIFY(!child(&window, u"lblCollects1"_s));

        const RaceChart& chart = day.game.chart();
        QCOMPARE(text(&window, u"lblRaceNum"_s) + u' ' + text(&window, u"lblTimeOfRace"_s),
                 u"Race 3 "_s + qtext(chart.lblTimeOfRace));
        // The chart as a screen reader reads it: a table whose headings say what the signs mean.
        QAccessibleTableInterface* table = tableOf(child<QTableView>(&window, u"tblChart"_s));
        QStringList headings;
        for (const ChartColumnHeading& column : ChartColumnHeadings)
            headings << qtext(column.spoken);
        QCOMPARE(columnHeadings(table), headings);
        for (int r = 0; r < FieldSize; ++r) {
            const ChartRow& row = chart.rows[static_cast<std::size_t>(r)];
            QCOMPARE(rowCells(table, r), qtexts({row.lblHorseName, row.lblPost, row.lblBreak, row.lblEigth,
                                                 row.lblEiLen, row.lblStrech, row.lblStLen, row.lblFin,
                                                 row.lblFinLen, row.lblTime, row.lblOdds, row.lblComment}));
        }
        // Every payoff in its cell, the combinations' posts together in one.
        const Payoffs& payoffs = day.game.payoffs();
        QHash<QString, QStringList> expected;
        for (const LabelText& label : chartLabels(payoffs))
            expected[qtext(label.name)] << qtext(label.text);
        for (auto [name, texts] : expected.asKeyValueRange())
            QCOMPARE(payoffCell(&window, name).data().toString(), texts.join(u'-'));
        // The double's two legs' winners; the first four as the reader hears them.
        const auto& winners = day.day().raceWinner;
        QCOMPARE(payoffCell(&window, u"lblXHorse"_s).data().toString(),
                 u"%1-%2"_s.arg(winners[1]).arg(winners[2]));
        QAccessibleTableInterface* places = tableOf(child<QTableView>(&window, u"tblPlacePayoffs"_s));
        QCOMPARE(rowCells(places, 0).mid(0, 3),
                 (QStringList{u"1st"_s, QString::number(day.day().result.finishOrder[0]),
                              qtext(payoffs.win.text)}));
        QCOMPARE(items(child<QListWidget>(&window, u"lstStandings"_s)),
                 shownTexts(day.game.settlement().standingLines));
        // The order is told to a screen reader as soon as it is official.
        QCOMPARE(window.accessibleDescription(), qtext(officialOrderLine(day.day())));

        // A payoff opens its working on a click or on Enter, beside the results rather than over them.
        const QModelIndex exacta = payoffCell(&window, u"lblExactaPayoff"_s);
        auto* bets = child<QTableView>(&window, u"tblBetPayoffs"_s);
        QTest::mouseClick(bets->viewport(), Qt::LeftButton, {}, bets->visualRect(exacta).center());
        auto* placeTable = child<QTableView>(&window, u"tblPlacePayoffs"_s);
        placeTable->setCurrentIndex(payoffCell(&window, u"lblShow3Payoff"_s));
        QTest::keyClick(placeTable, Qt::Key_Return);
        QCOMPARE(window.findChildren<QDialog*>(u"frmExplain"_s).size(), 1);
        auto* explanation = child<QDialog>(&window, u"frmExplain"_s);
        QVERIFY(explanation->isVisible() && !explanation->isModal());
        QCOMPARE(items(child<QListWidget>(explanation, u"lstSteps"_s)), qtexts(payoffs.show[2].working));
        // So does a Twin-Tri credit's line among the winners: the working the credit was paid with.
        const std::vector<Credit>& credits = day.game.settlement().credits;
        const auto twinTri =
            std::find_if(credits.begin(), credits.end(), [](const Credit& c) { return c.code == "TwT"; });
        QVERIFY(twinTri != credits.end() && !twinTri->working.empty());
        auto* winnerList = child<QListWidget>(&window, u"lstWinners"_s);
        QListWidgetItem* line = winnerList->item(static_cast<int>(twinTri - credits.begin()));
        QTest::mouseClick(winnerList->viewport(), Qt::LeftButton, {},
                          winnerList->visualItemRect(line).center());
        QCOMPARE(items(child<QListWidget>(explanation, u"lstSteps"_s)), qtexts(twinTri->working));

        // The race's ledger: heading, two players, all; then what each of its pools kept.
        std::vector<std::string> ledger = ledgerLines(day.game.ledger(), 2);
        for (const std::string& line : poolKeptLines(day.game.ledger(), 2))
            ledger.push_back(line);
        QCOMPARE(ledger.size(), std::size_t{12});
        QCOMPARE(items(child<QListWidget>(&window, u"lstLedger"_s)), shownTexts(ledger));
    }

    void leavingConfirmsOnceTheShowIsOverEvenWithAFileUnsaved() {
        // The frame rejects the window as Escape does.
        for (const bool byEscape : {false, true}) {
            WindowTestDay day;
            day.runRace();
            // A folder where the past performances should be: the race's lines cannot be appended, and
            // the window names the file beside OK rather than stopping the player.
            std::filesystem::remove(day.file("pastperformances.dat"));
            std::filesystem::create_directory(day.file("pastperformances.dat"));
            ui::ResultsWindow window(day.game);
            QSignalSpy confirmed(&window, &ui::ResultsWindow::confirmed);
            window.show();
            const auto leave = [&] {
                byEscape ? QTest::keyClick(&window, Qt::Key_Escape) : button(&window, u"cmdOK"_s)->click();
            };
            // Before the end of the show the results are not yet written: the window stays.
            leave();
            QVERIFY(window.isVisible());
            QCOMPARE(day.game.stage(), Stage::Results);

            QVERIFY(runResultsShow(&window));
            QCOMPARE(text(&window, u"lblCollects0"_s), qtext(std::string(NobodyCollectsText)));
            QLabel* problems = child(&window, u"lblSaveProblems"_s);
            QVERIFY(problems->isVisible() && !problems->text().isEmpty() && day.prompter.shown().empty());
            QCOMPARE(problems->text(), qtext(day.game.chart().saveError.message));
            leave();
            QVERIFY(QTest::qWaitFor([&] { return !window.isVisible(); }));
            QCOMPARE(day.game.stage(), Stage::Program);
            QCOMPARE(day.day().currentRace, 1);
            button(&window, u"cmdOK"_s)->click();
            window.reject();
            QCOMPARE(confirmed.count(), 1);
            QCOMPARE(day.day().currentRace, 1);
        }
    }
};

QTEST_MAIN(ResultsWindowTest)
#include "ResultsWindowTest.moc"
