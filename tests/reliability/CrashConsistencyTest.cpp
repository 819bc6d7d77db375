// A scripted race day is cut short at every write, rename and append the data folder makes: by a
// write that fails (a full disk), or by the game stopping dead there (a kill, after which the next
// start's recovery runs). Either way every file of the folder must be as it was before the step
// that was cut short or as it is after it, all files together, and the day must still start.

#include "ReliabilitySupport.h"

#include "core/Constants.h"
#include "players/Players.h"
#include "support/GameDay.h"
#include "wagering/ExchangeCredits.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>

using namespace sw;
namespace fs = std::filesystem;

namespace {

using Folder = std::map<std::string, std::string>;
constexpr auto contentsOf = test::folderContents;

struct Killed {};

// Counts the folder's operations and the steps they belong to. In the clean run (at < 0) it keeps
// the folder after every step; otherwise it fails (with err), or stops the game at, operation `at`.
struct Faults final : FileFaults {
    Faults(fs::path dir, int at, int err) : dir(std::move(dir)), at(at), err(err) {}

    int before(FileOp op, std::string_view name) override {
        if (failedStep >= 0 && !folderAfterFailure)
            afterFailure(); // the failed step is over: the next one has begun
        if (++operations != at) {
            committed = committed || (op == FileOp::Rename && name == "stridewell.journal");
            return 0;
        }
        failedStep = steps;
        failedAfterCommit = committed;
        if (err == 0)
            throw Killed{};
        return err;
    }
    void stepDone() override {
        ++steps;
        committed = false;
        if (at < 0)
            snapshots.push_back(contentsOf(dir));
    }
    // The folder when the step after the failed one began (or at the end of the day), and whether
    // the game kept the failed step's changes for the next one.
    const Folder& afterFailure() {
        if (!folderAfterFailure) {
            folderAfterFailure = contentsOf(dir);
            failureCarried = game && game->day().folder.unsaved();
        }
        return *folderAfterFailure;
    }

    fs::path dir;
    int at, err;
    int operations = 0, steps = 0;
    int failedStep = -1;            // the step cut short, 0 for the first
    bool committed = false;         // the current step's journal has its name
    bool failedAfterCommit = false; // the failure came once its step was committed
    bool failureCarried = false;    // refused, and kept to go out with the next step
    const Game* game = nullptr;
    std::optional<Folder> folderAfterFailure;
    std::vector<Folder> snapshots; // the clean run: the folder after each step
};

// Every kind of step: the start, players added and deleted, payments of single- and multi-race
// bets, results, the settlements (the Daily Double's last leg among them), Twin-Tri and Tri-Super
// halves bought, held as credits, exchanged and paid out, the day's end with the top ten, the
// reset and the start on the fresh stable.
void playScriptedDay(Game& game, test::ScriptedPrompter& prompter) {
    ASSERT_TRUE(game.startDay());
    game.toteBoard();
    RaceDay& day = game.day();
    for (const char* name : {"Ann", "Bob", "Cy"})
        addPlayer(day, name);
    deletePlayer(day); // Cy, selected when added
    const std::vector<std::vector<std::string>> tickets = {
        {"$2 Exacta Box 134", "$2 WPS on 3", "$2 DailyDouble Wheel 12 with All", "$1 Tri-Super Box All",
         "$1 Twin-Tri Box All"},
        {"$1 Trifecta Wheel 1 with 23 with All", "$2 Quiniela Wheel 12 with 13", "$2 Win on 5"},
        {"$1 Superfecta Box 1234", "$2 Pick3 Wheel All with All with 1"}};
    for (std::size_t race = 0; race < RacesPerDay; ++race) {
        for (std::size_t t = 0; race < tickets.size() && t < tickets[race].size(); ++t) {
            selectBettor(day, static_cast<int>(t % day.players.entries.size()));
            game.ticketList().listTicket(day, tickets[race][t]);
        }
        // Both first halves cover every order, so both come in unless a failed step lost them:
        // the Twin-Tri is exchanged, the Tri-Super paid out.
        for (const ExchangeCredit& credit : creditsOfRace(day))
            if (credit.betType == "Twin-Tri" && game.betEntry().startExchange(day, credit.number))
                game.ticketList().listTicket(day, "$1 Twin-Tri Exchange " + std::to_string(credit.number) +
                                                      " Straight 123");
        if (race < tickets.size())
            game.pay();
        ASSERT_TRUE(test::playRace(game));
    }
    ASSERT_EQ(game.stage(), Stage::TopTen);
    prompter.answer(true);
    game.resetDatabase();
}

// Each player as the day holds them in memory.
std::string playersHeld(const Game& game) {
    std::string text;
    for (const PlayerEntry& p : game.day().players.entries)
        text += std::to_string(p.playerId) + "," + p.name + "," + p.balance + "\n";
    return text;
}

struct CrashConsistency : ::testing::TestWithParam<int> {
    test::TempDir start;
    test::TempDir run;
    std::string playersAtEnd; // the last run's players in memory when its day was over

    void playOn(Faults& faults, DiskObserver* observer = nullptr) {
        fs::remove_all(run.path());
        fs::create_directories(run.path());
        for (const auto& [name, bytes] : contentsOf(start.path()))
            test::writeAll(run / name, bytes);
        DataFolder folder(run.path());
        folder.setFaults(&faults);
        folder.setObserver(observer);
        SeededRandom random(7);
        test::ScriptedPrompter prompter;
        Game game(folder, random, prompter);
        faults.game = &game;
        try {
            playScriptedDay(game, prompter);
        } catch (const Killed&) {
        }
        if (faults.err != 0 && faults.failedStep >= 0)
            faults.afterFailure();
        faults.game = nullptr;
        playersAtEnd = playersHeld(game);
    }
};

// A failure leaves the game running, so only every third operation fails: the kills cover each.
TEST_P(CrashConsistency, EveryStepCutShortAtAnyOperationIsWholeOrUndone) {
    const int err = GetParam();
    test::copyBundledData(start.path());
    test::writeAll(start / "players.dat", "");
    // The clean run: how many operations, and the folder after each step.
    // It also puts every step on disk in an order a power cut keeps.
    Faults clean(run.path(), -1, 0);
    test::DiskOrderCheck order;
    playOn(clean, &order);
    ASSERT_GT(clean.operations, 100);
    EXPECT_EQ(order.problems(), std::vector<std::string>{});
    const Folder cleanEnd = contentsOf(run.path());
    const std::string cleanPlayers = playersAtEnd;
    std::vector<Folder> snapshots = clean.snapshots;
    snapshots.insert(snapshots.begin(), contentsOf(start.path()));
    // The clean day holds both credits at once, the Twin-Tri's exchanged: the sweep cuts those steps too.
    ASSERT_TRUE(std::any_of(snapshots.begin(), snapshots.end(), [](const Folder& folder) {
        const auto file = folder.find(std::string(ExchangeCreditsFile));
        const auto credits = parseExchangeCredits(file == folder.end() ? "" : file->second);
        return credits.size() == 2 && credits[0].betType == "Twin-Tri" && credits[0].exchangedBy != 0 &&
               credits[1].betType == "Tri-Super" && credits[1].exchangedBy == 0;
    }));

    // STRIDEWELL_CUT_EVERY thins the sweep where a run is slow (under the sanitizers).
    const char* every = std::getenv("STRIDEWELL_CUT_EVERY");
    const int stride = (err ? 3 : 1) * std::max(1, every ? std::atoi(every) : 1);
    int carried = 0;
    for (int k = 1; k <= clean.operations; k += stride) {
        Faults faults(run.path(), k, err);
        playOn(faults);
        ASSERT_GE(faults.failedStep, 0) << k;
        carried += faults.failureCarried;
        // A rename that failed after its step's commit is finished by the next step or start; what
        // counts is the folder once that is done. After a kill the next start recovers first.
        if (err == 0) {
            DataFolder recovering(run.path());
            test::DiskOrderCheck recoveryOrder;
            recoveryOrder.journalLeftByAKill();
            recovering.setObserver(&recoveryOrder);
            ASSERT_FALSE(recovering.recover()) << k;
            ASSERT_EQ(recoveryOrder.problems(), std::vector<std::string>{}) << k;
        }
        Folder now = err ? faults.afterFailure() : contentsOf(run.path());
        if (now.count("stridewell.journal")) {
            test::TempDir copy;
            for (const auto& [name, bytes] : now)
                test::writeAll(copy / name, bytes);
            ASSERT_FALSE(DataFolder(copy.path()).recover()) << k;
            now = contentsOf(copy.path());
        }
        const auto s = static_cast<std::size_t>(faults.failedStep);
        ASSERT_TRUE(now == snapshots[s] || now == snapshots[s + 1])
            << "operation " << k << " of step " << s + 1 << (err ? " failed" : " killed");
        ASSERT_TRUE(reliability::folderProblems(run.path()).empty()) << k;
        // A failure after its step's commit only delays a file, and a step the game has taken (a
        // race run, a settlement, a day begun) that the disk refused goes out with the next: the day
        // goes on as the clean one, to the same files and the same balances.
        if (err != 0 && (faults.failedAfterCommit || faults.failureCarried)) {
            ASSERT_FALSE(DataFolder(run.path()).recover()) << k;
            EXPECT_TRUE(contentsOf(run.path()) == cleanEnd)
                << "operation " << k << (faults.failureCarried ? " was refused" : " failed after its commit");
            EXPECT_EQ(playersAtEnd, cleanPlayers) << k;
        }
        if (err == 0 && k % 25 == 0) {
            SeededRandom random(3);
            test::ScriptedPrompter prompter;
            EXPECT_TRUE(Game(run.path(), random, prompter).startDay())
                << "the game starts on what is left, " << k;
        }
    }
    EXPECT_EQ(carried > 0, err != 0) << "race saves and settlements were refused and carried";
}

INSTANTIATE_TEST_SUITE_P(KilledOrFailedWrite, CrashConsistency, ::testing::Values(0, ENOSPC),
                         [](const auto& info) { return info.param ? "FailedWrite" : "Killed"; });

} // namespace
