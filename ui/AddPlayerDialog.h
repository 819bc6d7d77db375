#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace sw {
class Game;
}

namespace sw::ui {

// "Add Player", "frmAddPlayer": one name at a time, added by "Add" or Enter; the dialog stays
// open for more names until "Exit". The game refuses unusable names with its own message.
class AddPlayerDialog : public QDialog {
    Q_OBJECT

public:
    explicit AddPlayerDialog(Game& game, QWidget* parent = nullptr);

signals:
    // A player was added (and selected as the bettor).
    void playersChanged();

private:
    void addTyped();

    Game& m_game;
    QLineEdit* m_txtPlayer = nullptr;
    QPushButton* m_cmdAdd = nullptr;
    QPushButton* m_cmdExit = nullptr;
};

} // namespace sw::ui
