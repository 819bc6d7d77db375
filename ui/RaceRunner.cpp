#include "RaceRunner.h"

#include "game/Game.h"
#include "ui/Sound.h"
#include "ui/track/TrackWidget.h"

namespace sw::ui {

RaceRunner::RaceRunner(Game& game, TrackWidget& track, QObject* parent)
    : QObject(parent), m_game(game), m_track(track), m_recorder(track.scene()) {
    m_timer.setObjectName(QStringLiteral("timerRace"));
    m_timer.setInterval(TickMs);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &RaceRunner::tick);
}

bool RaceRunner::start(Answer payUnpaid) {
    if (running() || !m_game.availability(Action::StartRace))
        return false;
    stopReplay();
    // The race runs on the design track; the widget scales whatever it shows to its own size.
    m_track.scene().beginRace(m_looks, DesignTrackWidth);
    m_call.begin(callFieldOf(m_game.day()), m_game.day().result);
    if (!m_game.beginRace(&m_watchers, payUnpaid)) {
        m_track.scene().raceEnded();
        m_track.sceneChanged();
        return false;
    }
    m_recordedRace = m_game.day().currentRace + 1;
    m_mode = Mode::Gate;
    m_pacer.reset();
    m_clock.start();
    m_soundClock.start();
    m_cues.begin(m_track.scene());
    sound();
    m_timer.start();
    m_track.sceneChanged();
    return true;
}

bool RaceRunner::runPasses(int passes) {
    RaceModel* race = m_game.race();
    if (!race)
        return false;
    for (int i = 0; i < passes; ++i) {
        const bool more = race->step();
        m_recorder.passEnded();
        if (!more)
            return false;
    }
    return !race->ended();
}

void RaceRunner::tick() {
    const int64_t elapsed = m_clock.elapsed();
    switch (m_mode) {
    case Mode::Gate:
        // The gate waits are pacing waits too: one horse shows every 81 of them.
        m_track.scene().advanceGate(m_pacer.due(elapsed));
        if (m_track.scene().gateDone()) {
            m_mode = Mode::Race;
            m_pacer.reset();
            m_clock.restart();
        }
        m_track.sceneChanged();
        sound();
        break;
    case Mode::Race: {
        const bool more = runPasses(m_pacer.due(elapsed));
        m_track.sceneChanged();
        emit stepped();
        sound();
        if (!more)
            endRace();
        break;
    }
    case Mode::Replay:
        if (!m_replay || !m_replay->play(elapsed)) {
            m_track.sceneChanged();
            stopReplay();
            return;
        }
        m_track.sceneChanged();
        emit stepped();
        sound();
        break;
    case Mode::Idle:
        m_timer.stop();
        break;
    }
}

void RaceRunner::fastForward() {
    if (!running())
        return;
    m_track.scene().advanceGate(TrackScene::gateLength());
    m_mode = Mode::Race;
    while (runPasses(1)) {
    }
    // What was skipped is not heard in one burst.
    m_cues.update(m_track.scene(), m_soundClock.elapsed());
    m_cues.take();
    m_track.sceneChanged();
    emit stepped();
    endRace();
}

void RaceRunner::endRace() {
    m_timer.stop();
    m_mode = Mode::Idle;
    emit raceEnded();
}

void RaceRunner::sound() {
    m_cues.update(m_track.scene(), m_soundClock.elapsed());
    for (const SoundCue& cue : m_cues.take())
        if (m_sound)
            m_sound->play(cue.sound);
}

bool RaceRunner::canReplay() const {
    const RaceRecording& recording = m_recorder.recording();
    // The recording outlives the day it was made on; a new day has nothing to show again yet.
    return !running() && m_game.lastRaceRun() == m_recordedRace && !recording.empty() &&
           recording.placedCount() > 0 && recording.hasStart();
}

bool RaceRunner::replay(bool slowFinish) {
    if (!canReplay() || replaying())
        return false;
    m_replay =
        std::make_unique<RaceReplay>(m_recorder.recording(), m_track.scene(),
                                     slowFinish ? RaceReplay::FinishSlowdown : 1, m_recordedRace, &m_call);
    m_mode = Mode::Replay;
    m_clock.start();
    m_soundClock.start();
    m_cues.begin(m_track.scene());
    m_timer.start();
    m_track.sceneChanged();
    return true;
}

void RaceRunner::stopReplay() {
    if (m_mode != Mode::Replay)
        return;
    m_timer.stop();
    m_mode = Mode::Idle;
    m_replay.reset();
    // Whatever was shown of the race leaves the track, as it does at a race's end.
    m_track.scene().raceEnded();
    m_track.sceneChanged();
    emit replayEnded();
}

} // namespace sw::ui
