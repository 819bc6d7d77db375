#include "ResultsShow.h"

namespace sw {

bool ResultsShow::start() {
    if (m_started)
        return false;
    m_started = true;
    return true;
}

ShowStep ResultsShow::next() {
    if (!m_started)
        return {};
    if (m_k < 4) {
        if (!m_pausedForK && photoBeforeReveal(m_day.result, m_k)) {
            m_pausedForK = true;
            return {ShowStep::Kind::PhotoPause, m_k, PhotoPauseMs};
        }
        const int k = m_k++;
        m_pausedForK = false;
        if (k == 0 && m_day.currentRace >= 0 && m_day.currentRace < RacesPerDay)
            m_day.raceWinner[static_cast<std::size_t>(m_day.currentRace)] = m_day.result.finishOrder[0];
        return {ShowStep::Kind::Reveal, k, RevealStepMs};
    }
    if (!m_applied) {
        m_applied = true;
        m_chart = applyRaceToDatabase(m_day);
        return {ShowStep::Kind::Chart, 0, 0};
    }
    if (m_payoffsShown < m_payoffRows) {
        const int row = m_payoffsShown++;
        return {ShowStep::Kind::Payoff, row, PayoffStepMs};
    }
    return {};
}

} // namespace sw
