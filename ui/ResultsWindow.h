#pragma once

#include <QDialog>
#include <QHash>

#include <array>
#include <thread>

class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

namespace sw {
class Game;
}

namespace sw::ui {

class BalanceChart;
class ColumnHeading;

// The results of the race just run, "frmResults": the official order revealed place by place
// (with a pause under "PHOTO" before each close finish), then the time, the payoffs, the race
// chart, the winners and the standings. The show is the game's; this window only steps it with
// its timers. It starts when timerShow fires or "Show Results" is pressed, whichever comes first,
// and runs once. OK is usable at the end and confirms the results.
class ResultsWindow : public QDialog {
    Q_OBJECT

public:
    explicit ResultsWindow(Game& game, QWidget* parent = nullptr);
    ~ResultsWindow() override;

    // True once the show has been started, by the timer or the button.
    bool showStarted() const { return m_showStarted; }
    // True while the chart is worked out off the window's thread.
    bool chartPending() const { return m_chartWork.joinable(); }
    // True when the show has reached its end and OK is usable.
    bool showFinished() const { return m_showFinished; }

signals:
    // Emitted once, after game.confirmResults(); the window closes right after.
    void confirmed();
    // Emitted once the tickets are settled: the balances behind the window have changed.
    void settled();

public slots:
    // Closing before the show is over is refused; afterwards it confirms like OK.
    void reject() override;

protected:
    // A payoff label opens its working when clicked or when Enter is pressed on it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct ChartRowLabels {
        std::array<QLabel*, 12> cells{};
    };

    QWidget* buildPayoffs();
    QWidget* buildChart();
    QWidget* buildWinners();
    QLabel* payoffLabel(const QString& name, QWidget* parent, bool money);
    void startShow();
    void runShow();
    void prepareChart();
    void chartPrepared();
    void reveal(int place);
    void showChart();
    void showSettlement();
    void confirm();
    void explainPayoff(const QString& label);
    // The working of the credit on this line of the winners' list, if it carries one.
    void explainCredit(int row);

    Game& m_game;
    bool m_showStarted = false;
    bool m_showFinished = false;
    bool m_confirmed = false;
    bool m_resultsShown = false; // the payoffs are on the chart and can be explained
    QTimer* m_timerShow = nullptr;
    QTimer* m_timerPhoto = nullptr;
    QLabel* m_lblRaceNum = nullptr;
    QLabel* m_lblPhoto = nullptr;
    QLabel* m_lblTimeOfRace = nullptr;
    std::array<QLabel*, 4> m_lblFinish{};
    QHash<QString, QLabel*> m_payoffLabels; // by name, arrays as name + index
    std::array<ChartRowLabels, 8> m_rows{};
    QListWidget* m_lstWinners = nullptr;
    QListWidget* m_lstStandings = nullptr;
    QListWidget* m_lstLedger = nullptr;
    BalanceChart* m_picBalances = nullptr;
    QLabel* m_lblSaveProblems = nullptr;
    QPushButton* m_cmdShow = nullptr;
    QPushButton* m_cmdOK = nullptr;
    std::thread m_chartWork;
};

} // namespace sw::ui
