#pragma once

#include <QFrame>

class QLabel;
class QListWidget;
class QPushButton;

namespace sw {
class Game;
}

namespace sw::ui {

// The ticket frame `frTickets`: the listed tickets with their paid marks and owners, the selected
// ticket's combinations, count and cost, the totals, and Delete and Pay; below them the Twin-Tri
// and Tri-Super credits held for the race, with Exchange to enter a credit's second half.
class TicketsWidget : public QFrame {
    Q_OBJECT

public:
    explicit TicketsWidget(Game& game, QWidget* parent = nullptr);

    // Shows the ticket list as the game holds it. While a race runs or its results show, the four
    // count and cost labels stay empty.
    void refresh();

    // The text a ticket's line shows: the ticket, its owner and, when it has one, what became of it.
    static QString lineText(const QString& ticket, const QString& owner, const QString& status);

signals:
    // A ticket was selected or deleted here; every area should be shown afresh.
    void changed();
    // "Pay For Ticket(s)" was pressed.
    void payRequested();

private:
    Game& m_game;
    bool m_refreshing = false;
    QListWidget* m_lstTicket = nullptr;
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
