// When the player may do what: the one table both front ends read, and every Game step checks.

#include "Game.h"
#include "core/Translate.h"

#include "core/Constants.h"
#include "database/ResetDatabase.h"
#include "players/Players.h"
#include "wagering/ExchangeCredits.h"
#include "wagering/TicketList.h"

#include <algorithm>

namespace sw {

namespace {

constexpr const char* UnpaidQuestion =
    N_("There are tickets that have not been paid for.  Do you want to pay for the tickets?");

bool anyPaid(const RaceDay& day) {
    return std::any_of(day.tickets.begin(), day.tickets.end(), [](const ListedTicket& t) { return t.paid; });
}

bool isBetEntryPress(Action action) {
    return action >= Action::AmountPreset && action <= Action::ChangePage;
}

// What the day at the tote board says to a press of the bet entry; empty when it can be used.
std::string betEntryRefusal(const RaceDay& day, const BetEntry& entry, Action action, int which) {
    const bool horsesPage = entry.page() == HorsesPage;
    switch (action) {
    case Action::NextToBet:
        return BetEntry::next1Usable(day) ? ""
                                          : _("Choose a player first: every ticket is made for the bettor.");
    case Action::ChooseBet: {
        const auto type = static_cast<BetType>(which);
        if (which < 0 || which >= BetTypeCount || BetEntry::betButtonUsable(day, type))
            return {};
        if (isMultiRace(type))
            return fillIn(_("The {0} is sold only in the race where it starts."), betTitle(type));
        return fillIn(_("The {0} needs a race after this one for its second half."), betTitle(type));
    }
    case Action::ChooseMode: {
        const auto mode = static_cast<BetMode>(which);
        if (entry.modeButtonUsable(mode))
            return {};
        if (std::string refusal = entry.modeRefusal(mode); !refusal.empty())
            return refusal;
        return _("Choose a bet that is played Straight, Box or Key/Wheel first.");
    }
    case Action::NextToHorses:
        return entry.next2Usable() ? "" : _("Choose the bet and how it is played first.");
    case Action::PickHorse:
        if (!horsesPage)
            return _("Horses are picked once the bet is chosen: press Next first.");
        return entry.horseUsable(which) ? "" : _("That horse is already picked for this set.");
    case Action::PickAll:
        return horsesPage ? "" : _("Horses are picked once the bet is chosen: press Next first.");
    case Action::With:
        return horsesPage && entry.withUsable() ? "" : _("This bet takes no further set of horses.");
    case Action::ClearPick:
        return entry.backUsable() ? "" : _("No horse is picked in this set.");
    case Action::Finish:
        return horsesPage && entry.finishUsable() ? "" : _("Pick the horses the bet needs first.");
    default:
        return {};
    }
}

} // namespace

std::string Game::stageRefusal(Action action) const {
    const RaceDay& day = *m_day;
    const Stage stage = m_stage;
    const bool started = stage != Stage::NotStarted && stage != Stage::Failed;
    const bool betweenRaces = stage == Stage::Program || stage == Stage::Betting;
    const std::string raceUnderWay = _("That waits until the race has been run and its results confirmed.");

    // A new day, and the reset that starts one, never come over money in the pools or a race under way.
    std::string newDayRefusal;
    if (started && stage != Stage::TopTen) {
        if (stage == Stage::Racing || stage == Stage::Results || day.currentRace != 0)
            newDayRefusal = _("A new day cannot start in the middle of a day: play on to the last race.");
        else if (anyPaid(day))
            newDayRefusal =
                _("A new day cannot start once tickets are paid for: their money is in the race's pools.");
    }
    switch (action) {
    case Action::NewDay:
        return newDayRefusal;
    case Action::ResetStable:
        // The reset starts a new day on the fresh stable, so it waits where a new day waits.
        return newDayRefusal.empty() ? ""
                                     : _("The stable can be reset only where a new day may start: before the "
                                         "day's first ticket is paid, or once the day is over.");
    case Action::Settings:
        return stage == Stage::Racing || stage == Stage::Results
                   ? _("The settings can be changed between races, not while a race is run or its results "
                       "show.")
                   : "";
    case Action::UseWindow:
        return stage == Stage::Racing ? _("Wait for the race to finish.") : "";
    default:
        break;
    }
    if (!started)
        return _("No race day is running.");
    if (stage == Stage::TopTen && action != Action::Ledger && action != Action::ExplainPayoff &&
        action != Action::ExplainTicket)
        return _("The day is over: start a new day to play again.");

    switch (action) {
    case Action::AddPlayer:
    case Action::SelectPlayer:
    case Action::PrintProgram:
    case Action::Chances:
    case Action::ShowBoard:
    case Action::ShowProgram:
        return betweenRaces ? "" : raceUnderWay;
    case Action::DeletePlayer:
        return betweenRaces ? ""
                            : _("A player can be deleted only between races, not while a race is run or its "
                                "results show.");
    case Action::Pay:
        if (stage == Stage::Program)
            return _("Tickets are paid for at the tote board: leave the racing program first.");
        return stage == Stage::Betting
                   ? ""
                   : _("The betting on this race is closed: its tickets can no longer be paid.");
    case Action::TicketStory:
        return stage == Stage::Betting ? "" : _("A ticket's story is told while its race is being bet.");
    case Action::OpenProgram:
        return stage == Stage::Betting
                   ? ""
                   : _("The racing program opens from the tote board while a race is bet on.");
    case Action::BrowseProgram:
        return stage == Stage::Program ? ""
                                       : _("Other races can be looked at while the racing program is open.");
    case Action::ToteBoard:
        if (stage == Stage::Betting)
            return _("The tote board is already showing.");
        return stage == Stage::Program ? "" : _("The tote board opens from the racing program.");
    case Action::StartRace:
        if (stage == Stage::Program)
            return _("A race starts from the tote board: leave the racing program first.");
        if (stage == Stage::Racing)
            return _("The race is already being run.");
        return stage == Stage::Betting ? "" : _("The next race starts once these results are confirmed.");
    case Action::FastForward:
        return stage == Stage::Racing && m_race ? "" : _("No race is being run.");
    case Action::Replay:
        return stage == Stage::Betting
                   ? ""
                   : _("A race is shown again at the tote board, before the next one starts.");
    case Action::ShowResults:
        return stage == Stage::Results ? "" : _("No race's results are showing.");
    case Action::ConfirmResults:
        return stage == Stage::Results ? "" : _("There are no results to confirm.");
    case Action::ShowCard:
    case Action::Ledger:
    case Action::ExplainPayoff:
    case Action::ExplainTicket:
        return {};
    default:
        // The bet entry and the ticket list: the tote board of the race about to be run.
        if (stage == Stage::Program)
            return _("Tickets are made at the tote board: leave the racing program first.");
        return stage == Stage::Betting ? "" : _("The betting on this race is closed.");
    }
}

Availability Game::availability(Action action, int which) const {
    const RaceDay& day = *m_day;
    auto refuse = [](std::string why) { return Availability{std::move(why), {}}; };
    if (std::string why = stageRefusal(action); !why.empty())
        return refuse(std::move(why));
    if (isBetEntryPress(action))
        return refuse(betEntryRefusal(day, m_entry, action, which));

    switch (action) {
    case Action::ResetStable:
        return {{}, _(ResetQuestion)};
    case Action::DeletePlayer:
        if (day.players.selected < 0 || day.players.selected >= static_cast<int>(day.players.entries.size()))
            return refuse(_("Choose the player to delete first."));
        return {{}, _(DeletePlayerQuestion)};
    case Action::SelectTicket:
    case Action::ExplainTicket:
    case Action::TicketStory:
        return refuse(which >= 0 && which < static_cast<int>(day.tickets.size())
                          ? ""
                          : _("There is no such ticket in the list."));
    case Action::DeleteTicket:
        if (!m_tickets.deleteUsable(day))
            return refuse(_("Choose the ticket to delete first."));
        return {{}, _(DeleteTicketQuestion)};
    case Action::Pay:
        if (!day.startUnsaved.empty() && day.folder.unsaved())
            return refuse(_("No bets can be taken until the day's start is saved.") + " " + day.startUnsaved);
        if (day.tickets.empty())
            return refuse(_("There are no tickets to pay for."));
        return refuse(hasUnpaidTickets(day) ? "" : _("Every ticket listed is paid for already."));
    case Action::Exchange: {
        const auto credits = creditsOfRace(day);
        const bool held = std::any_of(credits.begin(), credits.end(), [&](const ExchangeCredit& credit) {
            return credit.number == which && credit.exchangedBy == 0;
        });
        return refuse(
            held ? "" : _("No player holds that Twin-Tri or Tri-Super credit unexchanged in this race."));
    }
    case Action::BrowseProgram:
        return refuse(which >= 1 && which <= RacesPerDay ? "" : _("The card has races 1 to 12."));
    case Action::StartRace:
        return {{}, hasUnpaidTickets(day) ? _(UnpaidQuestion) : std::string()};
    case Action::Replay:
        return refuse(m_ledger.racesSettled() > 0 ? "" : _("No race has been run yet today."));
    case Action::ConfirmResults:
        return refuse(m_resultsDone ? "" : _("The results can be confirmed once the chart is shown."));
    case Action::ExplainPayoff:
        return refuse(m_payoffs.win.working.empty() ? _("No race has been run yet today.") : "");
    default:
        return {};
    }
}

} // namespace sw
