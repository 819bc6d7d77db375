#pragma once

#include "core/Constants.h"

#include <QTabWidget>

#include <array>

class QLabel;
class QSpinBox;

namespace sw {
class Game;
}

namespace sw::ui {

// The tote board `tabTote`: win, place and show money with the win odds of every post, and the
// quiniela and exacta odds against a chosen horse. It shows what the core's board says of the
// day's pools and keeps nothing of its own but the two "and" horses being looked at.
class ToteBoardWidget : public QTabWidget {
    Q_OBJECT

public:
    explicit ToteBoardWidget(Game& game, QWidget* parent = nullptr);

    // Re-reads the pools of the race about to be run: board, favourite and both grids.
    void refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildWinPage();
    QWidget* buildGridPage(bool quiniela);
    void refreshGrids();
    void tabChosen(int index);

    Game& m_game;
    std::array<QLabel*, FieldSize> m_totHorse{};
    std::array<QLabel*, FieldSize> m_odds{};
    std::array<QLabel*, FieldSize> m_winTot{};
    std::array<QLabel*, FieldSize> m_placeTot{};
    std::array<QLabel*, FieldSize> m_showTot{};
    QLabel* m_winPool = nullptr;
    QLabel* m_placePool = nullptr;
    QLabel* m_showPool = nullptr;

    QSpinBox* m_udQuinAnd = nullptr;
    QLabel* m_lblQuinAnd = nullptr;
    std::array<QLabel*, FieldSize> m_qOdds{};
    QLabel* m_quinielaPool = nullptr;
    QSpinBox* m_udExactaAnd = nullptr;
    QLabel* m_lblExactaAnd = nullptr;
    std::array<QLabel*, FieldSize> m_eOdds{};
    QLabel* m_exactPool = nullptr;
};

} // namespace sw::ui
