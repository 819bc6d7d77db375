#pragma once

#include "Availability.h"
#include "core/RaceDay.h"
#include "database/StartRaceDay.h"
#include "game/TicketStory.h"
#include "program/ProgramView.h"
#include "race/Chances.h"
#include "race/RaceModel.h"
#include "race/ResultChart.h"
#include "race/ResultsShow.h"
#include "settlement/HouseLedger.h"
#include "settlement/Payoffs.h"
#include "settlement/Settlement.h"
#include "tote/PublicPoolGeneration.h"
#include "wagering/BetEntry.h"
#include "wagering/Payment.h"
#include "wagering/TicketList.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sw {

// Where the day stands; the windows and the text front end show what belongs to it.
enum class Stage {
    NotStarted,
    Failed,  // the stable could not fill the card: nothing can be played
    Program, // the racing program is open (after the start of the day or a race's results)
    Betting, // the tote board and the bet entry of the race about to be run
    Racing,  // the race is being run
    Results, // the results of the race just run
    TopTen,  // the day is over: the top-ten list
};

// One race day from its start to the top-ten list: the steps the players take, in the order the
// day allows them, over the state of the day. Both front ends drive it; each step's rules live in
// the subsystem it calls.
class Game {
public:
    Game(std::filesystem::path dataDir, Random& random, Prompter& prompter);
    Game(DataFolder folder, Random& random, Prompter& prompter);

    RaceDay& day() { return *m_day; }
    const RaceDay& day() const { return *m_day; }
    Stage stage() const { return m_stage; }

    // Every step below refuses what the day does not allow now, whichever front end asks: it then
    // does nothing and refusal() says why. A step with a question asks it unless given the answer.
    // Whether the day allows the action now (`which` names the button, ticket, credit or race
    // where the action has several), why not, and what to ask first. The whole table is in
    // Availability.cpp.
    Availability availability(Action action, int which = 0) const;
    std::string whyNot(Action action, int which = 0) const { return availability(action, which).whyNot; }
    // The part of the table that depends only on where the day stands, not on what is chosen or
    // listed: a front end checks it before it reads the action's arguments.
    std::string stageRefusal(Action action) const;
    // The sentence of the last step refused; empty once a step runs.
    const std::string& refusal() const { return m_refusal; }

    // Starts a day: a stable save a crash interrupted is finished, then the stable, the card, the
    // players at the starting amount, no tickets (nor the multi-race pool lines of an earlier day),
    // then the racing program's loading pass and race 1 in full (its pool files written). False
    // when the stable cannot fill the card (the reason was shown and is in startResult()), or when
    // a new day may not start now.
    bool startDay(const LoadingProgress& progress = {});
    const StartResult& startResult() const { return m_start; }

    // The racing program as last shown.
    const ProgramView& program() const { return m_program; }
    // "Past Performances" during betting: the program opens on the race about to be run.
    void openProgram();
    // The program's race selector: shows another race without touching its pool files.
    void browseProgram(int race);
    // "Tote Board": back to the race about to be run with its pools from the pool files. When the
    // program was opened for a new race, the ticket list is emptied and the bet entry starts over.
    void toteBoard();
    // True when the program was opened for a race not yet bet on (start of day, after results).
    bool programOpensNewRace() const { return m_programForNewRace; }
    // The chances simulated so far, by field, whichever front end or race asked: a field's races
    // are run once for the whole session.
    ChanceCache& chanceCache() { return *m_chanceCache; }
    // The story of listed ticket `index` (from 0) over `races` simulated runs of its race: only
    // while the race is bet, when the pools are that race's. None, with the refusal, otherwise.
    std::optional<TicketStory> ticketStory(std::size_t index, int races = ChanceRaces);

    // "Add": a player with the starting amount, saved in players.dat.
    bool addPlayer(std::string_view name);
    // The bettor list's choice; one out of cash is passed over (saying so) for the first who can
    // bet. A new bettor starts a fresh ticket at the default amount.
    bool selectPlayer(int index);
    // "Delete" beside the bettor: asks, then removes the selected player and their unpaid tickets.
    bool deletePlayer(Answer answer = Answer::Ask);

    BetEntry& betEntry() { return m_entry; }
    const BetEntry& betEntry() const { return m_entry; }
    TicketList& ticketList() { return m_tickets; }
    const TicketList& ticketList() const { return m_tickets; }
    // One press of the bet entry (an Action from AmountPreset to ChangePage; `which` is the
    // preset, the spinner's value, the bet type, the mode, the post index or the page).
    bool press(Action action, int which = 0);
    // Lists a ticket typed whole for the bettor, as Finish would; the error says what is wrong with it.
    bool listTicket(const std::string& text, std::string* error = nullptr);
    bool selectTicket(int index);
    // "Delete" under the tickets: asks, then removes the selected ticket.
    bool deleteTicket(Answer answer = Answer::Ask);
    // "Exchange": the second half of credit `number` into the bet entry.
    bool exchange(int32_t number);
    // "Pay For Ticket(s)". A day whose fresh files could not be written at its start takes no bets
    // until they are: each payment tries to write them first.
    PaymentReport pay();
    // The same in two steps, for a window that pays off its thread (a big Pick 6 is many
    // megabytes of pool lines): payQuietly() does the whole payment but says nothing, and nothing
    // else may touch the game until it returns; sayPayment() then tells the players what came of
    // it, over a screen that shows it, and returns the report.
    void payQuietly();
    PaymentReport sayPayment();

    // "Start Race": offers to pay unpaid tickets (at most once), then puts the field at the gate.
    // The observer (may be null) is told every move. False when no race can start now.
    bool beginRace(RaceObserver* observer = nullptr, Answer payUnpaid = Answer::Ask);
    RaceModel* race() { return m_race.get(); }
    // Runs what is left of the race at once (the text front end, fast-forward) and opens the results.
    void finishRace();
    // The number (1..12) of this day's race last run, the one the track may show again; 0 before
    // the day's first race, whatever an earlier day ran.
    int lastRaceRun() const { return m_lastRaceRun; }

    // The results show of the race just run; the window steps it with its timers.
    ResultsShow* resultsShow() { return m_show.get(); }
    // One step of the show. At the chart step the race is written into the stable, the payoffs
    // computed from the race's pool files and the tickets settled, unless prepareChart() did it.
    ShowStep showStep();
    // True when the show's next step is the chart. That step reads every pool of the race whole
    // (a big Pick 6 pool is megabytes), so a window may run prepareChart() off its thread first,
    // touching nothing of the game until it returns; showStep() then hands out the chart at once.
    bool chartDue() const;
    void prepareChart();
    // The whole show at once, without pauses.
    void runResultsToEnd();
    bool resultsDone() const { return m_resultsDone; }
    const RaceChart& chart() const;
    const Payoffs& payoffs() const { return m_payoffs; }
    const SettlementReport& settlement() const { return m_settlement; }
    // What each player wagered and got back, race by race, and what the house kept of it.
    const HouseLedger& ledger() const { return m_ledger; }

    // OK on the results: the next race's program (its pool files written), or after the last race
    // the day's balances into the standings and the top-ten list.
    void confirmResults();
    const std::vector<std::string>& topTen() const { return m_topTen; }

    // A new day may start before the day's first ticket is paid and at the top-ten list: never
    // over money already in the pools or a race under way.
    bool newDayAllowed() const { return availability(Action::NewDay).allowed(); }
    // Dates the days started from now on (a replayed season); empty for today's date.
    void setDayDate(std::string date) { m_dayDate = std::move(date); }

    // "Play Again": a new day on the same stable, where a new day may start.
    bool playAgain(const LoadingProgress& progress = {}) { return startDay(progress); }
    // Resets the stable after asking, where a new day may start; a new day then starts on the
    // fresh stable so the old one is never written back. True when the reset ran.
    bool resetDatabase(Answer answer = Answer::Ask);

private:
    // Notes the refusal of a step the day does not allow (or clears the last one); true when allowed
    // and, where the step asks first, answered Yes.
    bool allowed(Action action, int which = 0);
    bool confirmed(Action action, Answer answer, int which = 0);
    bool beginDay(const LoadingProgress& progress);
    PaymentReport payAndRecord();
    // Writes the day's fresh files if its start could not; true once they are on disk.
    bool saveStart();
    void say(const PaymentReport& report);
    void openNextRaceProgram(const LoadingProgress& progress);

    std::unique_ptr<RaceDay> m_day;
    std::string m_dayDate;
    Stage m_stage = Stage::NotStarted;
    StartResult m_start;
    ProgramView m_program;
    bool m_programForNewRace = false;
    BetEntry m_entry;
    TicketList m_tickets;
    std::unique_ptr<RaceModel> m_race;
    int m_lastRaceRun = 0;
    std::unique_ptr<ResultsShow> m_show;
    bool m_resultsDone = false;
    bool m_chartReady = false; // prepared, not yet handed out by showStep()
    Payoffs m_payoffs;
    SettlementReport m_settlement;
    HouseLedger m_ledger;
    std::vector<std::string> m_topTen;
    PaymentReport m_payment; // paid quietly, not yet said
    std::string m_refusal;
    std::unique_ptr<ChanceCache> m_chanceCache = std::make_unique<ChanceCache>(); // a game can be moved
};

} // namespace sw
