#pragma once

#include "ui/Speech.h"

#include <QWidget>

#include <string>
#include <vector>

class QAction;
class QLabel;

namespace sw {
class Game;
class TrackWidget;
} // namespace sw

namespace sw::ui {

class RaceRunner;
class RunningOrderStrip;

// The race as an event, beside the track: the running order as it runs and the caller's words, said
// aloud when the player wishes, and the track's description for a screen reader, updated at each
// call. One fixed height whatever it shows, so the track never moves.
class RaceCallView : public QWidget {
    Q_OBJECT

public:
    // The call's type beside the window's text of the same size.
    static constexpr double CallTypeScale = 1.25;

    RaceCallView(Game& game, RaceRunner& runner, TrackWidget& track, QWidget* parent = nullptr);

    // Speaks through `announcer` from now on (a test's stand-in); null goes back to the desktop's speech.
    void setAnnouncer(Announcer* announcer);
    // The checkable "Speak the Race Call", for the window's Settings menu.
    QAction* speakAction() const { return m_speak; }

    // Shows the race on the track, or between races the field by post and no call.
    void refresh();

protected:
    void changeEvent(QEvent* event) override;

private:
    // Whether a race (or its replay) is on the track or just over.
    bool raceShown() const;
    void said(const std::vector<std::string>& sentences);
    void followTrack();
    void showCall();
    void describeTrack(const QString& description);
    void fitHeight();

    Game& m_game;
    RaceRunner& m_runner;
    TrackWidget& m_track;
    RunningOrderStrip* m_strip = nullptr;
    QLabel* m_lblCall = nullptr;
    QAction* m_speak = nullptr;
    Speech m_speech;
    Announcer* m_announcer = &m_speech;
};

} // namespace sw::ui
