// Cost of pricing and paying tickets: the 262,144 combinations of a Pick 6 on every horse (priced,
// then paid with its pool lines written), and an ordinary ticket paid with its tote refresh.

#include "core/FileStore.h"
#include "core/Prompter.h"
#include "core/RaceDay.h"
#include "core/Random.h"
#include "core/TextEncoding.h"
#include "wagering/Payment.h"
#include "wagering/TicketPricing.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr const char* PickSixOfAll = "$2 Pick6 Wheel All with All with All with All with All with All";
constexpr const char* RichBalance = "100000000";

class QuietPrompter final : public sw::Prompter {
public:
    void message(std::string_view, std::string_view) override {}
    bool ask(std::string_view, std::string_view) override { return false; }
};

// The public lines of one race, numbered as the pool writer numbers them.
struct PublicPools {
    std::string wins, places, shows, quinielas, exactas, trifectas, superfectas;

    PublicPools() {
        int32_t number = 0;
        auto line = [&](std::initializer_list<int> posts, int amount) {
            sw::RecordWriter record;
            record.integer(++number);
            for (int post : posts)
                record.integer(post);
            return record.integer(amount).line();
        };
        for (int h = 1; h <= 8; ++h) {
            wins += line({h}, 1000 + 97 * h);
            places += line({h}, 740 + 71 * h);
            shows += line({h}, 840 + 81 * h);
        }
        for (int i = 1; i <= 8; ++i)
            for (int j = 1; j <= 8; ++j) {
                if (i == j)
                    continue;
                if (i < j)
                    quinielas += line({i, j}, 40 + i + j);
                exactas += line({i, j}, 30 + i * j);
                for (int k = 1; k <= 8; ++k) {
                    if (k == i || k == j)
                        continue;
                    trifectas += line({i, j, k}, 5 + k);
                    for (int l = 1; l <= 8; ++l)
                        if (l != i && l != j && l != k)
                            superfectas += line({i, j, k, l}, 1 + l % 3);
                }
            }
    }
};

// A race day in a temp folder: the seven single-race pool files holding the 2124 public lines of
// race 7, and one rich player.
class BettingDay : public benchmark::Fixture {
public:
    void SetUp(const benchmark::State&) override {
        std::mt19937_64 names{std::random_device{}()};
        m_dir = fs::temp_directory_path() / ("stridewell-bench-" + std::to_string(names()));
        fs::create_directories(m_dir);
        writePools();
        m_day = std::make_unique<sw::RaceDay>(m_dir, m_random, m_prompter);
        m_day->date = "5/12/2026";
        m_day->currentRace = 6;
        m_day->players.entries.push_back(sw::PlayerEntry{1, "Ann", RichBalance});
        m_day->players.selected = 0;
        sw::writeFileAtomic(m_dir / "players.dat", "1,Ann," + std::string(RichBalance) + "\r\n");
    }

    void TearDown(const benchmark::State&) override {
        m_day.reset();
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }

protected:
    void writePools() {
        sw::writeFileAtomic(m_dir / "wins.dat", m_pools.wins);
        sw::writeFileAtomic(m_dir / "places.dat", m_pools.places);
        sw::writeFileAtomic(m_dir / "shows.dat", m_pools.shows);
        sw::writeFileAtomic(m_dir / "quinielas.dat", m_pools.quinielas);
        sw::writeFileAtomic(m_dir / "exactas.dat", m_pools.exactas);
        sw::writeFileAtomic(m_dir / "trifectas.dat", m_pools.trifectas);
        sw::writeFileAtomic(m_dir / "superfectas.dat", m_pools.superfectas);
    }

    // One unpaid ticket, fresh files and the full balance, so every round pays the same way.
    void freshRound(const char* ticket, const char* poolFile, const std::string& publicLines) {
        m_day->tickets = {sw::ListedTicket{ticket, 1, false}};
        m_day->pools.ticketCounter = 2124;
        m_day->players.entries[0].balance = RichBalance;
        sw::writeFileAtomic(m_dir / "tickets.dat", "");
        sw::writeFileAtomic(m_dir / poolFile, publicLines);
    }

    fs::path m_dir;
    sw::SeededRandom m_random{7};
    QuietPrompter m_prompter;
    PublicPools m_pools;
    std::unique_ptr<sw::RaceDay> m_day;
};

// Reading the ticket back, counting it and marking every combination, as payment does.
BENCHMARK_F(BettingDay, PricePickSixOfAll)(benchmark::State& state) {
    sw::CombinationMarks marks;
    for (auto _ : state) {
        auto ticket = sw::parseTicketText(PickSixOfAll);
        sw::TicketPrice price = sw::expandTicket(*ticket, marks);
        benchmark::DoNotOptimize(price);
    }
}

// Target: 200 ms in Release, the 262,144 pool lines written included.
BENCHMARK_F(BettingDay, PayPickSixOfAll)(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        freshRound(PickSixOfAll, "pick6s.dat", "");
        state.ResumeTiming();
        sw::PaymentReport report = sw::payTickets(*m_day);
        if (report.paid != 1)
            state.SkipWithError("the ticket was not paid");
    }
}

// Target: 2 ms in Release, the tote refresh over the 2124 public lines included.
BENCHMARK_F(BettingDay, PayOrdinaryTicket)(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        freshRound("$2 Exacta Box 134", "exactas.dat", m_pools.exactas);
        state.ResumeTiming();
        sw::PaymentReport report = sw::payTickets(*m_day);
        if (report.paid != 1)
            state.SkipWithError("the ticket was not paid");
    }
}

} // namespace
