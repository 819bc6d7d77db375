#pragma once

#include "core/Constants.h"
#include "wagering/BetType.h"

#include <QTabWidget>

#include <array>

class QComboBox;
class QKeyEvent;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace sw {
class Game;
}

namespace sw::ui {

// The bet entry `tabBets`: the player and the amount, the bet and its mode, the horses of each
// leg. Every click goes to the game's BetEntry or player list; what is shown and which buttons
// are usable is read back from them by refresh().
class BetEntryWidget : public QTabWidget {
    Q_OBJECT

public:
    explicit BetEntryWidget(Game& game, QWidget* parent = nullptr);

    // Shows the entry's page, labels and picks, the players and balance, and the usable buttons.
    void refresh();
    // Puts the keyboard on the page's next step (Next, Finish), so keys build a ticket at once.
    void takeFocus();
    // The three pages share the largest one's size whatever their texts, so nothing around the
    // panel moves when the page changes.
    bool hasHeightForWidth() const override { return false; }

signals:
    // The game's state changed through a click here; every area should be shown afresh.
    void changed();
    // "Add" was pressed: the window opens the Add Player dialog.
    void addPlayerRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The panel's keys: 1-8 the amounts or the horses, Enter the page's next step, Backspace Clr Pick, and a
    // button's underlined letter that button. Each key clicks its button, so it does what the
    // click does and nothing when the button is unusable.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* buildAmountPage();
    QWidget* buildBetPage();
    QWidget* buildHorsesPage();
    QPushButton* button(const QString& name, const QString& caption, const QString& tooltip, QWidget* parent);
    // Runs an action on the game, then tells the window to show the outcome.
    template <typename Step> void act(Step step);
    void pageChosen(int page);
    QPushButton* buttonForKey(const QKeyEvent& event) const;
    QWidget* forwardControl() const;
    // After a click the control that had the keyboard may be unusable or on a page no longer
    // shown; the keyboard then goes on to the next usable control of the page shown.
    void keepFocus(QWidget* previous, int pageBefore);

    Game& m_game;
    bool m_refreshing = false;

    std::array<QPushButton*, 8> m_cmdAmount{};
    QSpinBox* m_udAmount = nullptr;
    QLabel* m_lblBetAmount = nullptr;
    QComboBox* m_cmbBettor = nullptr;
    QLabel* m_lblBalance = nullptr;
    QLabel* m_lblFirstStep = nullptr;
    QPushButton* m_cmdAdd = nullptr;
    QPushButton* m_cmdDelPlayer = nullptr;
    QPushButton* m_cmdNext1 = nullptr;

    std::array<QPushButton*, BetTypeCount> m_betButtons{};
    std::array<QPushButton*, 3> m_modeButtons{};
    QPushButton* m_cmdCancelBet = nullptr;
    QPushButton* m_cmdNext2 = nullptr;
    QLabel* m_lblBetName = nullptr;
    QLabel* m_lblBetKind = nullptr;

    std::array<QPushButton*, FieldSize> m_cmdHorse{};
    std::array<QLabel*, FieldSize> m_lblMark{};
    QPushButton* m_cmdAll = nullptr;
    QPushButton* m_cmdWith = nullptr;
    QPushButton* m_cmdFinish = nullptr;
    QPushButton* m_cmdClear = nullptr;
    QPushButton* m_cmdBack = nullptr;
    QListWidget* m_lstLegs = nullptr;
    QLabel* m_lblInstruct = nullptr;
    QLabel* m_lblPicks = nullptr;
};

} // namespace sw::ui
