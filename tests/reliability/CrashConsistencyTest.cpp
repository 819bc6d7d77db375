// A scripted race day is cut short at every write, rename and append the data folder makes: once
// by a write that fails (a full disk), once by the game stopping dead there (a kill). After a
// kill the next start's recovery runs; in both cases every file of the folder must be as it was
// before the step that was cut short or as it is after it, all files together, and the day must
// still start and play on what is left.

#include "ReliabilitySupport.h"

#include "core/Constants.h"
#include "players/Players.h"
#include "support/TestSupport.h"
#include "wagering/ExchangeCredits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <map>

using namespace sw;
namespace fs = std::filesystem;

namespace {

using Folder = std::map<std::string, std::string>;

constexpr auto contentsOf = test::folderContents;

struct Killed {};

// Counts the folder's operations and the steps they belong to. In the clean run it keeps the
// folder after every step; in a faulty run it fails, or stops the game at, operation `at`.
class Faults final : public FileFaults {
public:
    Faults(fs::path dir, int at, int err) : m_dir(std::move(dir)), m_at(at), m_err(err) {}

    int before(FileOp, std::string_view) override {
        if (m_failedInStep >= 0 && !m_checked) {
            // The failed step is over: the next one has begun.
            m_afterFailure = contentsOf(m_dir);
            m_checked = true;
        }
        if (++m_seen != m_at)
            return 0;
        m_failedInStep = m_steps;
        if (m_err == 0)
            throw Killed{};
        return m_err;
    }
    void stepDone() override {
        ++m_steps;
        if (m_at < 0)
            snapshots.push_back(contentsOf(m_dir));
    }

    int operations() const { return m_seen; }
    // The step cut short (0 for the first), or -1.
    int failedStep() const { return m_failedInStep; }
    // The folder when the step after the failed one began (or at the end of the day).
    const Folder& afterFailure() {
        if (!m_checked)
            m_afterFailure = contentsOf(m_dir);
        m_checked = true;
        return m_afterFailure;
    }

    std::vector<Folder> snapshots; // the clean run: the folder after each step

private:
    fs::path m_dir;
    int m_at;
    int m_err;
    int m_seen = 0;
    int m_steps = 0;
    int m_failedInStep = -1;
    bool m_checked = false;
    Folder m_afterFailure;
};

// Every kind of step: the start, players added and deleted, payments of single- and multi-race
// bets, results, the settlements (the Daily Double's last leg among them), Twin-Tri and Tri-Super
// halves bought, held as credits, exchanged and paid out, the day's end with the top ten, the
// reset and the start on the fresh stable.
void playScriptedDay(Game& game, test::ScriptedPrompter& prompter) {
    ASSERT_TRUE(game.startDay());
    game.toteBoard();
    RaceDay& day = game.day();
    addPlayer(day, "Ann");
    addPlayer(day, "Bob");
    addPlayer(day, "Cy");
    prompter.answer(true);
    deletePlayer(day); // Cy, selected when added
    const std::vector<std::vector<std::string>> tickets = {
        {"$2 Exacta Box 134", "$2 WPS on 3", "$2 DailyDouble Wheel 12 with All", "$1 Tri-Super Box All",
         "$1 Twin-Tri Box All"},
        {"$1 Trifecta Wheel 1 with 23 with All", "$2 Quiniela Wheel 12 with 13", "$2 Win on 5"},
        {"$1 Superfecta Box 1234", "$2 Pick3 Wheel All with All with 1"}};
    for (int race = 0; race < RacesPerDay; ++race) {
        const auto r = static_cast<std::size_t>(race);
        for (std::size_t t = 0; r < tickets.size() && t < tickets[r].size(); ++t) {
            selectBettor(day, static_cast<int>(t % day.players.entries.size()));
            game.ticketList().listTicket(day, tickets[r][t]);
        }
        // Both first halves cover every order, so both come in unless a failed step lost them:
        // the Twin-Tri is exchanged, the Tri-Super paid out.
        for (const ExchangeCredit& credit : creditsOfRace(day))
            if (credit.betType == "Twin-Tri" && game.betEntry().startExchange(day, credit.number))
                game.ticketList().listTicket(day, "$1 Twin-Tri Exchange " + std::to_string(credit.number) +
                                                      " Box 123");
        if (r < tickets.size())
            game.pay();
        ASSERT_TRUE(game.beginRace());
        game.finishRace();
        game.runResultsToEnd();
        game.confirmResults();
        if (game.stage() == Stage::Program)
            game.toteBoard();
    }
    ASSERT_EQ(game.stage(), Stage::TopTen);
    prompter.answer(true);
    game.resetDatabase();
}

struct CrashConsistency : ::testing::Test {
    void SetUp() override {
        test::copyBundledData(start.path());
        test::writeAll(start / "players.dat", "");
        // The clean run: how many operations, and the folder after each step.
        Faults clean(run.path(), -1, 0);
        playOn(clean);
        operations = clean.operations();
        snapshots = clean.snapshots;
        snapshots.insert(snapshots.begin(), contentsOf(start.path()));
        // The clean day holds both credits at once, the Twin-Tri's exchanged.
        const bool bothHeld = std::any_of(snapshots.begin(), snapshots.end(), [](const Folder& folder) {
            const auto file = folder.find(std::string(ExchangeCreditsFile));
            if (file == folder.end())
                return false;
            const std::vector<ExchangeCredit> credits = parseExchangeCredits(file->second);
            return credits.size() == 2 && credits[0].betType == "Twin-Tri" && credits[0].exchangedBy != 0 &&
                   credits[1].betType == "Tri-Super" && credits[1].exchangedBy == 0;
        });
        ASSERT_TRUE(bothHeld);
    }

    void playOn(Faults& faults) {
        fs::remove_all(run.path());
        fs::create_directories(run.path());
        for (const auto& [name, bytes] : contentsOf(start.path()))
            test::writeAll(run / name, bytes);
        DataFolder folder(run.path());
        folder.setFaults(&faults);
        SeededRandom random(7);
        test::ScriptedPrompter prompter;
        Game game(folder, random, prompter);
        try {
            playScriptedDay(game, prompter);
        } catch (const Killed&) {
        }
    }

    // Every `stride`-th operation cut short the same way.
    void cutShortAt(int err, int stride) {
        for (int k = 1; k <= operations; k += stride) {
            Faults faults(run.path(), k, err);
            playOn(faults);
            ASSERT_GE(faults.failedStep(), 0) << k;
            Folder now;
            if (err == 0) {
                // The next start recovers first.
                ASSERT_FALSE(DataFolder(run.path()).recover()) << k;
                now = contentsOf(run.path());
            } else {
                // A rename that failed after its step's commit is finished by the next step or
                // start; what counts is the folder once that is done.
                now = faults.afterFailure();
                if (now.count("stridewell.journal")) {
                    test::TempDir copy;
                    for (const auto& [name, bytes] : now)
                        test::writeAll(copy / name, bytes);
                    ASSERT_FALSE(DataFolder(copy.path()).recover()) << k;
                    now = contentsOf(copy.path());
                }
            }
            const auto s = static_cast<std::size_t>(faults.failedStep());
            ASSERT_TRUE(now == snapshots[s] || now == snapshots[s + 1])
                << "operation " << k << " of step " << s + 1 << (err ? " failed" : " killed");
            ASSERT_TRUE(reliability::folderProblems(run.path()).empty()) << k;
            if (err == 0 && k % 25 == 0) {
                // And the game starts on what is left.
                SeededRandom random(3);
                test::ScriptedPrompter prompter;
                Game game(run.path(), random, prompter);
                EXPECT_TRUE(game.startDay()) << k;
            }
        }
    }

    test::TempDir start;
    test::TempDir run;
    int operations = 0;
    std::vector<Folder> snapshots;
};

TEST_F(CrashConsistency, KilledAtAnyOperationEveryStepIsWholeOrUndone) {
    ASSERT_GT(operations, 100);
    RecordProperty("operations", operations);
    cutShortAt(0, 1);
}

TEST_F(CrashConsistency, AFailedWriteAtAnyOperationLeavesItsStepWholeOrUndone) {
    // A failure leaves the game running, so only every third operation: the kills cover each.
    cutShortAt(ENOSPC, 3);
}

} // namespace
