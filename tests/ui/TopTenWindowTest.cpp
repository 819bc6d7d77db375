#include "ui/TopTenWindow.h"

#include "ui/BalanceChart.h"

#include "WindowTestDay.h"

#include "players/Players.h"

#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace sw;
using namespace sw::test;

namespace {

// A whole day played by two players without bets, ending on the top-ten list.
std::unique_ptr<WindowTestDay> finishedDay() {
    auto day = std::make_unique<WindowTestDay>();
    addPlayer(day->day(), "Ann");
    addPlayer(day->day(), "Bo");
    day->playRaces(RacesPerDay);
    return day;
}

} // namespace

class TopTenWindowTest : public QObject {
    Q_OBJECT

private slots:
    void listsTheGamesTopTen();
    void playAgainAndEndGameAreSignalled();
    void closingByTheFrameEndsTheGameButEscapeDoesNot();
};

void TopTenWindowTest::listsTheGamesTopTen() {
    auto day = finishedDay();
    QCOMPARE(day->game->stage(), Stage::TopTen);
    ui::TopTenWindow window(*day->game);
    window.show();

    QCOMPARE(window.objectName(), QStringLiteral("frmTop10"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Top 10 Players"));
    QCOMPARE(child(&window, QStringLiteral("lblTitle"))->text(), QStringLiteral("Top 10 Players"));
    auto* list = child<QListWidget>(&window, QStringLiteral("lstTop10"));
    QVERIFY(list->font().fixedPitch());
    const std::vector<std::string>& lines = day->game->topTen();
    QCOMPARE(lines.size(), std::size_t{2});
    QCOMPARE(list->count(), 2);
    for (int i = 0; i < list->count(); ++i)
        QCOMPARE(list->item(i)->text(), qtext(lines[static_cast<std::size_t>(i)]));
    QVERIFY(list->item(0)->text().endsWith(QStringLiteral(" - Ann")) ||
            list->item(0)->text().endsWith(QStringLiteral(" - Bo")));
    QCOMPARE(child<QPushButton>(&window, QStringLiteral("cmdPlay"))->text(), QStringLiteral("Play Again"));
    QCOMPARE(child<QPushButton>(&window, QStringLiteral("cmdEnd"))->text(), QStringLiteral("End Game"));
    // Beside the list, the day's ledger and every player's balance at the start and after each race.
    QCOMPARE(child<QListWidget>(&window, QStringLiteral("lstLedger"))->count(),
             4); // heading, two players, all
    auto* chart = child<ui::BalanceChart>(&window, QStringLiteral("picBalances"));
    for (qreal scale : {1.0, 2.0}) {
        QPixmap sharp(chart->size() * scale);
        sharp.setDevicePixelRatio(scale);
        chart->render(&sharp);
        QCOMPARE(chart->pointsPainted(), 2 * (RacesPerDay + 1));
    }
    saveScreenshot(&window, "frmTop10.png");
}

void TopTenWindowTest::playAgainAndEndGameAreSignalled() {
    auto day = finishedDay();
    {
        ui::TopTenWindow window(*day->game);
        QSignalSpy again(&window, &ui::TopTenWindow::playAgain);
        QSignalSpy end(&window, &ui::TopTenWindow::endGame);
        window.show();
        QTest::mouseClick(child<QPushButton>(&window, QStringLiteral("cmdPlay")), Qt::LeftButton);
        QCOMPARE(again.count(), 1);
        QCOMPARE(end.count(), 0);
        QVERIFY(!window.isVisible());
        window.close();
        QCOMPARE(end.count(), 0);
    }
    {
        ui::TopTenWindow window(*day->game);
        QSignalSpy again(&window, &ui::TopTenWindow::playAgain);
        QSignalSpy end(&window, &ui::TopTenWindow::endGame);
        window.show();
        QTest::mouseClick(child<QPushButton>(&window, QStringLiteral("cmdEnd")), Qt::LeftButton);
        QCOMPARE(end.count(), 1);
        QCOMPARE(again.count(), 0);
    }
}

void TopTenWindowTest::closingByTheFrameEndsTheGameButEscapeDoesNot() {
    auto day = finishedDay();
    ui::TopTenWindow window(*day->game);
    QSignalSpy end(&window, &ui::TopTenWindow::endGame);
    window.show();
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(window.isVisible());
    QCOMPARE(end.count(), 0);
    window.close();
    QCOMPARE(end.count(), 1);
}

QTEST_MAIN(TopTenWindowTest)
#include "TopTenWindowTest.moc"
