#include "ui/PastPerfWindow.h"

#include "WindowTestDay.h"

#include "ui/PrintOptionsDialog.h"

#include <QMessageBox>
#include <QPrinter>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTableWidget>

using namespace sw;
using namespace sw::test;

class PastPerfWindowTest : public QObject {
    Q_OBJECT

private slots:
    void aRaceShowsItsProgramWholeAndPrintsIt() {
        // A day a few races in, so the horses of race 1 carry past lines and the jockeys records.
        WindowTestDay day;
        day.playRaces(3);
        ui::PastPerfWindow window(day.game);
        window.show();
        auto* udRace = child<QSpinBox>(&window, u"udRace"_s);
        QCOMPARE(udRace->value(), 4);
        // A race whose horses have run today.
        udRace->setValue(1);
        const ProgramView& view = day.game.program();
        QCOMPARE(view.race, 1);
        QCOMPARE((QStringList{text(&window, u"lblRace"_s), text(&window, u"lblRaceGrade"_s),
                              text(&window, u"lblBets"_s), text(&window, u"lblTrackRecord"_s)}),
                 qtexts({view.raceNumber, view.purse, view.betsOffered, view.trackRecord}));
        for (int e = 0; e < FieldSize; ++e) {
            const ProgramEntryView& entry = view.entries[static_cast<std::size_t>(e)];
            QStringList shown;
            for (const char* name : {"lblHorseName", "lblGrade", "lblStarts", "lblFirsts", "lblSeconds",
                                     "lblThirds", "lblFourths", "lblEarnings"})
                shown << text(&window, QLatin1String(name) + QString::number(e));
            QCOMPARE(shown, qtexts({entry.horseName, entry.jockey, entry.starts, entry.firsts, entry.seconds,
                                    entry.thirds, entry.fourths, entry.earnings}));
            QVERIFY(!entry.pastCells.empty());
            QCOMPARE(tableRows(child<QAbstractItemView>(&window, u"lstPast%1"_s.arg(e))),
                     qrows(entry.pastCells));
        }
        QList<QStringList> holders;
        for (const std::string& horse : view.trackRecordHolders)
            holders.append({qtext(horse), qtext(view.trackRecord)});
        QCOMPARE(tableRows(child<QAbstractItemView>(&window, u"lstTrackRecord"_s)), holders);
        QCOMPARE(tableRows(child<QAbstractItemView>(&window, u"lstJockeys"_s)), qrows(view.jockeyCells));

        QTest::mouseClick(button(&window, u"cmdPrint"_s), Qt::LeftButton);
        auto* options = window.findChild<ui::PrintOptionsDialog*>(u"frmPrint"_s);
        QVERIFY(options && options->isVisible() && options->isModal());
        // Printing walks the races; the program comes back to the race about to be run.
        udRace->setValue(6);
        TempDir out;
        QVERIFY(options->printToPdf(QString::fromStdString((out / "program.pdf").string()), 1, 2));
        QCOMPARE(udRace->value(), 4);
        // Never over the stable: a file in the data folder is refused with a message.
        const std::string stable = readAll(day.file("horses.dat"));
        QVERIFY(!options->printToPdf(QString::fromStdString(day.file("horses.dat").string()), 1, 2));
        QVERIFY(readAll(day.file("horses.dat")) == stable);
        QVERIFY(!day.prompter.shown().empty() &&
                day.prompter.shown().back().text.find("data folder") != std::string::npos);
        QCOMPARE(text(&window, u"lblHorseName0"_s), qtext(day.game.program().entries[0].horseName));

        // A file that cannot be printed to is reported, and the options stay open to try again.
        QPrinter broken(QPrinter::HighResolution);
        broken.setOutputFormat(QPrinter::PdfFormat);
        broken.setOutputFileName(QString::fromStdString((out / "no-such-folder" / "program.pdf").string()));
        QVERIFY(!options->printTo(broken));
        QVERIFY(options->isVisible() && options->result() != QDialog::Accepted);
        QVERIFY(day.prompter.shown().back().text.find("program.pdf") != std::string::npos);
    }
    void chancesFillInOffTheWindowThreadAndStartOverForAnotherRace() {
        WindowTestDay day;
        ui::PastPerfWindow window(day.game);
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
        // A race shown again has its figures at once, from the runs kept.
        const QString first = table->item(0, 1)->text();
        window.showRace(4);
        QCOMPARE(done.count(), 2);
        QCOMPARE(table->item(0, 1)->text(), first);
        QCOMPARE(day.game.chanceCache().simulated(), 1);
        for (int e = 0; e < FieldSize; ++e) {
            const QString row = table->item(e, 0)->text() + u'|' + table->item(e, 1)->text() + u'|' +
                                table->item(e, 2)->text() + u'|' + table->item(e, 4)->text();
            QVERIFY2(
                QRegularExpression(
                    u"^%1\\|\\d+\\.\\d% \\(\\d+\\.\\d-\\d+\\.\\d\\)\\|\\d+\\.\\d% \\(\\d+\\.\\d-\\d+\\.\\d\\)\\|[^|]+$"_s
                        .arg(e + 1))
                    .match(row)
                    .hasMatch(),
                qPrintable(row));
        }
    }
};

QTEST_MAIN(PastPerfWindowTest)
#include "PastPerfWindowTest.moc"
