#include "ui/ResultsWindow.h"

#include "ui/BalanceChart.h"

#include "WindowTestDay.h"

#include "players/Players.h"
#include "race/ResultChart.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

using namespace sw;
using namespace sw::test;

namespace {

std::size_t pastLineCount(const WindowTestDay& day) {
    return readLines(day.file("pastperformances.dat")).size();
}

// Lets every photo pause end at once and returns how many there were.
int finishPhotoPauses(QWidget* window) {
    int pauses = 0;
    auto* photo = child<QTimer>(window, QStringLiteral("timerPhoto"));
    while (photo->isActive() && pauses < 10) {
        fire(photo);
        ++pauses;
    }
    return pauses;
}

// Starts the show, takes its photo pauses at once and waits while the chart is worked out.
bool runShowToEnd(ui::ResultsWindow& window) {
    child<QPushButton>(&window, QStringLiteral("cmdShow"))->click();
    finishPhotoPauses(&window);
    return QTest::qWaitFor([&] { return window.showFinished(); });
}

// The first place k (0..3) the race pauses on for a photo, or -1.
int firstPhotoPause(const RaceResult& result) {
    for (int k = 0; k < 4; ++k)
        if (photoBeforeReveal(result, k))
            return k;
    return -1;
}

// A day whose opening race has a close finish among the first four, run to its results: the
// first seed that gives one. paused is the first place the show pauses on.
std::unique_ptr<WindowTestDay> photoFinishDay(int& paused) {
    std::unique_ptr<WindowTestDay> day;
    paused = -1;
    for (uint64_t seed = 1; seed <= 60 && paused < 0; ++seed) {
        day = std::make_unique<WindowTestDay>(seed);
        day->runRace();
        paused = firstPhotoPause(day->day().result);
    }
    return day;
}

} // namespace

class ResultsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void opensWaitingForTheShow();
    void buttonAndTimerTogetherApplyTheRaceOnce();
    void timerStartsTheShowAndDisablesTheButton();
    void photoFinishPausesOnATimerBeforeThePlace();
    void chartAndPayoffsAreFilledFromTheGame();
    void recordTimeTakesThePhotoSignsColour();
    void dailyDoubleShowsItsLegsAfterItsLastRace();
    void okConfirmsOnceAndMovesTheDayOn();
    void closingBeforeTheEndIsRefused();
    void filesThatCouldNotBeSavedAreNamedBesideOk();
    void readsWholeAtTheMainWindowsSize();
};

void ResultsWindowTest::opensWaitingForTheShow() {
    WindowTestDay day;
    QVERIFY(day.started);
    day.runRace();
    ui::ResultsWindow window(*day.game);
    window.show();

    QCOMPARE(window.objectName(), QStringLiteral("frmResults"));
    QCOMPARE(window.windowModality(), Qt::WindowModal);
    QCOMPARE(child(&window, QStringLiteral("lblRaceNum"))->text(), QStringLiteral("Race 1"));
    QCOMPARE(child(&window, QStringLiteral("lblPhoto"))->text(),
             QStringLiteral("Waiting for the official result..."));
    QVERIFY(!child<QPushButton>(&window, QStringLiteral("cmdOK"))->isEnabled());
    QVERIFY(child<QPushButton>(&window, QStringLiteral("cmdShow"))->isEnabled());
    auto* timer = child<QTimer>(&window, QStringLiteral("timerShow"));
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), day.game->resultsShow()->openingDelayMs());
    for (int k = 0; k < 4; ++k)
        QVERIFY(child(&window, QStringLiteral("lblFinish%1").arg(k))->text().isEmpty());
    QVERIFY(child(&window, QStringLiteral("lblHorseName0"))->isHidden());
    QVERIFY(!day.game->resultsDone());
}

void ResultsWindowTest::buttonAndTimerTogetherApplyTheRaceOnce() {
    int paused = -1;
    auto day = photoFinishDay(paused);
    QVERIFY2(paused >= 0, "no seed gave a photo finish");
    const std::size_t before = pastLineCount(*day);
    ui::ResultsWindow window(*day->game);
    window.show();

    auto* show = child<QPushButton>(&window, QStringLiteral("cmdShow"));
    auto* timer = child<QTimer>(&window, QStringLiteral("timerShow"));
    QTest::mouseClick(show, Qt::LeftButton);
    QVERIFY(window.showStarted());
    QVERIFY(!show->isEnabled());
    // The show timer going off during the photo pause must neither cut the pause short nor
    // start a second show.
    fire(timer);
    QVERIFY(child<QTimer>(&window, QStringLiteral("timerPhoto"))->isActive());
    QVERIFY(child(&window, QStringLiteral("lblFinish%1").arg(paused))->text().isEmpty());
    finishPhotoPauses(&window);
    fire(timer);
    show->click();

    QTRY_VERIFY(window.showFinished());
    QVERIFY(day->game->resultsDone());
    QCOMPARE(pastLineCount(*day), before + FieldSize);
    QVERIFY(child<QPushButton>(&window, QStringLiteral("cmdOK"))->isEnabled());
    QCOMPARE(child(&window, QStringLiteral("lblPhoto"))->text(), QStringLiteral("Official"));
}

void ResultsWindowTest::timerStartsTheShowAndDisablesTheButton() {
    WindowTestDay day(4242);
    day.runRace();
    const std::size_t before = pastLineCount(day);
    ui::ResultsWindow window(*day.game);
    window.show();

    fire(child<QTimer>(&window, QStringLiteral("timerShow")));
    QVERIFY(window.showStarted());
    auto* show = child<QPushButton>(&window, QStringLiteral("cmdShow"));
    QVERIFY(!show->isEnabled());
    show->click();
    finishPhotoPauses(&window);

    QTRY_VERIFY(window.showFinished());
    QCOMPARE(pastLineCount(day), before + FieldSize);
}

void ResultsWindowTest::photoFinishPausesOnATimerBeforeThePlace() {
    int paused = -1;
    auto day = photoFinishDay(paused);
    QVERIFY2(paused >= 0, "no seed gave a photo finish");

    ui::ResultsWindow window(*day->game);
    window.show();
    child<QPushButton>(&window, QStringLiteral("cmdShow"))->click();

    auto* photoTimer = child<QTimer>(&window, QStringLiteral("timerPhoto"));
    QVERIFY(photoTimer->isActive());
    QCOMPARE(photoTimer->interval(), PhotoPauseMs);
    QCOMPARE(child(&window, QStringLiteral("lblPhoto"))->text(), QStringLiteral("PHOTO"));
    QVERIFY(child(&window, QStringLiteral("lblFinish%1").arg(paused))->text().isEmpty());
    for (int k = 0; k < paused; ++k)
        QCOMPARE(child(&window, QStringLiteral("lblFinish%1").arg(k))->text(),
                 QString::number(day->day().result.finishOrder[static_cast<std::size_t>(k)]));
    QVERIFY(!window.showFinished());

    fire(photoTimer);
    QCOMPARE(child(&window, QStringLiteral("lblFinish%1").arg(paused))->text(),
             QString::number(day->day().result.finishOrder[static_cast<std::size_t>(paused)]));
    finishPhotoPauses(&window);
    QTRY_VERIFY(window.showFinished());
}

void ResultsWindowTest::chartAndPayoffsAreFilledFromTheGame() {
    WindowTestDay day;
    addPlayer(day.day(), "Ann");
    day.runRace();
    ui::ResultsWindow window(*day.game);
    window.show();
    QVERIFY(runShowToEnd(window));

    const RaceResult& result = day.day().result;
    for (int k = 0; k < 4; ++k)
        QCOMPARE(child(&window, QStringLiteral("lblFinish%1").arg(k))->text(),
                 QString::number(result.finishOrder[static_cast<std::size_t>(k)]));

    const RaceChart& chart = day.game->chart();
    QVERIFY(chart.applied);
    QCOMPARE(child(&window, QStringLiteral("lblTimeOfRace"))->text(), qtext(chart.lblTimeOfRace));
    QVERIFY(QRegularExpression(QStringLiteral("^\\d+:\\d\\d\\.\\d\\d$"))
                .match(child(&window, QStringLiteral("lblTimeOfRace"))->text())
                .hasMatch());
    for (int r = 0; r < FieldSize; ++r) {
        const ChartRow& row = chart.rows[static_cast<std::size_t>(r)];
        auto cell = [&](const char* name) {
            return child(&window, QLatin1String(name) + QString::number(r));
        };
        QVERIFY(cell("lblHorseName")->isVisible());
        QVERIFY(!row.lblHorseName.empty());
        QCOMPARE(cell("lblHorseName")->text(), qtext(row.lblHorseName));
        QCOMPARE(cell("lblPost")->text(), QString::number(result.finishOrder[static_cast<std::size_t>(r)]));
        QCOMPARE(cell("lblBreak")->text(), qtext(row.lblBreak));
        QCOMPARE(cell("lblEigth")->text(), qtext(row.lblEigth));
        QCOMPARE(cell("lblEiLen")->text(), qtext(row.lblEiLen));
        QCOMPARE(cell("lblStrech")->text(), qtext(row.lblStrech));
        QCOMPARE(cell("lblStLen")->text(), qtext(row.lblStLen));
        QCOMPARE(cell("lblFin")->text(), QString::number(r + 1));
        QCOMPARE(cell("lblFinLen")->text(), qtext(row.lblFinLen));
        QCOMPARE(cell("lblTime")->text(), qtext(row.lblTime));
        QCOMPARE(cell("lblOdds")->text(), qtext(row.lblOdds));
        QCOMPARE(cell("lblComment")->text(), qtext(row.lblComment));
    }

    const Payoffs& payoffs = day.game->payoffs();
    QVERIFY(payoffs.win.value.has_value());
    QCOMPARE(child(&window, QStringLiteral("lblWin1Payoff"))->text(), qtext(payoffs.win.text));
    for (const LabelText& label : chartLabels(payoffs)) {
        if (label.name == "lblSpecial" || label.name == "lblSpecialPayoff")
            continue;
        const QString name =
            qtext(label.name) + (label.index >= 0 ? QString::number(label.index) : QString());
        QLabel* shown = child(&window, name);
        QVERIFY2(shown, qPrintable(name));
        QCOMPARE(shown->text(), qtext(label.text));
    }
    // Race 1 ends no multi-race bet: its boxes stay hidden.
    for (int i = 0; i < 6; ++i)
        QVERIFY(child(&window, QStringLiteral("lblXHorse%1").arg(i))->isHidden());
    QVERIFY(child(&window, QStringLiteral("lblSpecial"))->text().isEmpty());

    auto* standings = child<QListWidget>(&window, QStringLiteral("lstStandings"));
    QCOMPARE(standings->count(), static_cast<int>(day.game->settlement().standingLines.size()));
    QVERIFY(standings->font().fixedPitch());
    QVERIFY(child<QListWidget>(&window, QStringLiteral("lstWinners"))->font().fixedPitch());

    // A payoff opens its working on a click or on Enter, beside the results rather than over them.
    const std::array<std::pair<const char*, const Payoff*>, 2> asked = {
        {{"lblExactaPayoff", &payoffs.exacta}, {"lblShow3Payoff", &payoffs.show[2]}}};
    QTest::mouseClick(child(&window, QLatin1String(asked[0].first)), Qt::LeftButton);
    QTest::keyClick(child(&window, QLatin1String(asked[1].first)), Qt::Key_Return);
    auto* explanation = child<QDialog>(&window, QStringLiteral("frmExplain"));
    QVERIFY(explanation && explanation->isVisible() && !explanation->isModal());
    auto* steps = child<QListWidget>(explanation, QStringLiteral("lstSteps"));
    QCOMPARE(steps->count(), static_cast<int>(asked[1].second->working.size()));
    QCOMPARE(steps->item(steps->count() - 1)->text(), qtext(asked[1].second->working.back()));
    QCOMPARE(window.findChildren<QDialog*>(QStringLiteral("frmExplain")).size(), 1);

    // The race's ledger and the balances so far: the start and race 1 for every player.
    const HouseLedger& ledger = day.game->ledger();
    QCOMPARE(child<QListWidget>(&window, QStringLiteral("lstLedger"))->count(),
             static_cast<int>(ledgerLines(ledger, 0).size()));
    auto* balances = child<ui::BalanceChart>(&window, QStringLiteral("picBalances"));
    balances->grab();
    QCOMPARE(ledger.accounts().size(), std::size_t{1});
    QCOMPARE(balances->pointsPainted(), 2);
}

void ResultsWindowTest::recordTimeTakesThePhotoSignsColour() {
    // With no track record yet, the winner of the first race sets one.
    WindowTestDay day;
    day.day().db.settings.trackRecord = 999;
    day.runRace();
    ui::ResultsWindow window(*day.game);
    window.show();
    QVERIFY(runShowToEnd(window));

    const RaceChart& chart = day.game->chart();
    QVERIFY(chart.rows[0].recordTime);
    QVERIFY(child(&window, QStringLiteral("lblComment0"))->text().startsWith(QStringLiteral("NewTrkRc")));
    const QColor photo = child(&window, QStringLiteral("lblPhoto"))->palette().color(QPalette::WindowText);
    for (int r = 0; r < FieldSize; ++r) {
        const QColor time =
            child(&window, QStringLiteral("lblTime%1").arg(r))->palette().color(QPalette::WindowText);
        QCOMPARE(time == photo, chart.rows[static_cast<std::size_t>(r)].recordTime);
    }
}

void ResultsWindowTest::dailyDoubleShowsItsLegsAfterItsLastRace() {
    WindowTestDay day;
    day.playRaces(2);
    day.runRace();
    ui::ResultsWindow window(*day.game);
    window.show();
    QVERIFY(runShowToEnd(window));

    QCOMPARE(child(&window, QStringLiteral("lblRaceNum"))->text(), QStringLiteral("Race 3"));
    QCOMPARE(child(&window, QStringLiteral("lblSpecial"))->text(), QStringLiteral("Daily Double"));
    for (int i = 0; i < 2; ++i) {
        QLabel* leg = child(&window, QStringLiteral("lblXHorse%1").arg(i));
        QVERIFY(leg->isVisible());
        QCOMPARE(leg->text(), QString::number(day.day().raceWinner[static_cast<std::size_t>(i + 1)]));
    }
    for (int i = 2; i < 6; ++i)
        QVERIFY(child(&window, QStringLiteral("lblXHorse%1").arg(i))->isHidden());
    QCOMPARE(child(&window, QStringLiteral("lblSpecialPayoff"))->text(),
             qtext(day.game->payoffs().specialPayoff.text));
}

void ResultsWindowTest::okConfirmsOnceAndMovesTheDayOn() {
    WindowTestDay day;
    day.runRace();
    ui::ResultsWindow window(*day.game);
    QSignalSpy confirmed(&window, &ui::ResultsWindow::confirmed);
    window.show();
    QVERIFY(runShowToEnd(window));

    auto* ok = child<QPushButton>(&window, QStringLiteral("cmdOK"));
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(confirmed.count(), 1);
    QVERIFY(!window.isVisible());
    QCOMPARE(day.game->stage(), Stage::Program);
    QCOMPARE(day.day().currentRace, 1);
    ok->click();
    window.reject();
    QCOMPARE(confirmed.count(), 1);
    QCOMPARE(day.day().currentRace, 1);
}

void ResultsWindowTest::closingBeforeTheEndIsRefused() {
    WindowTestDay day;
    day.runRace();
    ui::ResultsWindow window(*day.game);
    QSignalSpy confirmed(&window, &ui::ResultsWindow::confirmed);
    window.show();

    window.close();
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(window.isVisible());
    QCOMPARE(confirmed.count(), 0);
    QCOMPARE(day.game->stage(), Stage::Results);

    // Once the show is over, closing confirms like OK.
    QVERIFY(runShowToEnd(window));
    window.close();
    QCOMPARE(confirmed.count(), 1);
    QCOMPARE(day.game->stage(), Stage::Program);
}

void ResultsWindowTest::filesThatCouldNotBeSavedAreNamedBesideOk() {
    WindowTestDay day;
    day.runRace();
    {
        ui::ResultsWindow window(*day.game);
        window.show();
        QVERIFY(runShowToEnd(window));
        QVERIFY(child(&window, QStringLiteral("lblSaveProblems"))->isHidden());
        child<QPushButton>(&window, QStringLiteral("cmdOK"))->click();
    }

    // A folder where the past performances should be: the race's lines cannot be appended.
    day.runRace();
    std::filesystem::remove(day.file("pastperformances.dat"));
    std::filesystem::create_directory(day.file("pastperformances.dat"));
    ui::ResultsWindow window(*day.game);
    window.show();
    QVERIFY(runShowToEnd(window));
    QLabel* problems = child(&window, QStringLiteral("lblSaveProblems"));
    QVERIFY(problems->isVisible());
    QCOMPARE(problems->text(), qtext(day.game->chart().saveError.message));
    QVERIFY(!problems->text().isEmpty());
    QVERIFY(day.prompter.shown().empty());
    QVERIFY(child<QPushButton>(&window, QStringLiteral("cmdOK"))->isEnabled());
}

void ResultsWindowTest::readsWholeAtTheMainWindowsSize() {
    // Race 3 closes the Daily Double: the fullest payoff area of the early races.
    WindowTestDay day;
    addPlayer(day.day(), "Ann");
    addPlayer(day.day(), "Bo");
    day.playRaces(2);
    day.runRace();
    QWidget main;
    main.resize(1366, 768);
    main.show();
    ui::ResultsWindow window(*day.game, &main);
    window.resize(1366, 768);
    window.show();
    QVERIFY(runShowToEnd(window));
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    saveScreenshot(&window, "frmResults.png");

    for (const QLabel* label : window.findChildren<QLabel*>())
        if (label->isVisible() && !label->text().isEmpty() && label->objectName() != QStringLiteral("Label4"))
            QVERIFY2(showsWholeText(label),
                     qPrintable(label->objectName() + QLatin1Char(' ') + label->text()));
    saveScreenshot(&window, "frmResults.png");
}

QTEST_MAIN(ResultsWindowTest)
#include "ResultsWindowTest.moc"
