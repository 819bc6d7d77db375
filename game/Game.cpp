#include "Game.h"

#include "core/Constants.h"
#include "database/ResetDatabase.h"
#include "players/Players.h"
#include "players/TopTen.h"
#include "program/RacingProgram.h"
#include "tote/PoolFiles.h"
#include "wagering/TicketList.h"
#include "wagering/TicketPricing.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <utility>

namespace sw {

namespace {

constexpr std::string_view UnpaidQuestion =
    "There are tickets that have not been paid for.  Do you want to pay for the tickets?";

const RaceChart& emptyChart() {
    static const RaceChart chart;
    return chart;
}

} // namespace

Game::Game(std::filesystem::path dataDir, Random& random, Prompter& prompter)
    : Game(DataFolder(std::move(dataDir)), random, prompter) {}

Game::Game(DataFolder folder, Random& random, Prompter& prompter)
    : m_day(std::make_unique<RaceDay>(std::move(folder), random, prompter)) {}

std::string Game::whyNot(GameStep step) const {
    const bool started = m_stage != Stage::NotStarted && m_stage != Stage::Failed;
    if (step == GameStep::NewDay) {
        if (!started || m_stage == Stage::TopTen)
            return {};
        if (m_stage == Stage::Racing || m_stage == Stage::Results || m_day->currentRace != 0)
            return "A new day cannot start in the middle of a day: play on to the last race.";
        if (std::any_of(m_day->tickets.begin(), m_day->tickets.end(),
                        [](const ListedTicket& ticket) { return ticket.paid; }))
            return "A new day cannot start once tickets are paid for: their money is in the race's pools.";
        return {};
    }
    if (!started)
        return "No race day is running.";
    if (m_stage == Stage::TopTen)
        return "The day is over: start a new day to play again.";
    switch (step) {
    case GameStep::OpenProgram:
        return m_stage == Stage::Betting
                   ? ""
                   : "The racing program opens from the tote board while a race is bet on.";
    case GameStep::BrowseProgram:
        return m_stage == Stage::Program ? ""
                                         : "Other races can be looked at while the racing program is open.";
    case GameStep::ToteBoard:
        if (m_stage == Stage::Betting)
            return "The tote board is already showing.";
        return m_stage == Stage::Program ? "" : "The tote board opens from the racing program.";
    case GameStep::DeletePlayer:
        return m_stage == Stage::Program || m_stage == Stage::Betting
                   ? ""
                   : "A player can be deleted only between races, not while a race is run or its results "
                     "show.";
    case GameStep::Pay:
        if (m_stage == Stage::Program)
            return "Tickets are paid for at the tote board: leave the racing program first.";
        return m_stage == Stage::Betting
                   ? ""
                   : "The betting on this race is closed: its tickets can no longer be paid.";
    case GameStep::BeginRace:
        if (m_stage == Stage::Program)
            return "A race starts from the tote board: leave the racing program first.";
        if (m_stage == Stage::Racing)
            return "The race is already being run.";
        return m_stage == Stage::Betting ? "" : "The next race starts once these results are confirmed.";
    case GameStep::FinishRace:
        return m_stage == Stage::Racing && m_race ? "" : "No race is being run.";
    case GameStep::ConfirmResults:
        if (m_stage != Stage::Results)
            return "There are no results to confirm.";
        return m_resultsDone ? "" : "The results can be confirmed once the chart is shown.";
    case GameStep::NewDay:
        break;
    }
    return {};
}

bool Game::allowed(GameStep step) {
    m_refusal = whyNot(step);
    return m_refusal.empty();
}

bool Game::startDay(const LoadingProgress& progress) {
    if (!allowed(GameStep::NewDay))
        return false;
    return beginDay(progress);
}

bool Game::beginDay(const LoadingProgress& progress) {
    // A new day keeps the stable's folder and services but nothing of the old day's state.
    m_day = std::make_unique<RaceDay>(m_day->folder, m_day->random, m_day->prompter);
    m_day->date = m_dayDate;
    m_race.reset();
    m_lastRaceRun = 0;
    m_show.reset();
    m_resultsDone = false;
    m_chartReady = false;
    m_payoffs = Payoffs{};
    m_settlement = SettlementReport{};
    m_ledger = HouseLedger{};
    m_topTen.clear();
    m_tickets = TicketList{};

    // Said once, up front: otherwise each file that cannot be saved would be its own surprise.
    if (::access(m_day->folder.dir().c_str(), W_OK) != 0)
        m_day->prompter.message("Cannot write in the data folder " + m_day->folder.dir().string() + ": " +
                                    std::strerror(errno) +
                                    ". The game goes on, but results may not be saved.",
                                AppTitle);
    // A step that a kill cut short is finished, or dropped, before any file is read.
    // A journal that does not match its files stops the day: every save would be refused, and
    // the files are left for the player to put right.
    const StepOutcome recovered = m_day->folder.recover();
    if (recovered || !recovered.notice.empty())
        m_day->prompter.message(recovered ? recovered.refused.message : recovered.notice, AppTitle);
    if (recovered) {
        m_stage = Stage::Failed;
        return false;
    }
    m_start = startRaceDay(*m_day);
    if (!m_start.ready) {
        m_stage = Stage::Failed;
        return false;
    }
    m_ledger.start(m_day->players, RacesPerDay);
    m_entry = BetEntry{};
    m_entry.start(*m_day);
    m_program = openRacingProgram(*m_day, progress);
    m_programForNewRace = true;
    m_stage = Stage::Program;
    return true;
}

void Game::openProgram() {
    if (!allowed(GameStep::OpenProgram))
        return;
    m_program = showRaceAboutToBeRun(*m_day);
    m_programForNewRace = false;
    m_stage = Stage::Program;
}

void Game::browseProgram(int race) {
    if (!allowed(GameStep::BrowseProgram) || race < 1 || race > RacesPerDay)
        return;
    // Back at the race about to be run, the day holds the tote as the board shows it, the players'
    // money included, as when the program was opened.
    m_program = race == m_day->currentRace + 1 ? showRaceAboutToBeRun(*m_day) : showRace(*m_day, race, false);
}

void Game::toteBoard() {
    if (!allowed(GameStep::ToteBoard))
        return;
    leaveRacingProgram(*m_day);
    if (m_programForNewRace) {
        clearTicketList(*m_day);
        m_tickets.refresh(*m_day);
        m_entry.stageChanged(*m_day, AmountPage);
    }
    m_programForNewRace = false;
    m_stage = Stage::Betting;
}

bool Game::deletePlayer() {
    if (!allowed(GameStep::DeletePlayer))
        return false;
    const std::size_t listed = m_day->tickets.size();
    if (!sw::deletePlayer(*m_day))
        return false;
    if (m_day->tickets.size() != listed)
        m_tickets.ticketsRemoved(*m_day);
    return true;
}

namespace {

int32_t selectedId(const PlayerList& players) {
    return players.selected >= 0 && players.selected < static_cast<int>(players.entries.size())
               ? players.entries[static_cast<std::size_t>(players.selected)].playerId
               : 0;
}

} // namespace

void Game::selectBettor(int index) {
    sw::selectBettor(*m_day, index);
    if (m_day->players.selected != index)
        m_entry.bettorMovedOn(*m_day);
}

PaymentReport Game::pay() {
    payQuietly();
    return sayPayment();
}

void Game::payQuietly() {
    if (!allowed(GameStep::Pay)) {
        m_payment = PaymentReport{};
        m_payment.error = m_refusal;
        return;
    }
    m_payment = payAndRecord();
}

PaymentReport Game::sayPayment() {
    PaymentReport report = std::exchange(m_payment, PaymentReport{});
    say(report);
    return report;
}

void Game::say(const PaymentReport& report) {
    for (const std::string& text : report.messages)
        m_day->prompter.message(text, AppTitle);
}

PaymentReport Game::payAndRecord() {
    std::vector<bool> paidBefore;
    for (const ListedTicket& ticket : m_day->tickets)
        paidBefore.push_back(ticket.paid);
    m_ledger.enrol(m_day->players);
    const int32_t bettor = selectedId(m_day->players);
    PaymentReport report = m_tickets.payTickets(*m_day);
    if (selectedId(m_day->players) != bettor)
        m_entry.bettorMovedOn(*m_day);
    // Payment marks tickets paid in place, so the list lines up with the snapshot.
    for (std::size_t i = 0; i < m_day->tickets.size() && i < paidBefore.size(); ++i) {
        const ListedTicket& ticket = m_day->tickets[i];
        if (!paidBefore[i] && ticket.paid)
            m_ledger.charge(ticket.playerId, m_day->currentRace,
                            priceTicket(ticket.text).cost * CentsPerDollar);
    }
    return report;
}

bool Game::beginRace(RaceObserver* observer) {
    if (!allowed(GameStep::BeginRace))
        return false;
    if (hasUnpaidTickets(*m_day) && m_day->prompter.ask(UnpaidQuestion, AppTitle))
        say(payAndRecord());
    m_race = std::make_unique<RaceModel>(*m_day, observer);
    m_race->start();
    m_stage = Stage::Racing;
    return true;
}

void Game::finishRace() {
    if (!allowed(GameStep::FinishRace))
        return;
    m_race->runToEnd();
    m_lastRaceRun = m_day->currentRace + 1;
    m_show = std::make_unique<ResultsShow>(*m_day);
    m_resultsDone = false;
    m_chartReady = false;
    m_stage = Stage::Results;
}

ShowStep Game::showStep() {
    if (m_stage != Stage::Results || !m_show)
        return {};
    if (!m_show->started())
        m_show->start();
    prepareChart();
    if (m_chartReady) {
        m_chartReady = false;
        return {ShowStep::Kind::Chart, 0, 0};
    }
    return m_show->next();
}

bool Game::chartDue() const {
    return m_stage == Stage::Results && m_show && m_show->chartDue();
}

void Game::prepareChart() {
    if (!chartDue())
        return;
    m_show->next();
    // The payoffs are those of the pools the players bought into, whatever the program showed.
    // The board and the settlement read the same pool files: once is enough.
    {
        HeldReads once(m_day->folder);
        m_payoffs = preparePayoffs(*m_day);
        m_ledger.recordPools(m_day->currentRace, poolsKept(m_day->pools, m_payoffs));
        m_settlement = settleRace(*m_day, m_payoffs);
    }
    m_ledger.settle(m_day->currentRace, m_settlement, m_day->players);
    m_resultsDone = true;
    m_chartReady = true;
}

void Game::runResultsToEnd() {
    while (m_stage == Stage::Results && showStep().kind != ShowStep::Kind::Done) {
    }
}

const RaceChart& Game::chart() const {
    return m_show ? m_show->chart() : emptyChart();
}

void Game::confirmResults() {
    if (!allowed(GameStep::ConfirmResults))
        return;
    m_show.reset();
    m_race.reset();
    if (m_day->currentRace < RacesPerDay - 1) {
        openNextRaceProgram({});
        return;
    }
    const StepOutcome recorded = recordDayResults(*m_day);
    if (recorded || !recorded.notice.empty())
        m_day->prompter.message(recorded ? recorded.refused.message : recorded.notice, AppTitle);
    m_topTen = showTopTen(*m_day);
    m_stage = Stage::TopTen;
}

void Game::openNextRaceProgram(const LoadingProgress& progress) {
    ++m_day->currentRace;
    m_program = openRacingProgram(*m_day, progress);
    m_programForNewRace = true;
    m_stage = Stage::Program;
}

bool Game::resetDatabase() {
    if (m_stage == Stage::Racing || m_stage == Stage::Results)
        return false;
    if (!sw::resetDatabase(*m_day))
        return false;
    beginDay({});
    return true;
}

} // namespace sw
