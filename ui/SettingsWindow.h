#pragma once

#include "players/SettingsDialog.h"

#include <QDialog>

class QPushButton;
class QSpinBox;

namespace sw {
class Game;
}

namespace sw::ui {

// "Settings", "frmSettings": the starting amount and the default amount per bet, each shown once,
// in its spinner. Every spinner change applies to the day's settings at once; OK also writes
// settings.dat. Cancel, Escape and the window's frame put the amounts back as they were.
class SettingsWindow : public QDialog {
    Q_OBJECT

public:
    explicit SettingsWindow(Game& game, QWidget* parent = nullptr);

private:
    void showValues();
    void ok();
    void reject() override;

    Game& m_game;
    SettingsDialog m_dialog;
    QSpinBox* m_udStartAmount = nullptr;
    QSpinBox* m_udDefaultAmount = nullptr;
    QPushButton* m_cmdOK = nullptr;
    QPushButton* m_cmdCancel = nullptr;
};

} // namespace sw::ui
