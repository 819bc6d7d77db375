#pragma once

#include "race/Chances.h"

#include <QFrame>

#include <memory>
#include <string>

class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

namespace sw {
class Game;
}

namespace sw::ui {

class TextTable;
class TextTableModel;

// The ticket frame `frTickets`: the listed tickets with their paid marks and owners, the selected
// ticket's combinations, count and cost (the tickets a table: paid, ticket, player), the totals, and Delete
// and Pay; below them the Twin-Tri and Tri-Super credits held for the race, with Exchange to enter a credit's
// second half. Activating a ticket explains its cost and tells its story over its race's simulated runs; runs
// not simulated yet are run off the window thread first and the story follows.
class TicketsWidget : public QFrame {
    Q_OBJECT

public:
    explicit TicketsWidget(Game& game, QWidget* parent = nullptr);

    // Shows the ticket list as the game holds it. While a race runs or its results show, the four
    // count and cost labels stay empty.
    void refresh();

signals:
    // A ticket was selected or deleted here; every area should be shown afresh.
    void changed();
    // "Pay For Ticket(s)" was pressed.
    void payRequested();

private:
    void explainTicketAt(int row);
    void pollStory();

    Game& m_game;
    std::unique_ptr<ChanceRunner> m_storyRuns;
    QTimer* m_storyTimer = nullptr;
    int m_storyRow = -1;
    std::string m_storyTicket; // the ticket whose story waits, so a changed list is not told it
    bool m_refreshing = false;
    TextTableModel* m_tickets = nullptr;
    TextTable* m_lstTicket = nullptr;
    QListWidget* m_lstCombos = nullptr;
    QLabel* m_lblTicketNumBets = nullptr;
    QLabel* m_lblTotTicketNum = nullptr;
    QLabel* m_lblNumOfBets = nullptr;
    QLabel* m_lblTotalNum = nullptr;
    QPushButton* m_cmdDelete = nullptr;
    QPushButton* m_cmdPrint = nullptr;
    QListWidget* m_lstCredits = nullptr;
    QPushButton* m_cmdExchange = nullptr;
};

} // namespace sw::ui
