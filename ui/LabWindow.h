#pragma once

#include "lab/Lab.h"

#include <QString>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace sw {
class Game;
}

namespace sw::ui {

class LabBankrollChart;
class LabHistogram;

// The strategy lab, "LabWindow": one strategy or two side by side, played over many days of the
// game in memory on a copy of the stable as it is at each Run. The days are played on a worker
// thread, so the window and the race day go on meanwhile; closing the window stops the run.
class LabWindow : public QWidget {
    Q_OBJECT

public:
    explicit LabWindow(const Game& game, QWidget* parent = nullptr);
    ~LabWindow() override;

    bool running() const { return m_work.joinable(); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // What one column of the results shows.
    struct Column {
        QComboBox* strategy = nullptr;
        QLineEdit* rule = nullptr;
        QLabel* ruleError = nullptr;
        QLabel* heading = nullptr;
        std::vector<QLabel*> figures;
    };
    // What a run played, handed from the worker once it is done.
    struct Outcome {
        std::vector<Strategy> strategies;
        std::vector<LabSummary> summaries;
        int days = 0;       // asked for
        Cents bankroll = 0; // each day starts with
        QString setting;    // the run's days, crowd, seed and stake in words
        bool cancelled = false;
        std::string error;
    };

    QWidget* buildControls();
    QWidget* buildResults();
    void addStrategyChoice(Column& column, bool optional);
    // The column's strategy, or nothing with the reason in *error; nothing and no error for "None".
    std::optional<Strategy> chosen(const Column& column, std::string* error) const;
    void refreshControls();
    void run();
    void cancel();
    void progressed(int done, int total);
    void runEnded();
    void showOutcome(const Outcome& outcome);

    const Game& m_game;
    std::array<Column, 2> m_columns;
    QSpinBox* m_spnDays = nullptr;
    QSpinBox* m_spnSeed = nullptr;
    QComboBox* m_cboCrowd = nullptr;
    QComboBox* m_cboStake = nullptr;
    QSpinBox* m_spnStake = nullptr;
    QPushButton* m_cmdRun = nullptr;
    QPushButton* m_cmdCancel = nullptr;
    QProgressBar* m_bar = nullptr;
    QLabel* m_lblStatus = nullptr;
    LabHistogram* m_histogram = nullptr;
    LabBankrollChart* m_bankroll = nullptr;

    // Fields of one stable share their chances from run to run.
    std::shared_ptr<LabChanceCache> m_chances = std::make_shared<LabChanceCache>();
    std::jthread m_work;
    Outcome m_outcome; // the worker's until it has said it is done
    bool m_closeWhenDone = false;
};

} // namespace sw::ui
