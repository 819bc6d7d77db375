#pragma once

#include <QFrame>
#include <QStringList>

#include <vector>

class QHBoxLayout;
class QLabel;
class QPushButton;

namespace sw {
class Game;
}

namespace sw::ui {

class LinesLabel;

// The betting slip `frSlip` over the bet pages: the players as chips with their balances (a
// click, F2 to F5 or Ctrl+1 to Ctrl+4 makes one the bettor), the ticket as far as it is built
// with its bets and cost, and the credit an exchange is entered for. It keeps its size whatever
// it shows, so nothing beside it moves.
class BettingSlip : public QFrame {
    Q_OBJECT

public:
    explicit BettingSlip(Game& game, QWidget* parent = nullptr);

    // Shows the players, the bettor, the ticket being built and the exchange afresh.
    void refresh();

signals:
    // The bettor changed through a click or a key here; every area should be shown afresh.
    void changed();

private:
    void choose(int index);

    Game& m_game;
    QHBoxLayout* m_chipRow = nullptr;
    QPushButton* m_chipHeight = nullptr; // never shown: keeps the row's height with nobody listed
    std::vector<QPushButton*> m_chips;
    QStringList m_names; // whose the chips are
    LinesLabel* m_lblSlip = nullptr;
    LinesLabel* m_lblExchange = nullptr;
};

} // namespace sw::ui
