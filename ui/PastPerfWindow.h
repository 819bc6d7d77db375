#pragma once

#include <QDialog>

#include <array>

class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace sw {
class Game;
}

namespace sw::ui {

class ColumnHeading;

// The racing program "frmPastPerf": for the race chosen with udRace the purse, distance and bets
// offered, the eight entries with jockey, record and past lines, the track record and the jockey
// standings. Choosing a race only asks the game to show it. "Tote Board", Escape and the window's
// close button all go back to the race about to be run through game.toteBoard(), so the day can
// never be left stranded in the program.
class PastPerfWindow : public QDialog {
    Q_OBJECT

public:
    explicit PastPerfWindow(Game& game, QWidget* parent = nullptr);

    // Shows race 1..12 as the race selector does (the selector follows).
    void showRace(int race);

signals:
    // Emitted once, after game.toteBoard(); the window closes right after.
    void toteBoardChosen();

public slots:
    void reject() override;

private:
    struct EntryBlock {
        QLabel* post = nullptr;
        QLabel* horseName = nullptr;
        QLabel* jockey = nullptr;
        std::array<QLabel*, 5> counts{};
        QLabel* earnings = nullptr;
        QListWidget* past = nullptr;
    };

    QWidget* buildHeader();
    QWidget* buildEntries();
    QWidget* buildSidePanel();
    EntryBlock buildEntry(int entry, QWidget* parent, QWidget*& block);
    void raceChosen(int race);
    void refresh();
    void chooseToteBoard();
    void openPrintOptions();

    Game& m_game;
    bool m_left = false;
    QSpinBox* m_udRace = nullptr;
    QLabel* m_lblRace = nullptr;
    QLabel* m_lblRaceGrade = nullptr;
    QLabel* m_lblDistance = nullptr;
    QLabel* m_lblBets = nullptr;
    std::array<EntryBlock, 8> m_entries{};
    QLabel* m_lblTrackRecord = nullptr;
    QListWidget* m_lstTrackRecord = nullptr;
    QListWidget* m_lstJockeys = nullptr;
    QPushButton* m_cmdPrint = nullptr;
    QPushButton* m_cmdOK = nullptr;
};

} // namespace sw::ui
