#pragma once

#include <QDialog>
#include <QHash>

#include <array>
#include <thread>
#include <vector>

class QKeyEvent;
class QLabel;
class QListWidget;
class QMouseEvent;
class QPushButton;
class QStandardItem;
class QStandardItemModel;
class QTableView;
class QTimer;

namespace sw {
class Game;
struct PhotoStill;
class PhotoStillWidget;
} // namespace sw

namespace sw::ui {

class BalanceChart;
class ColumnHeading;

// The results of the race just run, "frmResults". It leads with the pay-off moment: who collects
// what, in large type on a panel in the tote board's colours. Before that the official order is
// revealed place by place (with a pause under "PHOTO" before each close finish), then the time
// and the payoffs one bet after another; last come the race chart, the winners, the standings, the
// house's ledger and the balances. The show is the game's; this window only steps it with its
// timers. It starts when timerShow fires or "Show Results" is pressed, whichever comes first, and
// runs once; a key or a click shows the rest of it at once. OK is usable at the end and confirms
// the results.
class ResultsWindow : public QDialog {
    Q_OBJECT

public:
    explicit ResultsWindow(Game& game, QWidget* parent = nullptr);
    ~ResultsWindow() override;

    // The close-up of the line the track took of this race's finish, if it took one: shown under
    // "PHOTO" while the finish is studied, since the track lies behind this window.
    void setPhotoStill(const PhotoStill& still);

    // True once the show has been started, by the timer or the button.
    bool showStarted() const { return m_showStarted; }
    // True while the chart is worked out off the window's thread.
    bool chartPending() const { return m_chartWork.joinable(); }
    // True when the show has reached its end and OK is usable.
    bool showFinished() const { return m_showFinished; }

signals:
    // Emitted once, when game.confirmResults(), run off the window thread, is done; the window
    // closes right after.
    void confirmed();
    // Emitted once the tickets are settled: the balances behind the window have changed.
    void settled();

public slots:
    // Closing before the show is over is refused; afterwards it confirms like OK.
    void reject() override;
    // Shows what is left of the show at once, starting it if need be.
    void showAllAtOnce();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QWidget* buildCollects();
    QWidget* buildPayoffs();
    QWidget* buildChart();
    QWidget* buildWinners();
    QWidget* buildLedger();
    // The cell of a payoff table that shows the core's label `name`.
    QStandardItem* payoffCell(const QString& name, bool money);
    void startShow();
    void runShow();
    void prepareChart();
    void chartPrepared();
    void resultsConfirmed();
    void reveal(int place);
    void showOfficial();
    void revealPayoffs(int row);
    void showChart();
    void showSettlement();
    void showCollects();
    void confirm();
    void explainPayoff(const QStandardItem* cell);
    // The working of the credit on this line of the winners' list, if it carries one.
    void explainCredit(int row);

    Game& m_game;
    bool m_showStarted = false;
    bool m_showFinished = false;
    bool m_confirmed = false;
    bool m_resultsShown = false; // the payoffs are on the chart and can be explained
    bool m_allAtOnce = false;    // the player asked for the rest without pauses
    QTimer* m_timerShow = nullptr;
    QTimer* m_timerReveal = nullptr;
    QWidget* m_frCollects = nullptr;
    std::vector<QLabel*> m_lblCollects;
    QLabel* m_lblRaceNum = nullptr;
    QLabel* m_lblPhoto = nullptr;
    PhotoStillWidget* m_picPhotoStill = nullptr;
    QLabel* m_lblTimeOfRace = nullptr;
    QStandardItemModel* m_places = nullptr; // win, place and show beside the first four
    QStandardItemModel* m_bets = nullptr;   // the other bets' combinations and payoffs
    QStandardItemModel* m_chart = nullptr;
    QTableView* m_tblPlaces = nullptr;
    QTableView* m_tblBets = nullptr;
    QTableView* m_tblChart = nullptr;
    QHash<QString, QStandardItem*> m_payoffCells; // by the core's label name, arrays without index
    QListWidget* m_lstWinners = nullptr;
    QListWidget* m_lstStandings = nullptr;
    QListWidget* m_lstLedger = nullptr;
    BalanceChart* m_picBalances = nullptr;
    QLabel* m_lblSaveProblems = nullptr;
    QPushButton* m_cmdShow = nullptr;
    QPushButton* m_cmdOK = nullptr;
    std::thread m_chartWork;
    std::thread m_confirmWork; // the results recorded and the next race's program opened
};

} // namespace sw::ui
