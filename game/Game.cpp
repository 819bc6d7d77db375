#include "Game.h"
#include "core/Translate.h"

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

const RaceChart& emptyChart() {
    static const RaceChart chart;
    return chart;
}

} // namespace

Game::Game(std::filesystem::path dataDir, Random& random, Prompter& prompter)
    : Game(DataFolder(std::move(dataDir)), random, prompter) {}

Game::Game(DataFolder folder, Random& random, Prompter& prompter)
    : m_day(std::make_unique<RaceDay>(std::move(folder), random, prompter)) {}

bool Game::allowed(Action action, int which) {
    m_refusal = whyNot(action, which);
    return m_refusal.empty();
}

bool Game::confirmed(Action action, Answer answer, int which) {
    const Availability now = availability(action, which);
    m_refusal = now.whyNot;
    if (!now)
        return false;
    if (now.question.empty() || answer == Answer::Yes)
        return true;
    return answer == Answer::Ask && m_day->prompter.ask(now.question, AppTitle);
}

bool Game::startDay(const LoadingProgress& progress) {
    if (!allowed(Action::NewDay))
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
    if (!m_day->folder.isInMemory() && ::access(m_day->folder.dir().c_str(), W_OK) != 0)
        m_day->prompter.message(
            fillIn(_("Cannot write in the data folder {0}: {1}. The game goes on, but results "
                     "may not be saved."),
                   m_day->folder.dir().string(), std::string_view(std::strerror(errno))),
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
    if (!allowed(Action::OpenProgram))
        return;
    m_program = showRaceAboutToBeRun(*m_day);
    m_programForNewRace = false;
    m_stage = Stage::Program;
}

void Game::browseProgram(int race) {
    if (!allowed(Action::BrowseProgram, race))
        return;
    // Back at the race about to be run, the day holds the tote as the board shows it, the players'
    // money included, as when the program was opened.
    m_program = race == m_day->currentRace + 1 ? showRaceAboutToBeRun(*m_day) : showRace(*m_day, race, false);
}

void Game::toteBoard() {
    if (!allowed(Action::ToteBoard))
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

bool Game::addPlayer(std::string_view name) {
    if (!allowed(Action::AddPlayer) || !sw::addPlayer(*m_day, name))
        return false;
    m_entry.followBettor(*m_day);
    return true;
}

bool Game::selectPlayer(int index) {
    if (!allowed(Action::SelectPlayer) || index < 0 ||
        index >= static_cast<int>(m_day->players.entries.size()))
        return false;
    return m_entry.selectBettor(*m_day, index);
}

bool Game::deletePlayer(Answer answer) {
    if (!confirmed(Action::DeletePlayer, answer))
        return false;
    const std::size_t listed = m_day->tickets.size();
    if (!sw::deletePlayer(*m_day))
        return false;
    if (m_day->tickets.size() != listed)
        m_tickets.ticketsRemoved(*m_day);
    m_entry.followBettor(*m_day);
    return true;
}

bool Game::press(Action action, int which) {
    if (action < Action::AmountPreset || action > Action::ChangePage || !allowed(action, which))
        return false;
    RaceDay& day = *m_day;
    switch (action) {
    case Action::AmountPreset:
        return m_entry.selectAmountPreset(day, which);
    case Action::AmountSpin:
        m_entry.amountSpinChanged(which);
        return true;
    case Action::NextToBet:
        return m_entry.nextToBet(day);
    case Action::ChooseBet:
        return m_entry.chooseBetType(day, static_cast<BetType>(which));
    case Action::ChooseMode:
        return m_entry.chooseBetKind(static_cast<BetMode>(which));
    case Action::NextToHorses:
        return m_entry.nextToHorses(day);
    case Action::PickHorse:
        return m_entry.pickHorse(which);
    case Action::PickAll:
        return m_entry.pickAll();
    case Action::With:
        return m_entry.with(day);
    case Action::ClearPick:
        return m_entry.clearPick();
    case Action::Finish:
        return m_entry.finish(day, m_tickets);
    case Action::ClearBet:
        m_entry.clearBet(day);
        return true;
    case Action::CancelBet:
        m_entry.cancelBet();
        return true;
    case Action::ChangePage:
        m_entry.stageChanged(day, which);
        return true;
    default:
        return false;
    }
}

bool Game::listTicket(const std::string& text, std::string* error) {
    if (!allowed(Action::ListTicket)) {
        if (error)
            *error = m_refusal;
        return false;
    }
    return m_tickets.listTicket(*m_day, text, error);
}

bool Game::selectTicket(int index) {
    if (!allowed(Action::SelectTicket, index))
        return false;
    m_tickets.selectTicket(*m_day, index);
    return true;
}

bool Game::deleteTicket(Answer answer) {
    return confirmed(Action::DeleteTicket, answer) && m_tickets.deleteTicket(*m_day);
}

bool Game::exchange(int32_t number) {
    return allowed(Action::Exchange, number) && m_entry.startExchange(*m_day, number);
}

PaymentReport Game::pay() {
    payQuietly();
    return sayPayment();
}

void Game::payQuietly() {
    const bool startSaved = saveStart();
    if (!allowed(Action::Pay)) {
        m_payment = PaymentReport{};
        m_payment.error = m_refusal;
        // The front ends offer the payment while the start is unsaved: the player is told why
        // nothing was paid, as for a payment the disk refused.
        if (!startSaved)
            m_payment.messages.push_back(m_refusal);
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

bool Game::saveStart() {
    if (m_day->startUnsaved.empty())
        return true;
    // Any step that committed since has written the fresh files with its own.
    if (!m_day->folder.unsaved() || !m_day->folder.saveUnsaved())
        m_day->startUnsaved.clear();
    return m_day->startUnsaved.empty();
}

PaymentReport Game::payAndRecord() {
    // Yesterday's tickets.dat and multi-race lines must be gone before a ticket of today is
    // numbered: the numbers start again each day.
    if (!saveStart()) {
        PaymentReport refused;
        refused.error = whyNot(Action::Pay);
        refused.messages.push_back(refused.error);
        return refused;
    }
    std::vector<bool> paidBefore;
    for (const ListedTicket& ticket : m_day->tickets)
        paidBefore.push_back(ticket.paid);
    m_ledger.enrol(m_day->players);
    PaymentReport report = m_tickets.payTickets(*m_day);
    m_entry.followBettor(*m_day);
    // Payment marks tickets paid in place, so the list lines up with the snapshot.
    for (std::size_t i = 0; i < m_day->tickets.size() && i < paidBefore.size(); ++i) {
        const ListedTicket& ticket = m_day->tickets[i];
        if (!paidBefore[i] && ticket.paid)
            m_ledger.charge(ticket.playerId, m_day->currentRace,
                            priceTicket(ticket.text).cost * CentsPerDollar);
    }
    return report;
}

bool Game::beginRace(RaceObserver* observer, Answer payUnpaid) {
    if (!allowed(Action::StartRace))
        return false;
    // No is an answer too: the race then starts without the unpaid tickets.
    if (confirmed(Action::StartRace, payUnpaid) && hasUnpaidTickets(*m_day))
        say(payAndRecord());
    m_refusal.clear();
    m_race = std::make_unique<RaceModel>(*m_day, observer);
    m_race->start();
    m_stage = Stage::Racing;
    return true;
}

void Game::finishRace() {
    if (!allowed(Action::FastForward))
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
    m_show->setPayoffRows(static_cast<int>(payoffRows(m_payoffs).size()));
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
    if (!allowed(Action::ConfirmResults))
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

bool Game::resetDatabase(Answer answer) {
    if (!confirmed(Action::ResetStable, answer))
        return false;
    if (!sw::resetDatabase(*m_day))
        return false;
    beginDay({});
    return true;
}

std::optional<TicketStory> Game::ticketStory(std::size_t index, int races) {
    m_refusal.clear();
    const int which = index < m_day->tickets.size() ? static_cast<int>(index) : -1;
    if (!allowed(Action::TicketStory, which))
        return std::nullopt;
    std::optional<TicketStory> story =
        sw::ticketStory(*m_day, m_day->tickets[index], *m_chanceCache, races, &m_refusal);
    return story;
}

} // namespace sw
