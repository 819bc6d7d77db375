#pragma once

#include "core/Durations.h"
#include "core/RaceDay.h"
#include "core/Translate.h"
#include "race/ResultChart.h"

#include <string_view>

namespace sw {

// What the results say until the order is official (a photo shows "PHOTO" instead while it is studied).
inline constexpr std::string_view WaitingForOfficialText = N_("Waiting for the official result...");

// One step of the results show.
struct ShowStep {
    enum class Kind { PhotoPause, Reveal, Chart, Payoff, Done };
    Kind kind = Kind::Done;
    int k = 0;       // the place index 0..3 about to be or just revealed; for Payoff, the row revealed
    int pauseMs = 0; // wait this long before the next step (for PhotoPause with "PHOTO" showing)
};

// The results show of one race as a state machine the window's timer steps: a photo pause before
// each close place, the reveal of places 1..4 one after another, the chart with the database
// update, then the payoffs row by row. It runs once per race, however often the timer and the
// "Show Results" button try to start it. A front end that shows it all at once ignores the pauses.
class ResultsShow {
public:
    explicit ResultsShow(RaceDay& day) : m_day(day) {}

    // The show timer's first interval: longer when a photo is expected, to build suspense.
    int openingDelayMs() const { return photoExpected(m_day.result) ? PhotoShowDelayMs : ShowDelayMs; }
    // True the first time only; a show already started must not be started again.
    bool start();
    bool started() const { return m_started; }
    // The next step once started: PhotoPause/Reveal for k = 0..3 (Reveal 0 also records the race
    // winner), then Chart once (the race is written into the stable, see chart()), then Payoff for
    // each row of payoffs, then Done.
    ShowStep next();
    // How many rows of payoffs follow the chart; known once the payoffs are worked out.
    void setPayoffRows(int rows) { m_payoffRows = rows; }
    const RaceChart& chart() const { return m_chart; }
    // True when next() is about to return the chart: the places are all revealed.
    bool chartDue() const { return m_started && m_k >= 4 && !m_applied; }

private:
    RaceDay& m_day;
    bool m_started = false;
    int m_k = 0;
    bool m_pausedForK = false;
    bool m_applied = false;
    int m_payoffRows = 0;
    int m_payoffsShown = 0;
    RaceChart m_chart;
};

} // namespace sw
