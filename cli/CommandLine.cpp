#include "CommandLine.h"
#include "core/Translate.h"

#include "LabCommand.h"

#include "LineReader.h"

#include "core/Constants.h"
#include "core/Format.h"
#include "core/GradeTables.h"
#include "database/ResetDatabase.h"
#include "players/Players.h"
#include "players/SettingsDialog.h"
#include "players/TopTen.h"
#include "program/PrintFile.h"
#include "program/PrintProgram.h"
#include "program/ProgramLines.h"
#include "program/ProgramTexts.h"
#include "program/RacingProgram.h"
#include "race/Chances.h"
#include "settlement/HouseLedger.h"
#include "tote/ToteBoard.h"
#include "wagering/ExchangeCredits.h"
#include "wagering/TicketPricing.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

namespace sw::cli {

const char* stageName(Stage stage) {
    switch (stage) {
    case Stage::NotStarted:
        return "not started";
    case Stage::Failed:
        return "failed";
    case Stage::Program:
        return "program";
    case Stage::Betting:
        return "betting";
    case Stage::Racing:
        return "racing";
    case Stage::Results:
        return "results";
    case Stage::TopTen:
        return "top ten";
    }
    return "";
}

namespace {

const char* const HelpHeading =
    N_("Commands (answers to questions follow the command: delete-player 3 yes):\n");

// The help's first column: the command and its arguments, then the help from this column on.
constexpr std::size_t HelpColumn = 28;

// A sentence of the availability table as the tail of an error line.
std::string reasonText(std::string why) {
    if (!why.empty())
        why[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(why[0])));
    if (!why.empty() && why.back() == '.')
        why.pop_back();
    return why;
}

bool isAnswer(const std::string& word) {
    return word == "yes" || word == "no" || word == "y" || word == "n";
}

std::string joinWords(const std::vector<std::string>& words, std::size_t from = 0) {
    std::string out;
    for (std::size_t i = from; i < words.size(); ++i) {
        if (i > from)
            out += ' ';
        out += words[i];
    }
    return out;
}

std::string purseText(int grade) {
    return "$" + std::to_string(purseOf(grade));
}

const std::array<const char*, 3> MarkNames = {N_("\u00BC Mile"), N_("\u00BD Mile"), N_("\u00BE Mile")};

// Posts in the order they passed a call, from each entry's call position.
std::vector<int> callOrder(const std::array<uint8_t, FieldSize>& positions) {
    std::vector<int> order(FieldSize, 0);
    for (int e = 0; e < FieldSize; ++e) {
        int p = positions[static_cast<std::size_t>(e)];
        if (p >= 1 && p <= FieldSize)
            order[static_cast<std::size_t>(p - 1)] = e + 1;
    }
    return order;
}

std::string postsText(const std::vector<int>& posts) {
    std::string out;
    for (int p : posts) {
        if (!out.empty())
            out += '-';
        out += std::to_string(p);
    }
    return out;
}

// One player's line of the list (the selected one marked) and its JSON.
Json playerShown(const RaceDay& day, std::size_t i, std::string& text) {
    const PlayerEntry& p = day.players.entries[i];
    const bool selected = static_cast<int>(i) == day.players.selected;
    text += std::string(selected ? "> " : "  ") + rightAlign(std::to_string(p.playerId), 3) + "  " +
            padRight(p.name, 26) + rightAlign(centsText(balanceOf(p)), 10) + "\n";
    return {{"cmbPlayerId", std::to_string(p.playerId)},
            {"cmbBettor", p.name},
            {"cmbBalance", p.balance},
            {"selected", selected}};
}

// One ticket's line of the list (numbered from 1, the selected one marked) and its JSON.
Json ticketShown(const RaceDay& day, const TicketList& list, std::size_t i, std::string& text) {
    const ListedTicket& t = day.tickets[i];
    const int owner = findPlayer(day.players, t.playerId);
    const std::string ownerName = owner >= 0 ? day.players.entries[static_cast<std::size_t>(owner)].name : "";
    const TicketPrice price = priceTicket(t.text);
    const bool selected = static_cast<int>(i) == list.selected();
    text += std::string(selected ? ">" : " ") + rightAlign(std::to_string(i + 1), 2) + " [" +
            (t.paid ? "x" : " ") + "] " + padRight(t.text, 40) + padRight(ownerName, 16) +
            _(ticketStatusText(t)) + "\n";
    return {{"text", t.text},
            {"paid", t.paid},
            {"playerId", t.playerId},
            {"player", ownerName},
            {"status", std::string(ticketStatusText(t))},
            {"count", price.count},
            {"cost", price.cost}};
}

} // namespace

CommandLine::CommandLine(Game& game, CliPrompter& prompter, std::ostream& out, std::ostream& err, bool json)
    : m_game(game), m_prompter(prompter), m_out(out), m_err(err), m_json(json) {
    m_prompter.setEcho(!json);
}

bool CommandLine::startDay() {
    m_prompter.takeMessages();
    const bool started = m_game.startDay();
    if (started)
        m_game.toteBoard();
    const std::vector<std::string> messages = m_prompter.takeMessages();
    const std::string error = _("the day could not start (try: reset yes)");
    if (m_json) {
        Json result{{"command", "start"}, {"ok", started}};
        if (!started)
            result["error"] = error;
        if (!messages.empty())
            result["messages"] = messages;
        m_out << result.dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
    }
    if (!started)
        m_err << _("error: ") << error << '\n';
    m_out.flush();
    return started;
}

std::vector<std::string> CommandLine::split(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false;
    bool inWord = false;
    for (char c : line) {
        if (quoted) {
            if (c == '"')
                quoted = false;
            else
                word += c;
            continue;
        }
        if (c == '#')
            break;
        if (c == '"') {
            quoted = true;
            inWord = true;
        } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    return words;
}

int CommandLine::run(std::istream& in) {
    int failures = 0;
    std::string line;
    std::size_t number = 0;
    while (!m_quit && !outputLost()) {
        const LineRead read = readLine(in, line);
        if (read == LineRead::End)
            break;
        ++number;
        if (read == LineRead::TooLong) {
            const std::string error =
                fillIn(_("line {0} is longer than {1} KiB; it was skipped"), number, MaxLineBytes / 1024);
            if (m_json)
                m_out << Json{{"ok", false}, {"error", error}}.dump() << '\n';
            m_err << "error: " << error << '\n';
            m_out.flush();
            ++failures;
            continue;
        }
        if (!execute(line))
            ++failures;
    }
    return failures;
}

const std::vector<Command>& CommandLine::commands() {
    using A = Action;
    using C = CommandLine;
    using Args = std::vector<std::string>;
    // A row leaves out the fields after its handler where the command has no alias.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
    static const std::vector<Command>
        table =
            {
                {"race",
                 "",
                 0,
                 0,
                 N_("the race about to be run: number, distance, purse"),
                 {},
                 "",
                 Answers::None,
                 Move::None,
                 [](C& c, const Args&, Json& r, std::string& t) { c.cmdRace(r, t); }},
                {"card", "", 0, 0, N_("the day's twelve races with their horses and jockeys"), A::ShowCard,
                 N_("show the card"), Answers::None, Move::None,
                 [](C& c, const Args&, Json& r, std::string& t) { c.cmdCard(r, t); }},
                {"players",
                 "",
                 0,
                 0,
                 N_("the players, their numbers and balances"),
                 {},
                 "",
                 Answers::None,
                 Move::None,
                 [](C& c, const Args&, Json& r, std::string& t) { c.cmdPlayers(r, t); }},
                {"add-player", "NAME", 1, Command::AnyCount,
                 N_("add a player with the starting amount (prints that player)"), A::AddPlayer,
                 N_("add a player"), Answers::None, Move::None,
                 [](C& c, const Args& a, Json& r, std::string& t) {
                     RaceDay& day = c.m_game.day();
                     if (!c.m_game.addPlayer(joinWords(a)))
                         c.failed(_("the player was not added"));
                     // The player added, not the whole list: a long list printed at every addition grows
                     // with its square (the players command prints it).
                     r["player"] = playerShown(day, day.players.entries.size() - 1, t);
                     r["lblBalance"] = day.players.balanceLabel;
                     if (day.players.selected >= 0)
                         t += _("Current Balance: ") + day.players.balanceLabel + "\n";
                 },
                 "", true},
                {"select", "ID", 1, 1, N_("make player ID the bettor"), A::SelectPlayer,
                 N_("select a player"), Answers::None, Move::None,
                 [](C& c, const Args& a, Json& r, std::string& t) {
                     const int index = c.playerArgument(a[0]);
                     if (!c.m_game.selectPlayer(index) && !c.m_game.refusal().empty())
                         c.failed("");
                     c.cmdPlayers(r, t);
                 }},
                {"delete-player", "ID yes|no", 1, 1, N_("delete player ID"), A::DeletePlayer,
                 N_("delete a player"), Answers::Required, Move::None,
                 [](C& c, const Args& a, Json& r, std::string& t) {
                     const int index = c.playerArgument(a[0]);
                     if (c.m_game.selectPlayer(index) && !c.m_game.deletePlayer() &&
                         !c.m_game.refusal().empty())
                         c.failed("");
                     c.cmdPlayers(r, t);
                 }},
                {"program", "[RACE]", 0, 1, N_("the racing program (past performances) of a race"),
                 A::ShowProgram, N_("show the racing program"), Answers::None, Move::None,
                 [](C& c, const Args& a, Json& r, std::string& t) { c.cmdProgram(a, r, t); }, "past"},
                {"chances", "[RACE] [RACES]", 0, 2,
                 N_("each entry's chance to win and to finish in the first three, from RACES\n"
                    "simulated races (10000), beside the fair and the tote's odds;\n"
                    "chances ticket N: listed ticket N over 10000 simulated runs of its race,\n"
                    "its chance to collect, its expected return and the spread of what it collects"),
                 A::Chances, N_("show the chances"), Answers::None, Move::None,
                 [](C& c, const Args& a, Json& r, std::string& t) {
                     if (a.empty() || a[0] != "ticket")
                         return c.cmdChances(a, r, t);
                     // A ticket's story: only while its race is bet, where its pools are.
                     if (a.size() != 2)
                         throw Failure{_("usage: ") + "chances ticket N"};
                     c.require(Action::ListTicket);
                     c.toBetting();
                     c.cmdTicketStory(number(a[1], N_("the ticket")), r, t);
                 }},
                {"tote-board", "", 0, 0, N_("leave the racing program for the tote board"), A::ToteBoard,
                 N_("leave the racing program"), Answers::None, Move::None,
                 [](C& c, const Args&, Json& r, std::string& t) {
                     c.m_game.toteBoard();
                     c.cmdRace(r, t);
                 }},
                {"board", "", 0, 0, N_("win, place and show money, odds and pool totals"), A::ShowBoard,
                 N_("show the tote board"), Answers::None, Move::ToBetting,
                 [](C& c, const Args&, Json& r, std::string& t) { c.cmdBoard(r, t); }},
                {"grid", "quiniela|exacta N", 2, 2, N_("quiniela or exacta odds with horse N"), A::ShowBoard,
                 N_("show the odds grids"), Answers::None, Move::ToBetting,
                 [](C& c, const Args& a, Json& r, std::string& t) { c.cmdGrid(a, r, t); }},
                {"amount", "N", 1, 1, N_("the amount per bet (0..32000)"), A::AmountSpin,
                 N_("set the amount"), Answers::None, Move::ToBetting,
                 [](C& c, const Args& a, Json& r, std::string& t) {
                     const int amount = number(a[0], N_("the amount"));
                     if (amount < 0 || amount > MaxBetAmount)
                         throw Failure{fillIn(_("the amount must be 0..{0}"), MaxBetAmount)};
                     c.m_game.press(Action::AmountSpin, amount);
                     c.cmdEntry(r, t);
                 }},
                {"click", "BUTTON [N]", 1, 2,
                 N_("press a bet-entry button: cmdAmount 0..7, cmdNext1, cmdWin .. cmdTriSuper,\n"
                    "cmdStraight, cmdBox, cmdWheel, cmdNext2, cmdHorse 1..8, cmdAll, cmdWith,\n"
                    "cmdBack, cmdFinish, cmdClear, cmdCancelBet; or: click tab 0..2"),
                 A::ChangePage, N_("use the bet entry"), Answers::Optional, Move::ToBetting,
                 [](C& c, const Args& a, Json& r, std::string& t) { c.cmdClick(a, r, t); }},
                {"exchange", "N", 1, 1,
                 N_("start the second half of the bettor's Twin-Tri or Tri-Super credit N in\n"
                    "the bet entry: its amount and bet are set, Straight, then the horses"),
                 A::Exchange, N_("exchange a credit"), Answers::None, Move::ToBetting,
                 [](C& c, const Args& a, Json& r, std::string& t) {
                     if (!c.m_game.exchange(number(a[0], N_("the credit"))))
                         c.failed(fillIn(
                             _("no player can exchange a Twin-Tri or Tri-Super credit {0} in this race: the "
                               "tickets list shows the credits held"),
                             a[0]));
                     c.cmdEntry(r, t);
                 }},
                {"entry",
                 "",
                 0,
                 0,
                 N_("the bet entry as it stands"),
                 {},
                 "",
                 Answers::None,
                 Move::None,
                 [](C& c, const Args&, Json& r, std::string& t) { c.cmdEntry(r, t); }},
                {"ticket", "TEXT", 1, Command::AnyCount,
                 N_("list a ticket, e.g. ticket $2 Exacta Box 134 (prints it and the totals);\n"
                    "a Twin-Tri or Tri-Super credit is exchanged with\n"
                    "ticket $2 Twin-Tri Exchange 57 Straight 456"),
                 A::ListTicket, N_("list a ticket"), Answers::Optional, Move::ToBetting,
                 [](C& c, const Args& a, Json& r, std::string& t) {
                     RaceDay& day = c.m_game.day();
                     std::string error;
                     const std::size_t listed = day.tickets.size();
                     if (!c.m_game.listTicket(joinWords(a), &error))
                         c.failed(error);
                     // The new ticket and the totals, not the whole list (the tickets command prints it).
                     // The balance check may have taken it off again.
                     if (day.tickets.size() > listed) {
                         r["ticket"] = ticketShown(day, c.m_game.ticketList(), listed, t);
                         r["index"] = listed + 1;
                     } else {
                         t += _("The ticket was taken off the list.\n");
                     }
                     c.ticketFrame(r, t);
                 }},
                {"tickets",
                 "",
                 0,
                 0,
                 N_("the ticket list with marks, owners, combinations, totals and credits"),
                 {},
                 "",
                 Answers::None,
                 Move::None,
                 [](C& c, const Args&, Json& r, std::string& t) { c.cmdTickets(r, t); }},
                {"select-ticket", "N", 1, 1, N_("select ticket N of the list"), A::SelectTicket,
                 N_("change the ticket list"), Answers::Optional, Move::ToBetting,
                 [](C& c, const Args& a, Json& r, std::string& t) {
                     c.m_game.selectTicket(c.ticketArgument(a[0]));
                     c.cmdTickets(r, t);
                 }},
                {"delete-ticket", "N yes|no", 1, 1, N_("delete ticket N of the list"), A::DeleteTicket,
                 N_("change the ticket list"), Answers::Required, Move::ToBetting,
                 [](C& c, const Args& a, Json& r, std::string& t) {
                     c.m_game.selectTicket(c.ticketArgument(a[0]));
                     c.m_game.deleteTicket();
                     c.cmdTickets(r, t);
                 }},
                {"pay", "", 0, 0, N_("pay for the listed tickets"), A::Pay, N_("pay"), Answers::None,
                 Move::ToBetting,
                 [](C& c, const Args&, Json& r, std::string& t) {
                     c.require(Action::Pay, 0);
                     PaymentReport report = c.m_game.pay();
                     r["paid"] = report.paid;
                     Json shortOfMoney = Json::array();
                     for (const Shortfall& s : report.shortOfMoney)
                         shortOfMoney.push_back(s.playerId);
                     r["shortOfMoney"] = shortOfMoney;
                     if (!report.error.empty())
                         throw Failure{report.error};
                     c.cmdTickets(r, t);
                     t = fillIn(_n("Paid {0} ticket.\n", "Paid {0} tickets.\n",
                                   static_cast<unsigned long>(report.paid)),
                                report.paid) +
                         t;
                 }},
                {"run", "[yes|no]", 0, 0,
                 N_("run the race (the answer pays unpaid tickets) and show its results"), A::StartRace,
                 N_("run the race"), Answers::Optional, Move::ToBetting,
                 [](C& c, const Args&, Json& r, std::string& t) { c.cmdRun(r, t); }},
                {"results", "", 0, 0, N_("the results of the race just run"), A::ShowResults,
                 N_("show results"), Answers::None, Move::None,
                 [](C& c, const Args&, Json& r, std::string& t) { c.cmdResults(r, t); }},
                {"ok", "", 0, 0, N_("confirm the results: the next race, or the top-ten list after race 12"),
                 A::ConfirmResults, N_("confirm results"), Answers::None, Move::None,
                 [](C& c, const Args&, Json& r, std::string& t) {
                     c.require(Action::ConfirmResults, 0);
                     c.m_game.confirmResults();
                     if (c.m_game.stage() == Stage::TopTen) {
                         c.cmdTopTen(r, t);
                     } else {
                         c.m_game.toteBoard();
                         c.cmdRace(r, t);
                     }
                 }},
                {"explain",
                 "PAYOFF [N]",
                 1,
                 3,
                 N_("how a payoff of the last race was worked out: win, place N, show N,\n"
                    "quiniela, exacta, trifecta [1], superfecta [1], dailydouble, pick3, pick6,\n"
                    "twintri [TICKET], trisuper [TICKET] (a credit paid in it);\n"
                    "also: explain odds N (a tote board cell), explain quiniela A B and\n"
                    "explain exacta A B (a grid cell), explain ticket N (a listed ticket)"),
                 {},
                 N_("explain"),
                 Answers::None,
                 Move::ToBettingForCells,
                 [](C& c, const Args& a, Json& r, std::string& t) { c.cmdExplain(a, r, t); }},
                {"ledger", "[RACE]", 0, 1,
                 N_("what each player wagered and got back, and what the house kept (the day,\n"
                    "or one race)"),
                 A::Ledger, N_("show the ledger"), Answers::None, Move::None,
                 [](C& c, const Args& a, Json& r, std::string& t) { c.cmdLedger(a, r, t); }},
                {"top10",
                 "",
                 0,
                 0,
                 N_("the top-ten list"),
                 {},
                 "",
                 Answers::None,
                 Move::None,
                 [](C& c, const Args&, Json& r, std::string& t) { c.cmdTopTen(r, t); }},
                {"new-day", "", 0, 0, N_("start a new race day (Play Again)"), A::NewDay,
                 N_("start a new day"), Answers::None, Move::None,
                 [](C& c, const Args&, Json& r, std::string& t) {
                     if (!c.m_game.playAgain())
                         c.failed(c.m_game.startResult().message);
                     c.m_game.toteBoard();
                     c.cmdRace(r, t);
                 }},
                {"settings", "[START] [BET]", 0, 2,
                 N_("show or set the starting amount and the default bet (1..1000)"), A::Settings,
                 N_("change the settings"), Answers::None, Move::None,
                 [](C& c, const Args& a, Json& r, std::string& t) { c.cmdSettings(a, r, t); }},
                {"reset", "yes|no", 0, 0, N_("reset the stable to a fresh one and start a new day"),
                 A::ResetStable, N_("reset the stable"), Answers::Required, Move::None,
                 [](C& c, const Args&, Json& r, std::string& t) {
                     const bool ran = c.m_game.resetDatabase();
                     r["reset"] = ran;
                     if (ran) {
                         c.m_game.toteBoard();
                         t = _("The stable was reset; a new day has started.\n");
                         c.cmdRace(r, t);
                     } else {
                         t = _("Nothing was changed.\n");
                     }
                 }},
                {"print", "FROM TO [FILE [yes|no]]", 2, 3,
                 N_("the racing program of races FROM..TO as printed pages; a FILE that\n"
                    "exists is replaced on yes; never a file in the data folder"),
                 A::PrintProgram, N_("print the program"), Answers::Optional, Move::None,
                 [](C& c, const Args& a, Json& r, std::string& t) { c.cmdPrint(a, r, t); }},
                {"lab",
                 "STRATEGY [DAYS] [--crowd track|sharp] [--seed N] [--vs STRATEGY] [--stake N|N%] "
                 "[--chance-races N]",
                 1,
                 Command::AnyCount,
                 N_("try a betting rule over DAYS (100) simulated days in memory, on a copy\n"
                    "of the stable, against this track's crowd or a sharp one, alone or\n"
                    "beside another; lab list names the strategies and the rule grammar"),
                 {},
                 "",
                 Answers::None,
                 Move::None,
                 [](C& c, const Args& a, Json& r, std::string& t) {
                     try {
                         LabReply reply = labCommand(c.m_game.day().folder, a, c.m_labChances);
                         for (auto& [key, value] : reply.json.items())
                             r[key] = value;
                         t += reply.text;
                     } catch (const LabUsageError& e) {
                         throw Failure{e.what()};
                     }
                 }},
                {"help",
                 "",
                 0,
                 Command::AnyCount,
                 N_("this list"),
                 {},
                 "",
                 Answers::None,
                 Move::None,
                 [](C&, const Args&, Json&, std::string& t) { t = helpText(); }},
                {"quit",
                 "",
                 0,
                 Command::AnyCount,
                 N_("end the game"),
                 {},
                 "",
                 Answers::None,
                 Move::None,
                 [](C& c, const Args&, Json&, std::string&) { c.m_quit = true; },
                 "exit"},
            };
#pragma GCC diagnostic pop
    return table;
}

std::string CommandLine::helpText() {
    std::string text = _(HelpHeading);
    for (const Command& command : commands()) {
        std::string left = std::string(command.name);
        if (!command.arguments.empty())
            left += " " + std::string(command.arguments);
        const std::string indent(HelpColumn, ' ');
        text += "  " + left;
        // A long first column gets a line of its own.
        text += left.size() + 2 < HelpColumn ? std::string(HelpColumn - 2 - left.size(), ' ') : "\n" + indent;
        const std::string translated = _(command.help);
        std::string_view help = translated;
        for (auto end = help.find('\n'); end != std::string_view::npos; end = help.find('\n')) {
            text += std::string(help.substr(0, end)) + "\n" + indent;
            help.remove_prefix(end + 1);
        }
        text += std::string(help) + "\n";
    }
    return text;
}

std::string CommandLine::usage(const Command& command) {
    return _("usage: ") + std::string(command.name) +
           (command.arguments.empty() ? "" : " " + std::string(command.arguments));
}

std::string CommandLine::refusal(const Command& command, const std::string& why) {
    return fillIn(_("cannot {0} now: {1}"), _(command.what), reasonText(why));
}

void CommandLine::require(Action action) {
    if (std::string why = m_game.stageRefusal(action); !why.empty())
        throw Failure{refusal(*m_command, why)};
}

void CommandLine::require(Action action, int which) {
    if (std::string why = m_game.whyNot(action, which); !why.empty())
        throw Failure{refusal(*m_command, why)};
}

void CommandLine::failed(const std::string& otherwise) {
    if (!m_game.refusal().empty())
        throw Failure{refusal(*m_command, m_game.refusal())};
    throw Failure{otherwise};
}

int CommandLine::playerArgument(const std::string& word) {
    const int index = findPlayer(m_game.day().players, number(word, N_("the player number")));
    if (index < 0)
        throw Failure{fillIn(_("no player numbered {0}"), word)};
    return index;
}

int CommandLine::ticketArgument(const std::string& word) {
    const int n = number(word, N_("the ticket"));
    if (n < 1 || n > static_cast<int>(m_game.day().tickets.size()))
        throw Failure{fillIn(_("there is no ticket {0} in the list"), word)};
    return n - 1;
}

std::vector<bool> CommandLine::takeAnswers(Args& args) {
    std::vector<bool> answers;
    while (!args.empty() && isAnswer(args.back())) {
        answers.insert(answers.begin(), args.back() == "yes" || args.back() == "y");
        args.pop_back();
    }
    return answers;
}

int CommandLine::number(const std::string& word, const char* what) {
    try {
        std::size_t used = 0;
        long value = std::stol(word, &used);
        if (used == word.size() && value >= -1000000000L && value <= 1000000000L)
            return static_cast<int>(value);
    } catch (const std::exception&) {
    }
    throw Failure{fillIn(_("{0} must be a whole number, not \"{1}\""), _(what), word)};
}

void CommandLine::toBetting() {
    if (m_game.stage() == Stage::Program)
        m_game.toteBoard();
}

const Command* CommandLine::find(const std::string& name) {
    for (const Command& command : commands())
        if (command.name == name || (!command.alias.empty() && command.alias == name))
            return &command;
    return nullptr;
}

bool CommandLine::execute(const std::string& line) {
    Args words = split(line);
    if (words.empty())
        return true;
    std::string name = words.front();
    Args args(words.begin() + 1, words.end());
    const Command* command = find(name);

    // Answers are for the questions of a command that may ask one; anything else is a mistake.
    m_prompter.queueAnswers(command && command->answers != Answers::None ? takeAnswers(args)
                                                                         : std::vector<bool>{});
    m_prompter.takeMessages();

    Json result;
    result["command"] = name;
    std::string text;
    bool ran = true;
    std::string error;
    try {
        if (!command)
            throw Failure{fillIn(_("unknown command \"{0}\" (type help for the list)"), name)};
        dispatch(*command, args, result, text);
    } catch (const Failure& f) {
        ran = false;
        error = f.message;
    }
    m_command = nullptr;
    bool ok = ran;
    const std::size_t unused = m_prompter.takeUnused();
    if (ran && m_prompter.takeUnanswered() > 0) {
        // The command went on as if answered No: what it did is shown all the same.
        ok = false;
        error =
            fillIn(_("\"{0}\" asked a question that had no answer; write yes or no after the command"), name);
    } else if (ran && unused > 0) {
        // It ran all the same: the answer was meant for a question this time did not bring.
        ok = false;
        error = fillIn(_("\"{0}\" asked no question this time: the answer after it was not used"), name);
    }
    std::vector<std::string> messages = m_prompter.takeMessages();
    if (m_json) {
        result["ok"] = ok;
        if (!ok)
            result["error"] = error;
        if (!messages.empty())
            result["messages"] = messages;
        m_out << result.dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
    } else if (ran) {
        m_out << text;
    }
    if (!ok)
        m_err << _("error: ") << error << '\n';
    m_out.flush();
    return ok;
}

void CommandLine::dispatch(const Command& command, Args& args, Json& r, std::string& text) {
    m_command = &command;
    if (command.answers == Answers::None && !command.nameWords && !args.empty() && isAnswer(args.back()))
        throw Failure{fillIn(_("\"{0}\" asks no question: \"{1}\" is not one of its arguments ({2})"),
                             command.name, args.back(), usage(command))};
    if (args.size() < command.minArgs || args.size() > command.maxArgs)
        throw Failure{usage(command)};
    if (command.move == Move::ToBetting)
        toBetting();
    if (command.action)
        require(*command.action);
    command.run(*this, args, r, text);
}

void CommandLine::cmdRace(Json& r, std::string& text) {
    const RaceDay& day = m_game.day();
    if (m_game.stage() == Stage::Failed || m_game.stage() == Stage::NotStarted)
        throw Failure{_("no race day is running")};
    int race = day.currentRace + 1;
    int grade = day.card.raceGrade[static_cast<std::size_t>(day.currentRace)];
    r["lblRaceNum"] = std::to_string(race);
    r["lblDistanceNum"] = std::string(RaceDistanceText);
    r["lblGradeNum"] = purseText(grade);
    r["stage"] = stageName(m_game.stage());
    text +=
        fillIn(_("Race {0}  Distance {1}  Purse {2}"), race, _(RaceDistanceText), purseText(grade)) + "\n";
    const std::string firstStep(BetEntry::firstStep(day));
    r["lblFirstStep"] = firstStep;
    if (!firstStep.empty())
        text += _(firstStep) + " (add-player NAME)\n";
}

void CommandLine::cmdCard(Json& r, std::string& text) {
    const RaceDay& day = m_game.day();
    Json races = Json::array();
    for (int race = 0; race < RacesPerDay; ++race) {
        auto ri = static_cast<std::size_t>(race);
        int grade = day.card.raceGrade[ri];
        Json entries = Json::array();
        text += fillIn(_("Race {0}  Grade {1}  Purse {2}"), race + 1, GradeLetters[grade], purseText(grade)) +
                (race == day.currentRace ? _("  (next)") : "") + "\n";
        for (int p = 0; p < FieldSize; ++p) {
            auto pi = static_cast<std::size_t>(p);
            int horse = day.card.raceHorse[ri][pi];
            int jockey = day.card.raceJockey[ri][pi];
            const std::string& horseName =
                horse >= 1 && horse <= HorseCount ? day.db.horses[static_cast<std::size_t>(horse)].name : "";
            const std::string& jockeyName = jockey >= 1 && jockey <= JockeyCount
                                                ? day.db.jockeys[static_cast<std::size_t>(jockey)].name
                                                : "";
            entries.push_back(
                {{"post", p + 1}, {"horse", horse}, {"name", horseName}, {"jockey", jockeyName}});
            text += "  " + std::to_string(p + 1) + "  " + padRight(horseName, 20) + jockeyName + "\n";
        }
        races.push_back({{"race", race + 1},
                         {"RaceGrade", std::string(GradeLetters[grade])},
                         {"purse", purseText(grade)},
                         {"entries", entries}});
    }
    r["races"] = races;
}

void CommandLine::cmdPlayers(Json& r, std::string& text) {
    const RaceDay& day = m_game.day();
    Json players = Json::array();
    if (day.players.entries.empty())
        text += _("No players yet (add one with: add-player NAME).\n");
    for (std::size_t i = 0; i < day.players.entries.size(); ++i)
        players.push_back(playerShown(day, i, text));
    r["players"] = players;
    r["lblBalance"] = day.players.balanceLabel;
    if (day.players.selected >= 0)
        text += _("Current Balance: ") + day.players.balanceLabel + "\n";
}

int CommandLine::raceArgument(const Args& args) {
    int race = args.empty() ? m_game.day().currentRace + 1 : number(args[0], N_("the race"));
    if (race < 1 || race > RacesPerDay)
        throw Failure{_("the race must be 1..12")};
    return race;
}

ProgramView CommandLine::browse(int race, const std::function<void()>& whileShown) {
    bool wasBetting = m_game.stage() == Stage::Betting;
    if (wasBetting)
        m_game.openProgram();
    m_game.browseProgram(race);
    ProgramView view = m_game.program();
    if (whileShown)
        whileShown();
    // Browsing never leaves another race's pools behind: back to the race about to be run.
    if (wasBetting) {
        m_game.toteBoard();
    } else {
        m_game.browseProgram(m_game.day().currentRace + 1);
    }
    return view;
}

void CommandLine::cmdProgram(const Args& args, Json& r, std::string& text) {
    ProgramView view = browse(raceArgument(args));

    r["lblRace"] = view.raceNumber;
    r["lblRaceGrade"] = view.purse;
    r["lblDistance"] = view.distance;
    r["lblBets"] = view.betsOffered;
    r["lblTrackRecord"] = view.trackRecord;
    r["lstTrackRecord"] = view.trackRecordHolders;
    Json entries = Json::array();
    text += fillIn(_("Race {0}   Purse {1}   Distance {2}"), view.raceNumber, view.purse, view.distance) +
            "\n" + _(view.betsOffered) + "\n";
    for (int h = 0; h < FieldSize; ++h) {
        const ProgramEntryView& e = view.entries[static_cast<std::size_t>(h)];
        entries.push_back({{"lblHorseName", e.horseName},
                           {"lblGrade", e.jockey},
                           {"lblStarts", e.starts},
                           {"lblFirsts", e.firsts},
                           {"lblSeconds", e.seconds},
                           {"lblThirds", e.thirds},
                           {"lblFourths", e.fourths},
                           {"lblEarnings", e.earnings},
                           {"lstPast", e.pastLines}});
        text += "\n" + std::to_string(h + 1) + "  " + padRight(e.horseName, 20) + padRight(e.jockey, 20) +
                _("Starts: ") + e.starts + " " + e.firsts + " " + e.seconds + " " + e.thirds + " " +
                e.fourths + "  " + e.earnings + "\n";
        if (!e.pastLines.empty())
            text += "   " + std::string(PastLinesHeader) + "\n";
        for (const auto& line : e.pastLines)
            text += "   " + line + "\n";
    }
    r["entries"] = entries;
    r["lstJockeys"] = view.jockeyStandings;
    text += "\n" + _("Track Record ") + _(view.trackRecord);
    for (const auto& holder : view.trackRecordHolders)
        text += "  " + holder;
    text += "\n\n" + _("Jockey Standings") + "\n" + jockeyStandingsHeading() + "\n";
    for (const auto& line : view.jockeyStandings)
        text += line + "\n";
}

void CommandLine::cmdChances(const Args& args, Json& r, std::string& text) {
    const int race = raceArgument(args);
    int races = ChanceRaces;
    if (args.size() > 1) {
        races = number(args[1], N_("the number of races"));
        if (races < MinChanceRaces || races > MaxChanceRaces)
            throw Failure{fillIn(_("the number of races must be {0}..{1}"), MinChanceRaces, MaxChanceRaces)};
    }
    ChanceField field;
    const ProgramView view = browse(race, [&] { field = chanceFieldOf(m_game.day(), race); });
    const ChanceEstimate estimate = m_game.chanceCache().estimate(field, races);
    const auto rows = chanceRows(estimate);

    auto oddsOrNull = [](double odds) {
        return std::isfinite(odds) && odds > 0 ? Json(odds) : Json(nullptr);
    };
    r["race"] = race;
    r["races"] = estimate.races;
    Json entries = Json::array();
    text += fillIn(_("Race {0}: chances from {1} simulated races (in brackets: where the true chance lies 95 "
                     "times in 100)"),
                   race, estimate.races) +
            "\n" + rightAlign(_("Post"), 4) + "  " + padRight(_("Horse"), 20) +
            padRight(C_("column", "Win"), 20) + padRight(_("Top three"), 20) + rightAlign(_("Fair odds"), 9) +
            rightAlign(_("Tote odds"), 11) + "\n";
    for (std::size_t e = 0; e < FieldSize; ++e) {
        const EntryChance& c = estimate.entries[e];
        const ChanceRow& row = rows[e];
        const std::string& horse = view.entries[e].horseName;
        entries.push_back({{"post", static_cast<int>(e + 1)},
                           {"horse", horse},
                           {"wins", c.wins},
                           {"win", c.win},
                           {"winRange", {c.winRange.low, c.winRange.high}},
                           {"topThree", c.topThreeShare},
                           {"topThreeRange", {c.topThreeRange.low, c.topThreeRange.high}},
                           {"fairOdds", oddsOrNull(c.fairOdds)},
                           // The board's odds are tenths held in single precision.
                           {"toteOdds", oddsOrNull(std::round(c.toteOdds * 10.0) / 10.0)},
                           {"value", c.value}});
        text += rightAlign(row.post, 4) + "  " + padRight(horse, 20) + padRight(row.win, 20) +
                padRight(row.topThree, 20) + rightAlign(row.fairOdds, 9) + rightAlign(row.toteOdds, 11) +
                (row.value.empty() ? "" : "  " + row.value) + "\n";
    }
    r["entries"] = entries;
}

void CommandLine::cmdTicketStory(int n, Json& r, std::string& text) {
    if (n < 1 || n > static_cast<int>(m_game.day().tickets.size()))
        throw Failure{fillIn(_("there is no ticket {0} in the list"), n)};
    const std::optional<TicketStory> story = m_game.ticketStory(static_cast<std::size_t>(n - 1));
    if (!story)
        throw Failure{m_game.refusal()};
    Json likeliest = Json::array();
    for (const StoryReturn& often : story->likeliest)
        likeliest.push_back({{"returned", centsText(often.returned)}, {"races", often.races}});
    r["ticket"] = m_game.day().tickets[static_cast<std::size_t>(n - 1)].text;
    r["race"] = story->race;
    r["races"] = story->races;
    r["cost"] = centsText(story->cost);
    r["paid"] = story->paid;
    r["collected"] = story->collected;
    r["collectChance"] = static_cast<double>(story->collected) / story->races;
    r["collectRange"] = {story->collectRange.low, story->collectRange.high};
    r["expectedReturn"] = centsText(story->meanReturn);
    r["expectedReturnBand"] = centsText(story->meanHalfBand);
    r["lowest"] = centsText(story->lowest);
    r["median"] = centsText(story->median);
    r["highest"] = centsText(story->highest);
    r["likeliest"] = likeliest;
    r["lines"] = story->lines;
    text += r["ticket"].get<std::string>() + "\n";
    for (const std::string& line : story->lines)
        text += line + "\n";
}

void CommandLine::cmdBoard(Json& r, std::string& text) {
    ToteBoard board = toteBoard(m_game.day());
    Json posts = Json::array();
    text += _("Post  Odds      Win    Place     Show  Horse\n");
    for (int h = 0; h < FieldSize; ++h) {
        const ToteBoardEntry& e = board.entries[static_cast<std::size_t>(h)];
        posts.push_back({{"lblTotHorse", e.number},
                         {"horse", e.horseName},
                         {"lblOdds", e.odds},
                         {"lblOddsTooltip", e.oddsTooltip},
                         {"lblWinTot", e.winTotal},
                         {"lblPlaceTot", e.placeTotal},
                         {"lblShowTot", e.showTotal},
                         {"favourite", h == board.favourite}});
        text += rightAlign(e.number, 4) + (h == board.favourite ? "* " : "  ") + rightAlign(e.odds, 4) +
                rightAlign(e.winTotal, 9) + rightAlign(e.placeTotal, 9) + rightAlign(e.showTotal, 9) + "  " +
                e.horseName + "\n";
    }
    r["posts"] = posts;
    r["lblWinPool"] = board.winPool;
    r["lblPlacePool"] = board.placePool;
    r["lblShowPool"] = board.showPool;
    r["lblQuinielaPool"] = board.quinielaPool;
    r["lblExactPool"] = board.exactaPool;
    text += _("Pool Total  ") + rightAlign(board.winPool, 9) + rightAlign(board.placePool, 9) +
            rightAlign(board.showPool, 9) + "\n" +
            fillIn(_("Quiniela pool {0}   Exacta pool {1}"), board.quinielaPool, board.exactaPool) + "\n";
}

void CommandLine::cmdGrid(const Args& args, Json& r, std::string& text) {
    int andHorse = number(args[1], N_("the horse"));
    if (andHorse < 1 || andHorse > FieldSize)
        throw Failure{_("the horse must be 1..8")};
    bool quiniela = args[0] == "quiniela";
    if (!quiniela && args[0] != "exacta")
        throw Failure{_("usage: ") + "grid quiniela|exacta N"};
    OddsGrid grid = quiniela ? quinielaGrid(m_game.day(), andHorse) : exactaGrid(m_game.day(), andHorse);
    const char* prefix = quiniela ? "lblQOdds" : "lblEOdds";
    r[quiniela ? "lblQuinAnd" : "lblExactaAnd"] = std::to_string(grid.andHorse);
    r[prefix] = grid.odds;
    r[std::string(prefix) + "Tooltip"] = grid.tooltip;
    text += fillIn(quiniela ? _("Quiniela odds with {0}") : _("Exacta odds with {0} first"), grid.andHorse) +
            "\n";
    for (int h = 0; h < FieldSize; ++h) {
        auto hi = static_cast<std::size_t>(h);
        text += rightAlign(std::to_string(h + 1), 4) + "  " + rightAlign(grid.odds[hi], 4) + "  " +
                grid.tooltip[hi] + "\n";
    }
}

void CommandLine::cmdClick(const Args& args, Json& r, std::string& text) {
    const std::string& button = args[0];
    // The button's press and its number: a page, a preset, a bet, a mode or a post.
    struct Press {
        Action action;
        int which = 0;
        int min = 0, max = -1; // the range of N, when the button takes one
    };
    std::optional<Press> press;
    static const std::map<std::string, Press, std::less<>> plain = {
        {"tab", {Action::ChangePage, 0, 0, 2}},
        {"cmdAmount", {Action::AmountPreset, 0, 0, 7}},
        {"cmdNext1", {Action::NextToBet}},
        {"cmdNext2", {Action::NextToHorses}},
        {"cmdHorse", {Action::PickHorse, 0, 1, 8}},
        {"cmdAll", {Action::PickAll}},
        {"cmdWith", {Action::With}},
        {"cmdBack", {Action::ClearPick}},
        {"cmdFinish", {Action::Finish}},
        {"cmdClear", {Action::ClearBet}},
        {"cmdCancelBet", {Action::CancelBet}}};
    if (auto found = plain.find(button); found != plain.end())
        press = found->second;
    for (const auto& b : betButtons())
        if (b.button == button)
            press = Press{Action::ChooseBet, static_cast<int>(b.type)};
    for (const auto& m : modeButtons())
        if (m.button == button)
            press = Press{Action::ChooseMode, static_cast<int>(m.mode)};
    if (!press)
        throw Failure{fillIn(_("no bet-entry button named \"{0}\" (see help)"), button)};
    if (press->max >= press->min) {
        if (args.size() != 2)
            throw Failure{_("usage: ") + "click " + button + " N (" + std::to_string(press->min) + ".." +
                          std::to_string(press->max) + ")"};
        const int n = number(args[1], "N");
        if (n < press->min || n > press->max)
            throw Failure{fillIn(_("N must be {0}..{1}"), press->min, press->max)};
        // The horses are numbered by post, their buttons from 0.
        press->which = press->action == Action::PickHorse ? n - 1 : n;
    }
    if (!m_game.press(press->action, press->which)) {
        if (!m_game.refusal().empty())
            throw Failure{fillIn(_("cannot press {0} now: {1}"), button, reasonText(m_game.refusal()))};
        throw Failure{fillIn(_("{0} cannot be used now"), button)};
    }
    cmdEntry(r, text);
}

void CommandLine::cmdEntry(Json& r, std::string& text) {
    const RaceDay& day = m_game.day();
    const BetEntry& e = m_game.betEntry();
    static const char* pages[] = {N_("Choose Amount"), N_("Choose Bet"), N_("Choose Horses")};
    int page = std::clamp(e.page(), 0, 2);
    r["tabBets"] = page;
    r["lblBetAmount"] = e.betAmount();
    r["udAmount"] = e.amountSpin();
    r["lblBetName"] = e.betNameLabel();
    r["lblBetKind"] = e.betKindLabel();
    r["lblPicks"] = e.picks();
    r["lstLegs"] = e.legs();
    r["lblInstruct"] = std::string(e.instruction());
    r["CurrentLeg"] = e.currentLeg();
    // What the window would enable now, from the same table.
    const auto usableNow = [&](Action action, int which = 0) {
        return m_game.availability(action, which).allowed();
    };
    Json usable;
    usable["cmdNext1"] = usableNow(Action::NextToBet);
    usable["cmdNext2"] = usableNow(Action::NextToHorses);
    for (const auto& m : modeButtons())
        usable[std::string(m.button)] = usableNow(Action::ChooseMode, static_cast<int>(m.mode));
    usable["cmdWith"] = usableNow(Action::With);
    usable["cmdFinish"] = usableNow(Action::Finish);
    usable["cmdBack"] = usableNow(Action::ClearPick);
    for (const auto& b : betButtons())
        usable[std::string(b.button)] = usableNow(Action::ChooseBet, static_cast<int>(b.type));
    Json horses = Json::array();
    for (int i = 0; i < FieldSize; ++i)
        horses.push_back(usableNow(Action::PickHorse, i));
    usable["cmdHorse"] = horses;
    r["usable"] = usable;

    text += _("Page: ") + _(pages[page]) + "\n";
    text += _("Amount per bet: $") + e.betAmount() + "\n";
    if (!e.betNameLabel().empty() || !e.betKindLabel().empty())
        text += _("Bet: ") + e.betNameLabel() + " " + e.betKindLabel() + "\n";
    r["exchange"] = e.exchange();
    if (e.exchange() > 0)
        text += fillIn(_("Exchanging credit {0}"), e.exchange()) + "\n";
    if (page == HorsesPage) {
        text += _(e.instruction()) + "\n";
        for (const auto& leg : e.legs())
            text += "  " + leg + "\n";
        text += _("Picks: ") + e.picks() + "\n";
    }
    std::string buttons;
    auto add = [&](const std::string& name, bool on) {
        if (on)
            buttons += " " + name;
    };
    add("cmdNext1", BetEntry::next1Usable(day) && page == AmountPage);
    if (page == BetPage) {
        for (const auto& b : betButtons())
            add(std::string(b.button), BetEntry::betButtonUsable(day, b.type));
        for (const auto& m : modeButtons())
            add(std::string(m.button), e.modeButtonUsable(m.mode));
        add("cmdNext2", e.next2Usable());
    }
    if (page == HorsesPage) {
        std::string posts;
        for (int i = 0; i < FieldSize; ++i)
            if (e.horseUsable(i))
                posts += std::to_string(i + 1);
        add("cmdHorse " + posts, !posts.empty());
        add("cmdAll", !posts.empty());
        add("cmdWith", e.withUsable());
        add("cmdFinish", e.finishUsable());
        add("cmdBack", e.backUsable());
    }
    text += _("Usable:") + buttons + "\n";
}

void CommandLine::cmdTickets(Json& r, std::string& text) {
    const RaceDay& day = m_game.day();
    Json tickets = Json::array();
    if (day.tickets.empty())
        text += _("No tickets listed.\n");
    for (std::size_t i = 0; i < day.tickets.size(); ++i)
        tickets.push_back(ticketShown(day, m_game.ticketList(), i, text));
    r["lstTicket"] = tickets;
    ticketFrame(r, text);
}

void CommandLine::ticketFrame(Json& r, std::string& text) {
    const RaceDay& day = m_game.day();
    const TicketList& list = m_game.ticketList();
    r["lstCombos"] = list.combinations();
    r["lblTotTicketNum"] = list.ticketTotal();
    r["lblTicketNumBets"] = list.ticketBets();
    r["lblTotalNum"] = list.total();
    r["lblNumOfBets"] = list.numOfBets();
    r["lblBalance"] = day.players.balanceLabel;
    if (!list.combinations().empty()) {
        text += _("Combinations:");
        for (const auto& c : list.combinations())
            text += " " + c;
        text += "\n";
    }
    text += fillIn(_("Ticket Bets {0}   Ticket Total {1}   Total # of Bets {2}   Total Paid {3}"),
                   list.ticketBets(), list.ticketTotal(), list.numOfBets(), list.total()) +
            "\n";
    const std::vector<std::string> credits = creditLines(day);
    r["credits"] = credits;
    if (!credits.empty()) {
        text += _("Twin-Tri and Tri-Super credits:\n");
        for (const auto& line : credits)
            text += "  " + line + "\n";
    }
    if (day.players.selected >= 0)
        text += _("Current Balance: ") + day.players.balanceLabel + "\n";
}

void CommandLine::cmdRun(Json& r, std::string& text) {
    if (!m_game.beginRace(nullptr))
        failed(_("the race cannot start now"));
    m_game.finishRace();
    m_game.runResultsToEnd();
    cmdResults(r, text);
}

void CommandLine::cmdResults(Json& r, std::string& text) {
    const RaceDay& day = m_game.day();
    const RaceResult& res = day.result;
    int race = day.currentRace + 1;
    text += fillIn(_("Race {0}"), race) + "\n";
    const std::array<const std::array<uint8_t, FieldSize>*, 3> calls = {&res.quarterPos, &res.halfPos,
                                                                        &res.threeQuarterPos};
    Json callsJson = Json::array();
    for (int m = 0; m < 3; ++m) {
        auto order = callOrder(*calls[static_cast<std::size_t>(m)]);
        const std::string& fraction = res.fractionTimes[static_cast<std::size_t>(m)];
        callsJson.push_back({{"lblCall", MarkNames[static_cast<std::size_t>(m)]},
                             {"lblFracTimes", fraction},
                             {"order", order}});
        text += padRight(_(MarkNames[static_cast<std::size_t>(m)]), 8) + "  " + fraction + "   " +
                postsText(order) + "\n";
    }
    r["calls"] = callsJson;
    std::vector<int> order(res.finishOrder.begin(), res.finishOrder.end());
    r["FinishOrder"] = order;
    r["FinishTime"] = res.finishTime;
    r["FinishLengths"] = res.finishLengths;
    r["PhotoFinish"] = res.photoFinish;
    text += _("Finish    ") + postsText(order) + (res.photoFinish ? _("   Photo Finish") : "") + "\n";

    const RaceChart& chart = m_game.chart();
    r["lblTimeOfRace"] = chart.lblTimeOfRace;
    text += "\n" + fillIn(_("Race Chart   Time of race {0}"), chart.lblTimeOfRace) + "\n";
    text += _("Fin PP Name                  \u00BC   \u00BD  L     \u00BE  L     Fin L      Time     Odds  "
              "Comment\n");
    Json rows = Json::array();
    for (const ChartRow& row : chart.rows) {
        rows.push_back({{"lblHorseName", row.lblHorseName},
                        {"lblPost", row.lblPost},
                        {"lblBreak", row.lblBreak},
                        {"lblEigth", row.lblEigth},
                        {"lblEiLen", row.lblEiLen},
                        {"lblStrech", row.lblStrech},
                        {"lblStLen", row.lblStLen},
                        {"lblFin", row.lblFin},
                        {"lblFinLen", row.lblFinLen},
                        {"lblTime", row.lblTime},
                        {"lblOdds", row.lblOdds},
                        {"lblComment", row.lblComment}});
        text += rightAlign(row.lblFin, 3) + rightAlign(row.lblPost, 3) + " " +
                padRight(row.lblHorseName, 20) + rightAlign(row.lblBreak, 3) + rightAlign(row.lblEigth, 4) +
                " " + padRight(row.lblEiLen, 4) + rightAlign(row.lblStrech, 3) + " " +
                padRight(row.lblStLen, 4) + rightAlign(row.lblFin, 3) + " " + padRight(row.lblFinLen, 4) +
                rightAlign(row.lblTime, 8) + rightAlign(row.lblOdds, 8) + "  " + row.lblComment + "\n";
    }
    r["chart"] = rows;

    const Payoffs& p = m_game.payoffs();
    Json payoffs;
    for (const LabelText& label : chartLabels(p)) {
        if (label.index >= 0) {
            if (!payoffs.contains(label.name))
                payoffs[label.name] = Json::array();
            payoffs[label.name].push_back(label.text);
        } else {
            payoffs[label.name] = label.text;
        }
    }
    r["payoffs"] = payoffs;
    auto first = [&](int f) { return std::to_string(res.finishOrder[static_cast<std::size_t>(f)]); };
    text += "\n" + _("Payoffs ($2)        Win     Place      Show\n");
    text += "  " + padRight(first(0), 10) + rightAlign(p.win.text, 10) + rightAlign(p.place[0].text, 10) +
            rightAlign(p.show[0].text, 10) + "\n";
    text += "  " + padRight(first(1), 10) + rightAlign("", 10) + rightAlign(p.place[1].text, 10) +
            rightAlign(p.show[1].text, 10) + "\n";
    text += "  " + padRight(first(2), 10) + rightAlign("", 20) + rightAlign(p.show[2].text, 10) + "\n";
    auto combo = [](auto const& posts) {
        std::string s;
        for (int post : posts)
            s += (s.empty() ? "" : "-") + std::to_string(post);
        return s;
    };
    text += "  " + padRight(_("Quiniela"), 10) + " " + padRight(combo(p.qHorse), 10) +
            rightAlign(p.quiniela.text, 10) + "\n";
    text += "  " + padRight(_("Exacta"), 10) + " " + padRight(combo(p.eHorse), 10) +
            rightAlign(p.exacta.text, 10) + "\n";
    text += "  " + padRight(_("Trifecta"), 10) + " " + padRight(combo(p.tHorse), 10) +
            rightAlign(p.trifecta2.text, 10) + "  ($1 " + p.trifecta1.text + ")\n";
    text += "  " + padRight(_("Superfecta"), 10) + " " + padRight(combo(p.sHorse), 10) +
            rightAlign(p.superfecta2.text, 10) + "  ($1 " + p.superfecta1.text + ")\n";
    if (!p.special.empty())
        // "Daily Double" is wider than the other bets' names: its column keeps a space after it.
        text += "  " + padRight(_(p.special), 12) + " " + padRight(combo(p.xHorse), 12) +
                rightAlign(p.specialPayoff.text, 10) + "\n";

    const SettlementReport& s = m_game.settlement();
    r["lstWinners"] = s.winnerLines;
    r["lstStandings"] = s.standingLines;
    text += "\n" + _("Players Collecting Winnings") + "\n";
    if (s.winnerLines.empty())
        text += _("  (none)\n");
    for (const auto& line : s.winnerLines)
        text += line + "\n";
    r["exchanges"] = s.exchangeLines;
    for (const auto& line : s.exchangeLines)
        text += line + "\n";
    r["creditNotes"] = s.creditNotes;
    for (const auto& line : s.creditNotes)
        text += line + "\n";
    text += "\n" + _("Standings") + "\n";
    for (const auto& line : s.standingLines)
        text += line + "\n";
    // Files the results could not be written to: the stable's first, then the settlement's.
    std::vector<std::string> errors = s.errors;
    if (chart.saveError)
        errors.insert(errors.begin(), chart.saveError.message);
    if (!chart.saveNotice.empty())
        errors.insert(errors.begin(), chart.saveNotice);
    r["errors"] = errors;
    for (const auto& error : errors)
        text += "! " + error + "\n";
}

void CommandLine::cmdTopTen(Json& r, std::string& text) {
    std::vector<std::string> lines =
        m_game.stage() == Stage::TopTen ? m_game.topTen() : showTopTen(m_game.day());
    r["lstTop10"] = lines;
    text += _("Top 10 Players") + "\n";
    if (lines.empty())
        text += _("  (no results yet)\n");
    for (const auto& line : lines)
        text += line + "\n";
    if (m_game.stage() == Stage::TopTen)
        text += _("The day is over: new-day to play again, quit to end the game.\n");
}

void CommandLine::cmdSettings(const Args& args, Json& r, std::string& text) {
    SettingsDialog dialog(m_game.day());
    dialog.open();
    if (!args.empty()) {
        int start = number(args[0], N_("the starting amount"));
        if (start < SettingsDialog::SpinnerMinimum || start > SettingsDialog::SpinnerMaximum)
            throw Failure{_("the starting amount must be 1..1000")};
        dialog.setStartAmount(start);
    }
    if (args.size() > 1) {
        int bet = number(args[1], N_("the default bet"));
        if (bet < SettingsDialog::SpinnerMinimum || bet > SettingsDialog::SpinnerMaximum)
            throw Failure{_("the default bet must be 1..1000")};
        dialog.setDefaultBetAmount(bet);
    }
    if (!args.empty()) {
        FileError err = dialog.ok();
        if (err)
            throw Failure{err.message};
    }
    r["lblStartAmount"] = dialog.startAmountLabel();
    r["lblDefaultAmount"] = dialog.defaultAmountLabel();
    text += _("Starting Amount ") + dialog.startAmountLabel() + "\n" + _("Default $ per bet ") +
            dialog.defaultAmountLabel() + "\n";
}

void CommandLine::cmdPrint(const Args& args, Json& r, std::string& text) {
    RaceDay& day = m_game.day();
    PrintRange range = printRangeFor(day);
    int from = number(args[0], "FROM");
    int to = number(args[1], "TO");
    if (from < range.minimum || from > range.maximum || to < range.minimum || to > range.maximum)
        throw Failure{fillIn(_("races {0}..{1} can be printed"), range.minimum, range.maximum)};
    setPrintFrom(range, from);
    setPrintTo(range, to);
    std::vector<PrintPage> pages = programPages(day, range.from, range.to);
    std::string printed;
    Json pagesJson = Json::array();
    for (std::size_t i = 0; i < pages.size(); ++i) {
        Json lines = Json::array();
        if (i > 0)
            printed += "\f";
        for (const PrintLine& line : pages[i].lines) {
            printed += line.text + "\n";
            lines.push_back(line.text);
        }
        pagesJson.push_back({{"race", pages[i].race}, {"lines", lines}});
    }
    if (args.size() == 3) {
        const PrintSaved saved = savePrintFile(m_game.day().folder.dir(), args[2], printed, m_prompter);
        if (!saved.problem.empty())
            throw Failure{saved.problem};
        r["saved"] = saved.saved;
        if (!saved.saved) {
            text += fillIn(_("{0} was kept; nothing was printed."), args[2]) + "\n";
            return;
        }
        r["file"] = args[2];
        text += fillIn(_("Printed races {0} to {1} to {2}"), range.from, range.to, args[2]) + "\n";
    } else {
        text += printed;
    }
    r["pages"] = pagesJson;
}

void CommandLine::cmdExplain(const Args& args, Json& r, std::string& text) {
    const RaceDay& day = m_game.day();
    const std::string& what = args[0];
    std::vector<std::string> steps;
    if (what == "odds" || what == "ticket") {
        if (args.size() != 2)
            throw Failure{_("usage: ") + "explain " + what + " N"};
        int n = number(args[1], what == "odds" ? N_("the post") : N_("the ticket"));
        if (what == "odds") {
            require(Action::ShowBoard);
            toBetting();
            if (n < 1 || n > FieldSize)
                throw Failure{fillIn(_("the post must be 1..{0}"), FieldSize)};
            steps = explainWinCell(day, n - 1);
        } else {
            if (n < 1 || n > static_cast<int>(day.tickets.size()))
                throw Failure{fillIn(_("there is no ticket {0} in the list"), args[1])};
            steps = explainTicket(day.tickets[static_cast<std::size_t>(n - 1)].text);
        }
    } else if ((what == "quiniela" || what == "exacta") && args.size() == 3) {
        const int a = number(args[1], N_("the first horse")), b = number(args[2], N_("the second horse"));
        require(Action::ShowBoard);
        toBetting();
        if (a < 1 || a > FieldSize || b < 1 || b > FieldSize || a == b)
            throw Failure{fillIn(_("the posts must be two different ones of 1..{0}"), FieldSize)};
        steps = explainGridCell(day, what == "exacta", a - 1, b - 1);
    } else if (what == "twintri" || what == "trisuper") {
        require(Action::ExplainPayoff, 0);
        const std::string code = what == "twintri" ? "TwT" : "TrS";
        const std::string name = what == "twintri" ? "Twin-Tri" : "Tri-Super";
        const int wanted = args.size() == 2 ? number(args[1], N_("the ticket")) : 0;
        std::vector<const Credit*> credits;
        for (const Credit& credit : m_game.settlement().credits)
            if (credit.code == code && (wanted == 0 || credit.ticketNumber == wanted))
                credits.push_back(&credit);
        if (credits.empty())
            throw Failure{wanted ? fillIn(_("no {0} credit {1} was paid in the race just run"), name, wanted)
                                 : fillIn(_("no {0} credit was paid in the race just run"), name)};
        if (credits.size() > 1 && wanted == 0) {
            std::string numbers;
            for (const Credit* credit : credits)
                numbers += (numbers.empty() ? "" : ", ") + std::to_string(credit->ticketNumber);
            throw Failure{
                fillIn(_("several {0} credits were paid; name one by its ticket: {1}"), name, numbers)};
        }
        r["race"] =
            day.currentRace + (m_game.stage() == Stage::Results || m_game.stage() == Stage::TopTen ? 1 : 0);
        r["ticket"] = credits.front()->ticketNumber;
        r["payoff"] = centsText(credits.front()->payoff, false);
        text += fillIn(_("Race {0}"), r["race"].get<int>()) + "\n";
        steps = credits.front()->working;
    } else {
        const Payoffs& payoffs = m_game.payoffs();
        require(Action::ExplainPayoff, 0);
        if (args.size() == 3)
            throw Failure{_("usage: ") + "explain " + what + " [N]"};
        int post = args.size() == 2 ? number(args[1], N_("the horse")) : 0;
        std::string error;
        const Payoff* payoff = findPayoff(payoffs, what, post, &error);
        if (!payoff)
            throw Failure{error};
        const bool shown = m_game.stage() == Stage::Results || m_game.stage() == Stage::TopTen;
        const int race = day.currentRace + (shown ? 1 : 0);
        r["race"] = race;
        r["label"] = payoff->label;
        r["payoff"] = payoff->text;
        text += fillIn(_("Race {0}"), race) + "\n";
        steps = payoff->working;
    }
    r["steps"] = steps;
    for (const std::string& step : steps)
        text += "  " + step + "\n";
}

void CommandLine::cmdLedger(const Args& args, Json& r, std::string& text) {
    const HouseLedger& ledger = m_game.ledger();
    int race = -1;
    if (!args.empty()) {
        race = number(args[0], N_("the race")) - 1;
        if (race < 0 || race >= ledger.racesSettled())
            throw Failure{fillIn(_("race {0} has not been settled (races settled so far: {1})"), args[0],
                                 ledger.racesSettled())};
    }
    Json players = Json::array();
    // Dollars as the text shows them; every figure is a whole number of cents.
    auto cents = [](Cents value) { return centsToDollars(value); };
    auto figures = [&](const LedgerFigures& f) {
        return Json{{"wagered", cents(f.wagered)},
                    {"returned", cents(f.returned)},
                    {"net", cents(f.net())},
                    {"takeout", cents(f.takeout)},
                    {"breakage", cents(f.breakage)}};
    };
    for (const LedgerAccount& a : ledger.accounts()) {
        Json player = figures(race < 0 ? a.day() : a.races[static_cast<std::size_t>(race)]);
        player["playerId"] = a.playerId;
        player["name"] = a.name;
        Json balances = Json::array();
        for (Cents balance : a.balances)
            balances.push_back(cents(balance));
        player["balances"] = balances;
        players.push_back(player);
    }
    Json pools = Json::array();
    for (const PoolKept& pool : ledger.pools(race))
        pools.push_back(Json{{"pool", pool.pool},
                             {"total", cents(pool.total)},
                             {"paid", cents(pool.paid)},
                             {"kept", cents(pool.kept())},
                             {"takeout", cents(pool.takeout())}});
    r["race"] = race < 0 ? Json(nullptr) : Json(race + 1);
    r["players"] = players;
    r["all"] = figures(ledger.total(race));
    r["pools"] = pools;
    text += (race < 0 ? _("The day so far: what the house kept")
                      : fillIn(_("Race {0}: what the house kept"), race + 1)) +
            "\n";
    for (const std::string& line : ledgerLines(ledger, race))
        text += line + "\n";
    for (const LedgerAccount& a : ledger.accounts()) {
        text += padRight(leadingCharacters(a.name, 12), 12) + " " + _("balance");
        for (Cents balance : a.balances)
            text += " " + centsText(balance);
        text += "\n";
    }
    const std::vector<std::string> poolLines = poolKeptLines(ledger, race);
    if (!poolLines.empty())
        // xgettext:no-c-format
        text += _("What each pool kept, beside the nominal 25 % takeout (negative: the house paid in)\n");
    for (const std::string& line : poolLines)
        text += line + "\n";
}

} // namespace sw::cli
