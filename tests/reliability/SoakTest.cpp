// Many race days played headless with random players, amounts and tickets of every bet, checking
// after every payment and every race what must always hold: every dollar accounted for, every
// paid ticket on file with its pool lines, pools that add up, records that add up, and files that
// stay whole and small. Two days by default; STRIDEWELL_SOAK_DAYS asks for more (ctest -L long).

#include "ReliabilitySupport.h"

#include "core/Constants.h"
#include "core/TextEncoding.h"
#include "database/DatabaseFiles.h"
#include "database/ResetDatabase.h"
#include "players/Players.h"
#include "settlement/MoneyLedger.h"
#include "support/TestSupport.h"
#include "tote/PoolFiles.h"
#include "wagering/ExchangeCredits.h"
#include "wagering/TicketPricing.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <random>

using namespace sw;
namespace fs = std::filesystem;

namespace {

int soakDays() {
    const char* text = std::getenv("STRIDEWELL_SOAK_DAYS");
    return text ? std::max(1, std::atoi(text)) : 2;
}

std::vector<PoolFile> poolFilesOf(const ParsedTicket& ticket) {
    switch (ticket.type) {
    case BetType::Win:
        return {PoolFile::Wins};
    case BetType::Place:
        return {PoolFile::Places};
    case BetType::Show:
        return {PoolFile::Shows};
    case BetType::WPS:
        return {PoolFile::Wins, PoolFile::Places, PoolFile::Shows};
    case BetType::Quiniela:
        return {PoolFile::Quinielas};
    case BetType::Exacta:
        return {PoolFile::Exactas};
    case BetType::Trifecta:
        return {PoolFile::Trifectas};
    case BetType::Superfecta:
        return {PoolFile::Superfectas};
    case BetType::DailyDouble:
        return {PoolFile::DailyDoubles};
    case BetType::Pick3:
        return {PoolFile::Pick3s};
    case BetType::Pick6:
        return {PoolFile::Pick6s};
    case BetType::TwinTri:
        return {ticket.exchange > 0 ? PoolFile::TwinTriExchanges : PoolFile::TwinTris};
    case BetType::TriSuper:
        return {ticket.exchange > 0 ? PoolFile::TriSuperExchanges : PoolFile::TriSupers};
    }
    return {};
}

class Soak : public ::testing::Test {
protected:
    test::TempDir dir;
    test::ScriptedPrompter prompter;
    std::mt19937 rng{777};
    int racesRun = 0;
    int daysPlayed = 0;
    int ticketsPaid = 0;
    int creditsExchanged = 0;
    int creditsPaidOut = 0;

    // The bundled names as a fresh stable, so the stable's starts are exactly the races run here.
    void SetUp() override {
        test::copyBundledData(dir.path());
        SeededRandom random(777);
        RaceDay day(dir.path(), random, prompter);
        loadHorses(day);
        loadJockeys(day);
        ASSERT_FALSE(writeFreshStable(day));
    }

    int below(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }

    // Every horse's and jockey's record adds up, and the stable holds exactly the starts run.
    void checkRecords(const RaceDay& day) {
        long horseStarts = 0;
        for (int h = 1; h <= HorseCount; ++h) {
            const Horse& horse = day.db.horses[static_cast<std::size_t>(h)];
            ASSERT_GE(horse.firsts, 0);
            ASSERT_GE(horse.earnings, 0);
            ASSERT_GE(horse.starts, horse.firsts + horse.seconds + horse.thirds + horse.fourths)
                << horse.name;
            horseStarts += horse.starts;
        }
        long jockeyStarts = 0;
        for (int j = 1; j <= JockeyCount; ++j) {
            const Jockey& jockey = day.db.jockeys[static_cast<std::size_t>(j)];
            ASSERT_GE(jockey.starts, jockey.firsts + jockey.seconds + jockey.thirds + jockey.fourths)
                << jockey.name;
            jockeyStarts += jockey.starts;
        }
        EXPECT_EQ(horseStarts, FieldSize * racesRun);
        EXPECT_EQ(jockeyStarts, FieldSize * racesRun);
    }

    // What a start-up leaves: whole files, at most 15 past lines a horse, nothing growing.
    void checkStartOfDay(const Game& game) {
        EXPECT_TRUE(reliability::folderProblems(dir.path()).empty())
            << ::testing::PrintToString(reliability::folderProblems(dir.path()));
        std::map<int, int> lines;
        for (const std::string& line : test::readLines(dir / "pastperformances.dat"))
            ++lines[std::stoi(line.substr(0, line.find(',')))];
        for (const auto& [horse, count] : lines)
            ASSERT_LE(count, PastPerformanceKeep) << "horse " << horse;
        EXPECT_TRUE(test::readAll(dir / "tickets.dat").empty());
        std::uintmax_t bytes = 0;
        for (const auto& entry : fs::directory_iterator(dir.path()))
            bytes += entry.file_size();
        EXPECT_LT(bytes, 2u << 20) << "the data folder keeps growing";
        EXPECT_LE(test::readLines(dir / "top10players.dat").size(), 10u);
        checkRecords(game.day());
    }

    // Each newly paid ticket has its tickets.dat line and its pool lines under its number, and the
    // pools in memory are the sums of the pool files' lines.
    void checkPayment(const RaceDay& day, const std::vector<std::pair<int32_t, ListedTicket>>& paid) {
        std::map<int32_t, std::string> ticketLines;
        for (const std::string& line : test::readLines(dir / "tickets.dat"))
            ticketLines[std::stoi(line.substr(0, line.find(',')))] = line;
        for (const auto& [number, listed] : paid) {
            auto ticket = parseTicketText(listed.text);
            ASSERT_TRUE(ticket);
            ASSERT_TRUE(ticketLines.count(number)) << "ticket " << number << " " << listed.text;
            // number, owner, amount, bet, race, then the date.
            std::string expected = RecordWriter()
                                       .integer(number)
                                       .integer(listed.playerId)
                                       .integer(ticket->amount)
                                       .text(ticket->exchange > 0 ? exchangeFileWord(ticket->type)
                                                                  : ticketFileWord(ticket->type))
                                       .integer(day.currentRace + 1)
                                       .empty()
                                       .line();
            expected.erase(expected.size() - LineEnd.size());
            EXPECT_EQ(ticketLines[number].rfind(expected, 0), 0u) << ticketLines[number];
            CombinationMarks marks;
            expandTicket(*ticket, marks);
            for (PoolFile file : poolFilesOf(*ticket)) {
                std::size_t lines = 0;
                forEachPoolLine(day.folder.read(poolFileName(file)).bytes, file, [&](const PoolLine& line) {
                    if (line.ticket == number) {
                        ++lines;
                        EXPECT_EQ(line.amount, ticket->amount);
                    }
                });
                EXPECT_EQ(lines, marks.markedCount()) << listed.text << " in " << poolFileName(file);
            }
        }
        const std::pair<PoolFile, int32_t> totals[] = {{PoolFile::Wins, day.pools.winTotal},
                                                       {PoolFile::Places, day.pools.placeTotal},
                                                       {PoolFile::Shows, day.pools.showTotal},
                                                       {PoolFile::Quinielas, day.pools.quinielaTotal},
                                                       {PoolFile::Exactas, day.pools.exactaTotal},
                                                       {PoolFile::Trifectas, day.pools.trifectaTotal},
                                                       {PoolFile::Superfectas, day.pools.superfectaTotal}};
        for (const auto& [file, total] : totals) {
            double sum = 0;
            forEachPoolLine(day.folder.read(poolFileName(file)).bytes, file,
                            [&](const PoolLine& line) { sum += line.amount; });
            EXPECT_EQ(sum, total) << poolFileName(file);
        }
        std::array<double, FieldSize> win{};
        forEachPoolLine(day.folder.read("wins.dat").bytes, PoolFile::Wins, [&](const PoolLine& line) {
            win[static_cast<std::size_t>(line.horses[0] - 1)] += line.amount;
        });
        for (std::size_t h = 0; h < FieldSize; ++h)
            EXPECT_EQ(win[h], day.pools.win[h]) << "post " << h + 1;
    }

    void checkMoney(const RaceDay& day, const MoneyLedger& ledger) {
        for (const LedgerMismatch& m : ledger.check(day.players))
            ADD_FAILURE() << m.name << " holds " << m.actual << " instead of " << m.expected;
        auto onDisk = reliability::playersOnDisk(dir.path());
        ASSERT_TRUE(onDisk.has_value());
        ASSERT_EQ(onDisk->size(), day.players.entries.size());
        for (const PlayerEntry& player : day.players.entries)
            EXPECT_EQ((*onDisk)[player.playerId], player.balance) << player.name;
    }

    // Now and then a player joins or leaves, so the list changes between days.
    void changePlayers(Game& game) {
        RaceDay& day = game.day();
        static const char* names[] = {"Ann",
                                      "Bo Lee",
                                      "Cy",
                                      "D\xc3\xa9"
                                      "dee",
                                      "Eve",
                                      "Flo \xf0\x9f\x90\x8e"};
        while (day.players.entries.size() < 2 || (day.players.entries.size() < 5 && below(3) == 0))
            ASSERT_TRUE(addPlayer(day, names[below(6)]));
        if (day.players.entries.size() > 3 && below(4) == 0) {
            selectBettor(day, below(static_cast<int>(day.players.entries.size())));
            prompter.answer(true);
            deletePlayer(day);
        }
    }

    // Pays what is listed and checks the records and the money of every ticket paid now.
    void payListed(RaceDay& day, Game& game, MoneyLedger& ledger) {
        std::vector<bool> wasPaid;
        for (const ListedTicket& t : day.tickets)
            wasPaid.push_back(t.paid);
        int32_t number = day.pools.ticketCounter;
        game.pay();
        std::vector<std::pair<int32_t, ListedTicket>> paid;
        for (std::size_t i = 0; i < day.tickets.size(); ++i)
            if (day.tickets[i].paid && !wasPaid[i]) {
                paid.emplace_back(++number, day.tickets[i]);
                ledger.charge(day.tickets[i].playerId,
                              static_cast<double>(priceTicket(day.tickets[i].text).cost));
            }
        ticketsPaid += static_cast<int>(paid.size());
        ASSERT_NO_FATAL_FAILURE(checkPayment(day, paid));
        ASSERT_NO_FATAL_FAILURE(checkMoney(day, ledger));
    }

    void playRace(Game& game, MoneyLedger& ledger) {
        RaceDay& day = game.day();
        // Some credits are exchanged, by a second half of any mode, and paid before the other
        // bets can leave their owners short; the others are paid out.
        for (const ExchangeCredit& credit : creditsOfRace(day)) {
            const int owner = findPlayer(day.players, credit.playerId);
            if (owner < 0 || below(3) == 0)
                continue;
            selectBettor(day, owner);
            const BetType half = secondHalfOf(*betTypeFromWord(credit.betType));
            std::string text = reliability::randomTicket(
                rng, half, std::array{BetMode::Straight, BetMode::Box, BetMode::Wheel}[below(3)],
                credit.amount);
            const std::string word = " " + std::string(betWord(half)) + " ";
            text.replace(text.find(word), word.size(),
                         " " + credit.betType + " Exchange " + std::to_string(credit.number) + " ");
            game.ticketList().listTicket(day, text);
        }
        ASSERT_NO_FATAL_FAILURE(payListed(day, game, ledger));
        for (const ExchangeCredit& credit : creditsOfRace(day))
            ++(credit.exchangedBy != 0 ? creditsExchanged : creditsPaidOut);

        const int players = static_cast<int>(day.players.entries.size());
        for (int p = 0; p < players; ++p) {
            selectBettor(day, p);
            if (day.players.selected != p)
                continue; // out of cash
            for (int t = below(4); t > 0; --t)
                game.ticketList().listTicket(day, reliability::randomOfferedTicket(rng, day, 1 + below(20)));
            // First halves as $1 boxes, wide enough to come in now and then.
            if (day.exchangeBetsOffered && below(2) == 0)
                game.ticketList().listTicket(
                    day, reliability::randomTicket(rng, below(2) ? BetType::TwinTri : BetType::TriSuper,
                                                   BetMode::Box, 1));
        }
        ASSERT_NO_FATAL_FAILURE(payListed(day, game, ledger));

        ASSERT_TRUE(game.beginRace());
        game.finishRace();
        game.runResultsToEnd();
        ASSERT_TRUE(game.resultsDone());
        ++racesRun;
        ledger.credit(game.settlement());
        EXPECT_TRUE(game.settlement().errors.empty());
        EXPECT_EQ(test::readAll(dir / ExchangeCreditsFile), exchangeCreditsText(day.exchangeCredits));
        EXPECT_TRUE(creditsOfRace(day).empty()) << "every credit is settled with its race";
        ASSERT_NO_FATAL_FAILURE(checkMoney(day, ledger));
        ASSERT_NO_FATAL_FAILURE(checkRecords(day));
        game.confirmResults();
    }
};

TEST_F(Soak, RaceDaysKeepEveryInvariant) {
    const int days = soakDays();
    std::unique_ptr<SeededRandom> random;
    std::unique_ptr<Game> game;
    for (int d = 0; d < days && !HasFatalFailure(); ++d) {
        // Every third day the program is started anew on the same folder; otherwise "Play Again".
        if (!game || d % 3 == 0) {
            random = std::make_unique<SeededRandom>(1000 + d);
            game = std::make_unique<Game>(dir.path(), *random, prompter);
        }
        ASSERT_TRUE(game->startDay());
        ASSERT_NO_FATAL_FAILURE(checkStartOfDay(*game));
        game->toteBoard();
        ASSERT_NO_FATAL_FAILURE(changePlayers(*game));
        MoneyLedger ledger;
        ledger.open(game->day().players);
        for (int race = 0; race < RacesPerDay && !HasFatalFailure(); ++race) {
            ASSERT_EQ(game->stage(), Stage::Betting);
            ASSERT_NO_FATAL_FAILURE(playRace(*game, ledger));
            if (game->stage() == Stage::Program)
                game->toteBoard();
        }
        ASSERT_EQ(game->stage(), Stage::TopTen);
        EXPECT_LE(game->topTen().size(), 10u);
        ++daysPlayed;
    }
    std::cout << "[ soak     ] " << daysPlayed << " race days, " << racesRun << " races, " << ticketsPaid
              << " tickets paid, " << creditsExchanged << " credits exchanged, " << creditsPaidOut
              << " paid out\n";
    // The money reconciled with both ways a credit ends.
    EXPECT_GT(creditsExchanged, 0);
    EXPECT_GT(creditsPaidOut, 0);
}

} // namespace
