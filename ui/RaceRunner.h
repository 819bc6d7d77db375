#pragma once

#include "core/Durations.h"
#include "core/Random.h"
#include "game/Availability.h"

#include "race/presentation/RaceCall.h"
#include "race/presentation/RacePacer.h"
#include "race/presentation/RaceRecorder.h"
#include "race/presentation/RaceReplay.h"
#include "race/presentation/RaceWatchers.h"
#include "race/presentation/SoundCues.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <memory>

namespace sw {
class Game;
class TrackWidget;
} // namespace sw

namespace sw::ui {

class SoundOutput;

// Runs the race on the track at the pace it was always run: one timer steps the gate sequence
// and then the race as many 5 ms passes as the wall clock calls for, and repaints once a tick.
// Every pass is recorded, so the race can be shown again, its finish slowed down if wished.
class RaceRunner : public QObject {
    Q_OBJECT

public:
    // How often the track is stepped and repainted.
    static constexpr int TickMs = FrameMs;

    RaceRunner(Game& game, TrackWidget& track, QObject* parent = nullptr);

    // "Start Race": the field to the gate (strides drawn from the day's generator), then the
    // game's race start, with the answer to paying the unpaid tickets. False when no race can
    // start now.
    bool start(Answer payUnpaid = Answer::Ask);
    // Runs what is left of the gate and the race at once; the result is the one the race would
    // have reached at its own pace.
    void fastForward();
    bool running() const { return m_mode == Mode::Gate || m_mode == Mode::Race; }

    // Shows the last race again from its recording; with slowFinish the finish runs slower.
    bool replay(bool slowFinish);
    void stopReplay();
    bool replaying() const { return m_mode == Mode::Replay; }
    bool canReplay() const;
    // Where the race's sounds are played; none, silence.
    void setSound(SoundOutput* sound) { m_sound = sound; }

    // The caller of the race being run or shown again.
    RaceCall& call() { return m_call; }
    const RaceCall& call() const { return m_call; }

signals:
    // The track moved on: a tick of the race or of a replay.
    void stepped();
    // The last horse is placed; the game's race is over but its results not yet opened.
    void raceEnded();
    // A replay showed the whole race, or was stopped.
    void replayEnded();

private:
    enum class Mode { Idle, Gate, Race, Replay };

    void tick();
    // Runs `passes` passes of the race; false once the race is over.
    bool runPasses(int passes);
    void endRace();
    // Tells the sound cues the track as it stands and plays what they call for.
    void sound();

    Game& m_game;
    TrackWidget& m_track;
    RaceRecorder m_recorder;
    RaceCall m_call;
    // The race tells the track (through its recording) and its caller.
    RaceWatchers m_watchers{&m_recorder, &m_call};
    // The race the recording holds, as numbered on the card.
    int m_recordedRace = 0;
    // The horses' first strides are looks only: drawn apart from the day's generator, so a seed
    // replays the same race in the window as in the text front end.
    SeededRandom m_looks{clockSeed()};
    RacePacer m_pacer;
    std::unique_ptr<RaceReplay> m_replay;
    QTimer m_timer;
    QElapsedTimer m_clock;
    SoundCues m_cues;
    SoundOutput* m_sound = nullptr;
    // Since the field went to the gate or the replay began.
    QElapsedTimer m_soundClock;
    Mode m_mode = Mode::Idle;
};

} // namespace sw::ui
