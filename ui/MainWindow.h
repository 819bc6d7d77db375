#pragma once

#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <thread>

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;

namespace sw {
class Game;
class TrackWidget;
} // namespace sw

namespace sw::ui {

class BetEntryWidget;
class BettingSlip;
class RaceCallView;
class RaceRunner;
class SoundControl;
class SoundOutput;
class TicketsWidget;
class ToteBoardWidget;

// The race-and-betting window `frmHorses`: the race heading, the bet entry, the tickets, the tote
// board and the track, with the menus. It shows the game's state and forwards what the player
// does; after every action each area reads the state afresh. Messages and questions go through
// the game's prompter, so a test can build this window with scripted answers.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(Game& game, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Starts the race day and, in the next turn of the event loop, opens the racing program of
    // race 1; the window's first paint does this by itself. When the stable cannot fill the card
    // the window closes (the reason was already shown).
    void startDay();

    // Shows every area afresh from the game's state.
    void refresh();
    // Plays the race's sounds on `output` instead (a test's recorder).
    void setSoundOutput(std::unique_ptr<SoundOutput> output);

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // While a payment runs off the window thread the window paints but takes no input.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    QWidget* buildHeading();
    void refreshHeading();
    void refreshCommands();

    void startDayOnce();
    void openProgram();
    void openProgramSoon();
    void toteBoardChosen();
    void pastPerformances();
    void startParade();
    void stopParade();
    void startRace();
    void raceEnded();
    void openResults();
    void resultsConfirmed();
    void openTopTen();
    void playAgain();
    void newDay();
    void printProgram();
    void openLab();
    void endGame();
    void pay();
    void paymentDone();
    void dayStarted();
    // True while work runs off the window thread (a payment, the day's start): input waits.
    bool working() const { return m_payWork.joinable() || m_dayWork.joinable(); }
    void replay();
    void replayEnded();
    void addPlayer();
    void setDefaults();
    void resetDatabase();
    void about();
    void userGuide();
    void donate();
    // Opens one of the game's windows over this one without blocking: window-modal, deleted on close.
    void openModal(QWidget* window);

    Game& m_game;
    bool m_started = false;
    bool m_startScheduled = false;
    double m_fontScale = 1.0;

    QLabel* m_lblRaceNum = nullptr;
    QLabel* m_lblDistanceNum = nullptr;
    QLabel* m_lblGradeNum = nullptr;
    QPushButton* m_cmdPast = nullptr;
    QPushButton* m_cmdRun = nullptr;
    QPushButton* m_cmdFastForward = nullptr;
    QPushButton* m_cmdReplay = nullptr;
    QCheckBox* m_chkSlowFinish = nullptr;
    QPushButton* m_cmdDonate = nullptr;

    BetEntryWidget* m_betEntry = nullptr;
    BettingSlip* m_slip = nullptr;
    TicketsWidget* m_tickets = nullptr;
    ToteBoardWidget* m_tote = nullptr;
    TrackWidget* m_track = nullptr;
    RaceRunner* m_runner = nullptr;
    RaceCallView* m_raceCall = nullptr;
    SoundControl* m_sound = nullptr;
    QTimer* m_timerParade = nullptr;
    QPointer<QWidget> m_program;
    QPointer<QWidget> m_programComing; // built, to be shown in the next turn
    QPointer<QWidget> m_lab;
    std::thread m_payWork;
    std::thread m_dayWork;
    bool m_dayReady = false; // what the last start of a day came to, once m_dayWork is done

    QMenu* m_menuFile = nullptr;
    QMenu* m_menuSettings = nullptr;
    QMenu* m_menuHelp = nullptr;
    QAction* m_menuNewDay = nullptr;
    QAction* m_menuPrint = nullptr;
    QAction* m_menuPlayer = nullptr;
    QAction* m_menuDefaults = nullptr;
    QAction* m_menuReset = nullptr;
};

} // namespace sw::ui
