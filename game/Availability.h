#pragma once

#include <string>

namespace sw {

// Everything a player can ask of the day, from either front end. Game::availability() says for
// each whether the day allows it now; every Game step asks it first.
enum class Action {
    // The players.
    AddPlayer,
    SelectPlayer,
    DeletePlayer,
    // The bet entry's presses; `which` names the button where there are several.
    AmountPreset, // cmdAmount(which), which 0..7
    AmountSpin,   // udAmount
    NextToBet,    // cmdNext1
    ChooseBet,    // a bet button, which = the BetType
    ChooseMode,   // cmdStraight, cmdBox, cmdWheel, which = the BetMode
    NextToHorses, // cmdNext2
    PickHorse,    // cmdHorse(which), which 0..7
    PickAll,      // cmdAll
    With,         // cmdWith
    ClearPick,    // cmdBack
    Finish,       // cmdFinish
    ClearBet,     // cmdClear
    CancelBet,    // cmdCancelBet
    ChangePage,   // a tab of the bet entry
    // The ticket list.
    ListTicket,
    SelectTicket, // which = the ticket's index in the list
    DeleteTicket,
    Pay,
    Exchange,
    // The racing program.
    OpenProgram,
    BrowseProgram,
    ToteBoard,
    PrintProgram,
    Chances,
    TicketStory, // a listed ticket's chances, which = its index in the list
    // The race and its results.
    ShowCard,
    StartRace,
    FastForward,
    Replay,
    ShowResults,
    ConfirmResults,
    // Looking back.
    ShowBoard,     // the tote board, its odds grids and the explanation of a cell
    ShowProgram,   // the racing program of any race, looked at from the text front end
    ExplainPayoff, // a payoff of the race just run
    ExplainTicket, // a listed ticket
    Ledger,
    // The day itself.
    NewDay,
    ResetStable,
    Settings,
    // Anything of the window's but the race itself (its menus, its panels): not while a race runs.
    UseWindow,
};

// Whether an action may run now, and what to ask first.
struct Availability {
    // Why the day does not allow the action now, in a sentence for the player; empty when it does.
    std::string whyNot;
    // The Yes/No question to ask before the action runs; empty when there is none.
    std::string question;

    bool allowed() const { return whyNot.empty(); }
    explicit operator bool() const { return allowed(); }
};

// The answer to an action's question: given already (a window's dialog, a word after a command),
// or to be asked through the day's prompter when the step runs.
enum class Answer { Ask, Yes, No };

} // namespace sw
