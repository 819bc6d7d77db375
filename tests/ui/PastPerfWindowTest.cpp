#include "ui/PastPerfWindow.h"

#include "WindowTestDay.h"

#include "core/GradeTables.h"
#include "program/ProgramTexts.h"
#include "ui/ColumnHeading.h"
#include "ui/PrintOptionsDialog.h"

#include <QFontInfo>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

using namespace sw;
using namespace sw::test;

namespace {

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString horseName(WindowTestDay& day, int race, int entry) {
    const int horse =
        day.day().card.raceHorse[static_cast<std::size_t>(race - 1)][static_cast<std::size_t>(entry)];
    return qtext(day.day().db.horses[static_cast<std::size_t>(horse)].name);
}

} // namespace

class PastPerfWindowTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheRaceAboutToBeRunWithItsFixedTexts();
    void raceSelectorShowsEachRace();
    void pastLinesAndJockeyRecordsComeFromTheProgram();
    void toteBoardLeavesThePoolFilesUnchanged();
    void closingTheWindowGoesToTheToteBoardToo();
    void printProgramOpensThePrintOptions();
    void readsWholeAtTheMainWindowsSize();
    void chancesFillInOffTheWindowThreadAndStartOverForAnotherRace();
};

void PastPerfWindowTest::showsTheRaceAboutToBeRunWithItsFixedTexts() {
    WindowTestDay day;
    QVERIFY(day.started);
    ui::PastPerfWindow window(*day.game);
    window.show();

    QCOMPARE(window.objectName(), QStringLiteral("frmPastPerf"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Past Performances"));
    QCOMPARE(child<QSpinBox>(&window, QStringLiteral("udRace"))->value(), 1);
    QCOMPARE(child<QSpinBox>(&window, QStringLiteral("udRace"))->minimum(), 1);
    QCOMPARE(child<QSpinBox>(&window, QStringLiteral("udRace"))->maximum(), 12);
    QCOMPARE(child(&window, QStringLiteral("lblRace"))->text(), QStringLiteral("1"));
    QCOMPARE(child(&window, QStringLiteral("lblDistance"))->text(), QStringLiteral("1 1/4 Miles"));
    auto* ok = child<QPushButton>(&window, QStringLiteral("cmdOK"));
    QCOMPARE(ok->text(), QStringLiteral("Tote Board"));
    QCOMPARE(ok->toolTip(), QStringLiteral("Go to Tote Board ( Race and Betting Screen)"));
    QCOMPARE(child<QPushButton>(&window, QStringLiteral("cmdPrint"))->text(),
             QStringLiteral("Print Program"));

    const std::array<std::pair<const char*, const char*>, 6> tips = {{
        {"lblStarts", "Number of starts"},
        {"lblFirsts", "Number of first place finishes"},
        {"lblSeconds", "Number of second place finishes"},
        {"lblThirds", "Number of third place finishes"},
        {"lblFourths", "Number of fourth place finishes"},
        {"lblEarnings", "Amount of earnings"},
    }};
    for (int e = 0; e < FieldSize; ++e) {
        for (const auto& [name, tip] : tips)
            QCOMPARE(child(&window, QLatin1String(name) + QString::number(e))->toolTip(), QLatin1String(tip));
        auto* past = child<QListWidget>(&window, QStringLiteral("lstPast%1").arg(e));
        QVERIFY(past);
        QVERIFY(QFontInfo(past->font()).fixedPitch());
        QCOMPARE(child(&window, QStringLiteral("lblPastHeader%1").arg(e))->text(), qs(PastLinesHeader));
    }
    QCOMPARE(child(&window, QStringLiteral("lblJockeyStandings"))->text(),
             QStringLiteral("Jockey Standings"));
    QCOMPARE(child(&window, QStringLiteral("lblJockeyHeader"))->text(), qs(JockeyStandingsHeader));
    auto* jockeys = child<QListWidget>(&window, QStringLiteral("lstJockeys"));
    QVERIFY(QFontInfo(jockeys->font()).fixedPitch());
    QCOMPARE(jockeys->count(), JockeyCount);
}

void PastPerfWindowTest::raceSelectorShowsEachRace() {
    WindowTestDay day;
    ui::PastPerfWindow window(*day.game);
    window.show();
    auto* udRace = child<QSpinBox>(&window, QStringLiteral("udRace"));

    for (int race = 12; race >= 1; --race) {
        udRace->setValue(race);
        const int grade = day.day().card.raceGrade[static_cast<std::size_t>(race - 1)];
        QCOMPARE(child(&window, QStringLiteral("lblRace"))->text(), QString::number(race));
        QCOMPARE(child(&window, QStringLiteral("lblRaceGrade"))->text(),
                 QStringLiteral("$%1").arg(grade * 1000));
        QCOMPARE(child(&window, QStringLiteral("lblBets"))->text(), qtext(day.game->program().betsOffered));
        for (int e = 0; e < FieldSize; ++e)
            QCOMPARE(child(&window, QStringLiteral("lblHorseName%1").arg(e))->text(),
                     horseName(day, race, e));
    }
    QCOMPARE(child(&window, QStringLiteral("lblBets"))->text(),
             QStringLiteral("Win Place Show Quiniela Exacta Trifecta Superfecta Betting"));
    udRace->setValue(3);
    QCOMPARE(
        child(&window, QStringLiteral("lblBets"))->text(),
        QStringLiteral("Win Place Show Quiniela Exacta Trifecta Superfecta 2nd Half Daily Double Betting"));
}

void PastPerfWindowTest::pastLinesAndJockeyRecordsComeFromTheProgram() {
    // After race 1 its starters carry a past line each; browse back to it.
    WindowTestDay day;
    day.playRaces(1);
    ui::PastPerfWindow window(*day.game);
    window.show();
    QCOMPARE(child<QSpinBox>(&window, QStringLiteral("udRace"))->value(), 2);
    window.showRace(1);

    const ProgramView& view = day.game->program();
    QCOMPARE(view.race, 1);
    for (int e = 0; e < FieldSize; ++e) {
        const ProgramEntryView& entry = view.entries[static_cast<std::size_t>(e)];
        auto* past = child<QListWidget>(&window, QStringLiteral("lstPast%1").arg(e));
        QVERIFY(!entry.pastLines.empty());
        QCOMPARE(past->count(), static_cast<int>(entry.pastLines.size()));
        for (int i = 0; i < past->count(); ++i)
            QCOMPARE(past->item(i)->text(), qtext(entry.pastLines[static_cast<std::size_t>(i)]));
        QLabel* jockey = child(&window, QStringLiteral("lblGrade%1").arg(e));
        QCOMPARE(jockey->text(), qtext(entry.jockey));
        QCOMPARE(jockey->toolTip(), qtext(entry.jockeyRecord));
        QCOMPARE(child(&window, QStringLiteral("lblStarts%1").arg(e))->text(), qtext(entry.starts));
        QCOMPARE(child(&window, QStringLiteral("lblEarnings%1").arg(e))->text(), qtext(entry.earnings));
    }
    // The bundled stable has raced a season: its record has a holder.
    QCOMPARE(child(&window, QStringLiteral("lblTrackRecord"))->text(), qtext(view.trackRecord));
    QCOMPARE(child<QListWidget>(&window, QStringLiteral("lstTrackRecord"))->count(),
             static_cast<int>(view.trackRecordHolders.size()));
    QVERIFY(!view.trackRecordHolders.empty());
}

void PastPerfWindowTest::toteBoardLeavesThePoolFilesUnchanged() {
    WindowTestDay day;
    const std::vector<std::string> before = poolFiles(day);
    ui::PastPerfWindow window(*day.game);
    QSignalSpy chosen(&window, &ui::PastPerfWindow::toteBoardChosen);
    window.show();
    auto* udRace = child<QSpinBox>(&window, QStringLiteral("udRace"));
    for (int race = 1; race <= RacesPerDay; ++race)
        udRace->setValue(race);
    QCOMPARE(day.day().currentRace, 0);

    QTest::mouseClick(child<QPushButton>(&window, QStringLiteral("cmdOK")), Qt::LeftButton);
    QCOMPARE(chosen.count(), 1);
    QVERIFY(!window.isVisible());
    QCOMPARE(day.game->stage(), Stage::Betting);
    QVERIFY(poolFiles(day) == before);
    // The day again holds race 1's pools as its pool file has them, not the last race browsed.
    long winMoney = 0;
    for (const std::string& line : readLines(day.file("wins.dat")))
        winMoney += QString::fromStdString(line).section(QLatin1Char(','), 2, 2).toLong();
    QCOMPARE(static_cast<long>(day.day().pools.winTotal), winMoney);
    window.reject();
    QCOMPARE(chosen.count(), 1);
}

void PastPerfWindowTest::closingTheWindowGoesToTheToteBoardToo() {
    WindowTestDay day;
    ui::PastPerfWindow window(*day.game);
    QSignalSpy chosen(&window, &ui::PastPerfWindow::toteBoardChosen);
    window.show();
    child<QSpinBox>(&window, QStringLiteral("udRace"))->setValue(5);
    window.close();
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(day.game->stage(), Stage::Betting);

    WindowTestDay other;
    ui::PastPerfWindow escaped(*other.game);
    QSignalSpy escapedChosen(&escaped, &ui::PastPerfWindow::toteBoardChosen);
    escaped.show();
    QTest::keyClick(&escaped, Qt::Key_Escape);
    QCOMPARE(escapedChosen.count(), 1);
    QCOMPARE(other.game->stage(), Stage::Betting);
}

void PastPerfWindowTest::printProgramOpensThePrintOptions() {
    WindowTestDay day;
    ui::PastPerfWindow window(*day.game);
    window.show();
    QTest::mouseClick(child<QPushButton>(&window, QStringLiteral("cmdPrint")), Qt::LeftButton);
    auto* options = window.findChild<ui::PrintOptionsDialog*>(QStringLiteral("frmPrint"));
    QVERIFY(options);
    QVERIFY(options->isVisible());
    QVERIFY(options->isModal());

    // Printing walks the races; the program comes back to the race about to be run.
    child<QSpinBox>(&window, QStringLiteral("udRace"))->setValue(6);
    TempDir out;
    QVERIFY(options->printToPdf(QString::fromStdString((out / "program.pdf").string()), 1, 2));
    QCOMPARE(child<QSpinBox>(&window, QStringLiteral("udRace"))->value(), 1);
    QCOMPARE(child(&window, QStringLiteral("lblHorseName0"))->text(), horseName(day, 1, 0));
}

void PastPerfWindowTest::readsWholeAtTheMainWindowsSize() {
    // A day a few races in, so the horses of race 1 carry past lines and the jockeys records.
    WindowTestDay day;
    day.playRaces(3);
    QWidget main;
    main.resize(1366, 768);
    main.show();
    ui::PastPerfWindow window(*day.game, &main);
    window.resize(1366, 768);
    window.show();
    window.showRace(1);
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    saveScreenshot(&window, "frmPastPerf.png");

    // The entries need no sideways scrolling at this size.
    auto* scroll = window.findChild<QScrollArea*>();
    QVERIFY(scroll->widget()->width() <= scroll->viewport()->width());

    for (int e = 0; e < FieldSize; ++e) {
        for (const char* name : {"lblHorseName", "lblGrade", "lblEarnings", "lblStarts"}) {
            QLabel* label = child(&window, QLatin1String(name) + QString::number(e));
            QVERIFY2(showsWholeText(label),
                     qPrintable(label->objectName() + QLatin1Char(' ') + label->text()));
        }
        auto* past = child<QListWidget>(&window, QStringLiteral("lstPast%1").arg(e));
        for (int i = 0; i < past->count(); ++i)
            QVERIFY(past->viewport()->width() >=
                    past->fontMetrics().horizontalAdvance(past->item(i)->text()));
    }
    auto* jockeys = child<QListWidget>(&window, QStringLiteral("lstJockeys"));
    QVERIFY(jockeys->viewport()->width() >=
            jockeys->fontMetrics().horizontalAdvance(jockeys->item(0)->text()));
    QVERIFY(showsWholeText(child(&window, QStringLiteral("lblBets"))) ||
            child(&window, QStringLiteral("lblBets"))->wordWrap());

    // Column headings keep the lists' type size: their words stand apart over their columns.
    for (const QString& name : {QStringLiteral("lblPastHeader0"), QStringLiteral("lblJockeyHeader")}) {
        auto* heading = child<ui::ColumnHeading>(&window, name);
        QCOMPARE(heading->font().pointSizeF(), jockeys->font().pointSizeF());
        const std::vector<ui::ColumnHeading::PlacedWord> words = heading->placedWords();
        QCOMPARE(static_cast<qsizetype>(words.size()),
                 heading->text().split(QLatin1Char(' '), Qt::SkipEmptyParts).size());
        // Words that touch read as one: at least half a space between them.
        const double gap = heading->fontMetrics().horizontalAdvance(QLatin1Char(' ')) / 2.0;
        for (std::size_t i = 1; i < words.size(); ++i)
            QVERIFY2(
                words[i].left >= words[i - 1].left + words[i - 1].width + gap,
                qPrintable(name + QLatin1Char(' ') + words[i - 1].text + QLatin1Char(' ') + words[i].text));
    }
}

void PastPerfWindowTest::chancesFillInOffTheWindowThreadAndStartOverForAnotherRace() {
    WindowTestDay day;
    ui::PastPerfWindow window(*day.game);
    QSignalSpy done(&window, &ui::PastPerfWindow::chancesDone);
    window.setChanceRaces(600);
    window.show();
    auto* progress = child<QProgressBar>(&window, QStringLiteral("prgChances"));
    auto* table = child<QTableWidget>(&window, QStringLiteral("tblChances"));

    // Choosing another race drops the figures under way: only the last race's are told finished.
    window.showRace(3);
    window.showRace(4);
    QCOMPARE(progress->maximum(), 600);
    QVERIFY(done.wait(30000));
    QCOMPARE(done.count(), 1);
    QCOMPARE(progress->value(), 600);
    QCOMPARE(child(&window, QStringLiteral("lblChances"))->text(), QStringLiteral("Race 4"));
    for (int e = 0; e < FieldSize; ++e) {
        QCOMPARE(table->item(e, 0)->text(), QString::number(e + 1));
        QVERIFY2(table->item(e, 1)->text().contains(QLatin1Char('%')), qPrintable(table->item(e, 1)->text()));
        QVERIFY(table->item(e, 2)->text().contains(QChar(0x00B1)));
        QVERIFY(!table->item(e, 4)->text().isEmpty());
    }
}

QTEST_MAIN(PastPerfWindowTest)
#include "PastPerfWindowTest.moc"
