#pragma once

#include "core/Constants.h"

#include <QTabWidget>

class QLabel;
class QModelIndex;
class QSpinBox;

namespace sw {
class Game;
}

namespace sw::ui {

class TextTable;
class TextTableModel;

// The tote board `tabTote`: win, place and show money with the win odds of every post, and the
// quiniela and exacta odds against a chosen horse. It shows what the core's board says of the
// day's pools and keeps nothing of its own but the two "and" horses being looked at. Each page is a
// real table, so a screen reader says "Post 3, Odds 7/2, Win 2061"; its cells go by the names of
// the board's figures ("lblOdds2", "lblWinPool", "lblQOdds4").
class ToteBoardWidget : public QTabWidget {
    Q_OBJECT

public:
    explicit ToteBoardWidget(Game& game, QWidget* parent = nullptr);

    // Re-reads the pools of the race about to be run: board, favourite and both grids.
    void refresh();

private:
    QWidget* buildWinPage();
    QWidget* buildGridPage(bool quiniela);
    void refreshGrids();
    void tabChosen(int index);
    // A win odds or grid odds cell asks for its working.
    void explainCell(const QModelIndex& index);

    Game& m_game;
    TextTableModel* m_win = nullptr;
    TextTable* m_tblWin = nullptr;

    QSpinBox* m_udQuinAnd = nullptr;
    QLabel* m_lblQuinAnd = nullptr;
    TextTableModel* m_quiniela = nullptr;
    QLabel* m_quinielaPool = nullptr;
    QSpinBox* m_udExactaAnd = nullptr;
    QLabel* m_lblExactaAnd = nullptr;
    TextTableModel* m_exacta = nullptr;
    QLabel* m_exactPool = nullptr;
};

} // namespace sw::ui
