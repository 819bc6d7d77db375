#include "ui/PastPerfWindow.h"

#include "WindowTestDay.h"

#include "ui/ColumnHeading.h"
#include "ui/PrintOptionsDialog.h"

#include <QProgressBar>
#include <QRegularExpression>
#include <QTableWidget>

using namespace sw;
using namespace sw::test;

class PastPerfWindowTest : public QObject {
    Q_OBJECT

private slots:
    void everyRaceShowsItsProgramWhole() {
        // A day a few races in, so the horses of race 1 carry past lines and the jockeys records.
        WindowTestDay day;
        day.playRaces(3);
        QWidget main;
        main.resize(1366, 768);
        main.show();
        ui::PastPerfWindow window(*day.game, &main);
        window.resize(1366, 768);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* udRace = child<QSpinBox>(&window, u"udRace"_s);
        QCOMPARE(udRace->value(), 4);
        for (int race = RacesPerDay; race >= 1; --race) {
            udRace->setValue(race);
            const ProgramView& view = day.game->program();
            QCOMPARE(view.race, race);
            QCOMPARE((QStringList{text(&window, u"lblRace"_s), text(&window, u"lblRaceGrade"_s),
                                  text(&window, u"lblBets"_s), text(&window, u"lblTrackRecord"_s)}),
                     qtexts({view.raceNumber, view.purse, view.betsOffered, view.trackRecord}));
            for (int e = 0; e < FieldSize; ++e) {
                const ProgramEntryView& entry = view.entries[static_cast<std::size_t>(e)];
                QStringList shown{child(&window, u"lblGrade%1"_s.arg(e))->toolTip()};
                for (const char* name : {"lblHorseName", "lblGrade", "lblStarts", "lblFirsts", "lblSeconds",
                                         "lblThirds", "lblFourths", "lblEarnings"})
                    shown << text(&window, QLatin1String(name) + QString::number(e));
                QCOMPARE(shown,
                         qtexts({entry.jockeyRecord, entry.horseName, entry.jockey, entry.starts,
                                 entry.firsts, entry.seconds, entry.thirds, entry.fourths, entry.earnings}));
                QCOMPARE(items(child<QListWidget>(&window, u"lstPast%1"_s.arg(e))), qtexts(entry.pastLines));
                QVERIFY(race > 3 || !entry.pastLines.empty());
            }
            QCOMPARE(items(child<QListWidget>(&window, u"lstTrackRecord"_s)),
                     qtexts(view.trackRecordHolders));
            QCOMPARE(items(child<QListWidget>(&window, u"lstJockeys"_s)), qtexts(view.jockeyStandings));
        }

        // The entries need no sideways scrolling at this size; the past lines and the standings keep
        // their columns: fixed pitch, each line whole.
        auto* scroll = window.findChild<QScrollArea*>();
        QVERIFY(scroll->widget()->width() <= scroll->viewport()->width());
        for (auto* list : window.findChildren<QListWidget*>()) {
            QVERIFY2(list->font().fixedPitch() || list->objectName() == u"lstTrackRecord"_s,
                     qPrintable(list->objectName()));
            for (const QString& line : items(list))
                QVERIFY2(list->viewport()->width() >= list->fontMetrics().horizontalAdvance(line),
                         qPrintable(list->objectName() + QLatin1Char(' ') + line));
        }
        for (int e = 0; e < FieldSize; ++e)
            for (const char* name : {"lblHorseName", "lblGrade", "lblEarnings", "lblStarts"})
                QVERIFY2(showsWholeText(child(&window, QLatin1String(name) + QString::number(e))), name);
        QLabel* bets = child(&window, u"lblBets"_s);
        QVERIFY(showsWholeText(bets) || bets->wordWrap());
        // Column headings keep the lists' type size, and their words stand apart over their columns:
        // words that touch read as one, so at least half a space between them.
        auto* heading = child<ui::ColumnHeading>(&window, u"lblPastHeader0"_s);
        QCOMPARE(heading->font().pointSizeF(),
                 child<QListWidget>(&window, u"lstPast0"_s)->font().pointSizeF());
        const std::vector<ui::ColumnHeading::PlacedWord> words = heading->placedWords();
        QCOMPARE(static_cast<qsizetype>(words.size()),
                 heading->text().split(u' ', Qt::SkipEmptyParts).size());
        const double gap = heading->fontMetrics().horizontalAdvance(QLatin1Char(' ')) / 2.0;
        for (std::size_t i = 1; i < words.size(); ++i)
            QVERIFY2(words[i].left >= words[i - 1].left + words[i - 1].width + gap,
                     qPrintable(words[i].text));
    }

    void leavingGoesToTheToteBoard_data() { leaveRows("Tote Board"); }
    void leavingGoesToTheToteBoard() {
        QFETCH(Leave, how);
        WindowTestDay day;
        ui::PastPerfWindow window(*day.game);
        QSignalSpy chosen(&window, &ui::PastPerfWindow::toteBoardChosen);
        window.show();
        child<QSpinBox>(&window, u"udRace"_s)->setValue(5);
        leave(&window, how, u"cmdOK"_s);
        QVERIFY(!window.isVisible());
        QCOMPARE(day.game->stage(), Stage::Betting);
        QCOMPARE(day.day().currentRace, 0);
        window.reject();
        QCOMPARE(chosen.count(), 1);
    }

    void printProgramOpensThePrintOptions() {
        WindowTestDay day;
        ui::PastPerfWindow window(*day.game);
        window.show();
        QTest::mouseClick(button(&window, u"cmdPrint"_s), Qt::LeftButton);
        auto* options = window.findChild<ui::PrintOptionsDialog*>(u"frmPrint"_s);
        QVERIFY(options && options->isVisible() && options->isModal());
        // Its spinners set the range, To following From down.
        child<QSpinBox>(options, u"udFrom"_s)->setValue(5);
        child<QSpinBox>(options, u"udTo"_s)->setValue(3);
        QCOMPARE(options->range().from * 100 + options->range().to, 303);

        // Printing walks the races; the program comes back to the race about to be run.
        child<QSpinBox>(&window, u"udRace"_s)->setValue(6);
        TempDir out;
        QVERIFY(options->printToPdf(QString::fromStdString((out / "program.pdf").string()), 1, 2));
        QCOMPARE(child<QSpinBox>(&window, u"udRace"_s)->value(), 1);
        QCOMPARE(text(&window, u"lblHorseName0"_s), qtext(day.game->program().entries[0].horseName));
    }

    void chancesFillInOffTheWindowThreadAndStartOverForAnotherRace() {
        WindowTestDay day;
        ui::PastPerfWindow window(*day.game);
        QSignalSpy done(&window, &ui::PastPerfWindow::chancesDone);
        window.setChanceRaces(600);
        window.show();
        auto* progress = child<QProgressBar>(&window, u"prgChances"_s);
        auto* table = child<QTableWidget>(&window, u"tblChances"_s);
        // Choosing another race drops the figures under way: only the last race's are told finished.
        window.showRace(3);
        window.showRace(4);
        QCOMPARE(progress->maximum(), 600);
        QVERIFY(done.wait(30000));
        QCOMPARE(done.count(), 1);
        QCOMPARE(progress->value(), 600);
        QCOMPARE(text(&window, u"lblChances"_s), u"Race 4"_s);
        for (int e = 0; e < FieldSize; ++e) {
            const QString row = table->item(e, 0)->text() + u'|' + table->item(e, 1)->text() + u'|' +
                                table->item(e, 2)->text() + u'|' + table->item(e, 4)->text();
            QVERIFY2(QRegularExpression(u"^%1\\|[^|]*%[^|]*\\|[^|]*\u00B1[^|]*\\|[^|]+$"_s.arg(e + 1))
                         .match(row)
                         .hasMatch(),
                     qPrintable(row));
        }
    }
};

QTEST_MAIN(PastPerfWindowTest)
#include "PastPerfWindowTest.moc"
