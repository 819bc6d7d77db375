#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

namespace sw {
class Game;
}

namespace sw::ui {

// The top-ten list that closes a race day, "frmTop10": the best results of all days so far, and
// the choice between another day and the end of the game. Closing it by the window's frame ends
// the game, as "End Game" does; every file is already saved by then.
class TopTenWindow : public QDialog {
    Q_OBJECT

public:
    explicit TopTenWindow(Game& game, QWidget* parent = nullptr);

signals:
    void playAgain();
    void endGame();

public slots:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void choose(bool again);

    QListWidget* m_lstTop10 = nullptr;
    QPushButton* m_cmdPlay = nullptr;
    QPushButton* m_cmdEnd = nullptr;
    bool m_chosen = false;
};

} // namespace sw::ui
