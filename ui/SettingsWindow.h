#pragma once

#include "players/SettingsDialog.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QSpinBox;

namespace sw {
class Game;
}

namespace sw::ui {

// "Settings", "frmSettings": the starting amount and the default amount per bet. Every spinner
// change applies to the day's settings at once; OK also writes settings.dat. Closing by the
// window's frame keeps the changes for the rest of the run without writing them.
class SettingsWindow : public QDialog {
    Q_OBJECT

public:
    explicit SettingsWindow(Game& game, QWidget* parent = nullptr);

private:
    void showValues();
    void ok();

    Game& m_game;
    SettingsDialog m_dialog;
    QLabel* m_lblStartAmount = nullptr;
    QLabel* m_lblDefaultAmount = nullptr;
    QSpinBox* m_udStartAmount = nullptr;
    QSpinBox* m_udDefaultAmount = nullptr;
    QPushButton* m_cmdOK = nullptr;
};

} // namespace sw::ui
