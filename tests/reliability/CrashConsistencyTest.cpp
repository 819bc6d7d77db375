// The text front end is killed (SIGKILL) at many points of a scripted race day and started again
// on the same folder each time. After every kill each file must be whole and readable, and every
// player's balance must be the one before or the one after the step that was cut short.

#include "ReliabilitySupport.h"

#include "cli/CommandLine.h"
#include "core/Constants.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <random>
#include <set>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace sw;
namespace fs = std::filesystem;
using Balances = std::map<std::string, std::string>;

namespace {

// Three races: tickets of six bets for two players, each payment and each settlement followed by
// "players", so the output shows the balances after every step that changes them.
const char* const DayScript = R"(players
select 1
ticket $2 Exacta Box 134
pay
players
select 2
ticket $2 WPS on 3
pay
players
run no
players
ok
players
select 1
ticket $2 DailyDouble Wheel 12 with All
pay
players
select 2
ticket $1 Trifecta Wheel 1 with 23 with All
pay
players
run no
players
ok
players
select 1
ticket $1 Superfecta Box 1234
pay
players
select 2
ticket $2 Quiniela Wheel 12 with 13
pay
players
run no
players
ok
players
)";

// The iterations of each kind; STRIDEWELL_CRASH_KILLS raises them for a longer run.
int killsPerKind() {
    const char* text = std::getenv("STRIDEWELL_CRASH_KILLS");
    return text ? std::max(1, std::atoi(text)) : 40;
}

// One run of stridewell-cli on the folder with the script, its output read line by line.
class CliRun {
public:
    CliRun(const fs::path& dir, const fs::path& script) {
        int out[2];
        if (::pipe(out) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, STDERR_FILENO);
            ::close(out[0]);
            ::execl(STRIDEWELL_CLI, STRIDEWELL_CLI, "--data-dir", dir.c_str(), "--seed", "42", "--json",
                    script.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(out[1]);
        m_fd = out[0];
    }
    ~CliRun() {
        kill();
        if (m_fd >= 0)
            ::close(m_fd);
    }

    // The next whole line of output; false at the end of the output.
    bool readLine(std::string& line) {
        while (true) {
            auto end = m_buffer.find('\n');
            if (end != std::string::npos) {
                line = m_buffer.substr(0, end);
                m_buffer.erase(0, end + 1);
                return true;
            }
            char chunk[4096];
            ssize_t n = ::read(m_fd, chunk, sizeof chunk);
            if (n <= 0)
                return false;
            m_buffer.append(chunk, static_cast<std::size_t>(n));
        }
    }

    // Every remaining whole line, once the program has ended or been killed.
    std::vector<std::string> rest() {
        std::vector<std::string> lines;
        std::string line;
        while (readLine(line))
            lines.push_back(line);
        return lines;
    }

    void kill() {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGKILL);
        wait();
    }
    int wait() {
        int status = 0;
        if (m_pid > 0)
            while (::waitpid(m_pid, &status, 0) < 0) {
            }
        m_pid = -1;
        return status;
    }

private:
    pid_t m_pid = -1;
    int m_fd = -1;
    std::string m_buffer;
};

// The balance texts of a "players" command's output, by player number; nothing for other commands.
std::optional<Balances> balancesIn(const std::string& line) {
    auto json = cli::Json::parse(line, nullptr, false);
    if (json.is_discarded() || json.value("command", "") != "players")
        return std::nullopt;
    Balances balances;
    for (const auto& player : json["players"])
        balances[player["cmbPlayerId"].get<std::string>()] = player["cmbBalance"].get<std::string>();
    return balances;
}

// The winnings of a "run" command's output in the order they were credited, as name and amount.
// A settlement may save players.dat more than once, so a kill may fall between its credits.
std::vector<std::pair<std::string, double>> creditsIn(const std::string& line) {
    std::vector<std::pair<std::string, double>> credits;
    auto json = cli::Json::parse(line, nullptr, false);
    if (json.is_discarded() || json.value("command", "") != "run")
        return credits;
    for (const auto& winner : json["lstWinners"]) {
        // "   $5.40 -Win- Bob"
        std::string text = winner.get<std::string>();
        std::size_t dollar = text.find('$');
        std::size_t name = text.find("- ", text.find(" -") + 2);
        if (dollar == std::string::npos || name == std::string::npos)
            continue;
        credits.emplace_back(text.substr(name + 2), std::stod(text.substr(dollar + 1)));
    }
    return credits;
}

std::map<std::string, std::string> namesIn(const std::string& line) {
    std::map<std::string, std::string> ids;
    auto json = cli::Json::parse(line, nullptr, false);
    if (!json.is_discarded() && json.contains("players"))
        for (const auto& player : json["players"])
            ids[player["cmbBettor"].get<std::string>()] = player["cmbPlayerId"].get<std::string>();
    return ids;
}

Balances balancesOnDisk(const fs::path& dir) {
    Balances balances;
    if (auto players = reliability::playersOnDisk(dir))
        for (const auto& [id, balance] : *players)
            balances[std::to_string(id)] = balance;
    return balances;
}

void copyFolder(const fs::path& from, const fs::path& to) {
    fs::remove_all(to);
    fs::create_directories(to);
    for (const auto& entry : fs::directory_iterator(from))
        if (entry.is_regular_file())
            fs::copy_file(entry.path(), to / entry.path().filename());
}

struct CrashConsistency : ::testing::Test {
    test::TempDir dir;
    test::TempDir scratch;
    fs::path script;
    std::mt19937 rng{20261206};
    std::set<std::size_t> linesReached; // kill points: whole output lines before each kill
    int kills = 0;

    void SetUp() override {
        test::copyBundledData(dir.path());
        test::writeAll(dir / "players.dat", "1,Ann,400\r\n2,Bob,400\r\n");
        script = scratch / "day.txt";
        test::writeAll(script, DayScript);
    }

    // The whole day as it runs uninterrupted from the folder as it is now.
    std::vector<std::string> reference() {
        const fs::path copy = scratch / "reference";
        copyFolder(dir.path(), copy);
        CliRun run(copy, script);
        std::vector<std::string> lines = run.rest();
        run.wait();
        return lines;
    }

    // Runs the day, kills it by `killAt` and checks what it left on disk.
    void killAndCheck(const std::function<void(CliRun&, std::vector<std::string>&)>& killAt) {
        const Balances before = balancesOnDisk(dir.path());
        const std::vector<std::string> expected = reference();
        std::vector<std::string> seen;
        {
            CliRun run(dir.path(), script);
            killAt(run, seen);
            run.kill();
            for (std::string& line : run.rest())
                seen.push_back(std::move(line));
        }
        ++kills;
        linesReached.insert(seen.size());

        ASSERT_LE(seen.size(), expected.size());
        for (std::size_t i = 0; i < seen.size(); ++i)
            ASSERT_EQ(seen[i], expected[i]) << "a restarted day must replay as the uninterrupted one";
        std::vector<std::string> problems = reliability::folderProblems(dir.path());
        ASSERT_TRUE(problems.empty())
            << "killed after " << seen.size() << " lines: " << ::testing::PrintToString(problems);

        // The balances shown last before the kill, and the next ones the day would have shown.
        Balances last = before;
        std::optional<Balances> next;
        std::map<std::string, std::string> ids;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            auto balances = balancesIn(expected[i]);
            if (!balances)
                continue;
            if (i < seen.size()) {
                last = *balances;
                ids = namesIn(expected[i]);
            } else {
                next = *balances;
                break;
            }
        }
        // Between the two, a settlement cut short leaves the credits made before the kill.
        std::map<std::string, std::vector<double>> between;
        if (seen.size() < expected.size()) {
            for (const auto& [name, amount] : creditsIn(expected[seen.size()])) {
                const std::string& id = ids[name];
                std::vector<double>& path = between[id];
                double from = path.empty() ? (last.count(id) ? std::stod(last.at(id)) : 0.0) : path.back();
                path.push_back(from + amount);
            }
        }
        const Balances now = balancesOnDisk(dir.path());
        ASSERT_EQ(now.size(), 2u) << test::readAll(dir / "players.dat");
        for (const auto& [id, balance] : now) {
            bool asBefore = last.count(id) && last.at(id) == balance;
            bool asAfter = next && next->count(id) && next->at(id) == balance;
            bool partWay = std::any_of(between[id].begin(), between[id].end(),
                                       [&](double b) { return std::fabs(b - std::stod(balance)) < 0.006; });
            EXPECT_TRUE(asBefore || asAfter || partWay)
                << "player " << id << " holds " << balance << " after a kill at line " << seen.size();
        }
    }
};

TEST_F(CrashConsistency, KilledAfterAnyWholeLineEveryFileStaysWhole) {
    const std::size_t lines = reference().size();
    ASSERT_GT(lines, 30u);
    for (int i = 0; i < killsPerKind() && !HasFatalFailure(); ++i) {
        const std::size_t k = static_cast<std::size_t>(i) % lines;
        killAndCheck([&](CliRun& run, std::vector<std::string>& seen) {
            std::string line;
            while (seen.size() < k && run.readLine(line))
                seen.push_back(line);
        });
    }
    EXPECT_GE(linesReached.size(),
              std::min<std::size_t>(lines, static_cast<std::size_t>(killsPerKind())) / 2);
    RecordProperty("kills", kills);
    std::cout << "[ kills    ] " << kills << " kills after whole lines, " << linesReached.size()
              << " different kill points\n";
}

TEST_F(CrashConsistency, KilledAtAnyMomentEveryFileStaysWhole) {
    // How long an uninterrupted day takes here, so the kills spread over all of it.
    auto start = std::chrono::steady_clock::now();
    reference();
    const auto span =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    std::uniform_int_distribution<long> delay(0, std::max<long>(1, span.count()));
    for (int i = 0; i < killsPerKind() && !HasFatalFailure(); ++i) {
        const auto after = std::chrono::microseconds(delay(rng));
        killAndCheck([&](CliRun&, std::vector<std::string>&) { std::this_thread::sleep_for(after); });
    }
    std::cout << "[ kills    ] " << kills << " kills at random moments, " << linesReached.size()
              << " different kill points\n";
}

TEST_F(CrashConsistency, AfterTheKillsADayPlaysToItsEnd) {
    for (int i = 0; i < 8; ++i)
        killAndCheck([&](CliRun& run, std::vector<std::string>& seen) {
            std::string line;
            while (seen.size() < static_cast<std::size_t>(4 * i + 3) && run.readLine(line))
                seen.push_back(line);
        });
    std::vector<std::string> whole;
    {
        CliRun run(dir.path(), script);
        whole = run.rest();
        EXPECT_EQ(run.wait(), 0);
    }
    EXPECT_EQ(whole.size(), reference().size());
    EXPECT_TRUE(reliability::folderProblems(dir.path()).empty());
    EXPECT_FALSE(fs::exists(dir / "stable.commit"));
}

} // namespace
