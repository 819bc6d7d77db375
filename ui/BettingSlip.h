#pragma once

#include <QFrame>
#include <QStringList>

#include <vector>

class QHBoxLayout;
class QLabel;
class QMenu;
class QPushButton;

namespace sw {
class Game;
}

namespace sw::ui {

class LinesLabel;

// The betting slip `frSlip` over the bet pages: the players as chips with their balances (a
// click, F2 to F5 or Ctrl+1 to Ctrl+4 makes one the bettor), the ticket as far as it is built
// with its bets and cost, and the credit an exchange is entered for. It keeps its size whatever
// it shows, so nothing beside it moves: the chips that do not fit the row are listed under a
// "+N" button at its end instead.
class BettingSlip : public QFrame {
    Q_OBJECT

public:
    explicit BettingSlip(Game& game, QWidget* parent = nullptr);

    // Shows the players, the bettor, the ticket being built and the exchange afresh.
    void refresh();

signals:
    // The bettor changed through a click or a key here; every area should be shown afresh.
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void choose(int index);
    // Shows the chips that fit the row whole, in order, and the rest under the "+N" button.
    void fitChips();
    void listHiddenPlayers();

    Game& m_game;
    QHBoxLayout* m_chipRow = nullptr;
    QPushButton* m_chipHeight = nullptr; // never shown: keeps the row's height with nobody listed
    std::vector<QPushButton*> m_chips;
    QPushButton* m_more = nullptr; // "+N": the players whose chips do not fit
    QMenu* m_moreMenu = nullptr;
    int m_shownChips = 0;
    QStringList m_names; // whose the chips are
    LinesLabel* m_lblSlip = nullptr;
    LinesLabel* m_lblExchange = nullptr;
};

} // namespace sw::ui
