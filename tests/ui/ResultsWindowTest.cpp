#include "ui/ResultsWindow.h"

#include "WindowTestDay.h"

#include "players/Players.h"
#include "wagering/ExchangeCredits.h"

#include <algorithm>

using namespace sw;
using namespace sw::test;

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
        const std::pair<const char*, std::string ChartRow::*> columns[] = {
            {"lblHorseName", &ChartRow::lblHorseName}, {"lblPost", &ChartRow::lblPost},
            {"lblBreak", &ChartRow::lblBreak},         {"lblEigth", &ChartRow::lblEigth},
            {"lblEiLen", &ChartRow::lblEiLen},         {"lblStrech", &ChartRow::lblStrech},
            {"lblStLen", &ChartRow::lblStLen},         {"lblFin", &ChartRow::lblFin},
            {"lblFinLen", &ChartRow::lblFinLen},       {"lblTime", &ChartRow::lblTime},
            {"lblOdds", &ChartRow::lblOdds},           {"lblComment", &ChartRow::lblComment}};
        for (int r = 0; r < FieldSize; ++r) {
            const ChartRow& row = chart.rows[static_cast<std::size_t>(r)];
            QVERIFY(child(&window, u"lblHorseName%1"_s.arg(r))->isVisible());
            QStringList shown, expected;
            for (const auto& [name, field] : columns) {
                shown << text(&window, QLatin1String(name) + QString::number(r));
                expected << qtext(row.*field);
            }
            QCOMPARE(shown, expected);
        }

        const Payoffs& payoffs = day.game.payoffs();
        for (const LabelText& label : chartLabels(payoffs))
            QCOMPARE(text(&window,
                          qtext(label.name) + (label.index < 0 ? QString() : QString::number(label.index))),
                     qtext(label.text));
        // The double's two legs' winners.
        const auto& winners = day.day().raceWinner;
        QCOMPARE(text(&window, u"lblXHorse0"_s) + text(&window, u"lblXHorse1"_s),
                 QString::number(winners[1]) + QString::number(winners[2]));
        QCOMPARE(items(child<QListWidget>(&window, u"lstStandings"_s)),
                 shownTexts(day.game.settlement().standingLines));

        // A payoff opens its working on a click or on Enter, beside the results rather than over them.
        QTest::mouseClick(child(&window, u"lblExactaPayoff"_s), Qt::LeftButton);
        QTest::keyClick(child(&window, u"lblShow3Payoff"_s), Qt::Key_Return);
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
            QVERIFY(!window.isVisible());
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
