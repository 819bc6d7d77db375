#pragma once

#include <QDialog>

#include "race/Chances.h"

#include <array>
#include <memory>
#include <optional>

class QLabel;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QTableWidget;
class QTimer;

namespace sw {
class Game;
} // namespace sw

namespace sw::ui {

class TextTable;
class TextTableModel;

// The racing program "frmPastPerf": for the race chosen with udRace the purse, distance and bets
// offered, the eight entries with jockey, record and past lines, the track record and the jockey
// standings. Choosing a race only asks the game to show it. "Tote Board", Escape and the window's
// close button all go back to the race about to be run through game.toteBoard(), so the day can
// never be left stranded in the program.
// Beside the entries, each entry's true chances for the race shown, simulated off the window
// thread (on a core fewer than the machine has, at low priority, once the window is painted) and
// filled in batch by batch; choosing another race starts them over, and a race already simulated
// shows its figures at once.
class PastPerfWindow : public QDialog {
    Q_OBJECT

public:
    explicit PastPerfWindow(Game& game, QWidget* parent = nullptr);
    ~PastPerfWindow() override;

    // Races the chances run to (fewer for a quick look); takes effect from the next race shown.
    void setChanceRaces(int races) { m_chanceRaces = races; }

    // Shows race 1..12 as the race selector does (the selector follows).
    void showRace(int race);

signals:
    // Emitted once, after game.toteBoard(); the window closes right after.
    void toteBoardChosen();
    // The chances of the race shown have reached their full count.
    void chancesDone();

public slots:
    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct EntryBlock {
        QLabel* post = nullptr;
        QLabel* horseName = nullptr;
        QLabel* jockey = nullptr;
        std::array<QLabel*, 5> counts{};
        QLabel* earnings = nullptr;
        TextTableModel* pastLines = nullptr;
        TextTable* past = nullptr;
    };

    QWidget* buildHeader();
    QWidget* buildEntries();
    QWidget* buildSidePanel();
    EntryBlock buildEntry(int entry, QWidget* parent, QWidget*& block);
    void raceChosen(int race);
    void refresh();
    void chooseToteBoard();
    void openPrintOptions();
    QWidget* buildChances(QWidget* parent);
    void startChances(int race);
    void runChances();
    void stopChances();
    void pollChances();

    Game& m_game;
    bool m_left = false;
    QSpinBox* m_udRace = nullptr;
    QLabel* m_lblRace = nullptr;
    QLabel* m_lblRaceGrade = nullptr;
    QLabel* m_lblDistance = nullptr;
    QLabel* m_lblBets = nullptr;
    QScrollArea* m_entriesPane = nullptr;
    std::array<EntryBlock, 8> m_entries{};
    QLabel* m_lblTrackRecord = nullptr;
    TextTableModel* m_trackRecord = nullptr;
    TextTable* m_lstTrackRecord = nullptr;
    TextTableModel* m_jockeys = nullptr;
    TextTable* m_lstJockeys = nullptr;
    QPushButton* m_cmdPrint = nullptr;
    QPushButton* m_cmdOK = nullptr;
    QTableWidget* m_tblChances = nullptr;
    QProgressBar* m_prgChances = nullptr;
    QLabel* m_lblChances = nullptr;
    QTimer* m_chanceTimer = nullptr;
    std::unique_ptr<ChanceRunner> m_chances;
    std::optional<ChanceField> m_pendingField; // the race shown, until the first paint lets it run
    bool m_painted = false;
    int m_chancesShown = 0;
    int m_chanceRaces;
};

} // namespace sw::ui
